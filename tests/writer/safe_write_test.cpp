// The safe writes of a photograph and of its backup file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "reader/backup_format.h"
#include "support/faulty_file_system.h"
#include "support/fixture_builder.h"
#include "support/temp_dir.h"
#include "writer/backup_writer.h"
#include "writer/splice.h"

namespace tagloom {
namespace {

using test::FaultyFileSystem;
using test::FsCall;
using test::ReadFile;
using Problem = WriteResult::Problem;
using Step = FileFailure::Step;
namespace fs = std::filesystem;

struct : CopyProgress {
  void Start(std::int64_t) override {}
  void Advance(std::int64_t) override {}
} noProgress;

int SegmentLength(const std::string& segment) {
  return static_cast<std::uint8_t>(segment[2]) * 256 + static_cast<std::uint8_t>(segment[3]);
}

// A segment as a backup copies it from a photograph (L + 2 bytes), and as the
// writer builds it: its length counts its marker, so it lacks the last two.
const std::string kCopied =
    test::ExifSegment(test::TiffBuilder().Ifd0({test::Ascii(0x010F, "Copied")}).Build());
const std::string kBuilt = kCopied.substr(0, kCopied.size() - 2);
const auto Piece = [] { return test::JpegBuilder().WithoutSoi(); };
const std::string kApp0 = Piece().App0Jfif().Build(), kXmp = Piece().App1Xmp().Build();
const std::string kScan = Piece().Scan(8000).Build();
const std::string kAfter = kApp0 + kCopied + kXmp + kScan, kKept = kApp0 + kXmp + kScan;

// A photograph and its backup file in a folder of their own; `expected` is the
// photograph spliced: the backup's segment first, the EXIF segments dropped.
struct Scene {
  explicit Scene(std::string after = kAfter, std::string kept = kKept,
                 const std::string& segment = kBuilt)
      : old("\xFF\xD8" + after), expected("\xFF\xD8" + segment) {
    dir.Write("IMG_1.JPG", old);
    dir.Write("IMG_1.Exif", test::BackupFile(segment));
    expected.resize(static_cast<std::size_t>(SegmentLength(segment)) + 4, '\0');
    expected += kept;
  }
  WriteResult Splice(FileSystem& files) {
    return SpliceExifSegment(photo, backup, files, noProgress);
  }
  std::string Photo() const { return ReadFile(photo); }

