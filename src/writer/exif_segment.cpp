#include "writer/exif_segment.h"

#include <array>
#include <map>

#include "model/catalogue.h"
#include "model/number_text.h"
#include "reader/jpeg_segments.h"

namespace tagloom {
namespace {

// IFD0 entries in the order they are written (not ascending by tag).
constexpr std::array<int, 7> kIfd0Order = {row::kMake,       row::kMake + 1, row::kOrientation,
                                           row::kMake + 2,   row::kMake + 3, row::kDateTime,
                                           row::kExifPointer};

bool Present(const RecordStore& store, int row) {
  return store.lstPosition.Number(row) != 0;
}

// A directory's value area: each value at the first free offset from the
// area's start on, in the order given, around bytes pinned at offsets of
// their own; zeros fill what no value takes. Without pins the values follow
// one another without a gap.
class ValueArea {
 public:
  explicit ValueArea(std::int64_t start) : start_(start) {}

  // False when the bytes would lie before the area or over other bytes.
  bool Pin(std::int64_t offset, std::string_view bytes) {
    if (offset < start_ || !Free(offset, static_cast<std::int64_t>(bytes.size()))) return false;
    placed_.emplace(offset, bytes);
    return true;
  }
  std::int64_t Place(std::string_view bytes) {
    const auto size = static_cast<std::int64_t>(bytes.size());
    std::int64_t at = start_;
    for (const auto& [offset, value] : placed_) {
      if (at + size <= offset) break;
      at = std::max(at, offset + static_cast<std::int64_t>(value.size()));
    }
    placed_.emplace(at, bytes);
    return at;
  }
  std::int64_t End() const {
    if (placed_.empty()) return start_;
    const auto& [offset, value] = *placed_.rbegin();
    return offset + static_cast<std::int64_t>(value.size());
  }
  std::string Bytes() const {
    std::string bytes(static_cast<std::size_t>(End() - start_), '\0');
    for (const auto& [offset, value] : placed_) {
      bytes.replace(static_cast<std::size_t>(offset - start_), value.size(), value);
    }
    return bytes;
  }

 private:
  bool Free(std::int64_t offset, std::int64_t size) const {
    for (const auto& [at, value] : placed_) {
      if (offset < at + static_cast<std::int64_t>(value.size()) && at < offset + size) return false;
    }
    return true;
  }
  std::int64_t start_;
  std::map<std::int64_t, std::string> placed_;
};

// Sets a row's value position: its bytes into the entry's value field, or a
// place in the value area (the maker note's own, when it keeps one).
BuildError PlaceValue(RecordStore& store, int row, ValueArea& area, bool makerNotePinned,
                      std::int64_t makerNoteOffset) {
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
  } else if (row == row::kMakerNote && makerNotePinned) {
    store.lstValuePos.Set(row, IntegerText(makerNoteOffset));
  } else {
    store.lstValuePos.Set(row, IntegerText(area.Place(bytes)));
  }
  return BuildError::kNone;
}

bool KeepsItsPlace(MakerNoteKept kept) {
  return kept == MakerNoteKept::kKept || kept == MakerNoteKept::kPartly;
}

// The maker note's bytes at its old offset, and what it points to outside
// itself at theirs, as far as they fit into the Exif value area.
MakerNoteKept PinMakerNote(const RecordStore& store, const MakerNotePlace& place, ValueArea& area) {
  if (place.offset < 0 || !Present(store, row::kMakerNote)) return MakerNoteKept::kNoPlace;
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

BuiltSegment Assemble(RecordStore& store, const MakerNotePlace& makerNote) {
  BuiltSegment result;
  std::vector<int> ifd0, exif;
  for (int r : kIfd0Order) {
    if (Present(store, r)) ifd0.push_back(r);
  }
  for (int r = row::kLastIfd0Row + 1; r < store.lstTag.Count(); ++r) {
    if (Present(store, r)) exif.push_back(r);
  }
  result.ifd0EntryCount = static_cast<std::int64_t>(ifd0.size());
  result.exifIfdEntryCount = static_cast<std::int64_t>(exif.size());
  auto fail = [&](BuildError error, int row) {
    result.error = error;
    result.errorRow = row;
    return result;
  };

  SegmentBuilder b;
  b.AddByte(kMarkerPrefix);
  b.AddByte(kMarkerApp1);
  b.AddSize(0);  // the length, patched at the end
  b.AddString(kExifSignature);
  b.AddString("II");
  b.AddHex("2A00");
  b.AddLong(8);

  // IFD0: count, entries, next-IFD link, value area.
  b.AddInt(static_cast<std::int32_t>(ifd0.size()));
  ValueArea ifd0Values(12 * static_cast<std::int64_t>(ifd0.size()) + 14);
  for (int r : ifd0) {
    if (r == row::kExifPointer) continue;
    BuildError e = PlaceValue(store, r, ifd0Values, false, 0);
    if (e != BuildError::kNone) return fail(e, r);
  }
  // The Exif IFD follows the IFD0 value area.
  const std::int64_t exifIfd = ifd0Values.End();
  store.lstValuePos.Set(row::kExifPointer, IntegerText(exifIfd));
  store.lstValue.Set(row::kExifPointer, IntegerText(exifIfd));
  for (int r : ifd0) b.AddTable(store, r);
  b.AddLong(0);
  b.AddString(ifd0Values.Bytes());

  // Exif IFD: count, entries, next-IFD link, two filler bytes, value area.
  b.AddInt(static_cast<std::int32_t>(exif.size()));
  ValueArea exifValues(exifIfd + 12 * static_cast<std::int64_t>(exif.size()) + 8);
  result.makerNote = PinMakerNote(store, makerNote, exifValues);
  const bool pinned = KeepsItsPlace(result.makerNote);
  for (int r : exif) {
    BuildError e = PlaceValue(store, r, exifValues, pinned, makerNote.offset);
    if (e != BuildError::kNone) return fail(e, r);
  }
  for (int r : exif) b.AddTable(store, r);
  b.AddLong(0);
  b.AddInt(0);
  b.AddString(exifValues.Bytes());

  if (b.Error() != BuildError::kNone) return fail(b.Error(), b.ErrorRow());
  b.PatchLength();
  result.bytes = b.Bytes();
  return result;
}

}  // namespace

BuiltSegment AssembleExifSegment(RecordStore& store, const MakerNotePlace& makerNote) {
  BuiltSegment built = Assemble(store, makerNote);
  // Kept in place, the maker note and what it points to may carry the
  // segment past its limit: then the maker note alone keeps its place, or
  // else it goes where a block without one would put it.
  auto pinned = [&] { return KeepsItsPlace(built.makerNote); };
  if (built.error == BuildError::kTooLarge && pinned() && !makerNote.outside.empty()) {
    MakerNotePlace alone = makerNote;
    alone.outside.clear();
    built = Assemble(store, alone);
    if (pinned()) built.makerNote = MakerNoteKept::kPartly;
  }
  if (built.error == BuildError::kTooLarge && pinned()) {
    built = Assemble(store, {});
    built.makerNote = makerNote.movable ? MakerNoteKept::kNoPlace : MakerNoteKept::kMoved;
  }
  return built;
}

}  // namespace tagloom
