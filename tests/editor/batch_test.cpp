// The backup and restore buttons over the navigation list (batch mode), and
// the backup of the photograph on show: questions, counts, summaries, what is
// told, and what happens to the files.
#include <gtest/gtest.h>

#include <filesystem>
#include <locale>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "editor/session.h"
#include "editor/texts.h"
#include "support/fixture_builder.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tagloom {
namespace {

using test::Ascii;
using test::JpegBuilder;
using test::Short;
using test::TiffBuilder;

std::string ExifSegmentOf(const std::string& make) {
  return test::ExifSegment(TiffBuilder()
                               .Ifd0({Ascii(0x010F, make), Short(0x0112, 1)})
                               .ExifIfd({Short(0x8827, 100)})
                               .Build());
}

// The segment is cut out again by tests, so it is built once and inserted whole.
std::string PhotoWithExif(const std::string& make) {
  return JpegBuilder().App0Jfif().Raw(ExifSegmentOf(make)).Scan().Build();
}

std::string PhotoWithoutExif() {
  return JpegBuilder().App0Jfif().Scan().Build();
}

std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] =
        entry.is_regular_file() ? test::ReadFile(entry.path().string()) : "<folder>";
  }
  return files;
}

// The names of the files that differ between two snapshots (changed, added
// or removed), so that a failure names them instead of dumping their bytes.
std::vector<std::string> Changed(const std::map<std::string, std::string>& before,
                                 const std::map<std::string, std::string>& after) {
  std::vector<std::string> names;
  for (const auto& [name, bytes] : before) {
    auto found = after.find(name);
    if (found == after.end()) {
      names.push_back(name + " (removed)");
    } else if (found->second != bytes) {
      names.push_back(name + " (changed)");
    }
  }
  for (const auto& [name, bytes] : after) {
    if (!before.count(name)) names.push_back(name + " (added)");
  }
  return names;
}

using NoFiles = std::vector<std::string>;

// Digits grouped by three with the given separator.
class GroupedByThree : public std::numpunct<char> {
 public:
  explicit GroupedByThree(char separator) : separator_(separator) {}

 protected:
  char do_thousands_sep() const override { return separator_; }
  std::string do_grouping() const override { return "\3"; }

 private:
  char separator_;
};

class SessionBatch : public ::testing::Test {
 protected:
  SessionBatch() {
    session.chkBatch = true;
    session.numberLocale = std::locale::classic();
  }

  void List(const std::vector<std::string>& paths) {
    session.lstDragFiles.Clear();
    for (const std::string& path : paths) session.lstDragFiles.Append(path);
  }

  // The last message, which must be the summary.
  std::string Summary() {
    if (host.messages.empty()) {
      ADD_FAILURE() << "no summary";
      return "";
    }
    const test::Message& last = host.messages.back();
    EXPECT_EQ(last.title, text::kBatchResultTitle);
    EXPECT_FALSE(last.question);
    EXPECT_EQ(last.icon, MessageIcon::kNone);
    return last.text;
  }

  test::TempDir dir;
  test::RecordingHost host;
  Session session{host};
};

TEST_F(SessionBatch, BackupCountsPhotographsWithExifBackupsAndFailures) {
  const std::string a = dir.Write("a.jpg", PhotoWithExif("Alpha"));
  const std::string b = dir.Write("b.jpg", PhotoWithoutExif());
  const std::string c = dir.Write("c.jpg", PhotoWithExif("Gamma"));
  // c's backup cannot be written: its name is taken by a folder.
  std::filesystem::create_directory(dir.File("c.Exif"));
  List({a, b, c});

  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kFailed);
  ASSERT_EQ(host.messages.size(), 2u) << "a message per file in a batch";
  EXPECT_EQ(host.messages[0].text, text::kConfirmBatchBackup);
  EXPECT_EQ(host.messages[0].title, text::kBatchTitle);
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kNone);
  EXPECT_TRUE(host.messages[0].question);

  const std::string summary = Summary();
  const std::string counts =
      "批量操作结果:\r\n"
      "  共处理文件:3\r\n"
      "  Exif信息:2\r\n"
      "    成功备份:1\r\n"
      "    备份失败:1\r\n";
  ASSERT_EQ(summary.substr(0, counts.size()), counts);
  const std::string failure = summary.substr(counts.size());
  EXPECT_EQ(failure.rfind("  失败:" + c + " (", 0), 0u) << failure;
  EXPECT_EQ(failure.find("\r\n"), failure.size() - 2) << "one line, ended by CR LF";

  EXPECT_EQ(test::ReadFile(dir.File("a.Exif")),
            "Vantoro Exif Backup File" + ExifSegmentOf("Alpha"));
  EXPECT_FALSE(std::filesystem::exists(dir.File("b.Exif")));
  // Nothing else was written: the photographs are as they were, no leftovers.
  auto files = Snapshot(dir.Path());
  files.erase("a.Exif");
  EXPECT_EQ(files, (std::map<std::string, std::string>{{"a.jpg", PhotoWithExif("Alpha")},
                                                       {"b.jpg", PhotoWithoutExif()},
                                                       {"c.jpg", PhotoWithExif("Gamma")},
                                                       {"c.Exif", "<folder>"}}));
  // The preview is not reloaded after a batch backup.
  EXPECT_TRUE(host.previews.empty());
  EXPECT_EQ(host.busyDepth, 0);
}

