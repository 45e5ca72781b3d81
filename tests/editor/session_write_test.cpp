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

std::string Joined(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view part : parts) out += part;
  return out;
}

class SessionWrite : public SessionTest {
 protected:
  // The last message tells that a write failed, and why.
  void ExpectFailureTold(const std::string& reason) {
    ASSERT_FALSE(host.messages.empty());
    const Message& told = host.messages.back();
    EXPECT_EQ(told.text, Joined({text::kWriteFailed, text::kCrLf, reason}));
    EXPECT_EQ(told.icon, MessageIcon::kCritical);
    EXPECT_EQ(host.busyDepth, 0);
    EXPECT_FALSE(session.Bar.visible);
  }
};

TEST_F(SessionWrite, AllBlankFieldsAreRefusedBeforeAnythingIsAsked) {
  Open(dir.Write("IMG_1.jpg", PhotoWithExif()));
  const auto before = Snapshot(dir.Path());
  for (int i = 0; i < kFieldCount; ++i) session.SetFieldText(i, i % 2 ? "" : "   ");
  EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kFailed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(host.messages[0].text == text::kAllFieldsEmpty && Snapshot(dir.Path()) == before);
  session.SetFieldText(13, " x ");  // one character is enough to be asked
  host.answers = {false};
  EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kDeclined);
}

TEST_F(SessionWrite, NoChangesNothingAndYesWritesTellsAndReloads) {
  struct Case {
    std::string photo, backup;
    std::string_view question;  // depends on the banner
  };
  for (const Case& c : {Case{PhotoWithExif(), BackupOf("Backup"), text::kConfirmRewriteExif},
                        Case{PhotoWithoutExif(), "", text::kConfirmCreateExif}}) {
    SCOPED_TRACE(c.question);
    TempDir folder;
    const std::string photo = folder.Write("IMG_2.jpg", c.photo);
    if (!c.backup.empty()) folder.Write("IMG_2.Exif", c.backup);
    Open(photo);
    const auto before = Snapshot(folder.Path());
    session.SetFieldText(0, "Nikon");
    session.SetFieldText(1, "");
    session.SetFieldText(field::kDate, "2021/3/4 5:06");
    host.answers = {false};
    EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kDeclined);
    EXPECT_TRUE(Snapshot(folder.Path()) == before);
    ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_TRUE(host.messages[0].text == c.question && host.messages[1].text == c.question);
    EXPECT_EQ(host.messages[1].details, "") << "a block of catalogued tags only loses nothing";
    const std::string backup = folder.File("IMG_2.Exif");
    EXPECT_EQ(host.messages[2].text, Joined({text::kWriteSucceeded, backup}));
    EXPECT_EQ(ReadFile(backup), std::string(kBackupHeader) + session.ExifHeadBytes);
    // The copy showed the progress panel once; the reload did not, and showed the preview again.
    EXPECT_EQ(std::count(host.progress.begin(), host.progress.end(), "show"), 1);
    EXPECT_EQ(host.previews, (std::vector<std::string>{photo, photo}));
    EXPECT_EQ(On(session),
              "loaded backup-found backup-lamp backup-button restore-button write-button");
    // Only what the fields held was written.
    EXPECT_EQ(session.txtExif[0] + "|" + session.txtExif[1] + "|" + session.txtExif[field::kDate],
              "Nikon||2021/03/04 05:06:00");
  }
}

