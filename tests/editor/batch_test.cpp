// The backup and restore buttons over the navigation list (batch mode):
// questions, summaries with every photograph's outcome, a stop, and files.

#include <locale>

#include "editor/editor_support.h"
#include "model/path_name.h"

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
  // The one question asked, and the summary's counts.
  std::string Counts(std::string_view question) {
    EXPECT_EQ(host.messages.size(), 1u) << "a message besides the question";
    if (!host.messages.empty()) {
      EXPECT_EQ(host.messages[0].text, question);
    }
    EXPECT_EQ(host.summaries.size(), 1u);
    EXPECT_EQ(host.busyDepth, 0);
    return host.summaries.empty() ? "" : host.summaries.back().text;
  }
  // A photograph with EXIF whose old backup is replaced (then damaged: a
  // failed restore); one without EXIF whose backup is kept and restored; one
  // whose backup name is a folder; a missing one; a .JPG and a .THM sharing
  // one backup file, which serves neither.
  std::vector<std::string> MixedList() {
    std::vector<std::string> list = {dir.Write("a.jpg", PhotoWithExif("Alpha")),
                                     dir.Write("b.jpg", PhotoWithoutExif()),
                                     dir.Write("c.jpg", PhotoWithExif("Gamma")),
                                     dir.File("gone.jpg"),
                                     dir.Write("IMG_1.JPG", PhotoWithExif("FromJpg")),
                                     dir.Write("IMG_1.THM", PhotoWithExif("FromThm"))};
    dir.Write("a.Exif", BackupOf("An older camera with a longer name"));
    dir.Write("b.Exif", BackupOf("Beta"));
    std::filesystem::create_directory(dir.File("c.Exif"));
    dir.Write("gone.Exif", BackupOf("Gone"));
    dir.Write("IMG_1.Exif", BackupOf("Whose?"));
    List(list);
    return list;
  }
};

TEST_F(SessionBatch, NoToTheQuestionChangesNoFile) {
  MixedList();
  const FolderContents before = Snapshot(dir.Path());
  host.answers = {false, false};
  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kDeclined);
  EXPECT_EQ(session.cmdRestore_Click(), Outcome::kDeclined);
  EXPECT_EQ(host.messages.size(), 2u);
  EXPECT_TRUE(host.summaries.empty());
  EXPECT_TRUE(SameFolder(Snapshot(dir.Path()), before));
}

TEST_F(SessionBatch, ABackupOfTheListSaysWhatBecameOfEveryPhotograph) {
  const std::vector<std::string> list = MixedList();
  FolderContents expected = Snapshot(dir.Path());
  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kFailed);
  EXPECT_EQ(
      Counts(text::kConfirmBatchBackup),
      "批量操作结果:\r\n  共处理文件:6\r\n  Exif信息:4\r\n    成功备份:1\r\n    备份失败:3\r\n");
  const std::vector<PhotoOutcome>& outcomes = host.summaries[0].outcomes;
  EXPECT_EQ(ResultWords(outcomes), "written skipped refused missing refused refused");
  EXPECT_TRUE(outcomes[2].reason.starts_with(text::kCannotReplace)) << outcomes[2].reason;
  EXPECT_TRUE(outcomes[4].reason.starts_with(text::kSharedBackupName)) << outcomes[4].reason;
  EXPECT_NE(outcomes[5].reason.find("IMG_1.JPG"), std::string::npos) << "names the other";
  expected["a.Exif"] = kHeader + CameraSegment("Alpha");
  EXPECT_TRUE(SameFolder(Snapshot(dir.Path()), expected));
  // The photograph the counter names is on show, read again.
  EXPECT_EQ(session.labNum.text, "1/6");
  ASSERT_FALSE(host.previews.empty());
  EXPECT_EQ(host.previews.back(), list[0]);
}

TEST_F(SessionBatch, ARestoreOfTheListRefusesDamagedAndSharedBackups) {
  MixedList();
  dir.Write("a.Exif", kHeader + "\xFF\xD8" + CameraSegment("Alpha").substr(2));
  FolderContents expected = Snapshot(dir.Path());
  EXPECT_EQ(session.cmdRestore_Click(), Outcome::kFailed);
  EXPECT_EQ(Counts(text::kConfirmBatchRestore),
            "批量保存操作结果:\r\n  共处理文件:6\r\nExif备份文件:4\r\n    成功保存:1\r\n    "
            "保存失败:3\r\n");
  EXPECT_EQ(ResultWords(host.summaries[0].outcomes),
            "refused written skipped missing refused refused");
  // SOI, the backup's segment, then the rest.
  expected["b.jpg"] = "\xFF\xD8" + CameraSegment("Beta") + PhotoWithoutExif().substr(2);
  EXPECT_TRUE(SameFolder(Snapshot(dir.Path()), expected));
  EXPECT_EQ(session.txtExif[0], "Alpha") << "the photograph on show is the first, read again";
}

// A stop between photographs ends the run; what it reached is done, the rest
// counted as not reached. A photograph listed twice is backed up once.
TEST_F(SessionBatch, AStopEndsABackupAndAPhotographListedTwiceIsBackedUpOnce) {
  std::vector<std::string> list = Photos("roll", 4);
  list.insert(list.begin() + 1, dir.File("./" + std::string(FileNameOf(list[0]))));
  List(list);
  int asked = 0;
  host.stop = [&] { return ++asked > 3; };
  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kStopped);
  const std::vector<PhotoOutcome>& outcomes = host.summaries.at(0).outcomes;
  EXPECT_EQ(ResultWords(outcomes), "written skipped written not reached not reached");
  EXPECT_EQ(outcomes[1].reason, Joined({text::kSameAsListed, list[0]}));
  EXPECT_NE(host.summaries[0].text.find(Joined({text::kListNotReachedCount, "2"})),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.File("roll2.Exif")));
}

}  // namespace
}  // namespace tagloom
