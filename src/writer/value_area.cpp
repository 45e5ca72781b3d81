#include "writer/value_area.h"

#include "model/catalogue.h"
#include "model/number_text.h"

namespace tagloom {

bool ValueArea::Pin(std::int64_t offset, std::string_view bytes) {
  if (offset < start_ || !Free(offset, static_cast<std::int64_t>(bytes.size()))) return false;
  placed_.emplace(offset, bytes);
  return true;
}

std::int64_t ValueArea::Place(std::string_view bytes) {
  const auto size = static_cast<std::int64_t>(bytes.size());
  std::int64_t at = Aligned(start_);
  for (const auto& [offset, value] : placed_) {
    if (at + size <= offset) break;
    at = std::max(at, Aligned(offset + static_cast<std::int64_t>(value.size())));
  }
  placed_.emplace(at, bytes);
  return at;
}

std::int64_t ValueArea::End() const {
  if (placed_.empty()) return start_;
  const auto& [offset, value] = *placed_.rbegin();
  return offset + static_cast<std::int64_t>(value.size());
}

std::string ValueArea::Bytes() const {
  std::string bytes(static_cast<std::size_t>(End() - start_), '\0');
  for (const auto& [offset, value] : placed_) {
    bytes.replace(static_cast<std::size_t>(offset - start_), value.size(), value);
  }
  return bytes;
}

bool ValueArea::Free(std::int64_t offset, std::int64_t size) const {
  for (const auto& [at, value] : placed_) {
    if (offset < at + static_cast<std::int64_t>(value.size()) && at < offset + size) return false;
  }
  return true;
}

BuildError PlaceValue(RecordStore& store, int row, ValueArea& area, bool makerNotePinned,
                      std::int64_t makerNoteOffset) {
  if (row == row::kMakerNote && makerNotePinned) {  // its bytes stand in the area already
    store.lstValuePos.Set(row, IntegerText(makerNoteOffset));
    return BuildError::kNone;
  }
  BuildError error = BuildError::kNone;
  std::string bytes = ValueBytes(store, row, error);
  if (error != BuildError::kNone) return error;
  if (bytes.empty() && ValueInEntry(store, row)) {
    store.lstValuePos.Set(row, store.lstValue.Row(row));  // a number held in the entry
  } else if (bytes.size() <= 4) {
    bytes.resize(4, '\0');
    std::uint32_t field = 0;
    for (int i = 3; i >= 0; --i) field = field << 8 | static_cast<std::uint8_t>(bytes[i]);
    store.lstValuePos.Set(row, IntegerText(static_cast<std::int32_t>(field)));
  } else {
    store.lstValuePos.Set(row, IntegerText(area.Place(bytes)));
  }
  return BuildError::kNone;
}

MakerNoteKept PinMakerNote(const RecordStore& store, const MakerNotePlace& place, ValueArea& area) {
  if (place.offset < 0 || !IsWritten(store, row::kMakerNote)) return MakerNoteKept::kNoPlace;
  BuildError error = BuildError::kNone;
  const std::string bytes = ValueBytes(store, row::kMakerNote, error);
  if (error != BuildError::kNone || bytes.size() <= 4) return MakerNoteKept::kNoPlace;
  if (!area.Pin(place.offset, bytes)) {
    return place.movable ? MakerNoteKept::kNoPlace : MakerNoteKept::kMoved;
  }
  MakerNoteKept kept = MakerNoteKept::kKept;
  for (const PinnedBytes& outside : place.outside) {
    if (!area.Pin(outside.offset, outside.bytes)) kept = MakerNoteKept::kPartly;
  }
  return kept;
}

}  // namespace tagloom
