#include "reader/carried_block.h"

#include <algorithm>
#include <set>

#include "model/catalogue.h"
#include "model/tiff_type.h"

namespace tagloom {
namespace {

using Why = NotCarriedWhy;
using Dir = BlockDirectory;

constexpr std::int64_t kEntrySize = 12;
constexpr std::int64_t kTiffHeaderSize = 8;
constexpr std::uint16_t kExifPointer = 0x8769, kGpsPointer = 0x8825, kInteropPointer = 0xA005;
constexpr std::uint16_t kJpegOffset = 0x0201, kJpegLength = 0x0202;
constexpr std::uint16_t kStripOffsets = 0x0111, kStripByteCounts = 0x0117;

// Offsets to bytes that no directory of the new block describes, and the
// byte counts that go with them: carried as they stand, they would point at
// whatever the new block holds there.
constexpr std::array<std::uint16_t, 14> kOffsetTags = {
    0x0111, 0x0117,          // strips
    0x0120, 0x0121,          // free space
    0x0144, 0x0145,          // tiles
    0x014A,                  // SubIFDs
    0x0190,                  // global parameters directory
    0x0201, 0x0202,          // a JPEG stream
    0x0207, 0x0208, 0x0209,  // old-style JPEG tables
    0x8290,                  // Kodak's private directory
};
// Filler that Microsoft's software leaves for later edits in place.
constexpr std::array<std::uint16_t, 2> kPaddingTags = {0xEA1C, 0xEA1D};

template <std::size_t N>
bool OneOf(const std::array<std::uint16_t, N>& tags, std::uint16_t tag) {
  return std::find(tags.begin(), tags.end(), tag) != tags.end();
}

// A directory entry as it stands in the block.
struct RawEntry {
  std::uint16_t tag = 0, type = 0;
  std::uint32_t count = 0;
  std::uint32_t field = 0;    // the value field, in the block's byte order
  std::int64_t position = 0;  // 1-based position of the entry's first byte
};

struct RawDirectory {
  std::vector<RawEntry> entries;
  std::uint32_t next = 0;  // link to the next directory, 0 for none
};

// Reads directories and values of one block, every read inside it (past
// the TIFF header) and within the walker's budget of value bytes.
class BlockReader {
 public:
  BlockReader(ReadChannel& channel, const ExifBlockLayout& layout)
      : channel_(channel),
        tiffBase_(layout.TiffBase),
        // The length field counts itself and "Exif" 00 00; the rest is the TIFF block.
        blockSize_(std::max<std::int64_t>(layout.ExifSegmentLength - 8, 0)) {}

  std::int64_t BlockSize() const { return blockSize_; }

  // Whether the block holds n bytes from TIFF offset `offset` on.
  bool Holds(std::int64_t offset, std::int64_t n) const {
    return offset >= kTiffHeaderSize && n >= 0 && offset <= blockSize_ &&
           n <= blockSize_ - offset && channel_.Holds(tiffBase_ + offset, n);
  }

  std::int64_t Ifd0Offset() {
    channel_.Seek(tiffBase_ + 4);
    return static_cast<std::uint32_t>(channel_.ReadLong());
  }

  // Directory: 2 count N + 12 * N entries + 4 link. Only the entries inside
  // the block (and the file) are read, and the link only when all of them are.
  std::optional<RawDirectory> Directory(std::int64_t at) {
    if (!Holds(at, 2)) return std::nullopt;
    channel_.Seek(tiffBase_ + at);
    const std::int64_t count = channel_.ReadInt();
    std::int64_t fit = std::min(count, (blockSize_ - at - 2) / kEntrySize);
    while (fit > 0 && !Holds(at + 2, kEntrySize * fit)) --fit;  // a file cut short
    RawDirectory dir;
    dir.entries.reserve(static_cast<std::size_t>(fit));
    for (std::int64_t k = 0; k < fit; ++k) {
      RawEntry& e = dir.entries.emplace_back();
      e.position = channel_.Position();
      e.tag = static_cast<std::uint16_t>(channel_.ReadInt());
      e.type = static_cast<std::uint16_t>(channel_.ReadInt());
      e.count = static_cast<std::uint32_t>(channel_.ReadLong());
      e.field = static_cast<std::uint32_t>(channel_.ReadLong());
    }
    if (fit == count && Holds(at + 2 + kEntrySize * count, 4)) {
      dir.next = static_cast<std::uint32_t>(channel_.ReadLong());
    }
    return dir;
  }

