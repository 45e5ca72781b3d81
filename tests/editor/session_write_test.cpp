// The write and restore buttons of one photograph: what the person is asked
// and told, what is refused, and that a refusal or a failure leaves every file
// beside the photograph as it was.

#include <cerrno>
#include <cstring>

#include "editor/editor_support.h"
#include "support/faulty_file_system.h"

namespace tagloom {
namespace {

using namespace test;

using SessionWrite = SessionTest;

// No changes nothing; Yes writes, tells and reloads. Unedited texts keep their
// bytes (GB2312 stays GB2312, an "infinity" distance FFFFFFFF/1 stays that),
// edited ones are UTF-8; the confirmation tells what the new block leaves out
// and which backup file keeps the block before. A backup file is never
// replaced; a photograph with a block and none has it saved first.
TEST_F(SessionWrite, NoChangesNothingAndYesWritesTellsAndReloads) {
  const std::string gbk = "\xB0\xE6\xC8\xA8\xCB\xF9\xD3\xD0";
  const std::string tiff = TiffBuilder()
                               .Ifd0({Ascii(0x010F, "Canon"), Ascii(0x8298, gbk), Long(0x8825, 0)})
                               .ExifIfd({Rational(0x9206, 0xFFFFFFFF, 1), Short(0x8827, 100)})
                               .Build();
  const std::string withExif = JpegBuilder().App1Exif(tiff).Scan().Build();
  const std::string notKept = Joined({text::kNotKeptHeading, text::kCrLf, text::kLostEntries, "1",
                                      text::kCrLf, text::kLostGps, text::kCrLf});
  struct Case {
    std::string photo, backup;  // no backup file when ""
    std::string_view question;  // depends on the banner
    std::string details;        // "@" stands for the backup file
    std::string copyright, distance;
    std::string backupAfter;
  };
  const std::string original = BackupFile(ExifSegmentOf(withExif));
  for (const Case& c :
       {Case{withExif, BackupOf("Backup"), text::kConfirmRewriteExif,
             Joined({notKept, text::kBackupKept, "@", text::kCrLf}), gbk, "-1/1",
             BackupOf("Backup")},
        Case{withExif, "", text::kConfirmRewriteExif,
             Joined({notKept, text::kOriginalSaved, "@", text::kCrLf}), gbk, "-1/1", original},
        Case{PhotoWithoutExif(), "", text::kConfirmCreateExif, "", "", "", ""}}) {
    SCOPED_TRACE(c.details);
    TempDir folder;
    const std::string photo = folder.Write("IMG_2.jpg", c.photo);
    const std::string backup = folder.File("IMG_2.Exif");
    if (!c.backup.empty()) folder.Write("IMG_2.Exif", c.backup);
    Open(photo);
    const auto before = Snapshot(folder.Path());
    session.SetFieldText(0, "Nikon");
    session.SetFieldText(1, "张三");
    session.SetFieldText(field::kDate, "2021/3/4 5:06");
    host.answers = {false};
    EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kDeclined);
    EXPECT_TRUE(SameFolder(Snapshot(folder.Path()), before));
    ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[0].text, c.question);
    EXPECT_EQ(host.messages[1].text, c.question);
    std::string details = c.details;
    if (details.find('@') != std::string::npos) details.replace(details.find('@'), 1, backup);
    EXPECT_EQ(host.messages[1].details, details);
    EXPECT_EQ(host.messages[2].text, Joined({text::kWriteSucceeded, backup}));
    EXPECT_TRUE(SameBytes(ReadFile(backup), c.backupAfter));
    EXPECT_TRUE(
        SameBytes(ExifSegmentOf(ReadFile(photo)), session.ExifHeadBytes + std::string(2, '\0')));
    // The copy showed the progress panel once; the reload did not, and showed the preview again.
    EXPECT_EQ(std::count(host.progress.begin(), host.progress.end(), "show"), 1);
    EXPECT_EQ(host.previews, (std::vector<std::string>{photo, photo}));
    EXPECT_EQ(On(session),
              c.backupAfter.empty()
                  ? "loaded backup-button write-button"
                  : "loaded backup-found backup-lamp backup-button restore-button write-button");
    // Only what the fields held was written; read again from the new file, the bytes of each row.
    EXPECT_EQ(session.txtExif[0] + "|" + session.txtExif[1] + "|" + session.txtExif[field::kDate],
              "Nikon|张三|2021/03/04 05:06:00");
    EXPECT_EQ(session.store.lstValue.Row(3), "张三");
    EXPECT_EQ(session.store.lstValue.Row(5) + "|" + session.store.lstValue.Row(12),
              c.copyright + "|" + c.distance);
  }
}

