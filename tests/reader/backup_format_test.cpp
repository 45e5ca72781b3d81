#include "reader/backup_format.h"

#include <gtest/gtest.h>

#include "reader_test_support.h"

namespace tagloom::test {
namespace {

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
      {BackupFile(copied + "more"), BackupCheck::kOk},
      {BackupFile(copied.substr(0, copied.size() - 2)), BackupCheck::kOk},
      {BackupFile(copied.substr(0, copied.size() - 3)), BackupCheck::kTruncated},
      {BackupFile(built.substr(0, built.size() - 1)), BackupCheck::kTruncated},
      {"vantoro exif backup file" + copied, BackupCheck::kBadHeader},
      {"Vantoro Exif Backup Filf" + copied, BackupCheck::kBadHeader},
      {JpegBuilder().App1Exif(Block()).Build(), BackupCheck::kBadHeader},
      {header.substr(0, 23), BackupCheck::kBadHeader},
      {header, BackupCheck::kBadMarker},
      {header + "\xFF\xE0" + copied.substr(2), BackupCheck::kBadMarker},
      {header + "\xFF" + copied, BackupCheck::kBadMarker},
      {header + "\xFF\xE1\x12", BackupCheck::kTruncated},
      {header + std::string("\xFF\xE1\0\x01", 4) + copied.substr(4), BackupCheck::kTruncated},
      {header + copied.substr(0, 8) + "x" + copied.substr(9), BackupCheck::kNotExif},
  };
  for (const auto& [file, check] : cases) {
    ReadChannel channel(AsBytes(file));
    EXPECT_EQ(CheckBackupContent(channel), check) << file.size();
  }
  // After the check the block reads as in a photograph, from offset 24.
  for (const std::string& segment : {copied, built}) {
    const std::string file = BackupFile(segment);
    ReadChannel channel(AsBytes(file));
    ASSERT_EQ(CheckBackupContent(channel), BackupCheck::kOk);
    ReadResult read;
    read.store.Reset();
    ASSERT_TRUE(ReadExifDataFromFile(channel, read.store, read.layout));
    EXPECT_EQ(read.layout.ExifSegmentOffset, 24);
    EXPECT_EQ(read.layout.TiffBase, 35);
    EXPECT_EQ(read.store.lstValue.Row(row::kIso), "100");
    EXPECT_EQ(BackupSegmentLength(channel), static_cast<std::uint8_t>(segment[3]));
  }
}

}  // namespace
}  // namespace tagloom::test