  // An entry's value turned little-endian; nullopt when it is not all inside
  // the block. Values of 4 bytes or fewer stand in the entry's value field.
  std::optional<std::string> Value(const RawEntry& e) {
    const int size = tiff::TypeSize(e.type);
    if (size == 0 || e.count > blockSize_ / size) return std::nullopt;
    const std::int64_t n = std::int64_t{size} * e.count;
    std::optional<std::string> bytes =
        n <= 4 ? Read(e.position + 8, n)
               : (Holds(e.field, n) ? Read(tiffBase_ + e.field, n) : std::nullopt);
    const int unit = tiff::SwapUnit(e.type);
    if (bytes && channel_.MotorolaOrder() && unit > 1) {
      for (auto at = bytes->begin(); at != bytes->end(); at += unit) std::reverse(at, at + unit);
    }
    return bytes;
  }

  // n bytes from TIFF offset `offset`, all inside the block; nullopt otherwise.
  std::optional<std::string> Bytes(std::int64_t offset, std::int64_t n) {
    return Holds(offset, n) ? Read(tiffBase_ + offset, n) : std::nullopt;
  }

 private:
  std::optional<std::string> Read(std::int64_t position, std::int64_t n) {
    if (n > budget_ || !channel_.Holds(position, n)) return std::nullopt;
    budget_ -= n;
    channel_.Seek(position);
    return channel_.ReadString(n);
  }

  ReadChannel& channel_;
  std::int64_t tiffBase_, blockSize_;
  std::int64_t budget_ = kValueBytesPerBlock;
};

// The numbers of a SHORT or LONG value held little-endian.
std::vector<std::uint32_t> Numbers(const std::string& value, int type) {
  const std::size_t unit = type == tiff::kShort ? 2 : 4;
  std::vector<std::uint32_t> numbers;
  for (std::size_t at = 0; at + unit <= value.size(); at += unit) {
    std::uint32_t n = 0;
    for (std::size_t i = unit; i-- > 0;) n = n << 8 | static_cast<std::uint8_t>(value[at + i]);
    numbers.push_back(n);
  }
  return numbers;
}

bool IsOffsetType(int type) {
  return type == tiff::kShort || type == tiff::kLong;
}

// The walk over the five directories, sorting each entry into carried or not.
class Walk {
 public:
  Walk(ReadChannel& channel, const ExifBlockLayout& layout, CarriedBlock& block)
      : reader_(channel, layout), block_(block) {}

  void Run() {
    std::optional<RawDirectory> ifd0 = Open(Dir::kIfd0, reader_.Ifd0Offset());
    if (!ifd0) return;
    std::optional<std::int64_t> exif, gps, interop;
    Sort(Dir::kIfd0, ifd0->entries, [&](const RawEntry& e) {
      if (e.tag == kExifPointer) exif = e.field;  // the last one, as the walker takes it
      if (e.tag == kGpsPointer) gps = e.field;
      return e.tag == kExifPointer || e.tag == kGpsPointer;
    });
    if (exif) {
      if (std::optional<RawDirectory> dir = Open(Dir::kExif, *exif)) {
        Sort(Dir::kExif, dir->entries, [&](const RawEntry& e) {
          if (e.tag == kInteropPointer) interop = e.field;
          return e.tag == kInteropPointer;
        });
      }
    }
    for (auto [d, at] : {std::pair{Dir::kInterop, interop}, std::pair{Dir::kGps, gps}}) {
      if (!at) continue;
      if (std::optional<RawDirectory> dir = Open(d, *at)) Sort(d, dir->entries, Nothing);
    }
    if (ifd0->next != 0) {
      if (std::optional<RawDirectory> dir = Open(Dir::kIfd1, ifd0->next)) Ifd1(dir->entries);
    }
  }

 private:
  static bool Nothing(const RawEntry&) { return false; }

  void Refuse(Dir d, std::uint16_t tag, Why why) { block_.notCarried.push_back({d, tag, why}); }

  // The directory at TIFF offset `at`, unless it lies outside the block or
  // is one already read (a loop).
  std::optional<RawDirectory> Open(Dir d, std::int64_t at) {
    std::optional<RawDirectory> dir;
    if (std::find(opened_.begin(), opened_.end(), at) == opened_.end()) {
      dir = reader_.Directory(at);
    }
    if (!dir) {
      Refuse(d, 0, Why::kDamaged);
      return dir;
    }
    opened_.push_back(at);
    block_[d].emplace();
    return dir;
  }

  // Why an entry of directory `d` cannot be carried as it stands, if it cannot.
  static std::optional<Why> Uncarriable(Dir d, const RawEntry& e) {
    if (OneOf(kPaddingTags, e.tag)) return Why::kPadding;
    // A catalogued tag outside IFD0 and the Exif IFD is that directory's own
    // (the thumbnail's orientation and resolution): carried, but for a
    // pointer to an Exif IFD.
    if (e.type == tiff::kIfd || OneOf(kOffsetTags, e.tag) || e.tag == kExifPointer ||
        (e.tag == kGpsPointer && d != Dir::kIfd0) ||
        (e.tag == kInteropPointer && d != Dir::kExif)) {
      return Why::kPointsElsewhere;
    }
    if (tiff::TypeSize(e.type) == 0) return Why::kUnknownType;
    return std::nullopt;
  }

