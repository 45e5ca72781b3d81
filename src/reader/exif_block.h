// Reading an EXIF block: the IFD walker and the value fetch.
//
// APP1 layout, offsets from the marker's first byte:
//   0  FF E1 marker      2  length (big-endian)   4  "Exif"   8  00 00
//   10 "II" or "MM": the TIFF header, whose position every offset counts from
//   12 magic 42          14 offset of IFD0
// Directory: 2-byte count N, then N entries of 12 bytes:
//   tag (2), type (2), count (4), value or offset of the value (4).
#pragma once

#include <cstdint>

#include "model/record_store.h"
#include "reader/maker_note.h"
#include "reader/read_channel.h"

namespace tagloom {

// A whole APP1 segment holds at most 64 KiB, so no real block reads more value
// bytes than this; a damaged one whose entries all claim huge counts is cut
// short here instead of reading the file thousands of times over.
inline constexpr std::int64_t kValueBytesPerBlock = 1 << 20;

// What the walker learned about the block it read.
struct ExifBlockLayout {
  std::int64_t ExifSegmentOffset = 0;  // 0-based offset of the FF of the APP1 marker
  std::int64_t ExifSegmentLength = 0;  // the segment's length field
  std::int64_t TiffBase = 0;           // 1-based position of the TIFF header
  bool MotorolaOrder = false;          // big-endian ("MM")
  std::int64_t Ifd0EntryCount = 0;
  std::int64_t ExifIfdEntryCount = 0;
  bool HasIfd1 = false;  // IFD0 links to a next directory (a thumbnail), which is not read
  MakerNotePlace makerNote;
};

// Where the segment whose APP1 marker was just read lies (its offset and
// length), without reading its block: enough to save it as it stands.
void ReadSegmentPlace(ReadChannel& channel, ExifBlockLayout& layout);

// Reads the block whose APP1 marker was just read (the channel stands on the
// first byte after FF E1) into a freshly reset record store: IFD0, then the
// Exif sub-directory, each followed by the fetch of its values. Returns true
// when the Exif sub-directory was read, that is when the edit fields are to
// be filled from the store.
bool ReadExifDataFromFile(ReadChannel& channel, RecordStore& store, ExifBlockLayout& layout);

}  // namespace tagloom
