// Real photographs written, backed up and restored through the Session, and
// the results read back by exiftool, exiv2 and a fresh Session. Every
// photograph is copied into a temporary folder first.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "editor/session.h"
#include "editor/texts.h"
#include "model/catalogue.h"
#include "support/oracle.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tagloom {
namespace {

// --- A JPEG's header segments, walked here without Tagloom's reader ---------

struct Segment {
  std::uint8_t marker = 0;
  std::string bytes;  // FF, marker, length field and data

  bool CarriesExif() const {
    return marker == 0xE1 && bytes.size() >= 10 &&
           bytes.compare(4, 6, std::string("Exif\0\0", 6)) == 0;
  }
  bool operator==(const Segment&) const = default;
};

struct JpegLayout {
  std::vector<Segment> header;  // every marker segment between SOI and the start of scan
  std::string rest;             // from the start-of-scan marker (or the first stray byte) on
};

// Splits a JPEG stream into its header segments and the rest. Each segment is
// FF, marker, a big-endian length that counts itself, then the data.
JpegLayout SplitJpeg(const std::string& file) {
  JpegLayout layout;
  std::size_t at = 2;  // after FF D8
  while (at + 4 <= file.size() && static_cast<std::uint8_t>(file[at]) == 0xFF) {
    const auto marker = static_cast<std::uint8_t>(file[at + 1]);
    if (marker == 0xDA || marker == 0xD9 || marker == 0xFF || marker == 0x00) break;
    const std::size_t length =
        static_cast<std::uint8_t>(file[at + 2]) * 256u + static_cast<std::uint8_t>(file[at + 3]);
    if (length < 2 || at + 2 + length > file.size()) break;
    layout.header.push_back({marker, file.substr(at, 2 + length)});
    at += 2 + length;
  }
  layout.rest = file.substr(std::min(at, file.size()));
  return layout;
}

std::vector<Segment> WithoutExif(const std::vector<Segment>& segments) {
  std::vector<Segment> kept;
  for (const Segment& segment : segments) {
    if (!segment.CarriesExif()) kept.push_back(segment);
  }
  return kept;
}

std::optional<Segment> FirstExifSegment(const std::string& file) {
  for (const Segment& segment : SplitJpeg(file).header) {
    if (segment.CarriesExif()) return segment;
  }
  return std::nullopt;
}

// --- The photographs ---------------------------------------------------------

std::vector<std::string> AllPhotos() {
  std::vector<std::string> names;
  for (const auto& file : std::filesystem::directory_iterator(test::PhotosDir())) {
    if (file.path().extension() == ".jpg") names.push_back(file.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> PhotosWithExif() {
  std::vector<std::string> names;
  for (const std::string& name : AllPhotos()) {
    if (FirstExifSegment(test::ReadFile((test::PhotosDir() / name).string()))) {
      names.push_back(name);
    }
  }
  return names;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

// The names of the files in a folder.
std::set<std::string> FolderContent(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& file : std::filesystem::directory_iterator(folder)) {
    names.insert(file.path().filename().string());
  }
  return names;
}

std::string BackupNameOf(const std::string& photoName) {
  return photoName.substr(0, photoName.rfind('.') + 1) + "Exif";
}

// --- What is typed into the fields, and what each reader must find -----------

struct FieldEdit {
  int field;
  std::string typed;
  std::string shown;  // the field's text when the written photograph is read back
};

const std::vector<FieldEdit> kEdits = {
    {0, "Tagloom Test", "Tagloom Test"},
    {1, "Model X-1", "Model X-1"},
    {2, "Firmware 1.0", "Firmware 1.0"},
    {3, "© 2021 张三", "© 2021 张三"},
    {4, "2021/03/04 05:06:07", "2021/03/04 05:06:07"},
    {5, "1/250", "1/250"},
    {6, "5.6", "5.6"},
    {7, "3", "3"},
    {8, "400", "400"},
    {9, "-1/3", "-1/3"},
    {10, "2.5", "2.5"},
    {11, "1", "1"},
    {12, "0A1B2C3D", "0A1B2C3D"},
    {13, "风景 at dusk", "风景 at dusk"},
    {14, "2", "2"},
    {15, "35", "35.0"},
};

const char kWrittenDate[] = "2021:03:04 05:06:07";

// exiftool -n: group, name, value as printed.
const std::vector<std::array<std::string, 3>> kExiftoolExpected = {
    {"IFD0", "Make", "Tagloom Test"},
    {"IFD0", "Model", "Model X-1"},
    {"IFD0", "Software", "Firmware 1.0"},
    {"IFD0", "Copyright", "© 2021 张三"},
    {"IFD0", "ModifyDate", kWrittenDate},
    {"ExifIFD", "ExposureTime", "0.004"},
    {"ExifIFD", "FNumber", "5.6"},
    {"ExifIFD", "ExposureProgram", "3"},
    {"ExifIFD", "ISO", "400"},
    {"ExifIFD", "SubjectDistance", "2.5"},
    {"ExifIFD", "Flash", "1"},
    {"ExifIFD", "UserComment", "(Edit by Tagloom)风景 at dusk"},
    {"ExifIFD", "MeteringMode", "2"},
    {"ExifIFD", "FocalLength", "35"},
    {"ExifIFD", "DateTimeOriginal", kWrittenDate},
    {"ExifIFD", "CreateDate", kWrittenDate},
};

// exiv2 -Pv: key and plain value.
const std::map<std::string, std::string> kExiv2Expected = {
    {"Exif.Image.Make", "Tagloom Test"},
    {"Exif.Image.Model", "Model X-1"},
    {"Exif.Image.Software", "Firmware 1.0"},
    {"Exif.Image.Copyright", "© 2021 张三"},
    {"Exif.Image.DateTime", kWrittenDate},
    {"Exif.Photo.ExposureTime", "10/2500"},
    {"Exif.Photo.FNumber", "56/10"},
    {"Exif.Photo.ExposureProgram", "3"},
    {"Exif.Photo.ISOSpeedRatings", "400"},
    {"Exif.Photo.ExposureBiasValue", "-1/3"},
    {"Exif.Photo.SubjectDistance", "250/100"},
    {"Exif.Photo.Flash", "1"},
    {"Exif.Photo.MakerNote", "10 27 44 61"},
    {"Exif.Photo.UserComment", "charset=Ascii (Edit by Tagloom)风景 at dusk"},
    {"Exif.Photo.MeteringMode", "2"},
    {"Exif.Photo.FocalLength", "350/10"},
    {"Exif.Photo.DateTimeOriginal", kWrittenDate},
    {"Exif.Photo.DateTimeDigitized", kWrittenDate},
};

// Every key exiv2 reports with its plain value, from one run. The values
// expected here start with no blank, so the padding after a key is skipped.
std::map<std::string, std::string> Exiv2Values(const std::string& path) {
  test::CommandResult run =
      test::RunCommand("exiv2 -q -Pkv " + test::ShellQuoted(path) + " 2>/dev/null");
  std::map<std::string, std::string> values;
  std::size_t at = 0;
  while (at < run.output.size()) {
    std::size_t end = run.output.find('\n', at);
    if (end == std::string::npos) end = run.output.size();
    const std::string line = run.output.substr(at, end - at);
    at = end + 1;
    const std::size_t blank = line.find(' ');
    if (blank == std::string::npos) continue;
    const std::size_t value = line.find_first_not_of(' ', blank);
    values[line.substr(0, blank)] = value == std::string::npos ? "" : line.substr(value);
  }
  return values;
}

// The orientation a written photograph must keep: the original's when it is
// one of the eight, else 1.
std::string ExpectedOrientation(const std::string& originalPath) {
  std::optional<test::ExiftoolTag> read =
      test::FindTag(test::ExiftoolTags(originalPath), "IFD0", "Orientation");
  if (read && read->value.size() == 1 && read->value[0] >= '1' && read->value[0] <= '8') {
    return read->value;
  }
  return "1";
}

class RoundTrip : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    originalPath_ = (test::PhotosDir() / GetParam()).string();
    original_ = test::ReadFile(originalPath_);
    ASSERT_FALSE(original_.empty());
    path_ = dir_.Write(GetParam(), original_);
  }

  void Open(Session& session) {
    session.Text1 = path_;
    session.DrawImage();
  }

  test::TempDir dir_;
  std::string originalPath_, original_, path_;
  test::RecordingHost host_;
  Session session_{host_};
};

TEST_P(RoundTrip, EveryFieldWrittenIsReadBackByExiftoolExiv2AndTagloom) {
  Open(session_);
  const bool hadExif = FirstExifSegment(original_).has_value();
  ASSERT_EQ(session_.labNoExif.visible, !hadExif);
  for (const FieldEdit& edit : kEdits) session_.SetFieldText(edit.field, edit.typed);
  host_.messages.clear();

  ASSERT_EQ(session_.cmdExifWrite_Click(), Outcome::kDone);

  const std::string backupPath = dir_.File(BackupNameOf(GetParam()));
  ASSERT_EQ(host_.messages.size(), 2u);
  EXPECT_TRUE(host_.messages[0].question);
  EXPECT_EQ(host_.messages[0].text, hadExif ? text::kConfirmRewriteExif : text::kConfirmCreateExif);
  EXPECT_EQ(host_.messages[1].text, std::string(text::kWriteSucceeded) + backupPath);
  EXPECT_EQ(host_.messages[1].title, text::kWriteSucceededTitle);
  // Nothing beside the photograph but its backup: no temporary or parked file.
  EXPECT_EQ(FolderContent(dir_.Path()),
            (std::set<std::string>{GetParam(), BackupNameOf(GetParam())}));

  // The bytes: one new EXIF segment right after SOI, staged in the backup
  // file; every other header segment and everything from the scan on as before.
  const std::string written = test::ReadFile(path_);
  ASSERT_EQ(written.substr(0, 2), "\xFF\xD8");
  const JpegLayout before = SplitJpeg(original_);
  const JpegLayout after = SplitJpeg(written);
  ASSERT_EQ(before.rest.substr(0, 2), "\xFF\xDA") << "the walk missed the start of scan";
  ASSERT_FALSE(after.header.empty());
  ASSERT_TRUE(after.header[0].CarriesExif());
  const std::string backup = test::ReadFile(backupPath);
  EXPECT_EQ(backup.substr(0, 24), "Vantoro Exif Backup File");
  EXPECT_TRUE(after.header[0].bytes == backup.substr(24) + std::string(2, '\0'))
      << "the segment written is not the one staged";
  EXPECT_TRUE(WithoutExif(after.header) == WithoutExif(before.header))
      << "another header segment changed";
  EXPECT_EQ(after.header.size(), WithoutExif(before.header).size() + 1);
  EXPECT_TRUE(after.rest == before.rest) << "the image data changed";

  // exiftool.
  const std::vector<test::ExiftoolTag> tags = test::ExiftoolTags(path_);
  ASSERT_FALSE(tags.empty());
  for (const auto& [group, name, value] : kExiftoolExpected) {
    std::optional<test::ExiftoolTag> tag = test::FindTag(tags, group, name);
    ASSERT_TRUE(tag.has_value()) << group << ":" << name;
    EXPECT_EQ(tag->value, value) << group << ":" << name;
  }
  std::optional<test::ExiftoolTag> bias = test::FindTag(tags, "ExifIFD", "ExposureCompensation");
  ASSERT_TRUE(bias.has_value());
  EXPECT_NEAR(std::stod(bias->value), -1.0 / 3.0, 1e-9);
  std::optional<test::ExiftoolTag> orientation = test::FindTag(tags, "IFD0", "Orientation");
  ASSERT_TRUE(orientation.has_value());
  EXPECT_EQ(orientation->value, ExpectedOrientation(originalPath_));
  EXPECT_EQ(test::FindRaw(test::ExiftoolRawTags(path_), "ExifIFD", 0x927C),
            std::optional<std::string>("\x0A\x1B\x2C\x3D"));
  // Nothing else of the old block survives: no thumbnail directory, no GPS.
  for (const test::ExiftoolTag& tag : tags) {
    EXPECT_NE(tag.group, "IFD1") << tag.name;
    EXPECT_NE(tag.group, "GPS") << tag.name;
  }

  // exiv2.
  std::map<std::string, std::string> exiv2 = Exiv2Values(path_);
  for (const auto& [key, value] : kExiv2Expected) EXPECT_EQ(exiv2[key], value) << key;
  EXPECT_EQ(exiv2["Exif.Image.Orientation"], ExpectedOrientation(originalPath_));

  // Tagloom itself: the reload after the write, and a fresh Session.
  test::RecordingHost freshHost;
  Session fresh(freshHost);
  Open(fresh);
  for (Session* reader : {&session_, &fresh}) {
    EXPECT_TRUE(reader->ExifLoaded);
    EXPECT_FALSE(reader->ExifFromBackup);
    EXPECT_FALSE(reader->labNoExif.visible);
    for (const FieldEdit& edit : kEdits) {
      EXPECT_EQ(reader->txtExif[static_cast<std::size_t>(edit.field)], edit.shown)
          << kFields[static_cast<std::size_t>(edit.field)].caption;
    }
    EXPECT_EQ(reader->Combo1, 3);
    EXPECT_EQ(reader->Combo2, 2);
    EXPECT_EQ(reader->OptFlash, 1);
  }
  EXPECT_TRUE(freshHost.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Photos, RoundTrip, ::testing::ValuesIn(AllPhotos()), TestName);

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string ValueOf(const std::vector<test::ExiftoolTag>& tags, const std::string& group,
                    const std::string& name) {
  std::optional<test::ExiftoolTag> tag = test::FindTag(tags, group, name);
  return tag ? tag->value : "";
}

bool IsExifDate(const std::string& text) {
  static const std::string kForm = "dddd:dd:dd dd:dd:dd";
  if (text.size() != kForm.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (kForm[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(text[i]))
                        : text[i] != kForm[i]) {
      return false;
    }
  }
  return true;
}

class UntouchedWrite : public RoundTrip {};

TEST_P(UntouchedWrite, FieldsLeftAsShownWriteBackWhatWasRead) {
  Open(session_);
  bool anyText = false;
  for (const std::string& field : session_.txtExif) anyText |= !Trim(field).empty();
  if (!anyText) {
    // Nothing shown, nothing to write: refused, and the photograph kept.
    EXPECT_EQ(session_.cmdExifWrite_Click(), Outcome::kFailed);
    ASSERT_FALSE(host_.messages.empty());
    EXPECT_EQ(host_.messages.back().text, text::kAllFieldsEmpty);
    EXPECT_TRUE(test::ReadFile(path_) == original_);
    return;
  }
  const std::array<std::string, kFieldCount> shown = session_.txtExif;

  ASSERT_EQ(session_.cmdExifWrite_Click(), Outcome::kDone);
  const std::string firstBuild = session_.ExifHeadBytes;
  const std::string written = test::ReadFile(path_);

  const std::vector<test::ExiftoolTag> was = test::ExiftoolTags(originalPath_);
  const std::vector<test::ExiftoolTag> now = test::ExiftoolTags(path_);
  // Texts come back without their surrounding blanks; numbers as they were.
  for (const auto& [group, name] : std::vector<std::pair<std::string, std::string>>{
           {"IFD0", "Make"}, {"IFD0", "Model"}, {"IFD0", "Software"}, {"IFD0", "Copyright"}}) {
    EXPECT_EQ(Trim(ValueOf(now, group, name)), Trim(ValueOf(was, group, name))) << name;
  }
  // exiftool does not follow an Exif pointer of the wrong type; Tagloom does,
  // so for such a photograph there is nothing to compare the Exif values with.
  const bool exifReadByOracle = std::any_of(
      was.begin(), was.end(), [](const test::ExiftoolTag& tag) { return tag.group == "ExifIFD"; });
  for (const char* name : {"ExposureProgram", "ISO", "Flash", "MeteringMode", "SubjectDistance"}) {
    if (!exifReadByOracle) break;
    EXPECT_EQ(ValueOf(now, "ExifIFD", name), ValueOf(was, "ExifIFD", name)) << name;
  }
  // Apertures and focal lengths are written in tenths.
  for (const char* name : {"FNumber", "FocalLength", "ExposureCompensation"}) {
    if (!exifReadByOracle) break;
    const std::string before = ValueOf(was, "ExifIFD", name);
    const std::string after = ValueOf(now, "ExifIFD", name);
    ASSERT_EQ(before.empty(), after.empty()) << name;
    if (!before.empty()) {
      EXPECT_NEAR(std::stod(after), std::stod(before), 0.05 + 1e-9) << name;
    }
  }
  const std::string date = ValueOf(was, "ExifIFD", "DateTimeOriginal");
  if (exifReadByOracle && !date.empty()) {
    EXPECT_EQ(ValueOf(now, "ExifIFD", "DateTimeOriginal"),
              IsExifDate(date) ? date : "1999:01:01 01:01:01");
  }
  // A maker note shown as hex digits, and a comment kept in its "Hex:"
  // form, go back byte for byte.
  const std::vector<test::RawTag> rawWas = test::ExiftoolRawTags(originalPath_);
  const std::vector<test::RawTag> rawNow = test::ExiftoolRawTags(path_);
  if (!shown[12].empty()) {
    EXPECT_TRUE(test::FindRaw(rawNow, "ExifIFD", 0x927C) ==
                test::FindRaw(rawWas, "ExifIFD", 0x927C))
        << "the maker note changed";
  }
  if (shown[field::kComment].rfind("Hex:", 0) == 0) {
    EXPECT_TRUE(test::FindRaw(rawNow, "ExifIFD", 0x9286) ==
                test::FindRaw(rawWas, "ExifIFD", 0x9286))
        << "the comment changed";
  }

  // Written once, what is shown is a fixed point: a second write changes nothing.
  ASSERT_EQ(session_.cmdExifWrite_Click(), Outcome::kDone);
  EXPECT_TRUE(session_.ExifHeadBytes == firstBuild) << "a second write built another segment";
  EXPECT_TRUE(test::ReadFile(path_) == written);
}

INSTANTIATE_TEST_SUITE_P(Photos, UntouchedWrite, ::testing::ValuesIn(PhotosWithExif()), TestName);

class BackupStripRestore : public RoundTrip {};

TEST_P(BackupStripRestore, TheRestoredExifSegmentIsTheOriginalByteForByte) {
  const std::optional<Segment> originalExif = FirstExifSegment(original_);
  ASSERT_TRUE(originalExif.has_value());
  const std::string backupPath = dir_.File(BackupNameOf(GetParam()));

  // Back up: no backup yet, so nothing is asked.
  Open(session_);
  ASSERT_TRUE(session_.cmdBackup.visible);
  host_.messages.clear();
  ASSERT_EQ(session_.cmdBackup_Click(), Outcome::kDone);
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_FALSE(host_.messages[0].question);
  EXPECT_EQ(host_.messages[0].text, std::string(text::kBackupSucceeded) + backupPath);
  EXPECT_EQ(host_.messages[0].title, text::kBackupSucceededTitle);
  EXPECT_TRUE(test::ReadFile(backupPath) == "Vantoro Exif Backup File" + originalExif->bytes)
      << "the backup is not the header and the photograph's segment";
  EXPECT_TRUE(test::ReadFile(path_) == original_) << "a backup changed the photograph";
  EXPECT_TRUE(session_.imgBackupLit);
  EXPECT_TRUE(session_.cmdRestore.visible);

  // Another program strips the EXIF block.
  test::CommandResult strip =
      test::RunCommand("exiftool -q -overwrite_original -exif:all= " + test::ShellQuoted(path_));
  ASSERT_EQ(strip.status, 0);
  const std::string stripped = test::ReadFile(path_);
  ASSERT_FALSE(FirstExifSegment(stripped).has_value());

  // Opened again, the photograph shows its backup's block.
  Open(session_);
  EXPECT_TRUE(session_.ExifLoaded);
  EXPECT_TRUE(session_.ExifFromBackup);
  EXPECT_TRUE(session_.imgReadLit);
  EXPECT_TRUE(session_.cmdRestore.visible);
  EXPECT_FALSE(session_.cmdBackup.visible);

  host_.messages.clear();
  ASSERT_EQ(session_.cmdRestore_Click(), Outcome::kDone);
  ASSERT_EQ(host_.messages.size(), 2u);
  EXPECT_EQ(host_.messages[0].text, text::kConfirmRestore);
  EXPECT_EQ(host_.messages[0].title, text::kConfirmRestoreTitle);
  EXPECT_EQ(host_.messages[0].icon, MessageIcon::kQuestion);
  EXPECT_EQ(host_.messages[1].text, std::string(text::kWriteSucceeded) + backupPath);

  const std::string restored = test::ReadFile(path_);
  const JpegLayout after = SplitJpeg(restored);
  ASSERT_FALSE(after.header.empty());
  EXPECT_TRUE(after.header[0] == *originalExif) << "the restored segment differs";
  EXPECT_TRUE(WithoutExif(after.header) == SplitJpeg(stripped).header)
      << "another header segment changed";
  EXPECT_TRUE(after.rest == SplitJpeg(stripped).rest) << "the image data changed";
  EXPECT_EQ(FolderContent(dir_.Path()),
            (std::set<std::string>{GetParam(), BackupNameOf(GetParam())}));

  // The reload after the restore reads the photograph's own block again.
  EXPECT_TRUE(session_.ExifLoaded);
  EXPECT_FALSE(session_.ExifFromBackup);
  EXPECT_FALSE(session_.imgReadLit);
}

INSTANTIATE_TEST_SUITE_P(Photos, BackupStripRestore, ::testing::ValuesIn(PhotosWithExif()),
                         TestName);

TEST(RoundTripPhotos, ShortTextsAndAShortMakerNoteAreReadByExiftoolAndExiv2) {
  // Values of four bytes or fewer fit in their directory entry; whichever
  // place they are written to, other readers must find them.
  test::TempDir dir;
  const std::string path =
      dir.Write("HTC Desire.jpg", test::ReadFile((test::PhotosDir() / "HTC Desire.jpg").string()));
  test::RecordingHost host;
  Session session(host);
  session.Text1 = path;
  session.DrawImage();
  session.ClearAllArea();
  session.SetFieldText(0, "HTC");
  session.SetFieldText(1, "X1");
  session.SetFieldText(field::kCopyright, "C");
  session.SetFieldText(12, "0A1B");
  ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);

  const std::vector<test::ExiftoolTag> tags = test::ExiftoolTags(path);
  for (const auto& [group, name, value] :
       std::vector<std::array<std::string, 3>>{{"IFD0", "Make", "HTC"},
                                               {"IFD0", "Model", "X1"},
                                               {"IFD0", "Copyright", "C"},
                                               {"ExifIFD", "UserComment", "(Edit by Tagloom)"}}) {
    std::optional<test::ExiftoolTag> tag = test::FindTag(tags, group, name);
    ASSERT_TRUE(tag.has_value()) << name;
    EXPECT_EQ(tag->value, value) << name;
  }
  EXPECT_EQ(test::FindRaw(test::ExiftoolRawTags(path), "ExifIFD", 0x927C),
            std::optional<std::string>("\x0A\x1B"));
  std::map<std::string, std::string> exiv2 = Exiv2Values(path);
  EXPECT_EQ(exiv2["Exif.Image.Make"], "HTC");
  EXPECT_EQ(exiv2["Exif.Image.Model"], "X1");
  EXPECT_EQ(exiv2["Exif.Photo.MakerNote"], "10 27");
  EXPECT_EQ(session.txtExif[0], "HTC");
  EXPECT_EQ(session.txtExif[12], "0A1B");
}

TEST(RoundTripPhotos, OnlyTheTwoSamplesWithoutExifAreLeftOutOfTheBackupRuns) {
  // The backup tests run over the photographs found to carry EXIF; a walk
  // that missed some would quietly test less.
  std::set<std::string> left;
  for (const std::string& name : AllPhotos()) left.insert(name);
  for (const std::string& name : PhotosWithExif()) left.erase(name);
  EXPECT_EQ(left, (std::set<std::string>{"image01551.jpg", "olympus-d320l.jpg"}));
}

}  // namespace
}  // namespace tagloom
