#include "writer/segment_builder.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <initializer_list>
#include <string>

namespace tagloom {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

std::string Built(const std::function<void(SegmentBuilder&)>& add) {
  SegmentBuilder b;
  add(b);
  EXPECT_EQ(b.Error(), BuildError::kNone);
  return b.Bytes();
}

TEST(SegmentBuilder, NumbersAndHexDigits) {
  struct Case {
    const char* what;
    std::function<void(SegmentBuilder&)> add;
    std::string bytes;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"AddByte 0xAB", [](SegmentBuilder& b) { b.AddByte(0xAB); }, Bytes({0xAB})},
           {"AddInt -1", [](SegmentBuilder& b) { b.AddInt(-1); }, Bytes({0xFF, 0xFF})},
           {"AddInt 0x1234", [](SegmentBuilder& b) { b.AddInt(0x1234); }, Bytes({0x34, 0x12})},
           {"AddInt -32768", [](SegmentBuilder& b) { b.AddInt(-32768); }, Bytes({0x00, 0x80})},
           {"AddSize 0x1234", [](SegmentBuilder& b) { b.AddSize(0x1234); }, Bytes({0x12, 0x34})},
           {"AddSize -2", [](SegmentBuilder& b) { b.AddSize(-2); }, Bytes({0xFF, 0xFE})},
           {"AddHex 2A00", [](SegmentBuilder& b) { b.AddHex("2A00"); }, Bytes({0x2A, 0x00})},
           {"AddHex FFE1", [](SegmentBuilder& b) { b.AddHex("FFE1"); }, Bytes({0xFF, 0xE1})},
           {"AddHex ffe1", [](SegmentBuilder& b) { b.AddHex("ffe1"); }, Bytes({0xFF, 0xE1})},
           // An invalid digit ends the number: 12G4 reads as 0x12.
           {"AddHex 12G4", [](SegmentBuilder& b) { b.AddHex("12G4"); }, Bytes({0x00, 0x12})},
           {"AddHex ZZZZ", [](SegmentBuilder& b) { b.AddHex("ZZZZ"); }, Bytes({0x00, 0x00})},
           {"AddTag 0112", [](SegmentBuilder& b) { b.AddTag("0112"); }, Bytes({0x12, 0x01})},
           {"AddTag 8769", [](SegmentBuilder& b) { b.AddTag("8769"); }, Bytes({0x69, 0x87})},
           {"AddHex 3 digits", [](SegmentBuilder& b) { b.AddHex("2A0"); }, ""},
           {"AddHex 5 digits", [](SegmentBuilder& b) { b.AddHex("2A000"); }, ""},
           {"AddTag 3 digits", [](SegmentBuilder& b) { b.AddTag("011"); }, ""},
           {"AddTag 5 digits", [](SegmentBuilder& b) { b.AddTag("01120"); }, ""},
           {"AddLong 8", [](SegmentBuilder& b) { b.AddLong(8); }, Bytes({8, 0, 0, 0})},
           {"AddLong -2", [](SegmentBuilder& b) { b.AddLong(-2); },
            Bytes({0xFE, 0xFF, 0xFF, 0xFF})},
           {"AddLong INT_MIN", [](SegmentBuilder& b) { b.AddLong(INT_MIN); },
            Bytes({0, 0, 0, 0x80})},
           {"AddLong INT_MAX", [](SegmentBuilder& b) { b.AddLong(INT_MAX); },
            Bytes({0xFF, 0xFF, 0xFF, 0x7F})},
           {"AddLong 0x12345678", [](SegmentBuilder& b) { b.AddLong(0x12345678); },
            Bytes({0x78, 0x56, 0x34, 0x12})},
       }) {
    EXPECT_EQ(Built(c.add), c.bytes) << c.what;
  }
}

TEST(SegmentBuilder, AddStringAppendsBytesAsTheyStand) {
  SegmentBuilder b;
  EXPECT_EQ(b.AddString("II"), 2u);
  EXPECT_EQ(b.AddString(""), 0u);
  EXPECT_EQ(b.AddString("\xE4\xB8\xAD"), 3u);  // 中 in UTF-8: three bytes, never narrowed
  EXPECT_EQ(b.AddString(std::string("a\0b", 3)), 3u);
  EXPECT_EQ(b.Bytes(), std::string("II\xE4\xB8\xAD"
                                   "a\0b",
                                   8));
  EXPECT_EQ(b.Size(), 8u);
}

