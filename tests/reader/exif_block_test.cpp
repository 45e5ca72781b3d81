// Where a block is found (among a photograph's segments, or in its backup
// file) and how its directories are read.
#include "reader/exif_block.h"

#include <gtest/gtest.h>

#include "reader/backup_format.h"
#include "reader/jpeg_segments.h"
#include "reader_test_support.h"

namespace tagloom::test {
namespace {

class SegmentSearch : public EachByteOrder {};
TAGLOOM_BOTH_BYTE_ORDERS(SegmentSearch);

TEST_P(SegmentSearch, FindsTheExifApp1AfterAnyMarkerSegments) {
  const std::string tiff = Block();
  for (const JpegBuilder& before :
       {JpegBuilder(), JpegBuilder().WithoutSoi(), JpegBuilder().App0Jfif().App2Icc(),
        JpegBuilder().App0(40'000), JpegBuilder().App0Jfif().Segment(0xDB, std::string(65, '\x01')),
        JpegBuilder().Segment(0xE1, "ExifII*"),  // "Exif" without its two NUL bytes
        JpegBuilder().Raw("\xFF\xFF"), JpegBuilder().App0Jfif().Raw("\xFF\xFF\xFF")}) {
    const auto offset = static_cast<std::int64_t>(before.Build().size());
    ReadResult read = ReadPhoto(JpegBuilder(before).App1Exif(tiff).Scan().Build());
    ASSERT_TRUE(read.segment) << offset;
    EXPECT_EQ(read.segment->offset, offset);
    EXPECT_EQ(read.segment->size, static_cast<std::int64_t>(4 + 6 + tiff.size()));
    EXPECT_EQ(read.layout.TiffBase, offset + 11);
    EXPECT_EQ(read.store.lstValue.Row(row::kIso), "100") << offset;
  }
  // Nor is one found where the walk cannot reach it.
  for (const std::string& jpeg : {
           JpegBuilder().App0Jfif().App1Xmp().Scan().Build(),
           JpegBuilder().App0Jfif().Scan().App1Exif(tiff).Build(),
           JpegBuilder().Raw("\xFF\xD9").App1Exif(tiff).Build(),
           JpegBuilder().Raw(std::string("\xFF\xE0\x40\0", 4)).App1Exif(tiff).Scan().Build(),
           "GIF89a" + JpegBuilder().App1Exif(tiff).Build(),
       }) {
    EXPECT_FALSE(ReadPhoto(jpeg).segment) << jpeg.size();
  }
}

// Only the file name's own dot counts: a folder's would give every photograph
// in it without a dot the one backup file beside the folder.
TEST(BackupFileName, ReplacesWhatFollowsTheLastDotOfTheFileName) {
  for (const auto& [photo, backup] : std::initializer_list<std::pair<const char*, const char*>>{
           {"/pics/img.01.jpeg", "/pics/img.01.Exif"},
           {"/my.pics/img01", ""},
           {"album.2024/IMG0001", ""},
           {"./IMG0001", ""},
           {"/pics/img01", ""},
           {"photo.", "photo.Exif"},
           {"/pics/.hidden", "/pics/.Exif"}}) {
    EXPECT_EQ(BackupFileNameFor(photo), backup) << photo;
  }
}

class BackupContent : public EachByteOrder {};
TAGLOOM_BOTH_BYTE_ORDERS(BackupContent);

TEST_P(BackupContent, ChecksHeaderMarkerAndLength) {
  const std::string copied = ExifSegment(Block()), header(kBackupHeader);
  // As the writer builds it: the length counts the marker too, so the file lacks two bytes.
  std::string built = copied;
  built[3] = static_cast<char>(built[3] + 2);
  const std::pair<std::string, BackupCheck> cases[] = {
      {BackupFile(copied), BackupCheck::kOk},
      {BackupFile(built), BackupCheck::kOk},
      {BackupFile(copied.substr(0, copied.size() - 3)), BackupCheck::kTruncated},
      {BackupFile(built.substr(0, built.size() - 1)), BackupCheck::kTruncated},
      {"vantoro exif backup file" + copied, BackupCheck::kBadHeader},
      {header, BackupCheck::kBadMarker},
      {header + "\xFF\xE0" + copied.substr(2), BackupCheck::kBadMarker},
      {header + copied.substr(0, 8) + "x" + copied.substr(9), BackupCheck::kNotExif},
  };
  for (const auto& [file, check] : cases) {
    ReadChannel channel(AsBytes(file));
    EXPECT_EQ(CheckBackupContent(channel), check) << file.size();
  }
}

class IfdWalker : public EachByteOrder {};
TAGLOOM_BOTH_BYTE_ORDERS(IfdWalker);

// Rows 7 to 19 are fetched only with the Exif IFD, wherever their tag stood;
// tags outside the catalogue are listed in file order.
TEST_P(IfdWalker, WithoutTheExifPointerReadsIfd0OnlyAndListsOtherTagsInOrder) {
  ReadResult read = ReadTiff(
      TiffBuilder(Order()).Ifd0({Ascii(0x010F, "Canon"), Short(0x8827, 100), Short(0x0100, 640)}));
  EXPECT_FALSE(read.exifIfdRead);
  EXPECT_EQ(read.store.lstValue.Row(row::kMake) + read.store.lstUnuseValue.Row(0), "Canon640");
  EXPECT_TRUE(read.store.Found(row::kIso) && read.store.lstValue.Row(row::kIso).empty());
  read = ReadTiff(TiffBuilder(Order()).Ifd0({Short(0x8827, 100)}).ExifIfd({}));
  EXPECT_EQ(read.store.lstValue.Row(row::kIso), "100");
  // The pointer is followed whatever type it claims (ASCII here, as some software writes it).
  const std::string ascii = Big() ? std::string("\0\2", 2) : std::string("\2\0", 2);
  read = ReadTiff(TiffBuilder(Order()).ExifIfd({Short(0x8827, 100)}).Place(12, ascii));
  EXPECT_EQ(read.store.lstType.Row(row::kExifPointer) + " " + read.store.lstValue.Row(row::kIso),
            "2 100");

  // A catalogued tag keeps its last entry; uncatalogued ones are all listed in file order.
  read =
      ReadTiff(TiffBuilder(Order())
                   .Ifd0({Ascii(0x010F, "Canon"), Short(0x0100, 640), Ascii(0x010F, "Nikon"),
                          Rational(0x011A, 72, 1)})
                   .ExifIfd({Undefined(0x9000, "0230"), Short(0x0100, 480), Short(0x8827, 100)}));
  EXPECT_EQ(read.store.lstValue.Row(row::kMake) + read.store.lstPosition.Row(row::kMake),
            "Nikon47");
  const AllRows rows = Rows(read.store);
  EXPECT_EQ(rows[5], (std::vector<std::string>{"0100", "011A", "9000", "0100"}));
  EXPECT_EQ(rows[8], (std::vector<std::string>{"640", "72/1", "Hex:30323330", "480"}));
  EXPECT_EQ(rows[6][1] + " " + rows[9][2] + " " + rows[10][2], "59 7 4");
  // An inline SHORT's value position is its whole value field, which depends on the order.
  EXPECT_EQ(rows[7][0], Big() ? std::to_string(13 + (640 << 16) - 1) : "652");
}

struct ValueCase {
  Entry entry;
  std::string little;
  std::string big = {};  // empty: the same as little
};

TEST_P(IfdWalker, GivesTheValueTextOfEachType) {
  const ValueCase cases[] = {
      // The field's first value in either order, whatever stands beside it.
      {Short(0x8827, 40000), "40000"},
      {Bytes(0x0000, {0xFF, 0xFE, 0xFD, 0xFC}), "255"},
      {Raw(0x8827, 3, 1, 0x341200C8), "200", "13330"},  // ISO 200 beside padding, as cameras write
      {Long(0xA002, 0x80000000), "-2147483648"},
      {Rational(0x829A, 1, 60), "1/60"},
      {SRational(0x9204, -1, 3), "-1/3"},
      {AsciiRaw(0xA420, std::string("\0Ca\0no\0", 7)), "Cano"},
      {AsciiRaw(0xA420, std::string("HTC\0", 4)), "HTC"},          // from the value field
      {AsciiRaw(0xA420, std::string("Caf\xE9\0", 5)), "Caf\xE9"},  // the bytes as they are
      {Undefined(0x9286, std::string("ASCII\0\0\0  hello  ", 17)), "hello"},
      {Undefined(0x9286, std::string(8, '\0') + "note"), "note"},
      {Undefined(0x9286, std::string("UNICODE\0h\0", 10)), "Hex:554E49434F4445006800"},
      {Undefined(0x9286, std::string("ASCII\0\0", 7)), "Hex:41534349490000"},
      {SLongs(0xA500, {-7, 9}), "-7"},
      // Other types give nothing and read nothing, wherever their field points.
      {Raw(0xA500, 0, 8, 0x7FFFFFF0), ""}};
  for (const ValueCase& c : cases) {
    ReadResult read = ReadTiff(TiffBuilder(Order()).ExifIfd({c.entry}));
    EXPECT_EQ(ValueOf(read.store, c.entry.tag), Big() && !c.big.empty() ? c.big : c.little)
        << c.little;
    EXPECT_FALSE(read.readOutside) << c.little;
  }
  // So too the orientation in IFD0, which a write keeps.
  const TiffBuilder orientation = TiffBuilder(Order()).Ifd0({Raw(0x0112, 3, 1, 0x00030006)});
  EXPECT_EQ(ValueOf(ReadTiff(orientation).store, 0x0112), Big() ? "3" : "6");
}

}  // namespace
}  // namespace tagloom::test
