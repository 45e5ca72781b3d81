// The write to every photograph of the list: its preview, the photographs it
// writes, leaves alone or refuses, its summary, and a stop between photographs.
#include <sys/stat.h>

#include <locale>

#include "editor/editor_support.h"
#include "support/faulty_file_system.h"

namespace tagloom {
namespace {

using namespace test;

class SessionList : public SessionTest {
 protected:
  SessionList() { session.numberLocale = std::locale::classic(); }
  // The list dropped, batch mode ticked, the copyright area kept with `copyright`.
  void KeepCopyright(const std::vector<std::string>& paths, const std::string& copyright) {
    std::vector<std::string> list = paths;
    session.Image1_DropFiles(list);
    session.SetBatch(true);
    session.SetKeep(kAreaCopyright, true);
    session.SetFieldText(field::kCopyright, copyright);
    host.messages.clear();
    host.previewed.clear();
  }
  std::string Results() const { return ResultWords(session.lastRun.outcomes); }
  std::string CopyrightOf(const std::string& path) {
    RecordingHost quiet;
    Session reader(quiet);
    reader.GetExifData(path);
    return reader.txtExif[field::kCopyright] + "|" + reader.txtExif[0];
  }
};

// A photograph that already holds the copyright is left alone; a missing one,
// a FIFO and a read-only one are refused with their reasons, and the others
// are written, every other field kept, their blocks before saved as backups;
// the one on show is read afresh. No writes nothing; "only this photograph"
// is the write of one with its own question.
TEST_F(SessionList, TheKeptAreaGoesToEveryPhotographAndEachOutcomeIsSummedUp) {
  const std::string camera = dir.Write("a.jpg", PhotoWithExif("Cam"));
  const std::string same =
      dir.Write("b.jpg", JpegBuilder()
                             .App1Exif(TiffBuilder().Ifd0({Ascii(0x8298, "X")}).ExifIfd({}).Build())
                             .Scan()
                             .Build());
  const std::string scan = dir.Write("c.jpg", PhotoWithoutExif());
  const std::string locked = dir.Write("d.jpg", PhotoWithExif("Locked"));
  ::chmod(locked.c_str(), 0444);
  const std::string fifo = dir.File("e.jpg");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string damaged = dir.Write("f.jpg", "GIF89a, not a JPEG");
  const std::vector<std::string> list = {camera, same,   dir.File("gone.jpg"), scan, locked,
                                         fifo,   damaged};
  KeepCopyright(list, "Y");
  const FolderContents before = Snapshot(dir.Path());
  host.listAnswers = {ListAnswer::kNone, ListAnswer::kOnlyShown};
  EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kDeclined);
  EXPECT_TRUE(SameFolder(Snapshot(dir.Path()), before));
  EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);  // the photograph on show alone
  EXPECT_EQ(host.messages[0].text, text::kConfirmRewriteExif);
  EXPECT_EQ(CopyrightOf(camera) + " " + CopyrightOf(same), "Y|Cam X|");

  session.SetFieldText(field::kCopyright, "X");
  host.previewed.clear();
  host.messages.clear();
  EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kFailed);
  ASSERT_EQ(host.previewed.size(), 1u);
  const ListPreview& preview = host.previewed[0];
  ASSERT_EQ(preview.photos.size(), list.size());
  EXPECT_EQ(preview.shown, 0);
  const std::vector<FieldChange>& changed = preview.photos[0].changes;
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(std::to_string(changed[0].field) + changed[0].before + changed[0].after, "3YX");
  EXPECT_TRUE(preview.photos[1].changes.empty() && preview.photos[1].problem.empty());
  EXPECT_EQ(preview.photos[2].problem, text::kNoImageFile);
  EXPECT_EQ(Results(), "written unchanged missing written refused missing refused");
  EXPECT_EQ(session.lastRun.outcomes[4].reason, std::string(text::kPhotoReadOnly) + locked);
  EXPECT_EQ(session.lastRun.outcomes[6].reason, std::string(text::kNotJpeg) + damaged);
  EXPECT_EQ(CopyrightOf(camera) + " " + CopyrightOf(scan) + " " + CopyrightOf(locked),
            "X|Cam X| (c) Ann Lee|Locked");
  EXPECT_TRUE(std::filesystem::exists(dir.File("a.Exif")) &&
              !std::filesystem::exists(dir.File("c.Exif")));
  ASSERT_EQ(host.summaries.size(), 1u);
  EXPECT_EQ(
      host.summaries[0].text,
      Joined({text::kListSummary, "\r\n", text::kFilesProcessed, "7\r\n", text::kListWrittenCount,
              "2\r\n", text::kListUnchangedCount, "1\r\n", text::kListRefusedCount, "4\r\n"}));
  EXPECT_EQ(session.lastRun.outcomes[0].changes.size(), 1u) << "what changed in each";
  EXPECT_EQ(session.txtExif[field::kCopyright] + " " + session.ImageFileName, "X " + camera);
  EXPECT_FALSE(host.stopOffered);
}

// A stop is asked for between photographs: the run ends before the next one
// and says how far it got.
TEST_F(SessionList, AStopEndsTheRunBeforeTheNextPhotograph) {
  const std::vector<std::string> list = Photos("roll", 4);
  KeepCopyright(list, "Z");
  int asked = 0;
  host.stop = [&] { return ++asked > 2; };
  EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kStopped);
  EXPECT_EQ(Results(), "written written not reached not reached");
  EXPECT_EQ(CopyrightOf(list[1]) + " " + CopyrightOf(list[2]), "Z|roll1 (c) Ann Lee|roll2");
  ASSERT_EQ(host.summaries.size(), 1u);
  EXPECT_NE(host.summaries[0].text.find(Joined({text::kListNotReachedCount, "2"})),
            std::string::npos);
}

