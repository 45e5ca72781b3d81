// tagloom-cli run as a child process, the way a script runs it: standard input
// is no terminal, so only --yes answers Yes.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>

#include "editor/texts.h"
#include "model/catalogue.h"
#include "support/fixture_builder.h"
#include "reader/backup_format.h"
#include "support/jpeg_layout.h"
#include "support/oracle.h"
#include "support/temp_dir.h"

namespace tagloom {
namespace {

using nlohmann::json;
using namespace test;

struct CliRun {
  int status;
  std::string out, err;
};

CliRun RunCli(const std::vector<std::string>& args) {
  TempDir errors;
  std::string command = ShellQuoted(TAGLOOM_CLI);
  for (const std::string& arg : args) command += " " + ShellQuoted(arg);
  CommandResult run = RunCommand(command + " 2>" + ShellQuoted(errors.File("err")) + " </dev/null");
  return {run.status, run.output, ReadFile(errors.File("err"))};
}

std::string Photo(const std::string& name) {
  return (PhotosDir() / name).string();
}

std::set<std::string> Keys(const json& object) {
  std::set<std::string> keys;
  for (const auto& item : object.items()) keys.insert(item.key());
  return keys;
}

TEST(CliShow, JsonHasOneObjectPerPhotographWithItsKeys) {
  // 30-type_error.jpg's Exif pointer, read as text, holds control and non-UTF-8 bytes.
  const std::vector<std::string> photos = {Photo("Canon_40D.jpg"), Photo("olympus-d320l.jpg"),
                                           Photo("30-type_error.jpg")};
  CliRun run = RunCli({"show", "--json", photos[0], photos[1], photos[2]});
  EXPECT_EQ(run.status, 0) << run.err;
  const json reports = json::parse(run.out);
  ASSERT_EQ(reports.size(), photos.size());
  std::set<std::string> fieldKeys;
  for (const FieldInfo& field : kFields) fieldKeys.insert(std::string(field.key));
  for (std::size_t k = 0; k < photos.size(); ++k) {
    const json& report = reports[k];
    EXPECT_EQ(Keys(report), (std::set<std::string>{"file", "source", "backup_exists", "fields",
                                                   "tags", "unused"}));
    EXPECT_EQ(report["file"], photos[k]);
    EXPECT_EQ(report["source"], k == 1 ? "none" : "photo");
    EXPECT_EQ(report["backup_exists"], false);
    EXPECT_EQ(Keys(report["fields"]), fieldKeys);
    ASSERT_EQ(report["tags"].size(), static_cast<std::size_t>(kCatalogueRows));
    for (int r = 0; r < kCatalogueRows; ++r) {
      const json& tag = report["tags"][static_cast<std::size_t>(r)];
      EXPECT_EQ(Keys(tag), (std::set<std::string>{"row", "tag", "name", "pos", "count", "type",
                                                  "vpos", "value"}));
      EXPECT_EQ(tag["tag"], kCatalogue[static_cast<std::size_t>(r)].tag);
      EXPECT_TRUE(tag["pos"].is_number_integer() && tag["value"].is_string());
    }
    EXPECT_EQ(report["unused"].empty(), k == 1);
    for (const json& entry : report["unused"]) {
      EXPECT_EQ(Keys(entry),
                (std::set<std::string>{"tag", "pos", "count", "type", "vpos", "value"}));
    }
  }
  const json& canon = reports[0];
  EXPECT_EQ(canon["fields"]["make"], "Canon");
  EXPECT_EQ(canon["fields"]["exposure_time"], "1/160");
  EXPECT_EQ(canon["fields"]["date"], "2008/05/30 15:56:01");
  EXPECT_EQ(canon["tags"][row::kFNumber]["value"], "71/10");
  EXPECT_EQ(canon["tags"][row::kFNumber]["type"], 5);
}

TEST(CliShow, ABackupBesideAPhotographWithoutExifIsShownAndADamagedOneReported) {
  TempDir dir;
  const std::string noExif = JpegBuilder().App0Jfif().Scan().Build();
  const std::string tiff = TiffBuilder().Ifd0({Ascii(0x010F, "Backup Maker")}).ExifIfd({}).Build();
  const std::string fromBackup = dir.Write("trip.day1.jpg", noExif);
  dir.Write("trip.day1.Exif", BackupFile(ExifSegment(tiff)));
  const std::string damaged = dir.Write("damaged.jpg", noExif);
  dir.Write("damaged.Exif", "Not a backup file at all");
  CliRun run = RunCli({"show", "--json", fromBackup, damaged});
  EXPECT_EQ(run.status, 0) << run.err;
  const json reports = json::parse(run.out);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0]["source"], "backup");
  EXPECT_EQ(reports[0]["backup_exists"], true);
  EXPECT_EQ(reports[0]["fields"]["make"], "Backup Maker");
  EXPECT_EQ(reports[1]["source"], "none");
  EXPECT_NE(run.err.find("damaged.jpg"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Exif备份数据损坏!"), std::string::npos) << run.err;
}

// Values read from a damaged file may hold terminal control codes: the text
// report shows them escaped, the JSON report as JSON escapes.
TEST(CliShow, ControlCharactersNeverReachTheTerminal) {
  TempDir dir;
  const std::string tiff =
      TiffBuilder().Ifd0({Ascii(0x010F, "Evil\x1B[2J\x07Maker")}).ExifIfd({}).Build();
  const std::string photo = dir.Write("evil.jpg", JpegBuilder().App1Exif(tiff).Scan().Build());
  CliRun text = RunCli({"show", photo});
  EXPECT_EQ(text.out.find('\x1B'), std::string::npos);
  EXPECT_NE(text.out.find("Evil\\x1B[2J\\x07Maker"), std::string::npos) << text.out;
  EXPECT_EQ(json::parse(RunCli({"show", "--json", photo}).out)[0]["fields"]["make"],
            "Evil\x1B[2J\x07Maker");
}

TEST(CliShow, ExitStatusTellsWhetherEveryPhotographWasRead) {
  TempDir dir;
  const std::string missing = dir.File("missing.jpg");
  EXPECT_EQ(RunCli({"show", Photo("Canon_40D.jpg"), Photo("no_exif.jpg")}).status, 0);
  // A missing photograph is reported on stderr; the others are still printed.
  CliRun oneMissing =
      RunCli({"show", "--json", Photo("Canon_40D.jpg"), missing, Photo("HTC Desire.jpg")});
  EXPECT_EQ(oneMissing.status, 1);
  EXPECT_NE(oneMissing.err.find("missing.jpg"), std::string::npos) << oneMissing.err;
  EXPECT_NE(oneMissing.err.find("没有这个图像文件!"), std::string::npos) << oneMissing.err;
  const json reports = json::parse(oneMissing.out);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[1]["fields"]["make"], "HTC");
  EXPECT_EQ(json::parse(RunCli({"show", "--json", missing}).out), json::array());
  const std::string canon = Photo("Canon_40D.jpg");
  for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                               {"show"},
                                               {"show", "--bogus", canon},
                                               {"frobnicate", canon},
                                               {"set", canon, "--yes"},
                                               {"set", canon, "--colour", "red"}}) {
    CliRun usage = RunCli(args);
    EXPECT_EQ(usage.status, 2) << (args.empty() ? "" : args.back());
    EXPECT_FALSE(usage.err.empty());
  }
}