  // Carries each entry of directory `d` or names it as not carried, but for
  // those that `taken` takes over (pointers, a thumbnail's entries). The
  // catalogued tags of IFD0 and the Exif IFD are the record store's.
  template <typename Taken>
  void Sort(Dir d, const std::vector<RawEntry>& entries, Taken taken) {
    const bool storeHolds = d == Dir::kIfd0 || d == Dir::kExif;
    std::set<std::uint16_t> seen;
    for (const RawEntry& e : entries) {
      const bool first = seen.insert(e.tag).second;
      if (storeHolds && CatalogueRowOf(e.tag) >= 0) {
        taken(e);
        continue;
      }
      if (!first) {
        Refuse(d, e.tag, Why::kDuplicate);
        continue;
      }
      if (taken(e)) continue;
      if (std::optional<Why> why = Uncarriable(d, e)) {
        Refuse(d, e.tag, *why);
      } else if (std::optional<std::string> value = reader_.Value(e)) {
        block_[d]->push_back({e.tag, e.type, e.count, std::move(*value)});
      } else {
        Refuse(d, e.tag, Why::kDamaged);
      }
    }
  }

  // IFD1: its entries, and the thumbnail its JPEG or strip entries point at.
  void Ifd1(const std::vector<RawEntry>& entries) {
    std::optional<RawEntry> jpeg, jpegLength, strips, stripCounts;
    Sort(Dir::kIfd1, entries, [&](const RawEntry& e) {
      for (auto [tag, slot] :
           {std::pair{kJpegOffset, &jpeg}, std::pair{kJpegLength, &jpegLength},
            std::pair{kStripOffsets, &strips}, std::pair{kStripByteCounts, &stripCounts}}) {
        if (e.tag == tag) *slot = e;
      }
      return e.tag == kJpegOffset || e.tag == kJpegLength || e.tag == kStripOffsets ||
             e.tag == kStripByteCounts;
    });
    const bool hasJpeg = jpeg || jpegLength, hasStrips = strips || stripCounts;
    if (hasJpeg && !Thumbnail(jpeg, jpegLength, true))
      Refuse(Dir::kIfd1, kJpegOffset, Why::kDamaged);
    if (hasStrips && hasJpeg) Refuse(Dir::kIfd1, kStripOffsets, Why::kPointsElsewhere);
    if (hasStrips && !hasJpeg && !Thumbnail(strips, stripCounts, false)) {
      Refuse(Dir::kIfd1, kStripOffsets, Why::kDamaged);
    }
  }

  // The thumbnail's bytes: one JPEG stream, or strips of their byte counts.
  bool Thumbnail(const std::optional<RawEntry>& offsets, const std::optional<RawEntry>& sizes,
                 bool jpeg) {
    if (!offsets || !sizes || !IsOffsetType(offsets->type) || !IsOffsetType(sizes->type) ||
        offsets->count != sizes->count || (jpeg && offsets->count != 1)) {
      return false;
    }
    const std::optional<std::string> at = reader_.Value(*offsets), size = reader_.Value(*sizes);
    if (!at || !size) return false;
    const std::vector<std::uint32_t> starts = Numbers(*at, offsets->type);
    const std::vector<std::uint32_t> sizesRead = Numbers(*size, sizes->type);
    std::int64_t total = 0;
    for (std::uint32_t n : sizesRead) total += n;
    if (starts.empty() || total == 0 || total > reader_.BlockSize()) return false;
    CarriedThumbnail thumbnail{offsets->tag, offsets->type, {}, {}, {}};
    thumbnail.sizes = {sizes->tag, sizes->type, sizes->count, *size};
    for (std::size_t i = 0; i < starts.size(); ++i) {
      std::optional<std::string> strip = reader_.Bytes(starts[i], sizesRead[i]);
      if (!strip) return false;
      thumbnail.starts.push_back(static_cast<std::uint32_t>(thumbnail.bytes.size()));
      thumbnail.bytes += *strip;
    }
    block_.thumbnail = std::move(thumbnail);
    return true;
  }

  BlockReader reader_;
  CarriedBlock& block_;
  std::vector<std::int64_t> opened_;
};

}  // namespace

CarriedBlock ReadCarriedBlock(ReadChannel& channel, const ExifBlockLayout& layout) {
  const std::int64_t position = channel.Position();
  const bool motorola = channel.MotorolaOrder();
  channel.SetMotorolaOrder(layout.MotorolaOrder);
  CarriedBlock block;
  Walk(channel, layout, block).Run();
  channel.Seek(position);
  channel.SetMotorolaOrder(motorola);
  return block;
}

}  // namespace tagloom
