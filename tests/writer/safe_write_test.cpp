// The safe writes of a photograph and of its backup file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <set>

#include "reader/backup_format.h"
#include "reader/jpeg_segments.h"
#include "support/differences.h"
#include "support/faulty_file_system.h"
#include "support/fixture_builder.h"
#include "support/temp_dir.h"
#include "writer/backup_writer.h"
#include "writer/commit_group.h"
#include "writer/interrupt_cleanup.h"
#include "writer/photo_write.h"

namespace tagloom {
namespace {

using test::FaultyFileSystem;
using test::FsCall;
using test::OldOrNew;
using test::ReadFile;
using test::SameBytes;
using Problem = WriteResult::Problem;
using Step = FileFailure::Step;
namespace fs = std::filesystem;

NoProgress noProgress;

const std::string kHeader(kBackupHeader);
// A segment as a backup copies it from a photograph (L + 2 bytes), and as the
// writer builds it: its length counts its marker, so it lacks the last two.
const std::string kCopied =
    test::ExifSegment(test::TiffBuilder().Ifd0({test::Ascii(0x010F, "Copied")}).Build());
const std::string kBuilt = kCopied.substr(0, kCopied.size() - 2);
const auto Piece = [] { return test::JpegBuilder().WithoutSoi(); };
const std::string kApp0 = Piece().App0Jfif().Build(), kXmp = Piece().App1Xmp().Build();
const std::string kScan = Piece().Scan(8000).Build();
const std::string kOldExif =
    test::ExifSegment(test::TiffBuilder().Ifd0({test::Ascii(0x010F, "Old")}).Build());

// A photograph and its backup file in a folder of their own.
struct Scene {
  explicit Scene(std::string after = kApp0 + kOldExif + kXmp + kScan,
                 const std::string& backupBytes = test::BackupFile(kBuilt))
      : old("\xFF\xD8" + after) {
    dir.Write("IMG_1.JPG", old);
    dir.Write("IMG_1.Exif", backupBytes);
  }
  // The photograph spliced with `segment`: it first, the EXIF segments gone.
  std::string Spliced(const std::string& segment, const std::string& kept) const {
    std::string whole = segment;
    whole.resize(static_cast<std::size_t>(SegmentLengthOf(segment)) + 2, '\0');
    return "\xFF\xD8" + whole + kept;
  }
  WriteResult Restore(FileSystem& files) {
    return WritePhoto(photo, backup, {true, {}, {}, {}}, files, noProgress);
  }
  PhotoChange Edits(std::optional<SegmentAt> original = std::nullopt) const {
    return {false, kBuilt, original, {}};
  }
  WriteResult Write(FileSystem& files, std::optional<SegmentAt> original = std::nullopt) {
    return WritePhoto(photo, backup, Edits(original), files, noProgress);
  }
  WriteResult BackUp(FileSystem& files, SegmentAt at) {
    return BackupPhotoSegment(photo, at, std::nullopt, backup, files, noProgress);
  }
  std::string Photo() const { return ReadFile(photo); }
  std::string Backup() const { return ReadFile(backup); }

