// What the world outside does to a photograph while Tagloom works on it: a
// card reader that fails a read, a second writer, another program that puts
// a different file in its place, a backup name that is not its own, dates
// nobody can read. Each costs nothing: the photograph is refused, or the
// person is asked with No as the answer that keeps everything.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "editor/editor_support.h"
#include "editor/reasons.h"
#include "model/path_name.h"
#include "support/faulty_file_system.h"

namespace tagloom {
namespace {

using namespace test;

class OutsideFaults : public ::testing::Test {
 protected:
  // A Session whose every file call goes through `files`.
  Session& Fresh() {
    host = RecordingHost();
    session = std::make_unique<Session>(host, files);
    return *session;
  }
  std::string ReadDates(const std::string& path) {
    RecordingHost quiet;
    Session reader(quiet);
    reader.GetExifData(path);
    std::string dates;
    for (int r : {row::kDateTime, row::kDateTimeOriginal, row::kDateTimeDigitized}) {
      dates += (reader.store.Found(r) ? reader.store.lstValue.Row(r) : "-") + "|";
    }
    return dates;
  }
  TempDir dir;
  FaultyFileSystem files;
  RecordingHost host;
  std::unique_ptr<Session> session;
};

// Each read of a photograph failing in turn (an I/O error, or the file cut
// short while it is read): the photograph is refused with the system's
// reason, never shown as one without EXIF, and nothing can be written from it.
TEST_F(OutsideFaults, AReadThatFailsRefusesThePhotographAndNothingIsWrittenFromIt) {
  const std::string photo = dir.Write("IMG.jpg", PhotoWithExif("Canon", 20000));
  const FolderContents before = Snapshot(dir.Path());
  Fresh().GetExifData(photo);
  const int reads = files.CountOf(FsCall::kPread);
  ASSERT_GT(reads, 0);
  for (int nth = 1; nth <= reads; ++nth) {
    for (bool shortened : {false, true}) {
      SCOPED_TRACE("read " + std::to_string(nth) + (shortened ? ", cut short" : ", EIO"));
      files = FaultyFileSystem();
      if (shortened) {
        files.BeforeNth(FsCall::kPread, nth, [&] { std::filesystem::resize_file(photo, 10); });
      } else {
        files.FailNth(FsCall::kPread, nth, EIO);
      }
      Session& s = Fresh();
      s.DrawImage(photo);
      EXPECT_FALSE(s.PhotoFound());
      EXPECT_FALSE(s.labNoExif.visible) << "a failed read shown as a photograph without EXIF";
      ASSERT_FALSE(host.messages.empty());
      EXPECT_EQ(host.messages.back().text, ReadFailureText(shortened ? 0 : EIO, photo));
      s.SetFieldText(0, "Written anyway?");
      EXPECT_EQ(s.cmdExifWrite_Click(), Outcome::kFailed);
      dir.Write("IMG.jpg", before.at("IMG.jpg"));
      EXPECT_TRUE(SameFolder(Snapshot(dir.Path()), before));
    }
  }
  // One that may not be read is told so, not called missing.
  files = FaultyFileSystem();
  files.FailOnPath(FsCall::kOpen, "IMG.jpg", EACCES);
  Fresh().DrawImage(photo);
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back().text,
            Joined({text::kPhotoUnreadable, photo, " (", std::strerror(EACCES), ")"}));
}

// Two list writes over the same photographs at once: whichever writes a
// photograph, its backup holds the block it had before any write.
TEST_F(OutsideFaults, TwoWritersAtOnceNeverLeaveAWrittenPhotographWithoutItsOriginal) {
  std::vector<std::string> list;
  for (int i = 0; i < 50; ++i) {
    list.push_back(
        dir.Write("p" + std::to_string(i) + ".jpg", PhotoWithExif("P" + std::to_string(i))));
  }
  const FolderContents before = Snapshot(dir.Path());
  std::vector<pid_t> writers;
  for (const char* copyright : {"First writer", "Second writer"}) {
    const pid_t child = ::fork();
    if (child == 0) {
      RecordingHost quiet;
      Session writer(quiet);
      writer.Image1_DropFiles(list);
      writer.SetBatch(true);
      writer.SetKeep(kAreaCopyright, true);
      writer.SetFieldText(field::kCopyright, copyright);
      writer.cmdExifWrite_Click();
      ::_exit(0);
    }
    writers.push_back(child);
  }
  for (pid_t child : writers) ::waitpid(child, nullptr, 0);
  int written = 0;
  for (const std::string& path : list) {
    const std::string name(FileNameOf(path));
    if (ReadFile(path) == before.at(name)) continue;
    ++written;
    const std::string backup = ReadFile(BackupFileNameFor(path));
    EXPECT_TRUE(SameBytes(backup, BackupFile(ExifSegmentOf(before.at(name))))) << name;
  }
  EXPECT_EQ(written, 50) << "each photograph written by one writer or the other";
}

// Another program renames a different photograph over the path after it was
// read, or after its new content was made: the write is refused, and that
// photograph keeps every byte.
TEST_F(OutsideFaults, APhotographReplacedByAnotherProgramIsNeverSpliced) {
  for (bool late : {false, true}) {
    SCOPED_TRACE(late ? "after the new content was made" : "after it was read");
    const std::string photo = dir.Write("IMG.jpg", PhotoWithExif("Shown"));
    std::filesystem::remove(dir.File("IMG.Exif"));
    const std::string other = PhotoWithExif("Someone else's", 300);
    auto replace = [&] {
      dir.Write("other.jpg", other);
      std::filesystem::rename(dir.File("other.jpg"), photo);
    };
    files = FaultyFileSystem();
    Session& s = Fresh();
    s.DrawImage(photo);
    if (late) {
      files.BeforeNth(FsCall::kFsync, files.CountOf(FsCall::kFsync) + 1, replace);
    } else {
      replace();
    }
    s.SetFieldText(0, "Spliced?");
    EXPECT_EQ(s.cmdExifWrite_Click(), Outcome::kFailed);
    EXPECT_EQ(host.messages.back().text,
              Joined({text::kWriteFailed, text::kCrLf, text::kPhotoChanged, photo}));
    EXPECT_TRUE(SameBytes(ReadFile(photo), other));
    EXPECT_FALSE(std::filesystem::exists(dir.File("IMG.Exif"))) << "a backup of the wrong file";
  }
}

// IMG_1.jpg beside IMG_1.thm: their one backup name serves neither. The
// window's question says so, No its default; answered Yes, the write goes on
// without saving the block there; a restore warns it may bring back the
// other's block; the command line refuses both, naming the other photograph.
TEST_F(OutsideFaults, PhotographsThatShareABackupNameAreToldBeforeAnythingIsDone) {
  const std::string jpg = dir.Write("IMG_1.jpg", PhotoWithExif("Jpg"));
  dir.Write("IMG_1.thm", PhotoWithExif("Thm"));
  Session& s = Fresh();
  s.DrawImage(jpg);
  s.SetFieldText(0, "Edited");
  host.messages.clear();
  ASSERT_EQ(s.cmdExifWrite_Click(), Outcome::kDone);
  const Message& question = host.messages.at(0);
  EXPECT_TRUE(question.text.starts_with(text::kSharedBackupName)) << question.text;
  EXPECT_NE(question.text.find("(IMG_1.thm)"), std::string::npos) << question.text;
  EXPECT_TRUE(question.defaultNo);
  EXPECT_FALSE(std::filesystem::exists(dir.File("IMG_1.Exif")));

  dir.Write("IMG_1.Exif", BackupOf("Whose?"));
  s.DrawImage(dir.File("IMG_1.thm"));
  host.messages.clear();
  host.answers = {false};
  EXPECT_EQ(s.cmdRestore_Click(), Outcome::kDeclined);
  EXPECT_NE(host.messages.at(0).text.find(text::kSharedBackupRestore), std::string::npos);
  EXPECT_TRUE(host.messages.at(0).defaultNo);

  s.refuseDoubtfulChanges = true;
  EXPECT_EQ(s.cmdRestore_Click(), Outcome::kFailed);
  EXPECT_NE(host.messages.back().text.find("(IMG_1.jpg)"), std::string::npos);
}

// A file at the backup name that cannot keep the photograph's block: the
// question says the block will not be saved and why, No its default; Yes
// writes and leaves that file as it was; the command line refuses.
TEST_F(OutsideFaults, ABackupNameThatCannotKeepTheBlockIsToldAndLeftAlone) {
  const std::string photo = dir.File("IMG.jpg"), backup = dir.File("IMG.Exif");
  using Make = std::function<void()>;
  const std::vector<std::pair<Make, std::string_view>> cases = {
      {[&] { dir.Write("IMG.Exif", ""); }, text::kBackupPlaceEmpty},
      {[&] { dir.Write("IMG.Exif", "Not a backup at all, but somebody's notes"); },
       text::kBackupPlaceDamaged},
      {[&] { std::filesystem::create_directory(backup); }, text::kBackupPlaceNotAFile},
      {[&] { std::filesystem::create_symlink(dir.File("nowhere"), backup); },
       text::kBackupPlaceDanglingLink},
  };
  for (const auto& [make, why] : cases) {
    SCOPED_TRACE(why);
    std::filesystem::remove_all(backup);
    dir.Write("IMG.jpg", PhotoWithExif("Camera"));
    make();
    const FolderContents before = Snapshot(dir.Path());
    Session& s = Fresh();
    s.DrawImage(photo);
    s.SetFieldText(0, "Edited");
    s.refuseDoubtfulChanges = true;
    host.messages.clear();
    EXPECT_EQ(s.cmdExifWrite_Click(), Outcome::kFailed);
    EXPECT_NE(host.messages.back().text.find(why), std::string::npos) << host.messages.back().text;
    EXPECT_TRUE(SameFolder(Snapshot(dir.Path()), before));
    s.refuseDoubtfulChanges = false;
    host.messages.clear();
    ASSERT_EQ(s.cmdExifWrite_Click(), Outcome::kDone);
    EXPECT_TRUE(host.messages.at(0).text.starts_with(text::kOriginalNotSaved));
    EXPECT_TRUE(host.messages.at(0).defaultNo);
    FolderContents after = Snapshot(dir.Path());
    after.erase("IMG.jpg");
    EXPECT_TRUE(SameFolder(after, [&] {
      FolderContents unchanged = before;
      unchanged.erase("IMG.jpg");
      return unchanged;
    }()));
  }
}

// Dates nobody can read (a camera with its clock unset, 30 February) keep
// their bytes, each of the three its own; a date typed that cannot be read
// is refused on every route, never written as a made-up one; a photograph
// without a date gets no empty date entries; a year below 1000 keeps its
// four digits.
TEST_F(OutsideFaults, DatesNobodyCanReadKeepTheirBytesAndTypedOnesMustBeDates) {
  const std::string tiff =
      TiffBuilder()
          .Ifd0({Ascii(0x010F, "Clockless"), Ascii(0x0132, "2001:02:30 10:00:00")})
          .ExifIfd({Ascii(0x9003, "0000:00:00 00:00:00"), Ascii(0x9004, "    :  :     :  :  ")})
          .Build();
  const std::string photo = dir.Write("IMG.jpg", JpegBuilder().App1Exif(tiff).Scan().Build());
  const std::string bare = dir.Write(
      "bare.jpg",
      JpegBuilder()
          .App1Exif(
              TiffBuilder().Ifd0({Ascii(0x010F, "No date")}).ExifIfd({Short(0x8827, 100)}).Build())
          .Scan()
          .Build());
  Session& s = Fresh();
  for (const std::string& path : {photo, bare}) {
    s.DrawImage(path);
    s.SetFieldText(field::kCopyright, "Dates untouched");
    ASSERT_EQ(s.cmdExifWrite_Click(), Outcome::kDone);
  }
  EXPECT_EQ(ReadDates(photo), "2001:02:30 10:00:00|0000:00:00 00:00:00|    :  :     :  :  |");
  EXPECT_EQ(ReadDates(bare), "-|-|-|");

  for (const char* typed : {"2001/02/30 10:00:00", "30 February", "0000/01/01 00:00:00"}) {
    SCOPED_TRACE(typed);
    s.DrawImage(photo);
    s.SetFieldText(field::kDate, typed);
    host.messages.clear();
    EXPECT_EQ(s.cmdExifWrite_Click(), Outcome::kFailed);
    EXPECT_EQ(host.messages.back().text, text::kDateFormatWrong);
    EXPECT_EQ(host.messages.back().title, text::kDateFormatWrongTitle);
    PhotoEdits edits;
    edits.texts[field::kDate] = typed;
    EXPECT_EQ(s.WriteToList({photo}, [&](const Session&, std::size_t) { return edits; }),
              Outcome::kFailed);
    EXPECT_EQ(s.lastRun.outcomes.at(0).reason, Joined({text::kDateFormatWrong, " ", typed}));
  }
  EXPECT_EQ(ReadDates(photo), "2001:02:30 10:00:00|0000:00:00 00:00:00|    :  :     :  :  |");

  s.DrawImage(photo);
  s.SetFieldText(field::kDate, "0999/12/31 10:00:00");
  ASSERT_EQ(s.cmdExifWrite_Click(), Outcome::kDone);
  EXPECT_EQ(ReadDates(photo), "0999:12:31 10:00:00|0999:12:31 10:00:00|0999:12:31 10:00:00|");
  EXPECT_EQ(s.txtExif[field::kDate], "0999/12/31 10:00:00") << "read back as written";
}

// One photograph named four ways in one list (its path, ./path, a link, a
// hard link): shifted once; the preview names the entry listed before.
TEST_F(OutsideFaults, APhotographListedTwiceIsWrittenOnce) {
  const std::string photo = dir.Write("IMG.jpg", PhotoWithExif("Once"));
  std::filesystem::create_symlink(photo, dir.File("link.jpg"));
  std::filesystem::create_hard_link(photo, dir.File("hard.jpg"));
  const std::vector<std::string> list = {photo, dir.File("./IMG.jpg"), dir.File("link.jpg"),
                                         dir.File("hard.jpg")};
  Session& s = Fresh();
  s.Image1_DropFiles(list);
  EXPECT_EQ(s.ShiftDates(3600), Outcome::kDone);
  const ListPreview& preview = host.previewed.at(0);
  EXPECT_EQ(preview.photos[1].sameAs, 0);
  EXPECT_EQ(preview.photos[3].sameAs, 0);
  EXPECT_EQ(ResultWords(s.lastRun.outcomes), "written skipped skipped skipped");
  EXPECT_EQ(ReadDates(photo), "2008:05:30 16:56:01|2008:05:30 16:56:01|2008:05:30 16:56:01|");
}

// The preview (a dry run) makes every check the write makes: what it
// refuses, and why, is what the write then refuses.
TEST_F(OutsideFaults, APreviewRefusesWhatTheWriteRefusesForTheSameReason) {
  std::vector<std::string> list = {dir.Write("plain.jpg", PhotoWithExif("Plain")),
                                   dir.Write("locked.jpg", PhotoWithExif("Locked")),
                                   dir.Write("gif.jpg", "GIF89a"),
                                   dir.Write("shared.jpg", PhotoWithExif("Shared")),
                                   dir.Write("junk.jpg", PhotoWithExif("Junk"))};
  ::chmod(list[1].c_str(), 0444);
  dir.Write("shared.thm", PhotoWithExif("Beside"));
  dir.Write("junk.Exif", "not a backup");
  Session& s = Fresh();
  PhotoEdits edits;
  edits.texts[field::kCopyright] = "Checked";
  const EditsFor same = [&](const Session&, std::size_t) { return edits; };
  const ListPreview preview = s.PreviewList(list, same);
  EXPECT_EQ(s.WriteToList(list, same), Outcome::kFailed);
  ASSERT_EQ(preview.photos.size(), s.lastRun.outcomes.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    SCOPED_TRACE(list[i]);
    EXPECT_EQ(preview.photos[i].problem, s.lastRun.outcomes[i].reason);
    EXPECT_EQ(preview.photos[i].problem.empty(), i == 0);
  }
}

}  // namespace
}  // namespace tagloom
