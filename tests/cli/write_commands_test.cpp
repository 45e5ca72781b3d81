// `tagloom-cli set`, `backup` and `restore`, run as a child process the way a
// script runs them: standard input is no terminal, so only --yes answers Yes.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/oracle.h"
#include "support/temp_dir.h"

namespace tagloom {
namespace {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

CliRun RunCli(const std::vector<std::string>& args) {
  test::TempDir errors;
  std::string command = test::ShellQuoted(TAGLOOM_CLI);
  for (const std::string& arg : args) command += " " + test::ShellQuoted(arg);
  const std::string errFile = errors.File("stderr");
  command += " 2>" + test::ShellQuoted(errFile) + " </dev/null";
  test::CommandResult run = test::RunCommand(command);
  return {run.status, run.output, test::ReadFile(errFile)};
}

std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] = test::ReadFile(entry.path().string());
  }
  return files;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The photograph's first APP1 segment that carries EXIF, walked here from the
// segment lengths; "" when there is none.
std::string ExifSegmentOf(const std::string& file) {
  std::size_t at = 2;
  while (at + 4 <= file.size() && file[at] == '\xFF' && file[at + 1] != '\xDA') {
    const std::size_t length =
        static_cast<std::uint8_t>(file[at + 2]) * 256u + static_cast<std::uint8_t>(file[at + 3]);
    if (file[at + 1] == '\xE1' && file.compare(at + 4, 6, std::string("Exif\0\0", 6)) == 0) {
      return file.substr(at, length + 2);
    }
    at += length + 2;
  }
  return "";
}

class CliWrite : public ::testing::Test {
 protected:
  // A copy of a photograph from tests/photos in the temporary folder.
  std::string Copy(const std::string& name, const std::string& as = "") {
    return dir.Write(as.empty() ? name : as, test::ReadFile((test::PhotosDir() / name).string()));
  }

  test::TempDir dir;
};

TEST_F(CliWrite, SetWritesOnlyWhenYesIsGiven) {
  const std::string photo = Copy("Canon_40D.jpg");
  const auto before = Snapshot(dir.Path());

  CliRun declined = RunCli({"set", photo, "--make", "Tagloom CLI"});
  EXPECT_EQ(declined.status, 3) << declined.err;
  EXPECT_TRUE(Contains(declined.err, "--yes")) << declined.err;
  EXPECT_TRUE(Snapshot(dir.Path()) == before) << "declined, yet a file changed";

  CliRun done = RunCli({"set", photo, "--make", "Tagloom CLI", "--iso", "800", "--yes"});
  EXPECT_EQ(done.status, 0) << done.err;
  const std::vector<test::ExiftoolTag> tags = test::ExiftoolTags(photo);
  ASSERT_TRUE(test::FindTag(tags, "IFD0", "Make").has_value());
  EXPECT_EQ(test::FindTag(tags, "IFD0", "Make")->value, "Tagloom CLI");
  ASSERT_TRUE(test::FindTag(tags, "ExifIFD", "ISO").has_value());
  EXPECT_EQ(test::FindTag(tags, "ExifIFD", "ISO")->value, "800");
  // Fields not given keep what the photograph had.
  ASSERT_TRUE(test::FindTag(tags, "IFD0", "Model").has_value());
  EXPECT_EQ(test::FindTag(tags, "IFD0", "Model")->value, "Canon EOS 40D");
  // The backup file staged the new segment.
  const std::string backup = test::ReadFile(dir.File("Canon_40D.Exif"));
  EXPECT_EQ(backup.substr(0, 24), "Vantoro Exif Backup File");
  EXPECT_EQ(ExifSegmentOf(test::ReadFile(photo)), backup.substr(24) + std::string(2, '\0'));
}

TEST_F(CliWrite, UsageErrorsExitWithTwoAndTouchNothing) {
  const std::string photo = Copy("Canon_40D.jpg");
  const auto before = Snapshot(dir.Path());
  const std::vector<std::vector<std::string>> calls = {
      {"set", photo, "--yes"},                     // no field
      {"set", photo, "--colour", "red", "--yes"},  // no such option
      {"set", "--make", "X", "--yes"},             // no photograph
      {"backup", "--yes"},                         // no photograph
      {"restore", photo, "--force"},               // no such option
      {"rename", photo},                           // no such command
  };
  for (const std::vector<std::string>& call : calls) {
    SCOPED_TRACE(call[0] + " " + call[1]);
    CliRun run = RunCli(call);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_FALSE(run.err.empty());
  }
  EXPECT_TRUE(Snapshot(dir.Path()) == before);
}

