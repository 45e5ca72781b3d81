#include "writer/exif_segment.h"

#include <array>
#include <functional>

#include "model/catalogue.h"
#include "model/number_text.h"
#include "reader/jpeg_segments.h"
#include "writer/carried_layout.h"

namespace tagloom {
namespace {

// IFD0 entries in the order they are written (not ascending by tag).
constexpr std::array<int, 7> kIfd0Order = {row::kMake,       row::kMake + 1, row::kOrientation,
                                           row::kMake + 2,   row::kMake + 3, row::kDateTime,
                                           row::kExifPointer};

BuiltSegment Assemble(RecordStore& store, const MakerNotePlace& makerNote) {
  BuiltSegment result;
  std::vector<int> ifd0, exif;
  for (int r : kIfd0Order) {
    if (IsWritten(store, r)) ifd0.push_back(r);
  }
  for (int r = row::kLastIfd0Row + 1; r < store.lstTag.Count(); ++r) {
    if (IsWritten(store, r)) exif.push_back(r);
  }
  result.ifd0EntryCount = static_cast<std::int64_t>(ifd0.size());
  result.exifIfdEntryCount = static_cast<std::int64_t>(exif.size());
  auto fail = [&](BuildError error, int row) {
    result.error = error;
    result.errorRow = row;
    return result;
  };

  SegmentBuilder b;
  b.AddSegmentHead();

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

// Builds with the maker note at its place, and what it points to at theirs.
// Kept in place, they may carry the segment past its limit: then the maker
// note alone keeps its place, or else it goes where a block without one
// would put it.
BuiltSegment KeepMakerNoteWhereItFits(
    const MakerNotePlace& makerNote,
    const std::function<BuiltSegment(const MakerNotePlace&)>& assemble) {
  BuiltSegment built = assemble(makerNote);
  auto pinned = [&] { return KeepsItsPlace(built.makerNote); };
  if (built.error == BuildError::kTooLarge && pinned() && !makerNote.outside.empty()) {
    MakerNotePlace alone = makerNote;
    alone.outside.clear();
    built = assemble(alone);
    if (pinned()) built.makerNote = MakerNoteKept::kPartly;
  }
  if (built.error == BuildError::kTooLarge && pinned()) {
    built = assemble({});
    built.makerNote = makerNote.movable ? MakerNoteKept::kNoPlace : MakerNoteKept::kMoved;
  }
  return built;
}

}  // namespace

BuiltSegment AssembleExifSegment(RecordStore& store, const MakerNotePlace& makerNote,
                                 const CarriedBlock* carried) {
  if (carried == nullptr) {
    return KeepMakerNoteWhereItFits(
        makerNote, [&](const MakerNotePlace& place) { return Assemble(store, place); });
  }
  CarriedBlock plan = *carried;
  BuiltSegment built = AssembleCarried(store, makerNote, plan);
  if (built.error != BuildError::kTooLarge) return built;
  auto assemble = [&](const CarriedBlock& what) {
    return KeepMakerNoteWhereItFits(makerNote, [&](const MakerNotePlace& place) {
      return AssembleCarried(store, place, what);
    });
  };
  // Where the written rows do not fit alone, nothing carried can.
  CarriedBlock nothing = plan;
  while (DropForSize(nothing)) continue;
  if (BuiltSegment bare = assemble(nothing); bare.error == BuildError::kTooLarge) return bare;
  // The thumbnail goes first, before the maker note's place; then, after
  // that, the largest carried entries one by one.
  do {
    DropForSize(plan);
    built = assemble(plan);
  } while (built.error == BuildError::kTooLarge);
  return built;
}

}  // namespace tagloom
