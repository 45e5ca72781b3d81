// APP1 segment assembly: a complete little-endian EXIF segment built from the
// catalogued rows that the edit-back conversion made, and in a keep-all write
// from what is carried of the old block too (carried_layout.h).
//
// Segment layout without carried entries (offsets from the marker; TIFF offsets are 10 less):
//   0  FF E1   2 length: every byte built, marker included (big-endian)
//   4  "Exif" 00 00   10 "II" 2A 00 08 00 00 00
//   18 IFD0: count, entries (Make, Model, Orientation, Software, Copyright,
//      DateTime, Exif pointer), next-IFD 0, then its value area
//   .. Exif IFD: count, entries in catalogue order, next-IFD 0, 00 00, values
// Values of 4 bytes or fewer stand in their entries; no padding anywhere,
// except that a maker note keeps the TIFF offset it was read at (zeros fill
// the gap before it, other values go into the gap where they fit), and so do
// the bytes outside it that it points to.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/record_store.h"
#include "reader/carried_block.h"
#include "reader/maker_note.h"
#include "writer/segment_builder.h"
#include "writer/value_area.h"

namespace tagloom {

// What a keep-all write carried of the old block, and what not, and why.
struct CarriedReport {
  bool gps = false, interop = false, thumbnail = false;  // directories and the thumbnail written
  // Entries carried into each directory (pointers and the thumbnail's entries not counted).
  std::array<int, kBlockDirectories> entries{};
  // What the reader could not carry, then what was dropped for size, in that order.
  std::vector<NotCarried> notKept;
};

struct BuiltSegment {
  std::string bytes;  // the whole segment, FF E1 first
  BuildError error = BuildError::kNone;
  int errorRow = -1;
  std::int64_t ifd0EntryCount = 0;
  std::int64_t exifIfdEntryCount = 0;
  MakerNoteKept makerNote = MakerNoteKept::kNoPlace;
  std::optional<CarriedReport> carried;  // with a keep-all write only
};

// Builds the segment from the rows whose position is not 0 (the rows written),
// the maker note at the place it was read from where it can. Rewrites
// lstValuePos of every such row, and lstValue of the Exif pointer row, with
// the values and offsets actually written.
//
// With `carried` (keep-all), the segment also carries what was read of the old
// block, laid out as carried_layout.h tells; what does not fit into one
// segment is dropped, the thumbnail first, then the largest entries.
BuiltSegment AssembleExifSegment(RecordStore& store, const MakerNotePlace& makerNote = {},
                                 const CarriedBlock* carried = nullptr);

}  // namespace tagloom
