#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reader/exif_block.h"
#include "reader_test_support.h"

namespace tagloom::test {
namespace {

struct ValueCase {
  const char* what;
  Entry entry;
  std::string little, big;  // the value text expected in each byte order
};

class ValueFetch : public EachByteOrder {
 protected:
  // Reads a block whose Exif directory holds the entry alone and checks the
  // value text recorded for it.
  void Check(const ValueCase& c) {
    SCOPED_TRACE(c.what);
    ReadResult read = ReadTiff(TiffBuilder(Order()).ExifIfd({c.entry}));
    ASSERT_TRUE(read.exifIfdRead);
    EXPECT_EQ(ValueOf(read.store, c.entry.tag), Pick(c.little, c.big));
  }
};
TAGLOOM_BOTH_BYTE_ORDERS(ValueFetch);

TEST_P(ValueFetch, NumbersComeFromTheValueField) {
  const ValueCase cases[] = {
      {"SHORT 100", Short(0x8827, 100), "100", "100"},
      {"SHORT 40000", Short(0x8827, 40000), "40000", "40000"},
      // Two SHORTs in one field: the whole field little-endian, the first big-endian.
      {"two SHORTs", Shorts(0x0102, {3, 2}), "131075", "3"},
      {"two SHORTs, field negative", Shorts(0x0102, {1, 0xFFFF}), "-65535", "1"},
      {"BYTE 200", Byte(0x9209, 200), "200", "200"},
      {"two BYTEs", Bytes(0x0000, {1, 2}), "513", "1"},
      {"four BYTEs FF", Bytes(0x0000, {0xFF, 0xFF, 0xFF, 0xFF}), "-1", "255"},
      {"LONG 140", Long(0xA002, 140), "140", "140"},
      {"LONG FFFFFFFF", Long(0xA002, 0xFFFFFFFF), "-1", "-1"},
      {"LONG 80000000", Long(0xA002, 0x80000000), "-2147483648", "-2147483648"},
  };
  for (const ValueCase& c : cases) Check(c);
}

TEST_P(ValueFetch, RationalsAreTwoSignedNumbers) {
  const ValueCase cases[] = {
      {"1/60", Rational(0x829A, 1, 60), "1/60", "1/60"},
      {"SRATIONAL -1/3", SRational(0x9204, -1, 3), "-1/3", "-1/3"},
      {"numerator FFFFFFFF", Rational(0x829D, 0xFFFFFFFF, 1), "-1/1", "-1/1"},
      {"zero denominator", Rational(0x920A, 1, 0), "1/0", "1/0"},
      {"extremes", Rational(0x920A, 0x80000000, 0x7FFFFFFF), "-2147483648/2147483647",
       "-2147483648/2147483647"},
  };
  for (const ValueCase& c : cases) Check(c);
}

TEST_P(ValueFetch, AsciiLosesItsNulBytesAndBecomesUtf8) {
  const ValueCase cases[] = {
      {"Canon", Ascii(0xA420, "Canon"), "Canon", "Canon"},
      {"NULs inside", AsciiRaw(0xA420, std::string("Ca\0no\0", 6)), "Cano", "Cano"},
      {"NULs first", AsciiRaw(0xA420, std::string("\0\0Canon", 7)), "Canon", "Canon"},
      {"count 4 in the value field", AsciiRaw(0xA420, std::string("HTC\0", 4)), "HTC", "HTC"},
      {"two letters in the value field", Ascii(0xA420, "EV"), "EV", "EV"},
      {"two letters without NUL", AsciiRaw(0xA420, "ab"), "ab", "ab"},
      {"count 0", AsciiRaw(0xA420, ""), "", ""},
      {"Latin-1", AsciiRaw(0xA420, std::string("Caf\xE9\0", 5)), "Caf\u00E9", "Caf\u00E9"},
      {"Latin-1 in the value field", AsciiRaw(0xA420, "\xE9t\xE9"), "\u00E9t\u00E9",
       "\u00E9t\u00E9"},
      {"valid UTF-8", Ascii(0xA420, "Caf\xC3\xA9 \xE6\x97\xA5"), "Caf\u00E9 \u65E5",
       "Caf\u00E9 \u65E5"},
      {"UTF-8 then Latin-1", Ascii(0xA420, "\xC3\xA9\xE9"), "\u00E9\u00E9", "\u00E9\u00E9"},
  };
  for (const ValueCase& c : cases) Check(c);
}

TEST_P(ValueFetch, UndefinedIsTextAfterACharacterCodeOrHex) {
  const ValueCase cases[] = {
      {"ASCII code", Undefined(0x9286, std::string("ASCII\0\0\0  hello\0\0", 17)), "hello",
       "hello"},
      {"spaces at both ends", Undefined(0x9286, std::string("ASCII\0\0\0  hello  ", 17)), "hello",
       "hello"},
      {"spaces before a NUL stay", Undefined(0x9286, std::string("ASCII\0\0\0 two words  \0 ", 22)),
       "two words  ", "two words  "},
      {"Latin-1 after the code", Undefined(0x9286, std::string("ASCII\0\0\0Caf\xE9", 12)),
       "Caf\u00E9", "Caf\u00E9"},
      {"undefined code, spaces", Undefined(0x9286, std::string(8, '\0') + "    "), "", ""},
      {"undefined code, text", Undefined(0x9286, std::string(8, '\0') + "note"), "note", "note"},
      {"UNICODE code", Undefined(0x9286, std::string("UNICODE\0\0h\0i", 12)),
       "Hex:554E49434F44450000680069", "Hex:554E49434F44450000680069"},
      {"JIS code", Undefined(0x9286, std::string("JIS\0\0\0\0\0a", 9)), "Hex:4A4953000000000061",
       "Hex:4A4953000000000061"},
      {"shorter than a code", Undefined(0x9286, std::string("ASCII\0\0", 7)), "Hex:41534349490000",
       "Hex:41534349490000"},
      {"count 0", Undefined(0x9286, ""), "Hex:", "Hex:"},
      {"Exif version in the value field", Undefined(0x9000, "0230"), "Hex:30323330",
       "Hex:30323330"},
      {"two bytes", Undefined(0xA300, "\x01\x0A"), "Hex:010A", "Hex:010A"},
  };
  for (const ValueCase& c : cases) Check(c);
}

TEST_P(ValueFetch, SlongIsReadWhereItStandsAndOtherTypesGiveNothing) {
  const ValueCase cases[] = {
      {"SLONG -5", SLong(0xA500, -5), "-5", "-5"},
      {"SLONG minimum", SLong(0xA500, INT32_MIN), "-2147483648", "-2147483648"},
      {"two SLONGs, out of line", SLongs(0xA500, {-7, 9}), "-7", "-7"},
      // A single SLONG is its own value field, never an offset.
      {"SLONG field FFFFFFF0", Raw(0xA500, 9, 1, 0xFFFFFFF0), "-16", "-16"},
  };
  for (const ValueCase& c : cases) Check(c);

  for (int type : {0, 6, 8, 11, 12, 13, 40000, 65535}) {
    SCOPED_TRACE(type);
    // The value field points far outside: any read would be noticed.
    ReadResult read = ReadTiff(TiffBuilder(Order()).ExifIfd(
        {Raw(0xA500, static_cast<std::uint16_t>(type), 8, 0x7FFFFFF0)}));
    EXPECT_EQ(ValueOf(read.store, 0xA500), "");
    EXPECT_EQ(read.store.lstUnuseType.Row(0), std::to_string(type));
    EXPECT_FALSE(read.readOutside);
  }
}

TEST_P(ValueFetch, ReadsALongMakerNoteWhole) {
  std::string note(40'000, '\x5A');
  note.front() = '\x01';
  note.back() = '\xFE';
  ReadResult read = ReadTiff(TiffBuilder(Order()).ExifIfd({Undefined(0x927C, note)}));
  std::string expected = "Hex:01";
  for (int i = 0; i < 39'998; ++i) expected += "5A";
  expected += "FE";
  EXPECT_EQ(read.store.lstCount.Row(row::kMakerNote), "40000");
  EXPECT_EQ(read.store.lstValue.Row(row::kMakerNote), expected);

  std::string comment = std::string("ASCII\0\0\0", 8) + std::string(35'000, 'w') + "!";
  read = ReadTiff(TiffBuilder(Order()).ExifIfd({Undefined(0x9286, comment)}));
  EXPECT_EQ(read.store.lstValue.Row(row::kUserComment), std::string(35'000, 'w') + "!");
}

// The two fetches on their own: they rebuild one row and touch nothing else.
TEST_P(ValueFetch, GetValueAndGetUnuseValueRefetchOneRow) {
  std::string jpeg = JpegBuilder()
                         .App1Exif(TiffBuilder(Order())
                                       .Ifd0({Ascii(0x010F, "Canon"), Short(0x0100, 640)})
                                       .ExifIfd({Rational(0x829A, 1, 60), Ascii(0xA420, "id")})
                                       .Build())
                         .Build();
  ReadChannel channel(AsBytes(jpeg));
  channel.Seek(5);
  RecordStore store;
  store.Reset();
  ExifBlockLayout layout;
  ASSERT_TRUE(ReadExifDataFromFile(channel, store, layout));
  const auto rows = Rows(store);

  store.lstValue.Set(row::kExposureTime, "stale");
  store.lstValue.Set(row::kMake, "stale");
  store.lstUnuseValue.Set(1, "stale");
  GetValue(channel, store, layout, row::kExposureTime);
  GetValue(channel, store, layout, row::kMake);
  GetUnuseValue(channel, store, layout, 1);
  EXPECT_EQ(store.lstValue.Row(row::kExposureTime), "1/60");
  EXPECT_EQ(store.lstValue.Row(row::kMake), "Canon");
  EXPECT_EQ(store.lstUnuseValue.Row(1), "id");
  EXPECT_EQ(Rows(store), rows);

  // Rows that do not exist: nothing changes.
  GetUnuseValue(channel, store, layout, -1);
  GetUnuseValue(channel, store, layout, store.lstUnuseTag.Count());
  GetValue(channel, store, layout, -1);
  GetValue(channel, store, layout, kCatalogueRows);
  EXPECT_EQ(Rows(store), rows);

  // A catalogued row that was not found reads as a type-0 entry: empty.
  GetValue(channel, store, layout, row::kFlash);
  EXPECT_EQ(store.lstValue.Row(row::kFlash), "");
}

}  // namespace
}  // namespace tagloom::test
