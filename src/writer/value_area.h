// Where the values of a new block go: a value area that places values at the
// first free offset around bytes pinned at offsets of their own, and the
// placing of the catalogued rows' values and of the maker note in it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

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

inline bool KeepsItsPlace(MakerNoteKept kept) {
  return kept == MakerNoteKept::kKept || kept == MakerNoteKept::kPartly;
}

// Whether a catalogued row is written: its position is not 0.
inline bool IsWritten(const RecordStore& store, int row) {
  return store.lstPosition.Number(row) != 0;
}

// A value area by TIFF offsets: each value at the first free offset from the
// area's start on that is a multiple of `alignment`, in the order given,
// around bytes pinned at offsets of their own; zeros fill what no value
// takes. Without pins and with alignment 1 the values follow one another
// without a gap.
class ValueArea {
 public:
  explicit ValueArea(std::int64_t start, std::int64_t alignment = 1)
      : start_(start), alignment_(alignment) {}

  // False when the bytes would lie before the area or over other bytes.
  bool Pin(std::int64_t offset, std::string_view bytes);
  // Where the bytes were placed.
  std::int64_t Place(std::string_view bytes);
  // New bytes, of the same size, for bytes placed or pinned at `offset`.
  void Fill(std::int64_t offset, std::string bytes) { placed_.at(offset) = std::move(bytes); }
  std::int64_t End() const;
  std::string Bytes() const;

 private:
  bool Free(std::int64_t offset, std::int64_t size) const;
  std::int64_t Aligned(std::int64_t offset) const {
    return (offset + alignment_ - 1) / alignment_ * alignment_;
  }
  std::int64_t start_, alignment_;
  std::map<std::int64_t, std::string> placed_;
};

// Sets a catalogued row's value position: its bytes into the entry's value
// field, or a place in the value area (the maker note's own, when it keeps
// one at `makerNoteOffset`).
BuildError PlaceValue(RecordStore& store, int row, ValueArea& area, bool makerNotePinned,
                      std::int64_t makerNoteOffset);

// Pins the maker note's bytes at their old offset, and what it points to
// outside itself at theirs, as far as they fit into the area.
MakerNoteKept PinMakerNote(const RecordStore& store, const MakerNotePlace& place, ValueArea& area);

}  // namespace tagloom
