#include "writer/exif_segment.h"

#include <gtest/gtest.h>

#include "model/edit_back.h"

namespace tagloom {
namespace {

// "FF E1 00 78 ...", so that a failure shows the bytes.
std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) out += std::string{digits[c >> 4], digits[c & 15], ' '};
  return out;
}

constexpr int kMakeField = 0, kApertureField = 6, kMakerNoteField = 12;

// The store the fields give after the edit-back conversion of a write.
RecordStore Restored(std::initializer_list<std::pair<int, std::string>> texts) {
  std::array<std::string, kFieldCount> fields{};
  for (const auto& [field, text] : texts) fields[static_cast<std::size_t>(field)] = text;
  RecordStore store;
  store.Reset();
  DirectoryCounts counts;
  EXPECT_FALSE(RestoreValue(fields, store, counts));
  return store;
}

// Only the rows always written: the Exif pointer, Orientation 1 and the two dates.
TEST(AssembleExifSegment, TheSmallestBlockIsTheDocumented120Bytes) {
  RecordStore store = Restored({{field::kDate, "2001/05/12 14:30:00"}});
  store.lstPosition.Set(row::kDateTime, "0");
  store.lstPosition.Set(row::kUserComment, "0");
  const std::string date("2001:05:12 14:30:00\0", 20);
  EXPECT_EQ(Hex(AssembleExifSegment(store).bytes),
            "FF E1 00 78 45 78 69 66 00 00 49 49 2A 00 08 00 00 00 "  // length 120, TIFF header
            "02 00 12 01 03 00 01 00 00 00 01 00 00 00 69 87 04 00 01 00 00 00 26 00 00 00 "
            "00 00 00 00 "  // IFD0: Orientation 1, the Exif IFD at 38
            "02 00 03 90 02 00 14 00 00 00 46 00 00 00 04 90 02 00 14 00 00 00 5A 00 00 00 "
            "00 00 00 00 00 00 " +
                Hex(date + date));
}

// "Sony" and its NUL, five bytes, go to the IFD0 value area, so the Exif IFD
// starts at the odd TIFF offset 55 with no padding.
TEST(AssembleExifSegment, AValueOverFourBytesGoesToTheValueArea) {
  RecordStore store = Restored({{kMakeField, "Sony"}});
  BuiltSegment built = AssembleExifSegment(store);
  EXPECT_EQ(Hex(built.bytes),
            "FF E1 00 86 45 78 69 66 00 00 49 49 2A 00 08 00 00 00 "
            "03 00 0F 01 02 00 05 00 00 00 32 00 00 00 12 01 03 00 01 00 00 00 01 00 00 00 "
            "69 87 04 00 01 00 00 00 37 00 00 00 00 00 00 00 53 6F 6E 79 00 "  // Make at 50
            "03 00 86 92 07 00 19 00 00 00 63 00 00 00 "  // the comment: its marker alone
            "03 90 02 00 00 00 00 00 00 00 00 00 04 90 02 00 00 00 00 00 00 00 00 00 "
            "00 00 00 00 00 00 " +
                Hex(std::string("ASCII\0\0\0(Edit by Tagloom)", 25)));
  EXPECT_EQ(store.lstValue.Row(row::kExifPointer), "55");
}

TEST(AssembleExifSegment, AValueTheBuilderCannotEncodeFailsTheBuild) {
  using Row = std::tuple<int, std::string, BuildError>;
  for (const auto& [row, value, error] : std::initializer_list<Row>{
           {row::kFNumber, "28", BuildError::kBadRational},
           {row::kIso, "3000000000", BuildError::kBadNumber},
           {row::kMakerNote, "Hex:" + std::string(131072, 'A'), BuildError::kTooLarge},
       }) {
    RecordStore store =
        Restored({{kApertureField, "2.8"}, {field::kIso, "100"}, {kMakerNoteField, "0A"}});
    store.lstValue.Set(row, value);
    BuiltSegment built = AssembleExifSegment(store);
    EXPECT_EQ(built.error, error) << row;
    EXPECT_EQ(built.errorRow, error == BuildError::kTooLarge ? -1 : row);
    EXPECT_TRUE(built.bytes.empty());
  }
}

}  // namespace
}  // namespace tagloom