class CliWrite : public ::testing::Test {
 protected:
  std::string Copy(const std::string& name) { return dir.Write(name, ReadFile(Photo(name))); }
  std::set<std::string> Files() const {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
      files.insert(entry.path().filename().string() + ":" + ReadFile(entry.path().string()));
    }
    return files;
  }
  TempDir dir;
};

TEST_F(CliWrite, SetWritesOnlyWithYesAndRefusalsExitWithOne) {
  const std::string photo = Copy("Canon_40D.jpg");
  const auto before = Files();
  EXPECT_EQ(RunCli({"set", photo, "--make", "Tagloom CLI"}).status, 3);
  CliRun tooLarge = RunCli({"set", photo, "--iso", "70000", "--yes"});
  EXPECT_EQ(tooLarge.status, 1);
  EXPECT_NE(tooLarge.err.find("ISO值:"), std::string::npos) << tooLarge.err;
  EXPECT_EQ(RunCli({"restore", photo, "--yes"}).status, 1) << "no backup";
  EXPECT_EQ(RunCli({"set", dir.File("missing.jpg"), "--make", "X", "--yes"}).status, 1);
  EXPECT_TRUE(Files() == before);

  CliRun done = RunCli({"set", photo, "--make", "Tagloom CLI", "--iso", "800", "--yes"});
  EXPECT_EQ(done.status, 0) << done.err;
  const std::vector<ExiftoolTag> tags = ExiftoolTags(photo);
  EXPECT_EQ(FindTag(tags, "IFD0", "Make").value_or(ExiftoolTag{}).value, "Tagloom CLI");
  EXPECT_EQ(FindTag(tags, "ExifIFD", "ISO").value_or(ExiftoolTag{}).value, "800");
  // Fields not given keep what the photograph had.
  EXPECT_EQ(FindTag(tags, "IFD0", "Model").value_or(ExiftoolTag{}).value, "Canon EOS 40D");
}