// A store whose row `row` holds a value of the given type.
RecordStore Row(int row, const std::string& type, const std::string& value,
                const std::string& count = "1", const std::string& valuePos = "0") {
  RecordStore store;
  store.Reset();
  store.lstType.Set(row, type);
  store.lstValue.Set(row, value);
  store.lstCount.Set(row, count);
  store.lstValuePos.Set(row, valuePos);
  return store;
}

TEST(SegmentBuilder, ValueBytesByType) {
  struct Case {
    const char* type;
    std::string value;
    std::string bytes;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"2", "Canon", Bytes({0x43, 0x61, 0x6E, 0x6F, 0x6E, 0x00})},
           {"2", "", Bytes({0})},
           {"5", "10/300", Bytes({0x0A, 0, 0, 0, 0x2C, 0x01, 0, 0})},
           {"10", "-1/3", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x03, 0, 0, 0})},
           {"5", "0/0", Bytes({0, 0, 0, 0, 0, 0, 0, 0})},
           {"5", "2E+09/100", Bytes({0x00, 0x94, 0x35, 0x77, 100, 0, 0, 0})},
           {"5", "2.5/3.5", Bytes({2, 0, 0, 0, 4, 0, 0, 0})},  // halves to even
           {"7", "Hex:0102FF", Bytes({0x01, 0x02, 0xFF})},
           {"7", "Hex:0a1b", Bytes({0x0A, 0x1B})},
           {"7", "Hex:", ""},
           // Half the digits, halves to even: 5 digits give 2 bytes, 7 give 4; a
           // digit left alone at the end is read by itself.
           {"7", "Hex:0102F", Bytes({0x01, 0x02})},
           {"7", "Hex:0102FF0", Bytes({0x01, 0x02, 0xFF, 0x00})},
           {"7", "Hex:ABC", Bytes({0xAB, 0x0C})},
           {"7", "Hex:A", ""},
           {"7", "Hex:1Z", Bytes({0x01})},
           {"7", "Hex:Z1", Bytes({0x00})},
           {"7", "abc", Bytes({0x41, 0x53, 0x43, 0x49, 0x49, 0, 0, 0, 0x61, 0x62, 0x63})},
           {"7", "hex:01", std::string("ASCII\0\0\0hex:01", 14)},  // the prefix is case-sensitive
           {"7", "", std::string("ASCII\0\0\0", 8)},
           {"3", "100", ""},
           {"4", "38", ""},
           {"1", "7", ""},
       }) {
    RecordStore store = Row(row::kMakerNote, c.type, c.value);
    BuildError error = BuildError::kNone;
    EXPECT_EQ(ValueBytes(store, row::kMakerNote, error), c.bytes) << c.type << " " << c.value;
    EXPECT_EQ(error, BuildError::kNone) << c.value;
  }
}

TEST(SegmentBuilder, ValuesOfFourBytesOrFewerStandInTheirEntry) {
  struct Case {
    const char* type;
    const char* value;
    bool inEntry;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"3", "100", true},
           {"4", "38", true},
           {"2", "abc", true},  // 4 bytes with its NUL
           {"2", "abcd", false},
           {"7", "Hex:01020304", true},
           {"7", "Hex:0102030405", false},
           {"7", "Hex:", true},
           {"7", "abc", false},  // 11 bytes behind the character code
           {"5", "1/2", false},
           {"10", "-1/2", false},
       }) {
    RecordStore store = Row(row::kMakerNote, c.type, c.value);
    EXPECT_EQ(ValueInEntry(store, row::kMakerNote), c.inEntry) << c.type << " " << c.value;
    // AddValue writes exactly the bytes that do not stand in the entry.
    SegmentBuilder b;
    b.AddValue(store, row::kMakerNote);
    BuildError error = BuildError::kNone;
    EXPECT_EQ(b.Bytes(), c.inEntry ? "" : ValueBytes(store, row::kMakerNote, error)) << c.value;
  }
}

