// Every real photograph with EXIF, copied into a temporary folder, written,
// backed up and restored through the Session, and read back by exiftool and exiv2.

#include <array>
#include <cmath>

#include "editor/editor_support.h"

namespace tagloom {
namespace {

using namespace test;

const char kDate[] = "2021:03:04 05:06:07";

// What is typed into each field (the model and the maker note are short enough
// to stand in their directory entries), and what exiftool -n and exiv2 read.
struct Typed {
  std::string text, exiftoolGroup, exiftoolName, exiftoolValue, exiv2Key, exiv2Value;
};
const std::array<Typed, kFieldCount> kTyped = {
    {{"Tagloom Test", "IFD0", "Make", "Tagloom Test", "Exif.Image.Make", "Tagloom Test"},
     {"X1", "IFD0", "Model", "X1", "Exif.Image.Model", "X1"},
     {"Firmware 1.0", "IFD0", "Software", "Firmware 1.0", "Exif.Image.Software", "Firmware 1.0"},
     {"© 2021 张三", "IFD0", "Copyright", "© 2021 张三", "Exif.Image.Copyright", "© 2021 张三"},
     {"2021/03/04 05:06:07", "IFD0", "ModifyDate", kDate, "Exif.Photo.DateTimeOriginal", kDate},
     {"1/250", "ExifIFD", "ExposureTime", "0.004", "Exif.Photo.ExposureTime", "10/2500"},
     {"5.6", "ExifIFD", "FNumber", "5.6", "Exif.Photo.FNumber", "56/10"},
     {"3", "ExifIFD", "ExposureProgram", "3", "Exif.Photo.ExposureProgram", "3"},
     {"400", "ExifIFD", "ISO", "400", "Exif.Photo.ISOSpeedRatings", "400"},
     {"-1/3", "ExifIFD", "ExposureCompensation", "-0.3333333333", "Exif.Photo.ExposureBiasValue",
      "-1/3"},
     {"2.5", "ExifIFD", "SubjectDistance", "2.5", "Exif.Photo.SubjectDistance", "250/100"},
     {"1", "ExifIFD", "Flash", "1", "Exif.Photo.Flash", "1"},
     {"0A1B2C3D", "", "", "", "Exif.Photo.MakerNote", "10 27 44 61"},  // exiftool: no value
     {"风景 at dusk", "ExifIFD", "UserComment", "(Edit by Tagloom)风景 at dusk",
      "Exif.Photo.UserComment", "charset=Ascii (Edit by Tagloom)风景 at dusk"},
     {"2", "ExifIFD", "MeteringMode", "2", "Exif.Photo.MeteringMode", "2"},
     {"35", "ExifIFD", "FocalLength", "35", "Exif.Photo.FocalLength", "350/10"}}};

class RoundTrip : public SessionTest, public ::testing::WithParamInterface<std::string> {
 protected:
  void SetUp() override {
    original = ReadFile((PhotosDir() / GetParam()).string());
    path = dir.Write(GetParam(), original);
    backupPath = dir.File(GetParam().substr(0, GetParam().rfind('.')) + ".Exif");
    Open(path);
  }
  std::string original, path, backupPath;
};

TEST_P(RoundTrip, EveryFieldWrittenIsReadBackByExiftoolAndExiv2) {
  // The orientation kept: the original's when it is one of the eight, else 1.
  const std::optional<ExiftoolTag> was = FindTag(ExiftoolTags(path), "IFD0", "Orientation");
  const std::string orientation =
      was && was->value.size() == 1 && was->value >= "1" && was->value <= "8" ? was->value : "1";
  for (int i = 0; i < kFieldCount; ++i) session.SetFieldText(i, kTyped[i].text);
  ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);
  EXPECT_EQ(Snapshot(dir.Path()).size(), 2u) << "a temporary or parked file was left";