TEST_F(SessionBatch, ARestoreOverPhotographsWithoutBackupsStoresNothing) {
  const std::vector<std::string> photos = {
      dir.Write("a.jpg", PhotoWithExif("Alpha")), dir.Write("b.jpg", PhotoWithoutExif()),
      dir.File("missing.jpg"), dir.Write("d.jpg", PhotoWithExif("Delta"))};
  List(photos);
  const auto before = Snapshot(dir.Path());

  EXPECT_EQ(session.cmdRestore_Click(), Outcome::kDone);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, text::kConfirmBatchRestore);
  EXPECT_EQ(host.messages[0].title, text::kBatchTitle);
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kNone);
  EXPECT_EQ(Summary(),
            "批量保存操作结果:\r\n"
            "  共处理文件:4\r\n"
            "Exif备份文件:0\r\n"
            "    成功保存:0\r\n"
            "    保存失败:0\r\n");
  EXPECT_EQ(Changed(before, Snapshot(dir.Path())), NoFiles{});
}

TEST_F(SessionBatch, CountsInTheSummaryAreGroupedByTheNumberLocale) {
  // Missing files are cheap: they count among the files processed only.
  List(std::vector<std::string>(1234, dir.File("missing.jpg")));
  struct Case {
    std::locale locale;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {std::locale(std::locale::classic(), new GroupedByThree(',')), "1,234"},
      {std::locale(std::locale::classic(), new GroupedByThree('.')), "1.234"},
      {std::locale::classic(), "1234"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    session.numberLocale = c.locale;
    host.messages.clear();
    EXPECT_EQ(session.cmdBackup_Click(), Outcome::kDone);
    EXPECT_EQ(Summary(),
              "批量操作结果:\r\n"
              "  共处理文件:" +
                  c.shown +
                  "\r\n"
                  "  Exif信息:0\r\n"
                  "    成功备份:0\r\n"
                  "    备份失败:0\r\n");
    EXPECT_EQ(host.messages.size(), 2u) << "a missing file is told in a batch";
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST_F(SessionBatch, AnsweringNoChangesNoFile) {
  const std::string a = dir.Write("a.jpg", PhotoWithExif("Alpha"));
  const std::string b = dir.Write("b.jpg", PhotoWithoutExif());
  dir.Write("a.Exif", test::BackupFile(ExifSegmentOf("Old")));
  dir.Write("b.Exif", test::BackupFile(ExifSegmentOf("Beta")));
  List({a, b});
  const auto before = Snapshot(dir.Path());

  host.answers = {false};
  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kDeclined);
  host.answers = {false};
  EXPECT_EQ(session.cmdRestore_Click(), Outcome::kDeclined);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_TRUE(host.messages[0].question);
  EXPECT_TRUE(host.messages[1].question);
  EXPECT_EQ(Changed(before, Snapshot(dir.Path())), NoFiles{});
  EXPECT_TRUE(host.previews.empty());
}

TEST_F(SessionBatch, ABatchBackupAsksOnceAndOverwritesEveryBackup) {
  const std::string a = dir.Write("a.jpg", PhotoWithExif("Alpha"));
  const std::string b = dir.Write("b.jpg", PhotoWithExif("Beta"));
  // An older, longer backup: nothing of it may remain.
  dir.Write("a.Exif", test::BackupFile(ExifSegmentOf("An older camera with a long name")));
  dir.Write("b.Exif", test::BackupFile(ExifSegmentOf("Old")));
  // A photograph without EXIF whose backup is shown: skipped, its backup kept.
  const std::string c = dir.Write("c.jpg", PhotoWithoutExif());
  const std::string cBackup = test::BackupFile(ExifSegmentOf("Gamma"));
  dir.Write("c.Exif", cBackup);
  List({a, b, c});

  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kDone);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_TRUE(host.messages[0].question);
  EXPECT_EQ(Summary(),
            "批量操作结果:\r\n  共处理文件:3\r\n  Exif信息:2\r\n    成功备份:2\r\n"
            "    备份失败:0\r\n");
  EXPECT_EQ(test::ReadFile(dir.File("c.Exif")), cBackup);
  EXPECT_EQ(test::ReadFile(dir.File("a.Exif")),
            "Vantoro Exif Backup File" + ExifSegmentOf("Alpha"));
  EXPECT_EQ(test::ReadFile(dir.File("b.Exif")), "Vantoro Exif Backup File" + ExifSegmentOf("Beta"));
}

TEST_F(SessionBatch, TheSingleBackupAsksOnlyWhenABackupExists) {
  session.chkBatch = false;
  const std::string photo = dir.Write("a.jpg", PhotoWithExif("Alpha"));
  const std::string fresh = "Vantoro Exif Backup File" + ExifSegmentOf("Alpha");

  // No backup yet: no question, the backup is written and told.
  session.Text1 = photo;
  session.DrawImage();
  host.messages.clear();
  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kDone);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_FALSE(host.messages[0].question);
  EXPECT_EQ(host.messages[0].text, std::string(text::kBackupSucceeded) + dir.File("a.Exif"));
  EXPECT_EQ(host.messages[0].title, text::kBackupSucceededTitle);
  EXPECT_EQ(test::ReadFile(dir.File("a.Exif")), fresh);

  // A backup exists: asked, and No keeps it.
  const std::string old = test::BackupFile(ExifSegmentOf("Old"));
  dir.Write("a.Exif", old);
  session.Text1 = photo;
  session.DrawImage();
  host.messages.clear();
  host.answers = {false};
  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kDeclined);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, text::kConfirmOverwriteBackup);
  EXPECT_EQ(host.messages[0].title, text::kConfirmTitle);
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kNone);
  EXPECT_EQ(test::ReadFile(dir.File("a.Exif")), old);

  // Yes overwrites it.
  host.messages.clear();
  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kDone);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(test::ReadFile(dir.File("a.Exif")), fresh);
}

