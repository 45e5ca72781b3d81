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

// One list, backed up and then restored: a photograph with EXIF whose old
// backup is replaced (and then damaged: a failed restore), one without EXIF
// whose backup is kept and then restored, one whose backup name is a folder
// (a failed backup, no restore), a missing one whose backup must not go into
// the photograph before it, and a .JPG and a .THM that share one backup file,
// replaced in list order. Answered No, nothing changes.
TEST_F(SessionBatch, ABackupThenARestoreOfTheListCountEveryFileAndEndOnTheLastPhotograph) {
  const std::string a = dir.Write("a.jpg", PhotoWithExif("Alpha"));
  dir.Write("a.Exif", BackupOf("An older camera with a longer name"));
  const std::string b = dir.Write("b.jpg", PhotoWithoutExif());
  dir.Write("b.Exif", BackupOf("Beta"));
  const std::string c = dir.Write("c.jpg", PhotoWithExif("Gamma"));
  std::filesystem::create_directory(dir.File("c.Exif"));
  dir.Write("gone.Exif", BackupOf("Gone"));
  List({a, b, c, dir.File("gone.jpg"), dir.Write("IMG_1.JPG", PhotoWithExif("FromJpg")),
        dir.Write("IMG_1.THM", PhotoWithExif("FromThm"))});
  auto expected = Snapshot(dir.Path());
  host.answers = {false, false};
  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kDeclined);
  EXPECT_EQ(session.cmdRestore_Click(), Outcome::kDeclined);
  EXPECT_TRUE(host.messages.size() == 2 && Snapshot(dir.Path()) == expected);

  host.messages.clear();
  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kFailed);
  std::string summary = Summary(text::kConfirmBatchBackup);
  std::string counts =
      "批量操作结果:\r\n  共处理文件:6\r\n  Exif信息:4\r\n    成功备份:3\r\n    备份失败:1\r\n";
  ASSERT_EQ(summary.substr(0, counts.size()), counts);
  const std::string failure = summary.substr(counts.size());  // one line, ended by CR LF
  EXPECT_TRUE(failure.starts_with("  失败:" + c + " (") &&
              failure.find("\r\n") == failure.size() - 2)
      << failure;
  expected["a.Exif"] = kHeader + CameraSegment("Alpha");
  expected["IMG_1.Exif"] = kHeader + CameraSegment("FromThm");
  EXPECT_TRUE(Snapshot(dir.Path()) == expected);
  EXPECT_TRUE(host.previews.empty()) << "no reload after a batch backup";
  expected["a.Exif"] = kHeader + "\xFF\xD8" + CameraSegment("Alpha").substr(2);
  dir.Write("a.Exif", expected["a.Exif"]);

  host.messages.clear();
  EXPECT_EQ(session.cmdRestore_Click(), Outcome::kFailed);
  summary = Summary(text::kConfirmBatchRestore);
  counts =
      "批量保存操作结果:\r\n  共处理文件:6\r\nExif备份文件:4\r\n    成功保存:3\r\n    "
      "保存失败:1\r\n";
  ASSERT_EQ(summary.substr(0, counts.size()), counts);
  EXPECT_EQ(summary.substr(counts.size()).rfind("  失败:" + a + " (", 0), 0u) << summary;
  // SOI, the backup's segment, then the rest without its old EXIF segment.
  for (const auto& [name, make] :
       {std::pair{"b.jpg", "Beta"}, {"IMG_1.JPG", "FromThm"}, {"IMG_1.THM", "FromThm"}}) {
    expected[name] = "\xFF\xD8" + CameraSegment(make) + PhotoWithoutExif().substr(2);
  }
  EXPECT_TRUE(Snapshot(dir.Path()) == expected);
  // The last photograph of the list is on show, read again from the file.
  ASSERT_FALSE(host.previews.empty());
  EXPECT_EQ(host.previews.back() + " " + session.txtExif[0], dir.File("IMG_1.THM") + " FromThm");
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
