// The EXIF segment built byte by byte from the record store.
#include "writer/segment_builder.h"

#include <gtest/gtest.h>

#include <climits>

#include "model/edit_back.h"
#include "writer/exif_segment.h"

namespace tagloom {
namespace {

using B = SegmentBuilder;

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

// A store whose maker-note row (tag 927C) holds the given entry.
RecordStore Row(const char* type, const char* value, const char* count = "1") {
  RecordStore store;
  store.Reset();
  store.lstType.Set(row::kMakerNote, type);
  store.lstValue.Set(row::kMakerNote, value);
  store.lstCount.Set(row::kMakerNote, count);
  store.lstValuePos.Set(row::kMakerNote, "-2");
  return store;
}

TEST(SegmentBuilder, EachPrimitiveAppendsItsBytesOrFailsTheBuild) {
  using Add = std::function<void(B&)>;
  auto value = [](const char* type, const char* text) -> Add {
    return [=](B& b) { b.AddValue(Row(type, text), row::kMakerNote); };
  };
  auto table = [](const char* count) -> Add {
    return [=](B& b) { b.AddTable(Row("7", "", count), row::kMakerNote); };
  };
  const std::string most(B::kMaxSegmentBytes, 'x');
  struct Case {
    const char* what;
    Add add;
    std::string bytes;
    BuildError error = BuildError::kNone;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"AddLong INT_MIN", [](B& b) { b.AddLong(INT_MIN); }, Bytes({0, 0, 0, 0x80})},
           {"SRATIONAL", value("10", "-1/3"), Bytes({0xFF, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0})},
           {"RATIONAL past 32 bits", value("5", "1/3000000000"), "", BuildError::kBadNumber},
           // Half the digits, halves to even; a digit left alone is read by itself.
           {"Hex, 11 digits", value("7", "Hex:0102FF0A1B3"), Bytes({1, 2, 0xFF, 10, 0x1B, 3})},
           {"AddTable", table("3.5"),
            Bytes({0x7C, 0x92, 7, 0, 4, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF})},
           {"AddTable, count past 32 bits", table("3000000000"), "", BuildError::kBadNumber},
           // A string that would cross the limit adds nothing at all.
           {"crossing", [&](B& b) { b.AddString("x"), b.AddString(most); }, "x",
            BuildError::kTooLarge},
       }) {
    B b;
    c.add(b);
    EXPECT_EQ(b.Bytes(), c.bytes) << c.what;
    EXPECT_EQ(b.Error(), c.error) << c.what;
    const bool rowError = c.error != BuildError::kNone && c.error != BuildError::kTooLarge;
    EXPECT_EQ(b.ErrorRow(), rowError ? row::kMakerNote : -1) << c.what;
  }
}

constexpr int kApertureField = 6, kMakerNoteField = 12;

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