// However many writes follow, the backup keeps the block before the first, and
// the restore brings it back. All-blank fields are refused unasked.
TEST_F(SessionWrite, TheBackupKeepsTheBlockBeforeTheFirstWrite) {
  const std::string original = PhotoWithExif();
  const std::string photo = dir.Write("IMG_2.jpg", original), backup = dir.File("IMG_2.Exif");
  Open(photo);
  for (const char* make : {"First", "Second"}) {
    session.SetFieldText(0, make);
    ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone) << make;
    EXPECT_TRUE(SameBytes(ReadFile(backup), BackupFile(ExifSegmentOf(original)))) << make;
  }
  ASSERT_EQ(session.cmdRestore_Click(), Outcome::kDone);
  EXPECT_TRUE(SameBytes(ExifSegmentOf(ReadFile(photo)), ExifSegmentOf(original)));
  const FolderContents written = Snapshot(dir.Path());
  const std::size_t told = host.messages.size();
  for (int i = 0; i < kFieldCount; ++i) session.SetFieldText(i, " ");
  EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kFailed);
  ASSERT_EQ(host.messages.size(), told + 1);
  EXPECT_EQ(host.messages.back().text, text::kAllFieldsEmpty);
  EXPECT_TRUE(SameFolder(Snapshot(dir.Path()), written));
}

// Which numbers fit is the conversion's own test; here, that a refusal is told
// with its reason and writes nothing, in batch mode too (the write button acts
// on the photograph on show, and no summary follows). x.Exif (or IMG.EXIF
// where case is ignored) names both the photograph and its backup file:
// nothing may turn the photograph into a backup file.
TEST_F(SessionWrite, NumbersTooLargePathsWithoutADotAndPhotographsNamedAsBackupsAreRefused) {
  ASSERT_EQ(dir.Path().string().find('.'), std::string::npos) << "temporary folder with a dot";
  using Row = std::tuple<const char*, int, const char*, bool>;  // photograph, field, text, batch
  for (const auto& [name, field, text, batch] :
       std::initializer_list<Row>{{"IMG_7.jpg", 5, "1/214748365", false},
                                  {"IMG_8.jpg", 8, "-1", true},
                                  {"IMG_9", 0, "no dot", true},
                                  {"x.Exif", 0, "Edited", false}}) {
    const std::string caption(kFields[static_cast<std::size_t>(field)].caption);
    SCOPED_TRACE(std::string(name) + " " + text);
    const std::string photo = dir.Write(name, PhotoWithExif());
    Open(photo);
    session.SetBatch(batch);
    const auto before = Snapshot(dir.Path());
    session.SetFieldText(field, text);
    EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kFailed);
    EXPECT_TRUE(SameFolder(Snapshot(dir.Path()), before));
    const std::string reason = name[0] == 'x' ? Joined({text::kBackupIsPhoto, photo})
                               : field == 0   ? Joined({text::kNoBackupName, photo})
                                              : Joined({text::kOutOfRange, caption, " ", text});
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().text, Joined({text::kWriteFailed, text::kCrLf, reason}));
    EXPECT_EQ(host.messages.back().icon, MessageIcon::kCritical);
    EXPECT_EQ(host.busyDepth, 0);
    EXPECT_FALSE(session.Bar.visible);
  }
  // x.Exif, on show: it has no backup, and cannot be backed up into itself.
  EXPECT_FALSE(session.BackupAvailable || session.imgBackupLit);
  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kFailed);
  EXPECT_EQ(ReadFile(dir.File("x.Exif")), PhotoWithExif());
}