  test::TempDir dir;
  std::string photo = dir.File("IMG_1.JPG"), backup = dir.File("IMG_1.Exif");
  std::string parked = photo + ".%#%";
  std::string old, expected;
};

// The failed calls that stop a write before the swap, and at which step; the others (removing
// a name that may not be there, setting the mode, a hint to the disk) do not.
const std::map<FsCall, Step> kStepOf = {
    {FsCall::kOpen, Step::kCreate}, {FsCall::kWrite, Step::kWrite},
    {FsCall::kClose, Step::kWrite}, {FsCall::kFsync, Step::kSync},
    {FsCall::kLink, Step::kPark},   {FsCall::kRename, Step::kRename}};

// A photograph spliced, or a backup file written, first without a failure,
// then with each call of that run failing in turn.
TEST(SafeWrite, AFailureAtAnyCallLeavesTheFileAsItWasAndNamesTheFailure) {
  // Large enough for the copy to reach the disk in several writes.
  const std::string large = Piece().Scan(2'500'000).Build();
  using Write = std::tuple<std::string, std::string, std::string, bool>;  // true: the backup
  for (const auto& [after, kept, segment, backup] :
       {Write{kAfter, kKept, kBuilt, false}, Write{kCopied + large, large, kCopied, false},
        Write{kAfter, kKept, kCopied, true}}) {
    std::vector<std::pair<FsCall, std::string>> calls;
    std::map<FsCall, int> seen;
    bool afterSwap = false;
    for (std::size_t n = 0; n <= calls.size(); ++n) {
      Scene s(after, kept, segment);
      const std::string target = backup ? s.backup : s.photo, before = ReadFile(target);
      const std::string written = backup ? std::string(kBackupHeader) + kBuilt : s.expected;
      const FsCall call = n == 0 ? FsCall::kOpen : calls[n - 1].first;
      const int nth = n == 0 ? -1 : ++seen[call];
      SCOPED_TRACE(test::FsCallName(call) + (" " + std::to_string(nth) + " of " + target));
      FaultyFileSystem files;
      files.FailNth(call, nth, ENOSPC);
      WriteResult result = backup ? WriteBackupFile(target, kBuilt, files) : s.Splice(files);
      EXPECT_EQ(files.failuresInjected, n == 0 ? 0 : 1);
      EXPECT_FALSE(fs::exists(target + ".$$$"));
      if (n == 0) {
        calls = files.calls;
        EXPECT_TRUE(!backup || files.CountOf(FsCall::kLink) == 0);  // a backup is only renamed
      }
      const bool stops = n > 0 && !afterSwap && kStepOf.count(call) > 0;
      afterSwap |= n > 0 && call == FsCall::kRename;
      if (!stops) {
        ASSERT_TRUE(result.Ok());
        EXPECT_TRUE(ReadFile(target) == written);
        // Only a failed removal of the parked name leaves it, holding the old photograph.
        EXPECT_TRUE(!fs::exists(s.parked) ||
                    (call == FsCall::kUnlink && ReadFile(s.parked) == s.old));
        continue;
      }
      EXPECT_EQ(result.problem, Problem::kFile);
      EXPECT_EQ(result.file.step, kStepOf.at(call));
      EXPECT_EQ(result.file.error, ENOSPC);
      const bool onTarget = call == FsCall::kLink || call == FsCall::kRename;
      EXPECT_EQ(result.file.path, onTarget ? target : target + ".$$$");
      EXPECT_TRUE(ReadFile(target) == before);
      EXPECT_FALSE(fs::exists(s.parked));
    }
  }
}

// A bad backup or photograph is refused before any file call; a photograph
// that another program removes, shortens or changes while the new one is
// written is not replaced by a copy of what it was.
TEST(SpliceExifSegment, ABadOrChangedPhotographIsNotReplaced) {
  using Act = std::function<void(Scene&)>;
  const std::string header(kBackupHeader);
  auto backup = [](std::string bytes) -> Act {
    return [bytes](Scene& s) { s.dir.Write("IMG_1.Exif", bytes); };
  };
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
           {[](Scene& s) { fs::remove(s.backup); }, Problem::kBackupMissing},
           {backup(""), Problem::kBackupDamaged},
           {backup(header + "\xFF\xE0" + kBuilt.substr(2)), Problem::kBackupDamaged},
           {backup(header + kBuilt.substr(0, kBuilt.size() - 1)), Problem::kBackupDamaged},
           {[](Scene& s) { s.dir.Write("IMG_1.JPG", "GIF89a..."); }, Problem::kNotJpeg},
           {remove, Problem::kPhotoUnreadable},
           {remove, Problem::kPhotoUnreadable, FsCall::kWrite},
           {remove, Problem::kPhotoUnreadable, FsCall::kStartWriteback},
           {[](Scene& s) { fs::resize_file(s.photo, 3000); }, Problem::kVerifyFailed,
            FsCall::kWrite},
           {[](Scene& s) { fs::resize_file(s.photo, 0); }, Problem::kVerifyFailed,
            FsCall::kStartWriteback},
           {scribble, Problem::kVerifyFailed, FsCall::kStartWriteback},
       }) {
    Scene s;
    FaultyFileSystem files;
    if (c.during) files.BeforeNth(*c.during, 1, [&] { c.act(s); });
    if (!c.during) c.act(s);
    const std::string before = s.Photo();
    EXPECT_EQ(s.Splice(files).problem, c.problem);
    EXPECT_EQ(files.CountOf(FsCall::kRename) + files.CountOf(FsCall::kLink), 0);
    EXPECT_FALSE(fs::exists(s.photo + ".$$$"));
    if (!c.during) {
      EXPECT_TRUE(files.calls.empty() && s.Photo() == before);
    } else if (c.problem == Problem::kPhotoUnreadable) {
      EXPECT_FALSE(fs::exists(s.photo));  // a removed photograph does not come back
    } else {
      EXPECT_TRUE(s.Photo() != s.expected && s.Photo() != s.old);  // what the other program left
    }
  }
}

