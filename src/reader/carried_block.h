// What a keep-all write can carry of the block it replaces, read from that
// block: the entries of IFD0, the Exif, GPS and interoperability directories
// and IFD1 that the catalogue does not hold, and IFD1's thumbnail, each value
// converted to little-endian; and, by name and reason, what it cannot carry.
//
// The directories, by TIFF offsets:
//   header: byte order, 42, offset of IFD0
//   IFD0: entries ... 8769 -> Exif IFD, 8825 -> GPS IFD; link -> IFD1
//   Exif IFD: entries ... A005 -> interoperability IFD
//   IFD1: entries ... 0201/0202 -> a JPEG thumbnail, or 0111/0117 -> strips
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "reader/exif_block.h"
#include "reader/read_channel.h"

namespace tagloom {

enum class BlockDirectory { kIfd0, kExif, kGps, kInterop, kIfd1 };
inline constexpr int kBlockDirectories = 5;

// One directory entry as read, its value in little-endian byte order:
// TypeSize(type) * count bytes, each number turned round by its type.
struct CarriedEntry {
  std::uint16_t tag = 0;
  std::uint16_t type = 0;
  std::uint32_t count = 0;
  std::string value;
};

// Why something of the old block is not carried into the new one.
enum class NotCarriedWhy {
  // Points at bytes the writer does not lay out: SubIFDs (014A), a maker's
  // private directory (8290), any entry of type IFD, strip, tile and JPEG
  // offsets outside IFD1, a GPS or interoperability pointer out of place.
  kPointsElsewhere,
  kUnknownType,     // a type code outside 1 to 12
  kDamaged,         // its value, its directory or its thumbnail lies outside the block
  kPadding,         // the old block's filler (EA1C Padding, EA1D OffsetSchema)
  kDuplicate,       // a second entry of one tag in one directory
  kDroppedForSize,  // (the writer's) the new segment would pass its 65,535 bytes
};

// One thing not carried: an entry by its tag; tag 0 is a whole directory
// (its pointer or link leads outside the block, or back to one already
// read); the thumbnail goes by the tag of its offsets (IFD1 0201 or 0111),
// which stands for its length or byte counts (0202, 0117) too.
struct NotCarried {
  BlockDirectory directory = BlockDirectory::kIfd0;
  std::uint16_t tag = 0;
  NotCarriedWhy why = NotCarriedWhy::kDamaged;
};

// IFD1's thumbnail: a JPEG (offset 0201, length 0202) or uncompressed strips
// (offsets 0111, byte counts 0117), with its bytes.
struct CarriedThumbnail {
  std::uint16_t offsetsTag = 0;       // 0201 or 0111; 0 when there is none to carry
  std::uint16_t offsetsType = 0;      // SHORT or LONG, as read
  std::string bytes;                  // the JPEG, or the strips one after another
  std::vector<std::uint32_t> starts;  // where each strip starts in `bytes`: {0} for a JPEG
  CarriedEntry sizes;                 // 0202 or 0117 as read
};

using CarriedEntries = std::vector<CarriedEntry>;

struct CarriedBlock {
  // Per directory, in file order; none for a directory the block lacks.
  // IFD0 and the Exif IFD leave out the catalogued tags and the pointers;
  // IFD1 leaves out its thumbnail's entries.
  std::array<std::optional<CarriedEntries>, kBlockDirectories> directories;
  CarriedThumbnail thumbnail;
  std::vector<NotCarried> notCarried;

  std::optional<CarriedEntries>& operator[](BlockDirectory d) {
    return directories[static_cast<std::size_t>(d)];
  }
  const std::optional<CarriedEntries>& operator[](BlockDirectory d) const {
    return directories[static_cast<std::size_t>(d)];
  }
};

// Reads what can be carried of the block that `layout` describes (the
// walker filled it: TiffBase, MotorolaOrder, ExifSegmentLength). Every value
// must lie inside the block; the channel may stand anywhere, and is left
// where it stood.
CarriedBlock ReadCarriedBlock(ReadChannel& channel, const ExifBlockLayout& layout);

}  // namespace tagloom