TEST_F(SessionBatch, ASingleBackupThatCannotBeMadeIsToldAndWritesNothing) {
  session.chkBatch = false;
  struct Case {
    const char* name;
    std::string_view reason;
  };
  for (const Case& c : {Case{"backup name taken by a folder", text::kCannotReplace},
                        Case{"photograph changed since it was read", text::kPhotoChanged}}) {
    SCOPED_TRACE(c.name);
    test::TempDir folder;
    const std::string photo = folder.Write("a.jpg", PhotoWithExif("Alpha"));
    session.Text1 = photo;
    session.DrawImage();
    if (c.reason == text::kCannotReplace) {
      std::filesystem::create_directory(folder.File("a.Exif"));
    } else {
      // Another program put a longer block in front of the one that was read.
      folder.Write("a.jpg", JpegBuilder().Raw(ExifSegmentOf("A much longer name")).Scan().Build());
    }
    host.messages.clear();
    const auto before = Snapshot(folder.Path());

    EXPECT_EQ(session.cmdBackup_Click(), Outcome::kFailed);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, text::kBackupFailedTitle);
    EXPECT_EQ(host.messages[0].icon, MessageIcon::kCritical);
    EXPECT_EQ(host.messages[0].text.rfind(std::string(text::kBackupFailed) + "\r\n", 0), 0u);
    EXPECT_NE(host.messages[0].text.find(c.reason), std::string::npos) << host.messages[0].text;
    EXPECT_EQ(Changed(before, Snapshot(folder.Path())), NoFiles{});
    EXPECT_EQ(host.busyDepth, 0);
    EXPECT_FALSE(session.Bar.visible);
  }
}