  test::TempDir dir;
  std::string photo = dir.File("IMG_1.JPG"), backup = dir.File("IMG_1.Exif");
  std::string parked = photo + ".%#%";
  std::string old;
};

// Calls whose failure never stops a write: removing a name that may not be
// there, owner and mode, a hint to the disk, the folder's sync.
const std::set<FsCall> kNeverStops = {FsCall::kUnlink, FsCall::kFchmod, FsCall::kFchown,
                                      FsCall::kStartWriteback, FsCall::kSyncFolder};

// Each write run first without a failure, then with each of its calls (its
// reads too) failing in turn: every file holds its old or its new content,
// never anything else, and the failure names the system's error. The first
// write of edits saves the photograph's block into a new backup file before
// the photograph is touched, and removes it again if it fails.
TEST(SafeWrite, AFailureAtAnyCallLeavesEveryFileWholeAndNamesTheFailure) {
  const std::string large = Piece().Scan(2'500'000).Build();  // several writes to the disk
  const SegmentAt oldExifAt{2 + static_cast<std::int64_t>(kApp0.size()), SegmentLengthOf(kOldExif)};
  enum Kind { kRestoreBuilt, kRestoreLarge, kBackup, kWriteEdits };
  for (Kind kind : {kRestoreBuilt, kRestoreLarge, kBackup, kWriteEdits}) {
    SCOPED_TRACE(kind);
    const std::string after = kind == kRestoreLarge ? kOldExif + large : kApp0 + kOldExif + kScan;
    const std::string kept = kind == kRestoreLarge ? large : kApp0 + kScan;
    const std::string segment = kind == kRestoreLarge ? kCopied : kBuilt;
    std::vector<std::pair<FsCall, std::string>> calls;
    std::map<FsCall, int> seen;
    for (std::size_t n = 0; n <= calls.size(); ++n) {
      Scene s(after, test::BackupFile(segment));
      if (kind == kWriteEdits) fs::remove(s.backup);
      const std::string oldBackup = s.Backup();
      const std::string newPhoto = kind == kBackup ? s.old : s.Spliced(segment, kept);
      const std::string newBackup =
          kind == kBackup || kind == kWriteEdits ? kHeader + kOldExif : oldBackup;
      const FsCall call = n == 0 ? FsCall::kOpen : calls[n - 1].first;
      const int nth = n == 0 ? -1 : ++seen[call];
      SCOPED_TRACE("call " + std::to_string(static_cast<int>(call)) + ", number " +
                   std::to_string(nth));
      FaultyFileSystem files;
      files.FailNth(call, nth, EIO);
      WriteResult result = kind == kBackup       ? s.BackUp(files, oldExifAt)
                           : kind == kWriteEdits ? s.Write(files, oldExifAt)
                                                 : s.Restore(files);
      if (n == 0) {
        calls = files.calls;
        ASSERT_TRUE(result.Ok());
        EXPECT_GT(files.CountOf(FsCall::kPread), 0);  // the reads go through it too
      }
      // (A new backup's temporary name, a second name of it, may outlive a failed removal.)
      EXPECT_FALSE(fs::exists(s.photo + ".$$$") ||
                   (fs::exists(s.backup + ".$$$") && call != FsCall::kUnlink));
      const std::string photo = s.Photo(), backup = s.Backup();
      EXPECT_TRUE(OldOrNew(photo, s.old, newPhoto)) << "the photograph";
      EXPECT_TRUE(OldOrNew(backup, oldBackup, newBackup)) << "the backup";
      EXPECT_FALSE(kind == kWriteEdits && photo == newPhoto && backup != newBackup)
          << "the block replaced was not saved";
      if (result.Ok()) {
        EXPECT_TRUE(SameBytes(photo, newPhoto));
        EXPECT_TRUE(SameBytes(backup, newBackup));
        if (fs::exists(s.parked)) {  // only where its removal failed, and whole
          EXPECT_EQ(call, FsCall::kUnlink) << "a parked name was left";
          EXPECT_TRUE(SameBytes(ReadFile(s.parked), s.old));
        }
        continue;
      }
      EXPECT_EQ(kNeverStops.count(call), 0u) << "a failure that needs not stop the write did";
      EXPECT_EQ(result.problem == Problem::kFile ? result.file.error : result.error, EIO);
      EXPECT_FALSE(fs::exists(s.parked));
      EXPECT_TRUE(SameBytes(photo, s.old));
      EXPECT_TRUE(SameBytes(backup, oldBackup));
    }
  }
}

// What is refused before any file call, and a photograph that another program
// removes, shortens or changes while the new one is written.
TEST(SpliceExifSegment, ABadOrChangedPhotographIsNotReplaced) {
  using Act = std::function<void(Scene&)>;
  const Act remove = [](Scene& s) { fs::remove(s.photo); };
  const Act scribble = [](Scene& s) {  // three bytes of the image data
    std::fstream(s.photo, std::ios::in | std::ios::out | std::ios::binary).seekp(-10, std::ios::end)
        << "\x01\x02\x03";
  };
  struct Case {
    Act act;
    Problem problem;
    std::optional<FsCall> during = std::nullopt;  // the act runs right before its first call
  };
  for (const Case& c : std::initializer_list<Case>{
           {[](Scene& s) { fs::permissions(s.photo, fs::perms(0444)); }, Problem::kPhotoReadOnly},
           {[](Scene& s) { fs::remove(s.photo), ::mkfifo(s.photo.c_str(), 0644); },
            Problem::kPhotoNotRegular},
           {remove, Problem::kPhotoUnreadable},
           // Written from the photograph as opened; its name no longer names it.
           {remove, Problem::kPhotoChanged, FsCall::kWrite},
           {[](Scene& s) { fs::resize_file(s.photo, 3000); }, Problem::kReadFailed, FsCall::kWrite},
           {scribble, Problem::kVerifyFailed, FsCall::kStartWriteback},
       }) {
    Scene s;
    FaultyFileSystem files;
    if (c.during) files.BeforeNth(*c.during, 1, [&] { c.act(s); });
    if (!c.during) c.act(s);
    const bool fifo = c.problem == Problem::kPhotoNotRegular;  // reading it would wait for ever
    const std::string before = fifo ? "" : s.Photo();
    EXPECT_EQ(s.Restore(files).problem, c.problem);
    for (FsCall put : {FsCall::kRename, FsCall::kLink, FsCall::kRenameNoReplace})
      EXPECT_EQ(files.CountOf(put), 0) << "call " << static_cast<int>(put);
    EXPECT_FALSE(fs::exists(s.photo + ".$$$"));
    const bool staged = std::any_of(files.calls.begin(), files.calls.end(),
                                    [](const auto& call) { return call.second.ends_with(".$$$"); });
    if (!c.during) {
      EXPECT_FALSE(staged) << "a temporary file was made before the refusal";
      if (!fifo) {
        EXPECT_TRUE(SameBytes(s.Photo(), before));
      }
    }
  }
}

// Every EXIF APP1 among the header segments goes and the others stay in order;
// the photograph keeps its mode, owner and group; without hard links (FAT,
// exFAT) a rename alone swaps.
TEST(SpliceExifSegment, OnlyTheExifSegmentsGoAndThePhotographKeepsItsOwnerAndMode) {
  const std::string exif2 = test::ExifSegment(
      test::TiffBuilder(test::ByteOrder::kBig).Ifd0({test::Short(0x0112, 3)}).Build());
  const std::string icc = Piece().App2Icc().Build(),
                    com = Piece().Segment(0xFE, "a comment").Build();
  struct Case {
    std::string after,
        kept;  // the photograph after its start of image; what follows the new segment
    fs::perms mode;
    int linkError;
  };
  const bool root = ::geteuid() == 0;
  for (const Case& c : std::initializer_list<Case>{
           {kApp0 + kCopied + kXmp + icc + com + kScan, kApp0 + kXmp + icc + com + kScan,
            fs::perms(0644), 0},
           {kCopied + kApp0 + exif2 + kScan, kApp0 + kScan, fs::perms(0666), EPERM},
           {kXmp + icc + kCopied + kScan, kXmp + icc + kScan, fs::perms(0600), EOPNOTSUPP},
           {kApp0 + kScan + kCopied, kApp0 + kScan + kCopied, fs::perms(0640), EXDEV},
       }) {
    Scene s(c.after);
    fs::permissions(s.photo, c.mode);
    if (root) {
      ASSERT_EQ(::chown(s.photo.c_str(), 4242, 4343), 0);
    }
    FaultyFileSystem files;
    files.FailNth(FsCall::kLink, 0, c.linkError);
    ASSERT_TRUE(s.Restore(files).Ok());
    EXPECT_TRUE(SameBytes(s.Photo(), s.Spliced(kBuilt, c.kept)));
    struct stat info {};
    ASSERT_EQ(::stat(s.photo.c_str(), &info), 0);
    EXPECT_EQ(fs::perms(info.st_mode & 07777), c.mode);
    if (root) {
      EXPECT_EQ(std::pair(info.st_uid, info.st_gid), std::pair(4242u, 4343u));
    }
    EXPECT_FALSE(fs::exists(s.photo + ".$$$") || fs::exists(s.parked));
  }
}

TEST(BackupPhotoSegment, CopiesTheWholeSegmentOrRefusesAPhotographThatNoLongerHoldsIt) {
  const std::string photo = "\xFF\xD8" + kApp0 + kCopied + kScan;
  const std::int64_t at = 2 + static_cast<std::int64_t>(kApp0.size()),
                     length = SegmentLengthOf(kCopied);
  using Row = std::tuple<std::string, std::int64_t, std::int64_t, Problem>;
  for (const auto& [jpeg, offset, size, problem] : std::initializer_list<Row>{
           {photo, at, length, Problem::kNone},
           {"\xFF\xD8" +
                std::string("\xFF\xE1\x00\x0A"
                            "Exif\0\0II",
                            12) +
                kScan,
            2, 10, Problem::kNone},  // fewer than 30 bytes: backed up like any other
           {photo, at + 1, length, Problem::kPhotoChanged},
           {photo.substr(0, 40), at, length, Problem::kBlockIncomplete},  // cut inside it
           {"", at, length, Problem::kPhotoUnreadable},
       }) {
    Scene s;
    s.dir.Write("IMG_1.JPG", jpeg);
    if (jpeg.empty()) fs::remove(s.photo);
    FaultyFileSystem files;
    EXPECT_EQ(s.BackUp(files, {offset, size}).problem, problem);
    const bool ok = problem == Problem::kNone;
    EXPECT_EQ(s.Backup(), ok ? kHeader + jpeg.substr(static_cast<std::size_t>(offset),
                                                     static_cast<std::size_t>(size + 2))
                             : test::BackupFile(kBuilt));
  }
}

// A first write's backup takes its free name in one step, else by a hard link,
// else (FAT, exFAT) by a rename after a look; each leaves no temporary name.
TEST(SafeWrite, ANewBackupTakesAFreeNameWhateverTheFileSystemOffers) {
  const SegmentAt oldExifAt{2 + static_cast<std::int64_t>(kApp0.size()), SegmentLengthOf(kOldExif)};
  struct Case {
    int renameError, linkError;
    FsCall putInPlaceBy;
  };
  for (const Case& c : {Case{0, 0, FsCall::kRenameNoReplace}, Case{EINVAL, 0, FsCall::kLink},
                        Case{ENOSYS, EPERM, FsCall::kRename}}) {
    SCOPED_TRACE(c.renameError);
    Scene s;
    fs::remove(s.backup);
    FaultyFileSystem files;
    if (c.renameError != 0) files.FailNth(FsCall::kRenameNoReplace, 0, c.renameError);
    if (c.linkError != 0) files.FailNth(FsCall::kLink, 0, c.linkError);
    ASSERT_TRUE(s.Write(files, oldExifAt).Ok());
    EXPECT_TRUE(SameBytes(s.Backup(), kHeader + kOldExif));
    const auto put = std::find_if(files.calls.begin(), files.calls.end(), [&](const auto& call) {
      return call.first == c.putInPlaceBy && call.second == s.backup + ".$$$";
    });
    EXPECT_NE(put, files.calls.end()) << "the backup was not put in place the way expected";
    EXPECT_FALSE(fs::exists(s.backup + ".$$$"));
  }
}

// A photograph reached through a link is replaced where it lies. A write
// leaves a backup file of any kind alone, a link too: one that cannot keep
// the photograph's block refuses the write until the person chooses to go
// on without saving it. A backup is always written in the photograph's
// folder: a link of its name is replaced by the file, and what it pointed to
// stays as it was.
TEST(SafeWrite, ABackupFileIsNeverWrittenThroughALink) {
  Scene s;
  test::TempDir elsewhere;
  const std::string target = elsewhere.Write("other", "someone else's file");
  fs::remove(s.backup);
  fs::create_symlink(target, s.backup);
  const std::string link = s.dir.File("link.JPG");
  fs::create_symlink(s.photo, link);
  const SegmentAt oldExifAt{2 + static_cast<std::int64_t>(kApp0.size()), SegmentLengthOf(kOldExif)};
  const WriteResult refused =
      WritePhoto(link, s.backup, s.Edits(oldExifAt), RealFileSystem(), noProgress);
  EXPECT_EQ(refused.problem, Problem::kBackupUnusable);
  EXPECT_EQ(refused.backup.place, BackupPlace::kDamaged);
  EXPECT_TRUE(SameBytes(s.Photo(), s.old));
  ASSERT_TRUE(WritePhoto(link, s.backup, s.Edits(), RealFileSystem(), noProgress).Ok());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(SameBytes(s.Photo(), s.Spliced(kBuilt, kApp0 + kXmp + kScan)));
  EXPECT_TRUE(fs::is_symlink(s.backup));
  ASSERT_TRUE(s.BackUp(RealFileSystem(), {2, SegmentLengthOf(kBuilt)}).Ok());
  EXPECT_FALSE(fs::is_symlink(s.backup));
  EXPECT_TRUE(SameBytes(s.Backup(), kHeader + s.Photo().substr(2, kBuilt.size() + 2)));
  EXPECT_EQ(ReadFile(target), "someone else's file");
}

// One writer at a time: while another holds the temporary file's lock, a write
// is refused and changes nothing, not even the other's file; a leftover that
// nobody holds is taken over, and a link under the temporary name is removed,
// never written through.
TEST(SafeWrite, AnotherWritersTemporaryFileIsNeverTouched) {
  Scene s;
  const std::string temp = s.photo + ".$$$";
  s.dir.Write("IMG_1.JPG.$$$", "another writer's half photograph");
  const int held = ::open(temp.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  const std::string backup = s.Backup();
  WriteResult busy = s.Write(RealFileSystem());
  EXPECT_EQ(busy.problem, Problem::kFile);
  EXPECT_EQ(busy.file.step, Step::kBusy);
  EXPECT_EQ(busy.file.path, s.photo);
  EXPECT_TRUE(SameBytes(s.Photo(), s.old));
  EXPECT_TRUE(SameBytes(s.Backup(), backup));
  EXPECT_EQ(ReadFile(temp), "another writer's half photograph");
  ::close(held);

  // A parked name left by a killed run: removed first, and a write that
  // cannot remove it is refused as such, with the photograph as it was.
  s.dir.Write("IMG_1.JPG.%#%", "a parked photograph of a killed run");
  FaultyFileSystem stuck;
  stuck.FailOnPath(FsCall::kUnlink, ".%#%", EACCES);
  const WriteResult leftover = s.Write(stuck);
  EXPECT_EQ(leftover.file.step, Step::kLeftover);
  EXPECT_EQ(leftover.file.path, s.parked);
  EXPECT_TRUE(SameBytes(s.Photo(), s.old));
  ASSERT_TRUE(s.Write(RealFileSystem()).Ok());
  EXPECT_FALSE(fs::exists(temp) || fs::exists(s.parked));

  test::TempDir elsewhere;
  const std::string target = elsewhere.Write("other", "not to be written");
  fs::create_symlink(target, temp);
  ASSERT_TRUE(s.Restore(RealFileSystem()).Ok());
  EXPECT_EQ(ReadFile(target), "not to be written");
  EXPECT_FALSE(fs::exists(temp));
}

// The rename is made durable by a sync of its folder before the old
// content's parked name goes: a crash between leaves one or the other whole.
TEST(SafeWrite, TheFolderIsSyncedAfterTheRenameBeforeTheParkedNameGoes) {
  Scene s(kApp0 + kOldExif + kScan, test::BackupFile(kBuilt));
  FaultyFileSystem files;
  ASSERT_TRUE(s.Restore(files).Ok());
  std::vector<FsCall> order;  // of the calls on the photograph's names
  for (const auto& [made, path] : files.calls) {
    if (path == s.photo + ".$$$" || path == s.photo || path == s.parked) order.push_back(made);
  }
  const std::vector<FsCall> durable = {FsCall::kRename, FsCall::kSyncFolder};
  EXPECT_NE(std::search(order.begin(), order.end(), durable.begin(), durable.end()), order.end())
      << "no sync of the folder right after the rename";
  ASSERT_FALSE(order.empty());
  EXPECT_EQ(order.back(), FsCall::kUnlink) << "the parked name was not removed last";
}

// Ctrl-C or SIGTERM in the middle of a write: the photograph is untouched and
// no photograph-sized temporary file is left.
TEST(SafeWrite, AnInterruptedWriteLeavesNoTemporaryFile) {
  Scene s(kApp0 + kOldExif + Piece().Scan(3'000'000).Build());
  const pid_t child = ::fork();
  if (child == 0) {
    RemoveTemporaryFilesOnInterrupt();
    FaultyFileSystem files;
    files.BeforeNth(FsCall::kWrite, 2, [] { ::raise(SIGTERM); });
    s.Restore(files);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << status;
  EXPECT_EQ(WTERMSIG(status), SIGTERM);
  EXPECT_FALSE(fs::exists(s.photo + ".$$$"));
  EXPECT_TRUE(SameBytes(s.Photo(), s.old));
}

// Three photographs staged without a sync each, the second of which cannot
// take its name: one sync of the file system before any rename, one sync of
// their folder after; the others written, it old, and no backup of its own
// left behind.
TEST(CommitGroup, OneSyncPutsEveryPhotographInPlaceAndAFailureKeepsTheOldContent) {
  test::TempDir dir;
  FaultyFileSystem files;
  const std::string photo = "\xFF\xD8" + kOldExif + kScan;
  const SegmentAt own{2, SegmentLengthOf(kOldExif)};
  CommitGroup group(files);
  for (const char* name : {"0", "1", "2"}) {
    WriteResult staged;
    group.Add(StagePhoto(dir.Write(std::string(name) + ".jpg", photo),
                         dir.File(std::string(name) + ".Exif"), {false, kBuilt, own, {}}, files,
                         noProgress, false, staged));
    ASSERT_TRUE(staged.Ok());
  }
  EXPECT_EQ(files.CountOf(FsCall::kFsync), 0);  // nothing synced one by one
  files.FailNth(FsCall::kRename, 2, EIO);
  const std::size_t staged = files.calls.size();
  const std::vector<WriteResult> results = group.Commit();
  EXPECT_EQ(files.calls.at(staged).first, FsCall::kSyncFileSystem);
  EXPECT_EQ(files.CountOf(FsCall::kSyncFileSystem), 1);
  EXPECT_EQ(files.CountOf(FsCall::kSyncFolder), 1);
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[1].file.step, Step::kRename);
  EXPECT_EQ(results[1].file.error, EIO);
  for (std::size_t i = 0; i < 3; ++i) {
    const std::string name = std::to_string(i);
    EXPECT_EQ(results[i].Ok(), i != 1);
    EXPECT_EQ(ReadFile(dir.File(name + ".jpg")) == photo, i == 1) << name;
    EXPECT_EQ(fs::exists(dir.File(name + ".Exif")), i != 1) << "a backup left of a failed write";
    EXPECT_FALSE(fs::exists(dir.File(name + ".jpg.$$$")) ||
                 fs::exists(dir.File(name + ".jpg.%#%")));
  }
}

}  // namespace
}  // namespace tagloom
