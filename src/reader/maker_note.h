// Where a camera's maker note lies in its EXIF block, so that a new block can
// keep it there.
//
// Most maker notes are directories like IFD0, behind a camera's header:
//   [header: "OLYMP" 00 01 00, "SIGMA" 00 00 00 01 00, "Nikon" 00 02 .. "II*" 00 ..]
//   2 count N, then N entries of 12 bytes: tag, type, count, value or offset
// Most count their offsets from the block's TIFF header, so moved they point
// at the wrong bytes; some (Olympus, Konica Minolta) point past their own end
// into the block around them. Others count from their own start or from a
// TIFF header of their own, and can go anywhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "reader/read_channel.h"

namespace tagloom {

// Bytes of the block that must stay at their TIFF offset.
struct PinnedBytes {
  std::int64_t offset = 0;
  std::string bytes;
};

struct MakerNotePlace {
  std::int64_t offset = -1;  // TIFF offset of its first byte; -1: none outside its entry
  std::int64_t size = 0;
  // What its directory points to outside it, by TIFF offsets: ascending and
  // not overlapping.
  std::vector<PinnedBytes> outside;
  // Whether it counts its offsets from itself and points nowhere outside:
  // it stays readable wherever it goes.
  bool movable = false;
};

// The place of the maker note whose value (`size` bytes) starts at TIFF
// offset `offset` of the block whose TIFF header is at 1-based `tiffBase`
// and which holds `blockSize` bytes from that header on. Leaves the
// channel's position where it was.
MakerNotePlace LocateMakerNote(ReadChannel& channel, std::int64_t tiffBase, std::int64_t offset,
                               std::int64_t size, std::int64_t blockSize);

}  // namespace tagloom