// Every EXIF APP1 among the header segments goes, the others stay in order, the built segment
// gets its two zero bytes, the photograph keeps its mode; leftovers of a killed run are
// replaced, and without hard links (FAT, exFAT) a rename alone swaps.
TEST(SpliceExifSegment, OnlyTheExifSegmentsAmongTheHeaderSegmentsAreReplaced) {
  const std::string exif2 = test::ExifSegment(
      test::TiffBuilder(test::ByteOrder::kBig).Ifd0({test::Short(0x0112, 3)}).Build());
  const std::string icc = Piece().App2Icc().Build(), app13 = Piece().App13().Build();
  const std::string com = Piece().Segment(0xFE, "a comment").Build();
  struct Case {
    std::string after;    // the photograph after its start-of-image marker
    std::string kept;     // what follows the new segment
    std::size_t dropped;  // bytes of the EXIF segments dropped
    fs::perms mode;
    int linkError;
  };
  const std::size_t exif = kCopied.size();
  const mode_t umask = ::umask(022);
  for (const Case& c : std::initializer_list<Case>{
           {kApp0 + kCopied + kXmp + icc + app13 + com + kScan,
            kApp0 + kXmp + icc + app13 + com + kScan, exif, fs::perms(0644), 0},
           {kCopied + kApp0 + exif2 + kScan, kApp0 + kScan, exif + exif2.size(), fs::perms(0666),
            EPERM},
           {kXmp + icc + kCopied + kScan, kXmp + icc + kScan, exif, fs::perms(0600), EOPNOTSUPP},
           {kScan, kScan, 0, fs::perms(0444), EXDEV},
           {kApp0 + kScan + kCopied, kApp0 + kScan + kCopied, 0, fs::perms(0664), EMLINK},
       }) {
    Scene s(c.after, c.kept);
    fs::permissions(s.photo, c.mode);
    s.dir.Write("IMG_1.JPG.$$$", "half a photograph");
    s.dir.Write("IMG_1.JPG.%#%", "an old photograph");
    FaultyFileSystem files;
    files.FailNth(FsCall::kLink, 0, c.linkError);
    WriteResult result = s.Splice(files);
    ASSERT_TRUE(result.Ok());
    const auto l = static_cast<std::size_t>(SegmentLength(kBuilt));
    EXPECT_EQ(result.segmentLength, static_cast<std::int64_t>(l));
    EXPECT_TRUE(s.Photo() == "\xFF\xD8" + kBuilt + std::string(2, '\0') + c.kept);
    EXPECT_EQ(s.Photo().size(), 2 + c.after.size() - c.dropped + (l + 2));
    EXPECT_EQ(fs::status(s.photo).permissions(), c.mode);
    EXPECT_EQ(files.CountOf(FsCall::kRename), 1);
    EXPECT_FALSE(fs::exists(s.photo + ".$$$") || fs::exists(s.parked));
  }
  ::umask(umask);
}

TEST(BackupPhotoSegment, CopiesTheWholeSegmentOrRefusesAPhotographThatNoLongerHoldsIt) {
  const std::string photo = "\xFF\xD8" + kApp0 + kCopied + kScan;
  const std::int64_t at = 20, length = SegmentLength(kCopied);  // after SOI and JFIF
  // A segment of fewer than 30 bytes is backed up like any other.
  const std::string tiny(
      "\xFF\xE1\x00\x0A"
      "Exif\0\0II",
      12);
  Scene small;
  small.dir.Write("IMG_1.JPG", "\xFF\xD8" + tiny + kScan);
  EXPECT_TRUE(
      BackupPhotoSegment(small.photo, 2, 10, small.backup, RealFileSystem(), noProgress).Ok());
  EXPECT_EQ(ReadFile(small.backup), std::string(kBackupHeader) + tiny);

  using Row = std::tuple<std::string, std::int64_t, std::int64_t, Problem>;
  for (const auto& [jpeg, offset, size, problem] : std::initializer_list<Row>{
           {photo, at, length, Problem::kNone},
           {photo, at + 1, length, Problem::kPhotoChanged},
           {photo, at, length - 1, Problem::kPhotoChanged},
           {photo.substr(0, 40), at, length, Problem::kPhotoChanged},  // cut inside the segment
           {"", at, length, Problem::kPhotoUnreadable},
       }) {
    Scene s;
    s.dir.Write("IMG_1.JPG", jpeg);
    if (jpeg.empty()) fs::remove(s.photo);
    FaultyFileSystem files;
    EXPECT_EQ(BackupPhotoSegment(s.photo, offset, size, s.backup, files, noProgress).problem,
              problem);
    const bool ok = problem == Problem::kNone;
    EXPECT_EQ(files.calls.empty(), !ok);
    EXPECT_EQ(ReadFile(s.backup),
              ok ? std::string(kBackupHeader) + kCopied : test::BackupFile(kBuilt));
  }
}

}  // namespace
}  // namespace tagloom

namespace tagloom {
namespace {

// A photograph reached through a symbolic link is replaced where it lies:
// the link stays a link, to the new content.
TEST(SpliceExifSegment, APhotographBehindALinkIsReplacedWhereItLies) {
  Scene scene;
  const std::string link = scene.dir.File("link.JPG");
  ASSERT_EQ(::symlink(scene.photo.c_str(), link.c_str()), 0);
  ASSERT_TRUE(SpliceExifSegment(link, scene.backup, RealFileSystem(), noProgress).Ok());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(scene.Photo(), scene.expected);
}

}  // namespace
}  // namespace tagloom