TEST_F(CliWrite, RefusalsAndMissingPhotographsExitWithOne) {
  const std::string photo = Copy("Canon_40D.jpg");
  const std::string plain = Copy("olympus-d320l.jpg");
  const std::string missing = dir.File("missing.jpg");
  const auto before = Snapshot(dir.Path());

  CliRun tooLarge = RunCli({"set", photo, "--iso", "70000", "--yes"});
  EXPECT_EQ(tooLarge.status, 1);
  EXPECT_TRUE(Contains(tooLarge.err, "ISO值:")) << tooLarge.err;

  CliRun noExif = RunCli({"backup", plain, "--yes"});
  EXPECT_EQ(noExif.status, 1);
  EXPECT_FALSE(noExif.err.empty());

  CliRun noBackup = RunCli({"restore", photo, "--yes"});
  EXPECT_EQ(noBackup.status, 1);

  for (const char* command : {"set", "backup", "restore"}) {
    SCOPED_TRACE(command);
    std::vector<std::string> args = {command, missing, "--yes"};
    if (std::string(command) == "set") args.insert(args.end(), {"--make", "X"});
    CliRun run = RunCli(args);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_TRUE(Contains(run.err, "没有这个图像文件!")) << run.err;
  }
  EXPECT_TRUE(Snapshot(dir.Path()) == before);
}

TEST_F(CliWrite, BackupStripRestoreBringsTheSegmentBack) {
  const std::string photo = Copy("DSCN0010.jpg");
  const std::string original = test::ReadFile(photo);
  const std::string segment = ExifSegmentOf(original);
  ASSERT_FALSE(segment.empty());

  CliRun backup = RunCli({"backup", photo, "--yes"});
  EXPECT_EQ(backup.status, 0) << backup.err;
  const std::string backupFile = test::ReadFile(dir.File("DSCN0010.Exif"));
  EXPECT_EQ(backupFile.substr(0, 26), std::string("Vantoro Exif Backup File\xFF\xE1"));
  EXPECT_TRUE(backupFile == "Vantoro Exif Backup File" + segment);
  EXPECT_TRUE(test::ReadFile(photo) == original);

  ASSERT_EQ(
      test::RunCommand("exiftool -q -overwrite_original -exif:all= " + test::ShellQuoted(photo))
          .status,
      0);
  const std::string stripped = test::ReadFile(photo);
  ASSERT_EQ(ExifSegmentOf(stripped), "");

  CliRun declined = RunCli({"restore", photo});
  EXPECT_EQ(declined.status, 3);
  EXPECT_TRUE(test::ReadFile(photo) == stripped);

  CliRun restored = RunCli({"restore", photo, "--yes"});
  EXPECT_EQ(restored.status, 0) << restored.err;
  const std::string now = test::ReadFile(photo);
  EXPECT_TRUE(ExifSegmentOf(now) == segment);
  EXPECT_TRUE(now == stripped.substr(0, 2) + segment + stripped.substr(2));
  std::optional<std::string> make = test::Exiv2Value(photo, "Exif.Image.Make");
  EXPECT_EQ(make, std::optional<std::string>("NIKON"));
}

TEST_F(CliWrite, SeveralPhotographsAreOneBatchWithASummary) {
  const std::string a = Copy("Canon_40D.jpg");
  const std::string b = Copy("portrait_6.jpg");
  const std::string c = Copy("olympus-d320l.jpg");

  CliRun declined = RunCli({"backup", a, b});
  EXPECT_EQ(declined.status, 3);
  EXPECT_FALSE(std::filesystem::exists(dir.File("Canon_40D.Exif")));

  CliRun run = RunCli({"backup", a, b, c, "--yes"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Contains(run.err,
                       "批量操作结果:\n"
                       "  共处理文件:3\n"
                       "  Exif信息:2\n"
                       "    成功备份:2\n"
                       "    备份失败:0\n"))
      << run.err;
  EXPECT_FALSE(Contains(run.err, "\r")) << "line ends for a terminal";
  EXPECT_TRUE(test::ReadFile(dir.File("Canon_40D.Exif")) ==
              "Vantoro Exif Backup File" + ExifSegmentOf(test::ReadFile(a)));
  EXPECT_TRUE(test::ReadFile(dir.File("portrait_6.Exif")) ==
              "Vantoro Exif Backup File" + ExifSegmentOf(test::ReadFile(b)));
  EXPECT_FALSE(std::filesystem::exists(dir.File("olympus-d320l.Exif")));

  // A batch restore of the same list stores the two backups.
  CliRun restore = RunCli({"restore", a, b, c, "--yes"});
  EXPECT_EQ(restore.status, 0) << restore.err;
  EXPECT_TRUE(Contains(restore.err, "批量保存操作结果:\n  共处理文件:3\nExif备份文件:2\n"))
      << restore.err;
}

}  // namespace
}  // namespace tagloom