  // One new EXIF segment, the one built, right after SOI; every other header
  // segment and every byte from the scan on as before. The block replaced was
  // saved into a new backup file first.
  const JpegLayout before = SplitJpeg(original), after = SplitJpeg(ReadFile(path));
  ASSERT_EQ(before.rest.substr(0, 2), "\xFF\xDA") << "the walk missed the start of scan";
  ASSERT_FALSE(after.header.empty());
  EXPECT_TRUE(SameBytes(after.header[0], session.ExifHeadBytes + std::string(2, '\0')));
  EXPECT_TRUE(
      SameBytes(ReadFile(backupPath), std::string(kBackupHeader) + ExifSegmentOf(original)));
  EXPECT_TRUE(SameSegments(OtherSegments(after), OtherSegments(before)))
      << "another header segment changed";
  EXPECT_EQ(after.header.size(), OtherSegments(before).size() + 1);
  EXPECT_TRUE(SameBytes(after.rest, before.rest)) << "the image data changed";

  const std::vector<ExiftoolTag> tags = ExiftoolTags(path);
  std::map<std::string, std::string> exiv2 = Exiv2Values(path);
  for (int i = 0; i < kFieldCount; ++i) {
    const Typed& t = kTyped[i];
    const std::optional<ExiftoolTag> tag = FindTag(tags, t.exiftoolGroup, t.exiftoolName);
    if (!t.exiftoolGroup.empty()) {
      EXPECT_EQ(tag ? tag->value : "(none)", t.exiftoolValue) << i;
    }
    EXPECT_EQ(exiv2[t.exiv2Key], t.exiv2Value) << i;
    // The reload after the write shows what was typed.
    EXPECT_EQ(session.txtExif[i], i == 15 ? "35.0" : t.text) << i;
  }
  EXPECT_EQ(FindTag(tags, "IFD0", "Orientation").value_or(ExiftoolTag{}).value, orientation);
  EXPECT_EQ(exiv2["Exif.Image.Orientation"], orientation);
  for (const ExiftoolTag& tag : tags) {
    EXPECT_NE(tag.group, "IFD1") << "left of the old block: " << tag.name;
    EXPECT_NE(tag.group, "GPS") << "left of the old block: " << tag.name;
  }
}

TEST_P(RoundTrip, TheRestoredExifSegmentIsTheOriginalByteForByte) {
  const std::string originalExif = ExifSegmentOf(original);
  ASSERT_FALSE(originalExif.empty());
  ASSERT_EQ(session.cmdBackup_Click(), Outcome::kDone);
  EXPECT_TRUE(SameBytes(ReadFile(backupPath), std::string(kBackupHeader) + originalExif));
  EXPECT_TRUE(SameBytes(ReadFile(path), original)) << "a backup changed the photograph";
  session.SetFieldText(0, "Edited");
  ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);
  EXPECT_TRUE(SameBytes(ReadFile(backupPath), std::string(kBackupHeader) + originalExif))
      << "a write changed the backup";

  // Another program strips the EXIF block; opened again, the backup's block is shown.
  ASSERT_EQ(RunCommand("exiftool -q -overwrite_original -exif:all= " + ShellQuoted(path)).status,
            0);
  const JpegLayout stripped = SplitJpeg(ReadFile(path));
  ASSERT_TRUE(SameSegments(OtherSegments(stripped), stripped.header))
      << "exiftool left an EXIF segment";
  Open(path);
  EXPECT_TRUE(session.ExifFromBackup && session.imgReadLit && session.cmdRestore.visible);
  ASSERT_EQ(session.cmdRestore_Click(), Outcome::kDone);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, text::kConfirmRestore);
  EXPECT_EQ(host.messages[1].text, std::string(text::kWriteSucceeded) + backupPath);
  const JpegLayout restored = SplitJpeg(ReadFile(path));
  ASSERT_FALSE(restored.header.empty());
  EXPECT_TRUE(SameBytes(restored.header[0], originalExif)) << "the restored segment differs";
  EXPECT_TRUE(SameSegments(OtherSegments(restored), stripped.header))
      << "another header segment changed";
  EXPECT_TRUE(SameBytes(restored.rest, stripped.rest)) << "the image data changed";
  EXPECT_TRUE(session.ExifLoaded && !session.ExifFromBackup);  // reloaded from the photograph
}

INSTANTIATE_TEST_SUITE_P(Photos, RoundTrip, ::testing::ValuesIn(PhotoNames(true)), ParamName);

}  // namespace
}  // namespace tagloom