TEST(SegmentBuilder, AddTableWritesTheTwelveByteEntry) {
  RecordStore store = Row(row::kMake, "2", "Canon", "6", "146");
  SegmentBuilder b;
  b.AddTable(store, row::kMake);
  EXPECT_EQ(b.Bytes(), Bytes({0x0F, 0x01, 2, 0, 6, 0, 0, 0, 146, 0, 0, 0}));
  // Counts read as numbers round, halves to even (a maker note of 7 digits: 3.5).
  store = Row(row::kMakerNote, "7", "Hex:0A1B2C3", "3.5", "-2");
  SegmentBuilder c;
  c.AddTable(store, row::kMakerNote);
  EXPECT_EQ(c.Bytes(), Bytes({0x7C, 0x92, 7, 0, 4, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(c.Error(), BuildError::kNone);
}

TEST(SegmentBuilder, NumbersThatAreNoThirtyTwoBitNumbersFailTheBuild) {
  struct Case {
    const char* count;
    const char* valuePos;
  };
  for (const Case& c : std::initializer_list<Case>{{"3000000000", "0"}, {"1", "-2147483649"}}) {
    RecordStore store = Row(row::kIso, "3", "100", c.count, c.valuePos);
    SegmentBuilder b;
    b.AddTable(store, row::kIso);
    EXPECT_EQ(b.Error(), BuildError::kBadNumber) << c.count << " " << c.valuePos;
    EXPECT_EQ(b.ErrorRow(), row::kIso);
    EXPECT_EQ(b.Size(), 0u);
  }
  for (const char* value : {"1/3000000000", "-2147483649/1"}) {
    RecordStore store = Row(row::kFocalLength, "5", value);
    SegmentBuilder b;
    b.AddValue(store, row::kFocalLength);
    EXPECT_EQ(b.Error(), BuildError::kBadNumber) << value;
    EXPECT_EQ(b.ErrorRow(), row::kFocalLength);
  }
  // A rational without "/" cannot be split, also where it would fit in 4 bytes.
  for (const char* type : {"5", "10"}) {
    RecordStore store = Row(row::kExposureBias, type, "12");
    SegmentBuilder b;
    b.AddValue(store, row::kExposureBias);
    EXPECT_EQ(b.Error(), BuildError::kBadRational) << type;
    EXPECT_EQ(b.ErrorRow(), row::kExposureBias);
    EXPECT_FALSE(ValueInEntry(store, row::kExposureBias));
  }
}

TEST(SegmentBuilder, TheSixtyFiveThousandFiveHundredThirtySixthByteFailsTheBuild) {
  SegmentBuilder b;
  b.AddString(std::string(SegmentBuilder::kMaxSegmentBytes - 1, 'x'));
  b.AddByte(1);
  EXPECT_EQ(b.Size(), 65535u);
  EXPECT_EQ(b.Error(), BuildError::kNone);
  b.AddByte(2);
  EXPECT_EQ(b.Error(), BuildError::kTooLarge);
  EXPECT_EQ(b.Size(), 65535u);

  // A string that would cross the limit adds nothing at all.
  SegmentBuilder s;
  s.AddString(std::string(65530, 'x'));
  EXPECT_EQ(s.AddString("123456"), 0u);
  EXPECT_EQ(s.Error(), BuildError::kTooLarge);
  EXPECT_EQ(s.Size(), 65530u);

  // The first error is the one kept.
  SegmentBuilder t;
  t.AddString(std::string(65535, 'x'));
  t.AddLong(1);
  RecordStore store = Row(row::kIso, "3", "1", "3000000000");
  t.AddTable(store, row::kIso);
  EXPECT_EQ(t.Error(), BuildError::kTooLarge);
  EXPECT_EQ(t.ErrorRow(), -1);
}

TEST(SegmentBuilder, PatchLengthStoresTheBytesBuiltBigEndian) {
  SegmentBuilder b;
  b.AddHex("FFE1");
  b.AddSize(0);
  b.AddString(std::string(0x1230, 'x'));
  b.PatchLength();
  EXPECT_EQ(b.Bytes().substr(0, 4), Bytes({0xFF, 0xE1, 0x12, 0x34}));
}

}  // namespace
}  // namespace tagloom