TEST_F(SessionWrite, ARestoreAfterAMissingPhotographLeavesThePreviousPhotographAlone) {
  // The missing photograph's backup lights the restore button; the photograph
  // shown before must not receive that backup.
  const std::string shown = dir.Write("IMG_12.jpg", PhotoWithExif("Shown"));
  dir.Write("gone.Exif", BackupOf("Gone"));
  Open(shown);
  Open(dir.File("gone.jpg"));
  const auto before = Snapshot(dir.Path());
  ASSERT_TRUE(session.cmdRestore.visible);
  EXPECT_EQ(session.cmdRestore_Click(), Outcome::kFailed);
  EXPECT_TRUE(SameFolder(Snapshot(dir.Path()), before));
}

TEST(SessionRestore, ARestoreThatCannotBeDoneIsToldWithItsReasonAndLeavesNoTrace) {
  const std::string segment = CameraSegment("Backup"), good = BackupFile(segment);
  auto failed = [](std::string_view what, const char* file, int error) {
    return Joined(
        {what, "@/", file, " (", error == ENOSPC ? text::kDiskFull : std::strerror(error), ")"});
  };
  const std::string damaged = Joined({text::kBackupDamaged, " @/IMG.Exif"});
  struct Case {
    std::string backup;  // no backup file when ""
    FsCall call;
    int error;           // of the first such call, when not 0
    std::string reason;  // "@" stands for the folder
    std::string photo = PhotoWithExif();
  };
  const std::vector<Case> cases = {
      {BackupFile(segment.substr(0, 50)), {}, 0, damaged},
      {"", {}, 0, Joined({text::kNoBackupToRestore, "@/IMG.jpg"})},  // refused, not asked
      {good, {}, 0, Joined({text::kNotJpeg, "@/IMG.jpg"}), "GIF89a, not a JPEG"},
      {good, FsCall::kOpen, EACCES, failed(text::kCannotCreate, "IMG.jpg.$$$", EACCES)},
      {good, FsCall::kWrite, ENOSPC, failed(text::kCannotWrite, "IMG.jpg.$$$", ENOSPC)},
      {good, FsCall::kLink, EIO, failed(text::kCannotPark, "IMG.jpg", EIO)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    TempDir folder;
    FaultyFileSystem fs;
    if (c.error != 0) {
      if (c.call == FsCall::kOpen) {  // of the temporary file, not of the reads before it
        fs.FailOnPath(c.call, ".$$$", c.error);
      } else {
        fs.FailNth(c.call, 1, c.error);
      }
    }
    RecordingHost host;
    Session session(host, fs);
    const std::string photo = folder.Write("IMG.jpg", c.photo);
    if (!c.backup.empty()) folder.Write("IMG.Exif", c.backup);
    session.DrawImage(photo);
    const auto before = Snapshot(folder.Path());
    host.messages.clear();
    EXPECT_EQ(session.cmdRestore_Click(), Outcome::kFailed);
    ASSERT_EQ(host.messages.size(), c.backup.empty() ? 1u : 2u);  // asked first when there is one
    if (!c.backup.empty()) {
      EXPECT_EQ(host.messages[0].text, text::kConfirmRestore);
    }
    std::string reason = c.reason;
    reason.replace(reason.find('@'), 1, folder.Path().string());
    EXPECT_EQ(host.messages.back().text, Joined({text::kWriteFailed, text::kCrLf, reason}));
    EXPECT_TRUE(SameFolder(Snapshot(folder.Path()), before))
        << "a temporary or parked file was left";
    EXPECT_EQ(host.previews.size(), 1u);
    EXPECT_FALSE(session.Bar.visible);
  }
}

// A long copy yields to the window as it goes, so that it repaints; while it
// yields, any other action is refused rather than run inside it.
TEST_F(SessionWrite, ACopyYieldsAsItGoesAndRefusesOtherActionsMeanwhile) {
  Open(dir.Write("IMG_3.jpg", PhotoWithExif("Canon", 6'000'000)));
  session.SetFieldText(0, "Yielding");
  std::vector<Outcome> nested;
  host.onYield = [&] {
    if (session.Working()) nested.push_back(session.cmdBackup_Click());
  };
  host.progress.clear();
  ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);
  const auto show = std::find(host.progress.begin(), host.progress.end(), "show");
  EXPECT_GE(std::count(show, std::find(show, host.progress.end(), "hide"), "yield"), 4);
  ASSERT_FALSE(nested.empty()) << "no click came while the write was working";
  EXPECT_EQ(nested, std::vector<Outcome>(nested.size(), Outcome::kDeclined));
}

}  // namespace
}  // namespace tagloom
