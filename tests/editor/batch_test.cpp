// The backup and restore buttons over the navigation list (batch mode), and
// the backup of the photograph on show: questions, summaries, and files.

#include <locale>

#include "editor/editor_support.h"

namespace tagloom {
namespace {

using namespace test;

const std::string kHeader(kBackupHeader);

// Digits grouped by three with commas.
struct GroupedByThree : std::numpunct<char> {
  char do_thousands_sep() const override { return ','; }
  std::string do_grouping() const override { return "\3"; }
};

class SessionBatch : public SessionTest {
 protected:
  SessionBatch() { session.numberLocale = std::locale::classic(); }
  // The list taken over as the drop target hands it, then batch mode ticked.
  void List(const std::vector<std::string>& paths) {
    session.lstDragFiles.Clear();
    for (const std::string& path : paths) session.lstDragFiles.Append(path);
    session.DoDrop();
    session.SetBatch(true);
    host.messages.clear();
    host.previews.clear();
  }
  // The question first, the summary last and no message between.
  std::string Summary(std::string_view question) {
    EXPECT_EQ(host.messages.size(), 2u);
    if (host.messages.size() < 2) return "";
    EXPECT_EQ(host.messages[0].text, question);
    EXPECT_EQ(host.messages.back().title, text::kBatchResultTitle);
    EXPECT_EQ(host.busyDepth, 0);
    return host.messages.back().text;
  }
};

TEST_F(SessionBatch, BackupCountsPhotographsWithExifBackupsAndFailures) {
  const std::string a = dir.Write("a.jpg", PhotoWithExif("Alpha"));
  dir.Write("a.Exif", BackupOf("An older camera with a longer name"));  // nothing of it may remain
  dir.Write("b.jpg", PhotoWithoutExif());
  dir.Write("b.Exif", BackupOf("Beta"));  // shown for b, and kept
  const std::string c = dir.Write("c.jpg", PhotoWithExif("Gamma"));
  std::filesystem::create_directory(dir.File("c.Exif"));  // c's backup cannot be written
  List({a, dir.File("b.jpg"), c});
  auto expected = Snapshot(dir.Path());
  expected["a.Exif"] = kHeader + CameraSegment("Alpha");

  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kFailed);
  const std::string summary = Summary(text::kConfirmBatchBackup);
  const std::string counts =
      "批量操作结果:\r\n"
      "  共处理文件:3\r\n"
      "  Exif信息:2\r\n"
      "    成功备份:1\r\n"
      "    备份失败:1\r\n";
  ASSERT_EQ(summary.substr(0, counts.size()), counts);
  const std::string failure = summary.substr(counts.size());  // one line, ended by CR LF
  EXPECT_TRUE(failure.starts_with("  失败:" + c + " (") &&
              failure.find("\r\n") == failure.size() - 2)
      << failure;
  EXPECT_TRUE(Snapshot(dir.Path()) == expected);
  EXPECT_TRUE(host.previews.empty()) << "no reload after a batch backup";
}

TEST_F(SessionBatch, ARestoreStoresEveryBackupFoundAndEndsOnTheLastPhotograph) {
  // a: no EXIF, its backup shown; b: own EXIF, replaced by its backup's; c: own
  // EXIF beside a damaged backup, a failure; gone.jpg is missing, and its backup
  // must not go into the photograph loaded before it.
  const std::string a = dir.Write("a.jpg", PhotoWithoutExif());
  const std::string c = dir.Write("c.jpg", PhotoWithExif("Gamma"));
  const std::string b = dir.Write("b.jpg", PhotoWithExif("Beta"));
  dir.Write("a.Exif", BackupOf("Alpha Backup"));
  dir.Write("b.Exif", BackupOf("Beta Backup"));
  dir.Write("c.Exif", kHeader + "\xFF\xD8" + CameraSegment("Gamma").substr(2));
  dir.Write("gone.Exif", BackupOf("Gone"));
  List({a, c, dir.File("gone.jpg"), b});
  auto expected = Snapshot(dir.Path());
  // SOI, the backup's segment, then the rest without its old EXIF segment.
  expected["a.jpg"] = "\xFF\xD8" + CameraSegment("Alpha Backup") + PhotoWithoutExif().substr(2);
  expected["b.jpg"] = "\xFF\xD8" + CameraSegment("Beta Backup") + PhotoWithoutExif().substr(2);

  EXPECT_EQ(session.cmdRestore_Click(), Outcome::kFailed);
  const std::string summary = Summary(text::kConfirmBatchRestore);
  const std::string counts =
      "批量保存操作结果:\r\n  共处理文件:4\r\nExif备份文件:3\r\n    成功保存:2\r\n    "
      "保存失败:1\r\n";
  ASSERT_EQ(summary.substr(0, counts.size()), counts);
  EXPECT_EQ(summary.substr(counts.size()).rfind("  失败:" + c + " (", 0), 0u) << summary;
  EXPECT_TRUE(Snapshot(dir.Path()) == expected);
  // The last photograph of the list is on show, read again from the file.
  ASSERT_FALSE(host.previews.empty());
  EXPECT_EQ(host.previews.back() + " " + session.txtExif[0], b + " Beta Backup");
  EXPECT_FALSE(session.ExifFromBackup);
}

// A batch in which not one file was there has failed.
TEST_F(SessionBatch, MissingPhotographsCountOnlyAsProcessedGroupedByTheNumberLocale) {
  List(std::vector<std::string>(1234, dir.File("missing.jpg")));
  session.numberLocale = std::locale(std::locale::classic(), new GroupedByThree);
  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kFailed);
  EXPECT_EQ(Summary(text::kConfirmBatchBackup),
            "批量操作结果:\r\n  共处理文件:1,234\r\n  Exif信息:0\r\n    成功备份:0\r\n    "
            "备份失败:0\r\n");
  host.messages.clear();
  EXPECT_EQ(session.cmdRestore_Click(), Outcome::kFailed);
  EXPECT_EQ(Summary(text::kConfirmBatchRestore),
            "批量保存操作结果:\r\n  共处理文件:1,234\r\nExif备份文件:0\r\n    成功保存:0\r\n    "
            "保存失败:0\r\n");
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

// Answered No, nothing changes; Yes, photographs sharing a backup file replace it in list order.
TEST_F(SessionBatch, PhotographsSharingABackupFileReplaceItInListOrder) {
  List({dir.Write("IMG_1.JPG", PhotoWithExif("FromJpg")),
        dir.Write("IMG_1.THM", PhotoWithExif("FromThm")),
        dir.Write("IMG_2.JPG", PhotoWithExif("Other"))});
  dir.Write("IMG_2.Exif", BackupOf("Old"));
  const auto before = Snapshot(dir.Path());
  host.answers = {false, false};
  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kDeclined);
  EXPECT_EQ(session.cmdRestore_Click(), Outcome::kDeclined);
  EXPECT_TRUE(host.messages.size() == 2 && Snapshot(dir.Path()) == before);
  host.messages.clear();
  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kDone);
  EXPECT_NE(Summary(text::kConfirmBatchBackup).find(std::string(text::kBackedUp) + "3"),
            std::string::npos);
  EXPECT_EQ(ReadFile(dir.File("IMG_1.Exif")), kHeader + CameraSegment("FromThm"));
  EXPECT_EQ(ReadFile(dir.File("IMG_2.Exif")), kHeader + CameraSegment("Other"));
  EXPECT_EQ(Snapshot(dir.Path()).size(), 5u) << "a temporary file was left";
}

TEST_F(SessionBatch, TheSingleBackupAsksOnlyWhenABackupExists) {
  Open(dir.Write("a.jpg", PhotoWithExif("Alpha")));
  const std::string told = std::string(text::kBackupSucceeded) + dir.File("a.Exif");
  const std::string asked(text::kConfirmOverwriteBackup);
  const std::vector<std::vector<std::string>> messages = {{told}, {asked}, {asked, told}};
  host.answers = {false};
  for (int attempt = 0; attempt < 3; ++attempt) {  // none yet; one, answered No; then Yes
    if (attempt == 1) dir.Write("a.Exif", BackupOf("Old"));
    host.messages.clear();
    EXPECT_EQ(session.cmdBackup_Click(), attempt == 1 ? Outcome::kDeclined : Outcome::kDone);
    EXPECT_EQ(ReadFile(dir.File("a.Exif")),
              attempt == 1 ? BackupOf("Old") : kHeader + CameraSegment("Alpha"));
    std::vector<std::string> texts;
    for (const Message& message : host.messages) texts.push_back(message.text);
    EXPECT_EQ(texts, messages[attempt]);
  }
}

}  // namespace
}  // namespace tagloom
