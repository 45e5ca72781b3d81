#include "writer/exif_segment.h"

#include <array>

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

// Decides where a row's value goes: its bytes into the entry's value field,
// or the value area at `offset`, which then grows by the value's size.
BuildError PlaceValue(RecordStore& store, int row, std::int64_t& offset) {
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
    store.lstValuePos.Set(row, IntegerText(offset));
    offset += static_cast<std::int64_t>(bytes.size());
  }
  return BuildError::kNone;
}

}  // namespace

BuiltSegment AssembleExifSegment(RecordStore& store) {
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
  std::int64_t offset = 12 * static_cast<std::int64_t>(ifd0.size()) + 14;
  for (int r : ifd0) {
    if (r == row::kExifPointer) continue;
    if (BuildError e = PlaceValue(store, r, offset); e != BuildError::kNone) return fail(e, r);
  }
  // The Exif IFD follows the IFD0 value area.
  store.lstValuePos.Set(row::kExifPointer, IntegerText(offset));
  store.lstValue.Set(row::kExifPointer, IntegerText(offset));
  for (int r : ifd0) b.AddTable(store, r);
  b.AddLong(0);
  for (int r : ifd0) b.AddValue(store, r);

  // Exif IFD: count, entries, next-IFD link, two filler bytes, value area.
  b.AddInt(static_cast<std::int32_t>(exif.size()));
  offset += 12 * static_cast<std::int64_t>(exif.size()) + 8;
  for (int r : exif) {
    if (BuildError e = PlaceValue(store, r, offset); e != BuildError::kNone) return fail(e, r);
  }
  for (int r : exif) b.AddTable(store, r);
  b.AddLong(0);
  b.AddInt(0);
  for (int r : exif) b.AddValue(store, r);

  if (b.Error() != BuildError::kNone) return fail(b.Error(), b.ErrorRow());
  b.PatchLength();
  result.bytes = b.Bytes();
  return result;
}

}  // namespace tagloom