// Which numbers fit is the conversion's own test; here, that a refusal is told
// with the field's caption and writes nothing. The write button acts on the
// photograph on show even in batch mode, where no summary follows: a refusal
// must be told all the same.
TEST_F(SessionWrite, NumbersTooLargeAndPathsWithoutADotAreRefusedAlsoInBatchMode) {
  ASSERT_EQ(dir.Path().string().find('.'), std::string::npos) << "temporary folder with a dot";
  for (const auto& [field, text, batch] : std::initializer_list<std::tuple<int, const char*, bool>>{
           {5, "1/214748365", false}, {8, "-1", true}, {0, "no dot", true}}) {
    const std::string caption(kFields[static_cast<std::size_t>(field)].caption);
    SCOPED_TRACE(caption + " " + text);
    TempDir folder;
    const std::string photo = folder.Write(field == 0 ? "IMG_7" : "IMG_7.jpg", PhotoWithExif());
    Open(photo);
    session.SetBatch(batch);
    const auto before = Snapshot(folder.Path());
    session.SetFieldText(field, text);
    EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kFailed);
    EXPECT_TRUE(Snapshot(folder.Path()) == before);
    ExpectFailureTold(field == 0 ? Joined({text::kNoBackupName, photo})
                                 : Joined({text::kOutOfRange, caption, " ", text}));
  }
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
  EXPECT_TRUE(Snapshot(dir.Path()) == before);
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
    if (c.error != 0) fs.FailNth(c.call, 1, c.error);
    RecordingHost host;
    Session session(host, fs);
    const std::string photo = folder.Write("IMG.jpg", c.photo);
    if (!c.backup.empty()) folder.Write("IMG.Exif", c.backup);
    session.DrawImage(photo);
    const auto before = Snapshot(folder.Path());
    host.messages.clear();
    EXPECT_EQ(session.cmdRestore_Click(), Outcome::kFailed);
    ASSERT_EQ(host.messages.size(), c.backup.empty() ? 1u : 2u);  // asked first when there is one
    EXPECT_TRUE(c.backup.empty() || host.messages[0].text == text::kConfirmRestore);
    std::string reason = c.reason;
    reason.replace(reason.find('@'), 1, folder.Path().string());
    EXPECT_EQ(host.messages.back().text, Joined({text::kWriteFailed, text::kCrLf, reason}));
    EXPECT_TRUE(Snapshot(folder.Path()) == before) << "a temporary or parked file was left";
    EXPECT_TRUE(host.previews.size() == 1 && !session.Bar.visible);
  }
}

// Texts nobody edited keep their bytes (a GB2312 copyright stays GB2312, a
// subject distance of "infinity", FFFFFFFF, stays that); edited texts are
// written as UTF-8; the confirmation tells what the new block leaves out.
TEST_F(SessionWrite, UneditedFieldsKeepTheirBytesAndTheConfirmationTellsWhatIsLost) {
  const std::string gbk = "\xB0\xE6\xC8\xA8\xCB\xF9\xD3\xD0";
  const std::string tiff =
      TiffBuilder()
          .Ifd0({Ascii(0x010F, "Canon"), Ascii(0x8298, gbk), Long(0x8825, 0)})
          .ExifIfd({Rational(0x9206, 0xFFFFFFFF, 1), Short(0x8827, 100)})
          .Build();
  const std::string photo = dir.Write("IMG_9.jpg", JpegBuilder().App1Exif(tiff).Scan().Build());
  Open(photo);
  ASSERT_EQ(session.txtExif[field::kCopyright], "版权所有");
  session.SetFieldText(0, "Other");
  session.SetFieldText(1, "张三");
  ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);
  EXPECT_EQ(host.messages[0].details,
            Joined({text::kNotKeptHeading, text::kCrLf, text::kLostEntries, "1", text::kCrLf,
                    text::kLostGps, text::kCrLf}));
  // Read again from the new file: the bytes of each row.
  EXPECT_EQ(session.store.lstValue.Row(5), gbk);
  EXPECT_EQ(session.store.lstValue.Row(3), "张三");
  EXPECT_EQ(session.store.lstValue.Row(12), "-1/1");
  EXPECT_EQ(session.txtExif[0], "Other");
}

// x.Exif (or IMG.EXIF where case is ignored) names both the photograph and
// its backup file: nothing may turn the photograph into a backup file.
TEST_F(SessionWrite, APhotographThatIsItsOwnBackupFileIsNeverWrittenAsOne) {
  const std::string photo = dir.Write("x.Exif", PhotoWithExif());
  Open(photo);
  EXPECT_FALSE(session.BackupAvailable || session.imgBackupLit);
  session.SetFieldText(0, "Edited");
  EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kFailed);
  ExpectFailureTold(Joined({text::kBackupIsPhoto, photo}));
  EXPECT_EQ(session.cmdBackup_Click(), Outcome::kFailed);
  EXPECT_EQ(ReadFile(photo), PhotoWithExif());
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
  EXPECT_TRUE(!nested.empty() && std::all_of(nested.begin(), nested.end(),
                                             [](Outcome o) { return o == Outcome::kDeclined; }));
}

}  // namespace
}  // namespace tagloom