// A list longer than a group, whose second sync fails: each photograph takes
// its name only after a sync that began once its new file was made, one sync
// serves many photographs, and the group the failed sync was to cover stays
// old, each of its photographs refused with the reason.
TEST_F(SessionList, PhotographsTakeTheirNamesOnlyAfterTheSyncOfTheirGroup) {
  const std::vector<std::string> list = Photos("roll", 150);
  FaultyFileSystem files;
  files.FailNth(FsCall::kSyncFileSystem, 2, EIO);
  Session run(host, files);
  run.numberLocale = std::locale::classic();
  run.Image1_DropFiles(list);
  run.SetBatch(true);
  run.SetKeep(kAreaCopyright, true);
  run.SetFieldText(field::kCopyright, "G");
  EXPECT_EQ(run.cmdExifWrite_Click(), Outcome::kFailed);

  std::map<std::string, std::size_t> made;  // each temporary file, where it was made
  std::size_t lastSync = 0, syncs = 0, placed = 0;
  for (std::size_t at = 0; at < files.calls.size(); ++at) {
    const auto& [call, path] = files.calls[at];
    if (call == FsCall::kSyncFileSystem) {
      lastSync = at;
      ++syncs;
    } else if (call == FsCall::kOpen && path.ends_with(".$$$")) {
      made[path] = at;
    } else if ((call == FsCall::kRename || call == FsCall::kLink ||
                call == FsCall::kRenameNoReplace) &&
               made.contains(path)) {
      ++placed;
      EXPECT_GT(lastSync, made[path]) << path << " took its name before a sync covered it";
    }
  }
  EXPECT_GE(placed, list.size()) << "photographs and their backups put in place";
  EXPECT_LE(syncs, list.size() / 10) << "syncs of the file system";

  std::size_t refused = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const PhotoOutcome& outcome = run.lastRun.outcomes[i];
    const bool written = outcome.result == PhotoResult::kDone;
    refused += written ? 0 : 1;
    EXPECT_EQ(CopyrightOf(list[i]).substr(0, 2), written ? "G|" : "(c")
        << list[i] << " is " << ResultWords({outcome});
    if (!written) {
      EXPECT_TRUE(outcome.reason.starts_with(text::kCannotSync)) << outcome.reason;
      EXPECT_FALSE(std::filesystem::exists(list[i] + ".$$$")) << "a temporary file left";
    }
  }
  EXPECT_GT(refused, 1u) << "the second group refused";
  EXPECT_LT(refused, list.size() - 1) << "the first and third groups written";
}

// Dates for the list: a shift by an offset (a photograph without a date is
// refused), the offset that a photograph of a clock tells, and a sequence in
// reversed list order (which gives a scan without a date one); a write sets
// all three dates.
TEST_F(SessionList, DatesShiftByAnOffsetOrByAClockAndFollowInSequence) {
  std::vector<std::string> list = Photos("cam", 3);
  list.push_back(dir.Write("scan.jpg", PhotoWithoutExif()));
  session.Image1_DropFiles(list);
  auto dates = [&] {
    std::string all;
    for (const std::string& path : list) {
      RecordingHost quiet;
      Session reader(quiet);
      reader.GetExifData(path);
      const RecordStore& s = reader.store;
      const std::string& original = s.lstValue.Row(row::kDateTimeOriginal);
      const bool same = s.lstValue.Row(row::kDateTime) == original &&
                        s.lstValue.Row(row::kDateTimeDigitized) == original;
      all += (same ? original : "three dates differ") + "|";
    }
    return all;
  };
  EXPECT_EQ(session.ShiftDates(*ParseOffset("+1 01:00:00")), Outcome::kFailed);
  EXPECT_EQ(Results(), "written written written refused");
  EXPECT_EQ(session.lastRun.outcomes[3].reason, text::kNoDateToShift);
  const std::string shifted = "2008:05:31 16:56:01|";
  EXPECT_EQ(dates(), shifted + shifted + shifted + "|");
  // The clock in the first photograph read 17:26:01 (30 minutes more).
  EXPECT_EQ(session.txtExif[field::kDate], "2008/05/31 16:56:01");
  EXPECT_EQ(session.ShiftDatesByClock(*ReadDate("2008:05:31 17:26:01")), Outcome::kFailed);
  const std::string clocked = "2008:05:31 17:26:01|";
  EXPECT_EQ(dates(), clocked + clocked + clocked + "|");
  host.listAnswers = {ListAnswer::kOnlyShown};  // the photograph on show alone gets its shift
  EXPECT_EQ(session.ShiftDates(60), Outcome::kDone);
  EXPECT_EQ(dates(), "2008:05:31 17:27:01|" + clocked + clocked + "|");
  host.previewed.clear();
  EXPECT_EQ(session.NumberDates(*ReadDate("2020:01:01 00:00:00"), 60, true), Outcome::kDone);
  EXPECT_EQ(host.previewed[0].photos[0].changes[0].before, "2008/05/31 17:27:01");
  EXPECT_EQ(dates(),
            "2020:01:01 00:03:00|2020:01:01 00:02:00|2020:01:01 00:01:00|"
            "2020:01:01 00:00:00|");
}

}  // namespace
}  // namespace tagloom