TEST_F(SessionBatch, ARestoreStoresEveryBackupFoundAndEndsOnTheLastPhotograph) {
  // a: no EXIF of its own, its backup shown; b: its own EXIF, replaced by its
  // backup's; c: own EXIF beside a damaged backup, counted as a failure.
  const std::string a = dir.Write("a.jpg", PhotoWithoutExif());
  const std::string c = dir.Write("c.jpg", PhotoWithExif("Gamma"));
  const std::string b = dir.Write("b.jpg", PhotoWithExif("Beta"));
  dir.Write("a.Exif", test::BackupFile(ExifSegmentOf("Alpha Backup")));
  dir.Write("b.Exif", test::BackupFile(ExifSegmentOf("Beta Backup")));
  const std::string damaged = "Vantoro Exif Backup File\xFF\xD8" + ExifSegmentOf("Gamma").substr(2);
  dir.Write("c.Exif", damaged);
  List({a, c, b});

  EXPECT_EQ(session.cmdRestore_Click(), Outcome::kFailed);
  const std::string summary = Summary();
  const std::string counts =
      "批量保存操作结果:\r\n"
      "  共处理文件:3\r\n"
      "Exif备份文件:3\r\n"
      "    成功保存:2\r\n"
      "    保存失败:1\r\n";
  ASSERT_EQ(summary.substr(0, counts.size()), counts);
  EXPECT_EQ(summary.substr(counts.size()).rfind("  失败:" + c + " (", 0), 0u) << summary;
  ASSERT_EQ(host.messages.size(), 2u) << "a message per file in a batch";

  // Each restored photograph: SOI, the backup's segment, then the rest
  // without its old EXIF segment.
  const std::string jfifAndScan = PhotoWithoutExif().substr(2);
  EXPECT_EQ(test::ReadFile(a), "\xFF\xD8" + ExifSegmentOf("Alpha Backup") + jfifAndScan);
  EXPECT_EQ(test::ReadFile(b), "\xFF\xD8" + ExifSegmentOf("Beta Backup") + jfifAndScan);
  EXPECT_EQ(test::ReadFile(c), PhotoWithExif("Gamma"));
  EXPECT_EQ(test::ReadFile(dir.File("c.Exif")), damaged);

  // The last photograph of the list is on show, read again from the file.
  ASSERT_FALSE(host.previews.empty());
  EXPECT_EQ(host.previews.back(), b);
  EXPECT_EQ(session.ImageFileName, b);
  EXPECT_EQ(session.Text1, "b.jpg");
  EXPECT_EQ(session.txtExif[0], "Beta Backup");
  EXPECT_FALSE(session.ExifFromBackup);
  EXPECT_EQ(host.busyDepth, 0);
}

TEST_F(SessionBatch, AMissingPhotographBesideItsBackupCountsOnlyAsProcessed) {
  // The backup of a photograph that is gone must not be stored anywhere, least
  // of all into the photograph loaded before it.
  const std::string a = dir.Write("a.jpg", PhotoWithExif("Alpha"));
  dir.Write("gone.Exif", test::BackupFile(ExifSegmentOf("Gone")));
  List({a, dir.File("gone.jpg")});
  const auto before = Snapshot(dir.Path());

  session.cmdRestore_Click();
  EXPECT_EQ(Summary(),
            "批量保存操作结果:\r\n"
            "  共处理文件:2\r\n"
            "Exif备份文件:0\r\n"
            "    成功保存:0\r\n"
            "    保存失败:0\r\n");
  EXPECT_EQ(Changed(before, Snapshot(dir.Path())), NoFiles{});
  EXPECT_TRUE(test::ReadFile(a) == PhotoWithExif("Alpha"))
      << "another photograph's EXIF was stored";
}

}  // namespace
}  // namespace tagloom

namespace tagloom {
namespace {

// A batch backup puts its backups in place together, with one sync for all;
// photographs that share a backup file still replace it in list order.
TEST_F(SessionBatch, PhotographsSharingABackupFileReplaceItInListOrder) {
  const std::string jpg = dir.Write("IMG_1.JPG", PhotoWithExif("FromJpg"));
  const std::string thm = dir.Write("IMG_1.THM", PhotoWithExif("FromThm"));
  const std::string other = dir.Write("IMG_2.JPG", PhotoWithExif("Other"));
  List({jpg, thm, other});
  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kDone);
  EXPECT_NE(Summary().find(std::string(text::kBackedUp) + "3"), std::string::npos);
  EXPECT_EQ(test::ReadFile(dir.File("IMG_1.Exif")), "Vantoro Exif Backup File" + ExifSegmentOf("FromThm"));
  EXPECT_EQ(test::ReadFile(dir.File("IMG_2.Exif")), "Vantoro Exif Backup File" + ExifSegmentOf("Other"));
  EXPECT_FALSE(std::filesystem::exists(dir.File("IMG_1.Exif.$$$")));
}

}  // namespace
}  // namespace tagloom
