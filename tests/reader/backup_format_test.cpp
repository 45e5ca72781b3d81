#include "reader/backup_format.h"

#include <gtest/gtest.h>

#include <string>

#include "reader/exif_block.h"
#include "reader_test_support.h"
#include "support/temp_dir.h"

namespace tagloom::test {
namespace {

TEST(BackupFileName, ReplacesWhatFollowsTheLastDotOfThePath) {
  const struct {
    std::string photo, backup;
  } cases[] = {
      {"/pics/img_01.jpg", "/pics/img_01.Exif"},
      {"/pics/img.01.jpeg", "/pics/img.01.Exif"},
      {"/pics/IMG_0001.THM", "/pics/IMG_0001.Exif"},
      {"/my.pics/img01", "/my.Exif"},  // the folder's dot when the file has none
      {"/pics/img01", ""},
      {"img01", ""},
      {"", ""},
      {"photo.", "photo.Exif"},
      {"/pics/.hidden", "/pics/.Exif"},
      {"D:\\pics\\img_01.jpg", "D:\\pics\\img_01.Exif"},
  };
  for (const auto& c : cases) EXPECT_EQ(BackupFileNameFor(c.photo), c.backup) << c.photo;
}

class BackupContent : public EachByteOrder {
 protected:
  std::string Tiff() const {
    return TiffBuilder(Order())
        .Ifd0({Ascii(0x010F, "Canon")})
        .ExifIfd({Short(0x8827, 100)})
        .Build();
  }
  // A segment as the writer builds it: its length field counts the marker
  // too, so the file ends two bytes before the length says.
  std::string BuiltSegment() const {
    std::string segment = ExifSegment(Tiff());
    const std::size_t length = segment.size();
    segment[2] = static_cast<char>(length >> 8);
    segment[3] = static_cast<char>(length & 0xFF);
    return segment;
  }
};
TAGLOOM_BOTH_BYTE_ORDERS(BackupContent);

TEST_P(BackupContent, ChecksHeaderMarkerAndLength) {
  const std::string copied = ExifSegment(Tiff());
  const std::string built = BuiltSegment();
  const std::string header(kBackupHeader);
  const struct {
    const char* what;
    std::string file;
    BackupCheck check;
  } cases[] = {
      {"a copied segment", BackupFile(copied), BackupCheck::kOk},
      {"a built segment", BackupFile(built), BackupCheck::kOk},
      {"a copied segment lacking two bytes", BackupFile(copied.substr(0, copied.size() - 2)),
       BackupCheck::kOk},
      {"a copied segment lacking three bytes", BackupFile(copied.substr(0, copied.size() - 3)),
       BackupCheck::kTruncated},
      {"a built segment lacking one more byte", BackupFile(built.substr(0, built.size() - 1)),
       BackupCheck::kTruncated},
      {"with bytes after the segment", BackupFile(copied + "more"), BackupCheck::kOk},
      {"header in lower case", "vantoro exif backup file" + copied, BackupCheck::kBadHeader},
      {"header in upper case", "VANTORO EXIF BACKUP FILE" + copied, BackupCheck::kBadHeader},
      {"last letter of the header", "Vantoro Exif Backup Filf" + copied, BackupCheck::kBadHeader},
      {"a photograph", JpegBuilder().App1Exif(Tiff()).Build(), BackupCheck::kBadHeader},
      {"no marker", header + copied.substr(2), BackupCheck::kBadMarker},
      {"an APP0 marker", header + "\xFF\xE0" + copied.substr(2), BackupCheck::kBadMarker},
      {"a fill byte before the marker", header + "\xFF" + copied, BackupCheck::kBadMarker},
      {"length field 1", header + std::string("\xFF\xE1\0\x01", 4) + copied.substr(4),
       BackupCheck::kTruncated},
      {"empty file", "", BackupCheck::kBadHeader},
      {"part of the header", header.substr(0, 23), BackupCheck::kBadHeader},
      {"the header alone", header, BackupCheck::kBadMarker},
      {"header and half a marker", header + "\xFF", BackupCheck::kBadMarker},
      {"header and marker", header + "\xFF\xE1", BackupCheck::kTruncated},
      {"header, marker, half a length", header + std::string("\xFF\xE1\0", 3),
       BackupCheck::kTruncated},
      {"27 bytes with a large length", header + "\xFF\xE1\x12", BackupCheck::kTruncated},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ReadChannel channel(AsBytes(c.file));
    EXPECT_EQ(CheckBackupContent(channel), c.check);
  }
}

TEST_P(BackupContent, AfterTheCheckTheBlockReadsFromOffset24) {
  for (const std::string& segment : {ExifSegment(Tiff()), BuiltSegment()}) {
    const std::string file = BackupFile(segment);
    ReadChannel channel(AsBytes(file));
    ASSERT_EQ(CheckBackupContent(channel), BackupCheck::kOk);
    EXPECT_EQ(channel.Position(), 27);
    const std::int32_t length = BackupSegmentLength(channel);
    EXPECT_EQ(length,
              static_cast<std::uint8_t>(segment[2]) * 256 + static_cast<std::uint8_t>(segment[3]));

    channel.Seek(27);
    RecordStore store;
    store.Reset();
    ExifBlockLayout layout;
    ASSERT_TRUE(ReadExifDataFromFile(channel, store, layout));
    EXPECT_EQ(layout.ExifSegmentOffset, 24);
    EXPECT_EQ(layout.ExifSegmentLength, length);
    EXPECT_EQ(layout.TiffBase, 35);
    EXPECT_EQ(layout.MotorolaOrder, Big());
    EXPECT_EQ(store.lstValue.Row(row::kMake), "Canon");
    EXPECT_EQ(store.lstValue.Row(row::kIso), "100");
  }
}

// A real photograph's segment copied into a backup file reads the same values.
TEST(BackupContentFile, ACopiedSegmentOfARealPhotograph) {
  const std::string photo = ReadFile((PhotosDir() / "Canon_40D.jpg").string());
  const ReadResult fromPhoto = ReadPhoto(photo);
  ASSERT_TRUE(fromPhoto.segment);
  const std::string segment = photo.substr(static_cast<std::size_t>(fromPhoto.segment->offset),
                                           static_cast<std::size_t>(fromPhoto.segment->size));
  TempDir dir;
  std::optional<ReadChannel> backup =
      ReadChannel::OpenFile(dir.Write("Canon_40D.Exif", BackupFile(segment)));
  ASSERT_TRUE(backup);
  ASSERT_EQ(CheckBackupContent(*backup), BackupCheck::kOk);
  RecordStore store;
  store.Reset();
  ExifBlockLayout layout;
  ASSERT_TRUE(ReadExifDataFromFile(*backup, store, layout));
  EXPECT_EQ(layout.ExifSegmentOffset, 24);
  EXPECT_EQ(layout.ExifSegmentLength, fromPhoto.layout.ExifSegmentLength);
  for (int r = 0; r < kCatalogueRows; ++r) {
    EXPECT_EQ(store.lstValue.Row(r), fromPhoto.store.lstValue.Row(r)) << "row " << r;
  }
  EXPECT_EQ(store.lstValue.Row(row::kMake), "Canon");
  EXPECT_EQ(store.lstUnuseValue.Count(), fromPhoto.store.lstUnuseValue.Count());
}

}  // namespace
}  // namespace tagloom::test
