// The EXIF segment built byte by byte from the record store.
#include "writer/segment_builder.h"

#include <gtest/gtest.h>

#include <climits>

#include "model/edit_back.h"
#include "writer/exif_segment.h"
#include "writer/writer_test_support.h"

namespace tagloom {
namespace {

using B = SegmentBuilder;
using test::Restored;

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

// The maker note keeps the TIFF offset it was read at, and so do the bytes it
// points to outside itself; zeros fill the gap before it, and other values
// go there where they fit, after it where not. Where its place cannot be
// kept, it goes where a block without a place for it would put it.
TEST(AssembleExifSegment, TheMakerNoteKeepsItsOffsetWhereItCan) {
  struct Built {
    BuiltSegment segment;
    std::int64_t noteAt, commentAt;
  };
  auto build = [](const MakerNotePlace& place, const std::string& hex) {
    RecordStore store = Restored({{kMakerNoteField, hex}, {field::kComment, std::string(60, 'c')}});
    BuiltSegment segment = AssembleExifSegment(store, place);
    auto at = [&](int r) { return static_cast<std::int64_t>(store.lstValuePos.Number(r)); };
    return Built{segment, at(row::kMakerNote), at(row::kUserComment)};
  };
  const std::string hex40(80, 'A');
  const Built unpinned = build({}, hex40);
  const std::int64_t gap = unpinned.noteAt;  // the first free offset
  ASSERT_EQ(unpinned.commentAt, gap + 40) << "the maker note's entry comes first";
  const auto moved = static_cast<std::int64_t>(unpinned.segment.bytes.size());
  using Kept = MakerNoteKept;
  struct Case {
    MakerNotePlace place;
    Kept kept;
    std::int64_t noteAt, commentAt, size;  // size: of the segment
    std::string hex = std::string(80, 'A');
  };
  for (const Case& c : std::initializer_list<Case>{
           {{600, 40, {{700, "outside"}}, false}, Kept::kKept, 600, gap, 10 + 707},
           {{gap + 4, 40, {}, false}, Kept::kKept, gap + 4, gap + 44, 10 + gap + 44 + 85},
           {{gap - 4, 40, {}, false}, Kept::kMoved, gap, gap + 40, moved},
           {{gap - 4, 40, {}, true}, Kept::kNoPlace, gap, gap + 40, moved},
           // An edited maker note that grew over what it pointed to.
           {{600, 40, {{640, "outside"}}, false},
            Kept::kPartly,
            600,
            gap,
            10 + 650,
            std::string(100, 'A')},
           {{600, 40, {{65530, "outside"}}, false}, Kept::kPartly, 600, gap, 10 + 640},
           {{65500, 40, {}, false}, Kept::kMoved, gap, gap + 40, moved},
       }) {
    SCOPED_TRACE(c.place.offset);
    const Built b = build(c.place, c.hex);
    EXPECT_EQ(b.segment.makerNote, c.kept);
    EXPECT_EQ(b.noteAt, c.noteAt);
    EXPECT_EQ(b.commentAt, c.commentAt);
    ASSERT_EQ(static_cast<std::int64_t>(b.segment.bytes.size()), c.size);
    const auto in = [&](std::int64_t offset, std::size_t n) {
      return b.segment.bytes.substr(static_cast<std::size_t>(offset + 10), n);
    };
    EXPECT_EQ(in(c.noteAt, c.hex.size() / 2), std::string(c.hex.size() / 2, '\xAA'));
    if (c.kept == Kept::kKept && !c.place.outside.empty()) {
      EXPECT_EQ(in(700, 7), "outside");
    }
  }
}

}  // namespace
}  // namespace tagloom
