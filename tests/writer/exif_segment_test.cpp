#include "writer/exif_segment.h"

#include <gtest/gtest.h>

#include "model/display_conversion.h"
#include "model/edit_back.h"
#include "model/number_text.h"
#include "reader/exif_block.h"
#include "support/fixture_builder.h"

namespace tagloom {
namespace {

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
    out += ' ';
  }
  return out;
}

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

// Only the rows that are always written: the Exif pointer, Orientation 1,
// and the two dates of the date field.
TEST(AssembleExifSegment, TheSmallestBlockIsTheDocumented120Bytes) {
  std::array<std::string, kFieldCount> fields{};
  fields[field::kDate] = "2001/05/12 14:30:00";
  fields[field::kComment] = "";
  RecordStore store;
  store.Reset();
  DirectoryCounts counts;
  ASSERT_FALSE(RestoreValue(fields, store, counts));
  // Leave out the date field and the comment to get the minimal block.
  store.lstPosition.Set(row::kDateTime, "0");
  store.lstPosition.Set(row::kUserComment, "0");
  BuiltSegment built = AssembleExifSegment(store);
  ASSERT_EQ(built.error, BuildError::kNone);
  const std::string& s = built.bytes;
  ASSERT_EQ(s.size(), 120u) << Hex(s);
  EXPECT_EQ(s.substr(0, 18), Bytes({0xFF, 0xE1, 0x00, 0x78, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I',
                                    0x2A, 0, 8, 0, 0, 0}));
  EXPECT_EQ(s.substr(18, 2), Bytes({2, 0}));
  EXPECT_EQ(s.substr(20, 12), Bytes({0x12, 0x01, 3, 0, 1, 0, 0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(s.substr(32, 12), Bytes({0x69, 0x87, 4, 0, 1, 0, 0, 0, 0x26, 0, 0, 0}));
  EXPECT_EQ(s.substr(44, 4), Bytes({0, 0, 0, 0}));
  EXPECT_EQ(s.substr(48, 2), Bytes({2, 0}));
  EXPECT_EQ(s.substr(50, 12), Bytes({0x03, 0x90, 2, 0, 0x14, 0, 0, 0, 0x46, 0, 0, 0}));
  EXPECT_EQ(s.substr(62, 12), Bytes({0x04, 0x90, 2, 0, 0x14, 0, 0, 0, 0x5A, 0, 0, 0}));
  EXPECT_EQ(s.substr(74, 6), Bytes({0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(s.substr(80, 20), std::string("2001:05:12 14:30:00\0", 20));
  EXPECT_EQ(s.substr(100, 20), std::string("2001:05:12 14:30:00\0", 20));
}

using Fields = std::array<std::string, kFieldCount>;

Fields With(std::initializer_list<std::pair<int, std::string>> texts) {
  Fields fields{};
  for (const auto& [field, text] : texts) fields[static_cast<std::size_t>(field)] = text;
  return fields;
}

// Field indexes by name.
constexpr int kMake = 0, kModel = 1, kSoftware = 2, kCopyright = 3, kDate = 4, kShutter = 5,
              kAperture = 6, kProgram = 7, kIso = 8, kBias = 9, kDistance = 10, kFlash = 11,
              kMakerNote = 12, kComment = 13, kMetering = 14, kFocal = 15;

// The segment the fields give, built from a freshly reset store.
BuiltSegment BuildFrom(const Fields& fields, RecordStore& store) {
  store.Reset();
  DirectoryCounts counts;
  EXPECT_FALSE(RestoreValue(fields, store, counts));
  return AssembleExifSegment(store);
}

// A built segment read back by the reader, as the photograph it is spliced into.
struct ReadBack {
  std::string file;
  RecordStore store;
  ExifBlockLayout layout;
  bool exifIfdRead = false;

  // The 4-byte value field of a catalogued row's entry.
  std::string EntryField(int row) const {
    auto position = static_cast<std::size_t>(LeadingNumber(store.lstPosition.Row(row)));
    return file.substr(position - 1 + 8, 4);
  }
};

ReadBack Read(const std::string& segment) {
  ReadBack r;
  // The length of a built segment counts its marker; the splice completes it
  // with two zero bytes.
  r.file = test::JpegBuilder().Raw(segment + std::string(2, '\0')).Scan().Build();
  ReadChannel channel(
      std::span(reinterpret_cast<const std::uint8_t*>(r.file.data()), r.file.size()));
  channel.Seek(5);  // after FF D8 FF E1
  r.store.Reset();
  r.exifIfdRead = ReadExifDataFromFile(channel, r.store, r.layout);
  return r;
}

// The field texts the display conversion gives for a store (the pickers'
// fields get the same texts).
Fields FieldsShowing(const RecordStore& store) {
  Fields fields{};
  for (int i = 0; i < kFieldCount; ++i) {
    const int r = FieldRow(i);
    std::string value = store.lstValue.Row(r);
    if (r == row::kDateTime) value = DateForDisplay(store.lstValue.Row(row::kDateTimeOriginal));
    const auto type = static_cast<int>(LeadingNumber(store.lstType.Row(r)));
    fields[static_cast<std::size_t>(i)] =
        IsStoredFraction(value, type) ? FractionForDisplay(r, value) : TextForDisplay(r, value);
  }
  return fields;
}

double Quotient(const std::string& fraction) {
  std::size_t slash = fraction.find('/');
  return LeadingNumber(fraction.substr(0, slash)) / LeadingNumber(fraction.substr(slash + 1));
}

// Make "Sony" is 5 bytes with its NUL: still in the IFD0 value area, so the
// Exif IFD starts at the odd TIFF offset 55, and nothing pads it.
TEST(AssembleExifSegment, AFourLetterMakeGoesToTheValueAreaAndTheExifIfdStartsAt55) {
  RecordStore store;
  BuiltSegment built = BuildFrom(With({{kMake, "Sony"}}), store);
  ASSERT_EQ(built.error, BuildError::kNone);
  const std::string& s = built.bytes;
  ASSERT_EQ(s.size(), 134u) << Hex(s);
  EXPECT_EQ(s.substr(2, 2), Bytes({0x00, 0x86}));
  EXPECT_EQ(s.substr(18, 2), Bytes({3, 0}));
  EXPECT_EQ(s.substr(20, 12), Bytes({0x0F, 0x01, 2, 0, 5, 0, 0, 0, 50, 0, 0, 0}));
  EXPECT_EQ(s.substr(32, 12), Bytes({0x12, 0x01, 3, 0, 1, 0, 0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(s.substr(44, 12), Bytes({0x69, 0x87, 4, 0, 1, 0, 0, 0, 55, 0, 0, 0}));
  EXPECT_EQ(s.substr(56, 4), Bytes({0, 0, 0, 0}));
  EXPECT_EQ(s.substr(60, 5), std::string("Sony\0", 5));
  // The Exif IFD at TIFF offset 55: the comment (marker alone, 25 bytes) and
  // the two dates of an empty date field, count 0.
  EXPECT_EQ(s.substr(65, 2), Bytes({3, 0}));
  EXPECT_EQ(s.substr(67, 12), Bytes({0x86, 0x92, 7, 0, 25, 0, 0, 0, 99, 0, 0, 0}));
  EXPECT_EQ(s.substr(79, 12), Bytes({0x03, 0x90, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(s.substr(91, 12), Bytes({0x04, 0x90, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(s.substr(103, 6), Bytes({0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(s.substr(109), std::string("ASCII\0\0\0(Edit by Tagloom)", 25));
  EXPECT_EQ(store.lstValue.Row(row::kExifPointer), "55");

  ReadBack r = Read(s);
  ASSERT_TRUE(r.exifIfdRead);
  EXPECT_EQ(r.store.lstValue.Row(row::kMake), "Sony");
  EXPECT_EQ(r.store.lstValue.Row(row::kUserComment), "(Edit by Tagloom)");
  EXPECT_TRUE(r.store.Found(row::kDateTimeOriginal));
  EXPECT_EQ(r.store.lstValue.Row(row::kDateTimeOriginal), "");
}

// "Ca" with its NUL is 3 bytes: it stands in the entry, as TIFF places it, and
// the IFD0 value area is empty.
TEST(AssembleExifSegment, ATwoLetterMakeStandsInItsEntry) {
  RecordStore store;
  BuiltSegment built = BuildFrom(With({{kMake, "Ca"}}), store);
  ASSERT_EQ(built.error, BuildError::kNone);
  const std::string& s = built.bytes;
  ASSERT_EQ(s.size(), 129u) << Hex(s);
  EXPECT_EQ(s.substr(20, 12), Bytes({0x0F, 0x01, 2, 0, 3, 0, 0, 0, 'C', 'a', 0, 0}));
  EXPECT_EQ(s.substr(44, 12), Bytes({0x69, 0x87, 4, 0, 1, 0, 0, 0, 50, 0, 0, 0}));
  EXPECT_EQ(s.substr(60, 2), Bytes({3, 0}));
  EXPECT_EQ(s.substr(62, 12), Bytes({0x86, 0x92, 7, 0, 25, 0, 0, 0, 94, 0, 0, 0}));
  EXPECT_EQ(Read(s).store.lstValue.Row(row::kMake), "Ca");
}

// Values of 4 bytes or fewer stand in their entries, the others in the value
// areas; the reader finds each where the writer put it.
TEST(AssembleExifSegment, ShortTextsAndBytesReadBackAsWritten) {
  struct Case {
    int field;
    std::string text;
    std::string field4;  // the entry's value field, or "" for a value in the value area
    std::string read;    // lstValue read back
  };
  for (const Case& c : std::initializer_list<Case>{
           {kMake, "C", std::string("C\0\0\0", 4), "C"},
           {kModel, "EOS", std::string("EOS\0", 4), "EOS"},
           {kModel, "EOS5", "", "EOS5"},
           {kCopyright, "\xC3\xA9", std::string("\xC3\xA9\0\0", 4), "\xC3\xA9"},
           {kMakerNote, "0A1B", Bytes({0x0A, 0x1B, 0, 0}), "Hex:0A1B"},
           {kMakerNote, "0a1b2c3d", Bytes({0x0A, 0x1B, 0x2C, 0x3D}), "Hex:0A1B2C3D"},
           {kMakerNote, "0A1B2C3", Bytes({0x0A, 0x1B, 0x2C, 0x03}), "Hex:0A1B2C03"},
           {kMakerNote, "0A1B2C3D4E", "", "Hex:0A1B2C3D4E"},
           {kComment, "Hex:0A1B", Bytes({0x0A, 0x1B, 0, 0}), "Hex:0A1B"},
           {kComment, "Hex:", Bytes({0, 0, 0, 0}), "Hex:"},
       }) {
    RecordStore store;
    BuiltSegment built = BuildFrom(With({{c.field, c.text}}), store);
    ASSERT_EQ(built.error, BuildError::kNone) << c.text;
    ReadBack r = Read(built.bytes);
    const int row = FieldRow(c.field);
    ASSERT_TRUE(r.exifIfdRead);
    EXPECT_EQ(r.store.lstValue.Row(row), c.read) << c.text;
    if (!c.field4.empty()) {
      EXPECT_EQ(r.EntryField(row), c.field4) << c.text;
    }
    // The count read is the count written, rounded (3.5 hex-digit pairs are 4 bytes).
    EXPECT_EQ(r.store.lstCount.Row(row), IntegerText(static_cast<std::int64_t>(RoundHalfEven(
                                             LeadingNumber(store.lstCount.Row(row))))))
        << c.text;
  }
}

// Every field filled: values of odd sizes follow each other without padding,
// the counts are those of the present rows, and the reader reads back what
// was written.
TEST(AssembleExifSegment, AFullSetOfFieldsIsPackedAndReadBackAsWritten) {
  const Fields fields = With({{kMake, "Sony"},
                              {kModel, "DSC-RX100 VII"},
                              {kSoftware, "1.00"},
                              {kCopyright, "(c) Me"},
                              {kDate, "2019/8/1 7:05:09"},
                              {kShutter, "1/60"},
                              {kAperture, "2.8"},
                              {kProgram, "2"},
                              {kIso, "100"},
                              {kBias, "-2/3"},
                              {kDistance, "1.5"},
                              {kFlash, "16"},
                              {kMakerNote, "0A1B2C3D4E5F"},
                              {kComment, "hello"},
                              {kMetering, "5"},
                              {kFocal, "8.8"}});
  RecordStore store;
  BuiltSegment built = BuildFrom(fields, store);
  ASSERT_EQ(built.error, BuildError::kNone);
  EXPECT_EQ(built.ifd0EntryCount, 7);
  EXPECT_EQ(built.exifIfdEntryCount, 13);

  // Each value area: values back to back from its start.
  auto packed = [&](const std::vector<int>& rows, std::int64_t start) {
    std::int64_t at = start;
    for (int r : rows) {
      if (ValueInEntry(store, r)) continue;
      EXPECT_EQ(store.lstValuePos.Row(r), IntegerText(at)) << "row " << r;
      BuildError error = BuildError::kNone;
      at += static_cast<std::int64_t>(ValueBytes(store, r, error).size());
    }
    return at;
  };
  const std::int64_t x = packed({2, 3, 4, 5, 6}, 14 + 12 * 7);
  EXPECT_EQ(x, 149);  // odd: 5 + 14 + 5 + 7 + 20 bytes of text
  EXPECT_EQ(store.lstValue.Row(row::kExifPointer), "149");
  const std::int64_t end =
      packed({7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}, x + 12 * 13 + 8);
  EXPECT_EQ(static_cast<std::int64_t>(built.bytes.size()), end + 10);

  ReadBack r = Read(built.bytes);
  ASSERT_TRUE(r.exifIfdRead);
  EXPECT_FALSE(r.layout.MotorolaOrder);
  EXPECT_EQ(r.layout.Ifd0EntryCount, 7);
  EXPECT_EQ(r.layout.ExifIfdEntryCount, 13);
  for (int row = 0; row < kCatalogueRows; ++row) {
    EXPECT_TRUE(r.store.Found(row)) << row;
    EXPECT_EQ(r.store.lstType.Row(row), store.lstType.Row(row)) << row;
    EXPECT_EQ(r.store.lstCount.Row(row), store.lstCount.Row(row)) << row;
    EXPECT_EQ(r.store.lstValue.Row(row), store.lstValue.Row(row)) << row;
  }
  EXPECT_EQ(r.store.lstUnuseTag.Count(), 0);
}

// A big-endian block read, shown and written again comes back little-endian
// with the same values; what is outside the catalogue is not carried over.
TEST(AssembleExifSegment, ABigEndianBlockIsWrittenBackLittleEndianWithTheSameValues) {
  using namespace test;
  std::string photo =
      JpegBuilder()
          .App1Exif(
              TiffBuilder(ByteOrder::kBig)
                  .Ifd0({Ascii(0x010F, "Canon"), Ascii(0x0110, "Canon EOS 40D"), Short(0x0112, 6),
                         Rational(0x011A, 72, 1), Ascii(0x0132, "2008:05:30 15:56:01")})
                  .ExifIfd({Rational(0x829A, 1, 160), Rational(0x829D, 71, 10), Short(0x8827, 100),
                            SRational(0x9204, -2, 3), Ascii(0x9003, "2008:05:30 15:56:01"),
                            Undefined(0x927C, "\x01\x02\x03\x04\x05\x06"),
                            Undefined(0x9286, std::string("ASCII\0\0\0hello", 13)),
                            Short(0xA002, 640)})
                  .Build())
          .Scan()
          .Build();
  ReadChannel channel(std::span(reinterpret_cast<const std::uint8_t*>(photo.data()), photo.size()));
  channel.Seek(5);
  RecordStore read;
  read.Reset();
  ExifBlockLayout layout;
  ASSERT_TRUE(ReadExifDataFromFile(channel, read, layout));
  ASSERT_TRUE(layout.MotorolaOrder);
  ASSERT_EQ(read.lstUnuseTag.Count(), 2);

  RecordStore store = read;
  DirectoryCounts counts;
  ASSERT_FALSE(RestoreValue(FieldsShowing(read), store, counts));
  BuiltSegment built = AssembleExifSegment(store);
  ASSERT_EQ(built.error, BuildError::kNone);
  EXPECT_EQ(built.bytes.substr(10, 4), Bytes({'I', 'I', 0x2A, 0}));

  ReadBack r = Read(built.bytes);
  ASSERT_TRUE(r.exifIfdRead);
  EXPECT_FALSE(r.layout.MotorolaOrder);
  EXPECT_EQ(r.store.lstUnuseTag.Count(), 0);
  for (int row : {row::kMake, row::kMake + 1, row::kOrientation, row::kIso, row::kExposureBias,
                  row::kMakerNote, row::kDateTimeOriginal}) {
    EXPECT_EQ(r.store.lstValue.Row(row), read.lstValue.Row(row)) << row;
  }
  EXPECT_EQ(r.store.lstValue.Row(row::kOrientation), "6");
  EXPECT_EQ(r.store.lstValue.Row(row::kUserComment), "(Edit by Tagloom)hello");
  // DateTime is written with the date taken.
  EXPECT_EQ(r.store.lstValue.Row(row::kDateTime), "2008:05:30 15:56:01");
  for (int row : {row::kExposureTime, row::kFNumber}) {
    EXPECT_DOUBLE_EQ(Quotient(r.store.lstValue.Row(row)), Quotient(read.lstValue.Row(row))) << row;
  }
}

TEST(AssembleExifSegment, TheSegmentMayHoldUpTo65535Bytes) {
  RecordStore store;
  BuiltSegment fifty = BuildFrom(With({{kMakerNote, std::string(100000, 'A')}}), store);
  ASSERT_EQ(fifty.error, BuildError::kNone);
  const std::size_t overhead = fifty.bytes.size() - 50000;
  ReadBack r = Read(fifty.bytes);
  ASSERT_TRUE(r.exifIfdRead);
  EXPECT_EQ(r.store.lstValue.Row(row::kMakerNote), "Hex:" + std::string(100000, 'A'));

  // A maker note that fills the segment to the last byte the length field holds.
  const std::size_t most = SegmentBuilder::kMaxSegmentBytes - overhead;
  BuiltSegment full = BuildFrom(With({{kMakerNote, std::string(2 * most, 'B')}}), store);
  ASSERT_EQ(full.error, BuildError::kNone);
  EXPECT_EQ(full.bytes.size(), 65535u);
  EXPECT_EQ(full.bytes.substr(2, 2), Bytes({0xFF, 0xFF}));

  BuiltSegment over = BuildFrom(With({{kMakerNote, std::string(2 * most + 2, 'B')}}), store);
  EXPECT_EQ(over.error, BuildError::kTooLarge);
  EXPECT_TRUE(over.bytes.empty());
}

TEST(AssembleExifSegment, AValueTheBuilderCannotEncodeFailsTheBuild) {
  RecordStore store;
  store.Reset();
  DirectoryCounts counts;
  ASSERT_FALSE(RestoreValue(With({{kAperture, "2.8"}, {kIso, "100"}}), store, counts));
  RecordStore noSlash = store;
  noSlash.lstValue.Set(row::kFNumber, "28");
  BuiltSegment built = AssembleExifSegment(noSlash);
  EXPECT_EQ(built.error, BuildError::kBadRational);
  EXPECT_EQ(built.errorRow, row::kFNumber);
  EXPECT_TRUE(built.bytes.empty());

  RecordStore badIso = store;
  badIso.lstValue.Set(row::kIso, "3000000000");
  built = AssembleExifSegment(badIso);
  EXPECT_EQ(built.error, BuildError::kBadNumber);
  EXPECT_EQ(built.errorRow, row::kIso);
}

}  // namespace
}  // namespace tagloom
