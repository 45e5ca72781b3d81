// APP1 segment assembly: a complete little-endian EXIF segment built from the
// catalogued rows that the edit-back conversion made.
//
// Segment layout (offsets from the marker; TIFF offsets are 10 less):
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

#include <string>

#include "model/record_store.h"
#include "reader/maker_note.h"
#include "writer/segment_builder.h"

namespace tagloom {

// Whether the maker note kept its place in the new block.
enum class MakerNoteKept {
  kNoPlace,  // none written, or none to keep (small enough for its entry)
  kKept,
  kPartly,  // it did, but not all the bytes outside it that it points to
  kMoved,   // the directories reach past it, or the segment would grow too long
};

struct BuiltSegment {
  std::string bytes;  // the whole segment, FF E1 first
  BuildError error = BuildError::kNone;
  int errorRow = -1;
  std::int64_t ifd0EntryCount = 0;
  std::int64_t exifIfdEntryCount = 0;
  MakerNoteKept makerNote = MakerNoteKept::kNoPlace;
};

// Builds the segment from the rows whose position is not 0 (the rows written),
// the maker note at the place it was read from where it can. Rewrites
// lstValuePos of every such row, and lstValue of the Exif pointer row, with
// the values and offsets actually written.
BuiltSegment AssembleExifSegment(RecordStore& store, const MakerNotePlace& makerNote = {});

}  // namespace tagloom
