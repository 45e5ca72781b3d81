// Where a block is found: among a photograph's segments, or in its backup file.
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
        JpegBuilder().App1Xmp(), JpegBuilder().App0Jfif().App13(),
        JpegBuilder().App0Jfif().App0(10), JpegBuilder().App0(40'000),
        JpegBuilder().App0Jfif().Segment(0xDB, std::string(65, '\x01')),
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
           JpegBuilder().App0Jfif().Raw(std::string(1, '\0')).App1Exif(tiff).Build(),
           JpegBuilder().Raw(std::string("\xFF\0", 2)).App1Exif(tiff).Build(),
           JpegBuilder().Raw("\xFF\xD9").App1Exif(tiff).Build(),
           JpegBuilder().Raw(std::string("\xFF\xE0\0\x01", 4)).App1Exif(tiff).Build(),
           JpegBuilder().Raw(std::string("\xFF\xE0\x40\0", 4)).App1Exif(tiff).Scan().Build(),
           JpegBuilder().WithoutSoi().App0Jfif().App1Exif(tiff).Build(),
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
      {BackupFile(copied.substr(0, copied.size() - 2)), BackupCheck::kOk},
      {BackupFile(copied.substr(0, copied.size() - 3)), BackupCheck::kTruncated},
      {BackupFile(built.substr(0, built.size() - 1)), BackupCheck::kTruncated},
      {"vantoro exif backup file" + copied, BackupCheck::kBadHeader},
      {header.substr(0, 23), BackupCheck::kBadHeader},
      {header, BackupCheck::kBadMarker},
      {header + "\xFF\xE0" + copied.substr(2), BackupCheck::kBadMarker},
      {header + std::string("\xFF\xE1\0\x01", 4) + copied.substr(4), BackupCheck::kTruncated},
      {header + copied.substr(0, 8) + "x" + copied.substr(9), BackupCheck::kNotExif},
  };
  for (const auto& [file, check] : cases) {
    ReadChannel channel(AsBytes(file));
    EXPECT_EQ(CheckBackupContent(channel), check) << file.size();
  }
}

}  // namespace
}  // namespace tagloom::test
