// The backup and restore buttons over the navigation list (batch mode):
// questions, summaries, and files.

#include <locale>

#include "editor/editor_support.h"

namespace tagloom {
namespace {

using namespace test;

const std::string kHeader(kBackupHeader);

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

}  // namespace
}  // namespace tagloom