TEST_F(CliWrite, BackupStripRestoreBringsTheSegmentBack) {
  const std::string photo = Copy("DSCN0010.jpg");
  const std::string original = ReadFile(photo);
  const std::string segment = ExifSegmentOf(original);
  ASSERT_FALSE(segment.empty());
  EXPECT_EQ(RunCli({"backup", photo, "--yes"}).status, 0);
  EXPECT_TRUE(ReadFile(dir.File("DSCN0010.Exif")) == std::string(kBackupHeader) + segment);
  EXPECT_TRUE(ReadFile(photo) == original);
  ASSERT_EQ(RunCommand("exiftool -q -overwrite_original -exif:all= " + ShellQuoted(photo)).status,
            0);
  const std::string stripped = ReadFile(photo);
  ASSERT_EQ(ExifSegmentOf(stripped), "");
  EXPECT_EQ(RunCli({"restore", photo}).status, 3);
  EXPECT_TRUE(ReadFile(photo) == stripped);
  EXPECT_EQ(RunCli({"restore", photo, "--yes"}).status, 0);
  EXPECT_TRUE(ReadFile(photo) == stripped.substr(0, 2) + segment + stripped.substr(2));
}

TEST_F(CliWrite, SeveralPhotographsAreOneBatchWithASummary) {
  const std::string a = Copy("Canon_40D.jpg"), b = Copy("portrait_6.jpg"),
                    c = Copy("olympus-d320l.jpg");
  EXPECT_EQ(RunCli({"backup", a, b}).status, 3);
  EXPECT_FALSE(std::filesystem::exists(dir.File("Canon_40D.Exif")));
  CliRun run = RunCli({"backup", a, b, c, "--yes"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(
      run.err.find("批量操作结果:\n  共处理文件:3\n  Exif信息:2\n    成功备份:2\n    备份失败:0\n"),
      std::string::npos)
      << run.err;
  EXPECT_TRUE(ReadFile(dir.File("portrait_6.Exif")) ==
              std::string(kBackupHeader) + ExifSegmentOf(ReadFile(b)));
  EXPECT_FALSE(std::filesystem::exists(dir.File("olympus-d320l.Exif")));
  CliRun restore = RunCli({"restore", a, b, c, "--yes"});
  EXPECT_EQ(restore.status, 0) << restore.err;
  EXPECT_NE(restore.err.find("批量保存操作结果:\n  共处理文件:3\nExif备份文件:2\n"),
            std::string::npos)
      << restore.err;
}

// What the tool prints is for people: long maker notes shortened (the JSON
// keeps them whole), control characters of file names escaped; a date that
// cannot be read is refused, not written as 1999:01:01; a report that cannot
// be written out and a batch of missing files are failures.
TEST_F(CliWrite, OutputForPeopleAndRefusals) {
  const std::string konica = Copy("Konica_Minolta_DiMAGE_Z3.jpg");
  const CliRun text = RunCli({"show", konica});
  EXPECT_NE(text.out.find("\u2026 (33,270 bytes)"), std::string::npos) << text.out.substr(0, 2000);
  EXPECT_LT(text.out.size(), 4000u);
  EXPECT_EQ(json::parse(RunCli({"show", "--json", konica}).out)[0]["fields"]["maker_note"]
                .get<std::string>()
                .size(),
            2u * 33270);
  EXPECT_EQ(RunCommand(ShellQuoted(TAGLOOM_CLI) + " show " + ShellQuoted(konica) + " >/dev/full 2>&1").status,
            1);

  const std::string photo = dir.Write("odd\x1B[2Jname.jpg", ReadFile(Photo("Canon_40D.jpg")));
  const std::string before = ReadFile(photo);
  const CliRun badDate = RunCli({"set", photo, "--date", "yesterday", "--yes"});
  EXPECT_EQ(badDate.status, 1);
  EXPECT_NE(badDate.err.find(text::kDateFormatWrong), std::string::npos) << badDate.err;
  EXPECT_EQ(badDate.err.find('\x1B'), std::string::npos) << "an unescaped control character";
  EXPECT_NE(badDate.err.find("odd\\x1B[2Jname.jpg"), std::string::npos) << badDate.err;
  EXPECT_TRUE(ReadFile(photo) == before);
  const CliRun exifDate = RunCli({"set", photo, "--date", "2001:02:28 10:00:00", "--yes"});
  EXPECT_EQ(exifDate.status, 0) << exifDate.err;
  EXPECT_EQ(exifDate.err.find('\x1B'), std::string::npos);
  EXPECT_EQ(FindTag(ExiftoolTags(photo), "ExifIFD", "DateTimeOriginal").value_or(ExiftoolTag{}).value,
            "2001:02:28 10:00:00");

  EXPECT_EQ(RunCli({"backup", dir.File("gone1.jpg"), dir.File("gone2.jpg"), "--yes"}).status, 1);
}

}  // namespace
}  // namespace tagloom
