// The safe writes of a photograph and of its backup file, with the file
// system failing at every step in turn.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "model/edit_back.h"
#include "reader/backup_format.h"
#include "reader/jpeg_segments.h"
#include "support/faulty_file_system.h"
#include "support/fixture_builder.h"
#include "support/temp_dir.h"
#include "writer/backup_writer.h"
#include "writer/exif_segment.h"
#include "writer/file_replacer.h"
#include "writer/splice.h"

namespace tagloom {
namespace {

using test::FaultyFileSystem;
using test::FsCall;
using test::ReadFile;
using test::TempDir;
using Problem = WriteResult::Problem;
using Step = FileFailure::Step;

class Progress : public CopyProgress {
 public:
  void Start(std::int64_t all) override { total = all; }
  void Advance(std::int64_t position) override { positions.push_back(position); }
  std::int64_t total = -1;
  std::vector<std::int64_t> positions;
};

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// Compares file contents without printing them: the first byte that differs.
testing::AssertionResult Same(const std::string& actual, const std::string& expected) {
  if (actual == expected) return testing::AssertionSuccess();
  std::size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  return testing::AssertionFailure() << actual.size() << " bytes where " << expected.size()
                                     << " were expected; the first difference at offset " << at;
}

int SegmentLength(const std::string& segment) {
  return static_cast<std::uint8_t>(segment[2]) * 256 + static_cast<std::uint8_t>(segment[3]);
}

// A segment as a write of edits builds it: its length counts its own marker.
std::string EditedSegment() {
  std::array<std::string, kFieldCount> fields{};
  fields[0] = "Tagloom";
  fields[4] = "2024/1/2 3:04:05";
  fields[13] = "written";
  RecordStore store;
  store.Reset();
  DirectoryCounts counts;
  EXPECT_FALSE(RestoreValue(fields, store, counts));
  BuiltSegment built = AssembleExifSegment(store);
  EXPECT_EQ(built.error, BuildError::kNone);
  return built.bytes;
}

// A segment as a backup copies it from a photograph: length + 2 bytes.
std::string CopiedSegment() {
  return test::ExifSegment(test::TiffBuilder().Ifd0({test::Ascii(0x010F, "Copied")}).Build());
}

// The photograph's bytes after its start-of-image marker without the APP1
// segments that carry EXIF among its header segments.
std::string WithoutExif(const std::string& jpeg) {
  std::string out;
  std::size_t at = 2;
  while (at + 4 <= jpeg.size() && jpeg[at] == '\xFF') {
    auto marker = static_cast<std::uint8_t>(jpeg[at + 1]);
    if (marker == 0xDA || marker == 0xD9) break;
    std::size_t size = 2 + SegmentLength(jpeg.substr(at, 4));
    bool exif = marker == 0xE1 && jpeg.compare(at + 4, 6, std::string("Exif\0\0", 6)) == 0;
    if (!exif) out += jpeg.substr(at, size);
    at += size;
  }
  return at < jpeg.size() ? out + jpeg.substr(at) : out;
}

std::string Canon40D() {
  return ReadFile((test::PhotosDir() / "Canon_40D.jpg").string());
}

// A photograph and its backup file in a folder of their own.
struct Scene {
  explicit Scene(std::string jpeg, std::string backupSegment = EditedSegment())
      : old(std::move(jpeg)), segment(std::move(backupSegment)) {
    dir.Write("IMG_1.JPG", old);
    dir.Write("IMG_1.Exif", test::BackupFile(segment));
    std::string whole = segment;
    whole.resize(static_cast<std::size_t>(SegmentLength(segment)) + 2, '\0');
    expected = "\xFF\xD8" + whole + WithoutExif(old);
  }

  WriteResult Splice(FileSystem& fs) {
    Progress progress;
    return SpliceExifSegment(photo, backup, fs, progress);
  }
  std::string Photo() const { return ReadFile(photo); }

  TempDir dir;
  std::string photo = dir.File("IMG_1.JPG");
  std::string backup = dir.File("IMG_1.Exif");
  std::string temp = photo + ".$$$";
  std::string parked = photo + ".%#%";
  std::string old, segment, expected;
};

Step StepOf(FsCall call) {
  switch (call) {
    case FsCall::kOpen:
      return Step::kCreate;
    case FsCall::kWrite:
    case FsCall::kClose:
      return Step::kWrite;
    case FsCall::kFsync:
      return Step::kSync;
    case FsCall::kLink:
      return Step::kPark;
    case FsCall::kRename:
      return Step::kRename;
    default:
      return Step::kNone;
  }
}

// Failures whose step does not stop a write: removing a name that may not be
// there, setting the mode, and anything after the new file is in place.
bool WriteSurvives(FsCall call, bool afterSwap) {
  return afterSwap || call == FsCall::kUnlink || call == FsCall::kFchmod ||
         call == FsCall::kStartWriteback;  // only a hint to the disk
}

TEST(SpliceExifSegment, AFailureAtAnyStepLeavesThePhotographAsItWas) {
  const std::string canon = Canon40D();
  ASSERT_FALSE(canon.empty());
  // Large enough for the copy to reach the disk in several writes.
  const std::string large =
      test::JpegBuilder()
          .App0Jfif()
          .App1Exif(test::TiffBuilder().Ifd0({test::Ascii(0x010F, "X")}).Build())
          .Scan(2'500'000)
          .Build();
  for (const std::string* jpeg : {&canon, &large}) {
    std::vector<test::FsCallRecord> calls;
    {
      Scene scene(*jpeg);
      FaultyFileSystem fs;
      ASSERT_TRUE(scene.Splice(fs).Ok());
      ASSERT_TRUE(Same(scene.Photo(), scene.expected));
      calls = fs.Calls();
      if (jpeg == &large) {
        EXPECT_GE(fs.CountOf(FsCall::kWrite), 2);
      }
    }
    ASSERT_GE(calls.size(), 8u);
    for (std::size_t n = 1; n <= calls.size(); ++n) {
      const FsCall call = calls[n - 1].call;
      bool afterSwap = false;
      for (std::size_t i = 0; i + 1 < n; ++i) afterSwap |= calls[i].call == FsCall::kRename;
      SCOPED_TRACE("call " + std::to_string(n) + ": " + std::string(test::FsCallName(call)) + " " +
                   calls[n - 1].path + " of a " + std::to_string(jpeg->size()) +
                   "-byte photograph");
      Scene scene(*jpeg);
      FaultyFileSystem fs;
      fs.FailCall(static_cast<int>(n), ENOSPC);
      WriteResult result = scene.Splice(fs);
      EXPECT_EQ(fs.FailuresInjected(), 1);
      EXPECT_FALSE(Exists(scene.temp));
      if (WriteSurvives(call, afterSwap)) {
        EXPECT_TRUE(result.Ok());
        EXPECT_TRUE(Same(scene.Photo(), scene.expected));
        // Only a failed removal of the parked name leaves it, holding the old photograph.
        if (Exists(scene.parked)) {
          EXPECT_TRUE(afterSwap && call == FsCall::kUnlink);
          EXPECT_TRUE(Same(ReadFile(scene.parked), scene.old));
        }
      } else {
        EXPECT_EQ(result.problem, Problem::kFile);
        EXPECT_EQ(result.file.step, StepOf(call));
        EXPECT_EQ(result.file.error, ENOSPC);
        EXPECT_EQ(result.file.path,
                  call == FsCall::kLink || call == FsCall::kRename ? scene.photo : scene.temp);
        EXPECT_TRUE(Same(scene.Photo(), scene.old));
        EXPECT_FALSE(Exists(scene.parked));
      }
    }
  }
}

// Another program removes, shortens or changes the photograph while the new
// one is being written: the photograph is not replaced by a copy of what it was.
TEST(SpliceExifSegment, APhotographChangedDuringTheCopyIsNotReplaced) {
  struct Case {
    const char* what;
    FsCall before;
    std::function<void(const std::string&)> act;
    Problem problem;
  };
  auto remove = [](const std::string& path) { ASSERT_EQ(::unlink(path.c_str()), 0); };
  auto shorten = [](off_t size) {
    return [size](const std::string& path) { ASSERT_EQ(::truncate(path.c_str(), size), 0); };
  };
  auto scribble = [](const std::string& path) {
    // Three bytes of the image data, near the end.
    int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    off_t end = ::lseek(fd, 0, SEEK_END);
    EXPECT_EQ(::pwrite(fd, "\x01\x02\x03", 3, end - 10), 3);
    ::close(fd);
  };
  for (const Case& c : std::initializer_list<Case>{
           {"removed while it is copied", FsCall::kWrite, remove, Problem::kPhotoUnreadable},
           {"removed before the copy is verified", FsCall::kStartWriteback, remove,
            Problem::kPhotoUnreadable},
           {"shortened while it is copied", FsCall::kWrite, shorten(3000), Problem::kVerifyFailed},
           {"emptied before the copy is verified", FsCall::kStartWriteback, shorten(0),
            Problem::kVerifyFailed},
           {"changed in place before the copy is verified", FsCall::kStartWriteback, scribble,
            Problem::kVerifyFailed},
       }) {
    SCOPED_TRACE(c.what);
    Scene scene(Canon40D());
    FaultyFileSystem fs;
    fs.BeforeNth(c.before, 1, [&] { c.act(scene.photo); });
    WriteResult result = scene.Splice(fs);
    EXPECT_EQ(result.problem, c.problem);
    EXPECT_EQ(fs.CountOf(FsCall::kRename), 0);
    EXPECT_FALSE(Exists(scene.temp));
    EXPECT_FALSE(Exists(scene.parked));
    if (c.problem == Problem::kPhotoUnreadable) {
      EXPECT_FALSE(Exists(scene.photo)) << "a removed photograph came back";
    } else {
      EXPECT_FALSE(Same(scene.Photo(), scene.expected));
      EXPECT_FALSE(Same(scene.Photo(), scene.old));  // what the other program left
    }
  }
}

TEST(SpliceExifSegment, ABadBackupOrPhotographIsRefusedBeforeAnyFileIsTouched) {
  const std::string edited = EditedSegment();
  const std::string header(kBackupHeader);
  struct Case {
    const char* what;
    std::function<void(Scene&)> prepare;
    Problem problem;
  };
  auto backup = [](std::string bytes) {
    return [bytes](Scene& s) { ASSERT_FALSE(s.dir.Write("IMG_1.Exif", bytes).empty()); };
  };
  for (const Case& c : std::initializer_list<Case>{
           {"no backup", [](Scene& s) { std::filesystem::remove(s.backup); },
            Problem::kBackupMissing},
           {"a folder for a backup",
            [](Scene& s) {
              std::filesystem::remove(s.backup);
              std::filesystem::create_directory(s.backup);
            },
            Problem::kBackupMissing},
           {"an empty backup", backup(""), Problem::kBackupDamaged},
           {"the header alone", backup(header), Problem::kBackupDamaged},
           {"27 bytes", backup(header + "\xFF\xE1\x00"), Problem::kBackupDamaged},
           {"the header in lower case", backup("vantoro exif backup file" + edited),
            Problem::kBackupDamaged},
           {"another marker", backup(header + "\xFF\xE0" + edited.substr(2)),
            Problem::kBackupDamaged},
           {"a segment cut short", backup(header + edited.substr(0, edited.size() - 1)),
            Problem::kBackupDamaged},
           {"a length of 0", backup(header + std::string("\xFF\xE1\x00\x00", 4) + "Exif"),
            Problem::kBackupDamaged},
           {"a photograph that is no JPEG", [](Scene& s) { s.dir.Write("IMG_1.JPG", "GIF89a..."); },
            Problem::kNotJpeg},
           {"an empty photograph", [](Scene& s) { s.dir.Write("IMG_1.JPG", ""); },
            Problem::kNotJpeg},
           {"no photograph", [](Scene& s) { std::filesystem::remove(s.photo); },
            Problem::kPhotoUnreadable},
           {"a folder for a photograph",
            [](Scene& s) {
              std::filesystem::remove(s.photo);
              std::filesystem::create_directory(s.photo);
            },
            Problem::kPhotoUnreadable},
       }) {
    SCOPED_TRACE(c.what);
    Scene scene(Canon40D(), edited);
    c.prepare(scene);
    const std::string before = scene.Photo();
    FaultyFileSystem fs;
    EXPECT_EQ(scene.Splice(fs).problem, c.problem);
    EXPECT_TRUE(fs.Calls().empty());
    EXPECT_TRUE(Same(scene.Photo(), before));
    EXPECT_FALSE(Exists(scene.temp));
  }
}

TEST(SpliceExifSegment, OnlyTheExifSegmentsAmongTheHeaderSegmentsAreReplaced) {
  using test::JpegBuilder;
  auto piece = [](const std::function<void(JpegBuilder&)>& add) {
    JpegBuilder b;
    b.WithoutSoi();
    add(b);
    return b.Build();
  };
  const std::string exif =
      test::ExifSegment(test::TiffBuilder().Ifd0({test::Ascii(0x010F, "Old")}).Build());
  const std::string exif2 = test::ExifSegment(
      test::TiffBuilder(test::ByteOrder::kBig).Ifd0({test::Short(0x0112, 3)}).Build());
  const std::string app0 = piece([](JpegBuilder& b) { b.App0Jfif(); });
  const std::string xmp = piece([](JpegBuilder& b) { b.App1Xmp(); });
  const std::string icc = piece([](JpegBuilder& b) { b.App2Icc(); });
  const std::string app13 = piece([](JpegBuilder& b) { b.App13(); });
  const std::string com = piece([](JpegBuilder& b) { b.Segment(0xFE, "a comment"); });
  const std::string scan = piece([](JpegBuilder& b) { b.Scan(300); });
  struct Case {
    const char* what;
    std::string after;    // the photograph after its start-of-image marker
    std::string kept;     // what follows the new segment
    std::size_t dropped;  // bytes of the EXIF segments dropped
  };
  for (const Case& c : std::initializer_list<Case>{
           {"APP0, EXIF, XMP, ICC, APP13, comment", app0 + exif + xmp + icc + app13 + com + scan,
            app0 + xmp + icc + app13 + com + scan, exif.size()},
           {"two EXIF segments", exif + app0 + exif2 + scan, app0 + scan,
            exif.size() + exif2.size()},
           {"EXIF after an ICC profile", app0 + icc + exif + scan, app0 + icc + scan, exif.size()},
           {"XMP before EXIF", xmp + exif + scan, xmp + scan, exif.size()},
           {"no EXIF", app0 + scan, app0 + scan, 0},
           {"no header segments", scan, scan, 0},
           // After the start of scan nothing is a header segment any more.
           {"EXIF bytes after the image", app0 + scan + exif, app0 + scan + exif, 0},
       }) {
    SCOPED_TRACE(c.what);
    const std::string old = "\xFF\xD8" + c.after;
    Scene scene(old);
    FaultyFileSystem fs;
    WriteResult result = scene.Splice(fs);
    ASSERT_TRUE(result.Ok());
    const std::size_t l = static_cast<std::size_t>(SegmentLength(scene.segment));
    EXPECT_EQ(result.segmentLength, static_cast<std::int64_t>(l));
    std::string segment = scene.segment + std::string(2, '\0');  // a built segment lacks these
    EXPECT_TRUE(Same(scene.Photo(), "\xFF\xD8" + segment + c.kept));
    EXPECT_EQ(scene.Photo().size(), old.size() - c.dropped + (l + 2));
  }
}

TEST(SpliceExifSegment, ACopiedSegmentIsWrittenAsItStandsAndABuiltOneGetsTwoZeroBytes) {
  const std::string photo = test::JpegBuilder().App0Jfif().Scan().Build();
  {
    const std::string copied = CopiedSegment();
    Scene scene(photo, copied);
    // A backup written over an older, longer one keeps that one's tail.
    scene.dir.Write("IMG_1.Exif", test::BackupFile(copied) + "older tail");
    FaultyFileSystem fs;
    ASSERT_TRUE(scene.Splice(fs).Ok());
    EXPECT_TRUE(Same(scene.Photo(), "\xFF\xD8" + copied + photo.substr(2)));
  }
  {
    const std::string built = EditedSegment();
    Scene scene(photo, built);
    FaultyFileSystem fs;
    ASSERT_TRUE(scene.Splice(fs).Ok());
    EXPECT_TRUE(Same(scene.Photo(), "\xFF\xD8" + built + std::string(2, '\0') + photo.substr(2)));
    // The segment in the photograph is whole: the next one starts where its length says.
    std::string written = scene.Photo();
    ReadChannel channel(
        std::span(reinterpret_cast<const std::uint8_t*>(written.data()), written.size()));
    std::vector<std::uint8_t> markers;
    WalkHeaderSegments(channel, [&](const JpegSegment& s) {
      markers.push_back(s.marker);
      return true;
    });
    EXPECT_EQ(markers, (std::vector<std::uint8_t>{0xE1, 0xE0, 0xDB}));
  }
}

TEST(SpliceExifSegment, ProgressCoversThePhotographAfterItsStartMarker) {
  Scene scene(Canon40D());
  FaultyFileSystem fs;
  Progress progress;
  ASSERT_TRUE(SpliceExifSegment(scene.photo, scene.backup, fs, progress).Ok());
  EXPECT_EQ(progress.total, static_cast<std::int64_t>(scene.old.size()) - 2);
  ASSERT_FALSE(progress.positions.empty());
  EXPECT_EQ(progress.positions.back(), progress.total);
  EXPECT_TRUE(std::is_sorted(progress.positions.begin(), progress.positions.end()));
}

TEST(SpliceExifSegment, ThePhotographKeepsItsMode) {
  const mode_t saved = ::umask(022);
  for (mode_t mode : {0644, 0664, 0666, 0600, 0444}) {
    Scene scene(Canon40D());
    ASSERT_EQ(::chmod(scene.photo.c_str(), mode), 0);
    FaultyFileSystem fs;
    ASSERT_TRUE(scene.Splice(fs).Ok());
    struct stat info {};
    ASSERT_EQ(::stat(scene.photo.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, mode) << std::oct << mode;
  }
  ::umask(saved);
}

TEST(SpliceExifSegment, LeftoversOfAnEarlierRunDoNotBlockAWrite) {
  Scene scene(Canon40D());
  scene.dir.Write("IMG_1.JPG.$$$", "half a photograph");
  scene.dir.Write("IMG_1.JPG.%#%", "an old photograph");
  FaultyFileSystem fs;
  ASSERT_TRUE(scene.Splice(fs).Ok());
  EXPECT_TRUE(Same(scene.Photo(), scene.expected));
  EXPECT_FALSE(Exists(scene.temp));
  EXPECT_FALSE(Exists(scene.parked));
}

// Folders under those names are no leftovers of ours: they are not removed,
// and the write is refused.
TEST(SpliceExifSegment, AFolderUnderATemporaryNameIsLeftAloneAndTheWriteRefused) {
  struct Case {
    const char* name;
    Step step;
    int error;
  };
  for (const Case& c : std::initializer_list<Case>{{"IMG_1.JPG.$$$", Step::kCreate, EEXIST},
                                                   {"IMG_1.JPG.%#%", Step::kPark, EEXIST}}) {
    SCOPED_TRACE(c.name);
    Scene scene(Canon40D());
    const std::string folder = scene.dir.File(c.name);
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    scene.dir.Write(std::string(c.name) + "/inside", "kept");
    FaultyFileSystem fs;
    WriteResult result = scene.Splice(fs);
    EXPECT_EQ(result.problem, Problem::kFile);
    EXPECT_EQ(result.file.step, c.step);
    EXPECT_EQ(result.file.error, c.error);
    EXPECT_TRUE(Same(scene.Photo(), scene.old));
    EXPECT_EQ(ReadFile(folder + "/inside"), "kept");
    if (c.step != Step::kCreate) {
      EXPECT_FALSE(Exists(scene.temp));
    }
  }
}

TEST(SpliceExifSegment, WithoutHardLinksThePhotographIsReplacedByARenameAlone) {
  for (int error : {EPERM, EOPNOTSUPP, EXDEV, EMLINK, ENOSYS}) {
    SCOPED_TRACE(error);
    Scene scene(Canon40D());
    FaultyFileSystem fs;
    fs.FailEvery(FsCall::kLink, error);
    ASSERT_TRUE(scene.Splice(fs).Ok());
    EXPECT_TRUE(Same(scene.Photo(), scene.expected));
    EXPECT_EQ(fs.CountOf(FsCall::kRename), 1);
    EXPECT_FALSE(Exists(scene.parked));
    EXPECT_FALSE(Exists(scene.temp));
  }
  // Any other failure to park the old photograph stops the write.
  for (int error : {EACCES, ENOENT, EIO}) {
    SCOPED_TRACE(error);
    Scene scene(Canon40D());
    FaultyFileSystem fs;
    fs.FailEvery(FsCall::kLink, error);
    WriteResult result = scene.Splice(fs);
    EXPECT_EQ(result.problem, Problem::kFile);
    EXPECT_EQ(result.file.step, Step::kPark);
    EXPECT_EQ(result.file.error, error);
    EXPECT_EQ(fs.CountOf(FsCall::kRename), 0);
    EXPECT_TRUE(Same(scene.Photo(), scene.old));
    EXPECT_FALSE(Exists(scene.temp));
  }
}

TEST(FileReplacer, AReplacerThatIsNotCommittedRemovesItsTemporaryFile) {
  TempDir dir;
  const std::string target = dir.Write("a.txt", "old");
  FaultyFileSystem fs;
  {
    FileReplacer replacer(fs, target, FileReplacer::Swap::kParkOld);
    ASSERT_TRUE(replacer.Create(0644));
    ASSERT_TRUE(replacer.Write("new"));
    EXPECT_FALSE(replacer.Commit());  // not finished yet
    EXPECT_TRUE(Exists(target + ".$$$"));
  }
  EXPECT_FALSE(Exists(target + ".$$$"));
  EXPECT_EQ(ReadFile(target), "old");
}

TEST(WriteBackupFile, WritesTheHeaderAndTheSegmentAndNothingElse) {
  TempDir dir;
  const std::string segment = EditedSegment();
  const std::string path =
      dir.Write("IMG_1.Exif", std::string(5000, 'x'));  // an older, longer file
  FaultyFileSystem fs;
  WriteResult result = WriteBackupFile(path, segment, fs);
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(result.segmentLength, SegmentLength(segment));
  EXPECT_TRUE(Same(ReadFile(path), std::string(kBackupHeader) + segment));
  EXPECT_EQ(fs.CountOf(FsCall::kLink), 0);  // a backup is replaced by a rename alone
  EXPECT_FALSE(Exists(path + ".$$$"));
  // The reader takes it.
  std::optional<ReadChannel> channel = ReadChannel::OpenFile(path);
  ASSERT_TRUE(channel);
  EXPECT_EQ(CheckBackupContent(*channel), BackupCheck::kOk);
}

TEST(WriteBackupFile, AFailureAtAnyStepLeavesTheOldBackupByteForByte) {
  const std::string segment = EditedSegment();
  const std::string older = test::BackupFile(CopiedSegment());
  std::vector<test::FsCallRecord> calls;
  {
    TempDir dir;
    FaultyFileSystem fs;
    ASSERT_TRUE(WriteBackupFile(dir.Write("IMG_1.Exif", older), segment, fs).Ok());
    calls = fs.Calls();
  }
  ASSERT_GE(calls.size(), 5u);
  for (std::size_t n = 1; n <= calls.size(); ++n) {
    const FsCall call = calls[n - 1].call;
    bool afterSwap = false;
    for (std::size_t i = 0; i + 1 < n; ++i) afterSwap |= calls[i].call == FsCall::kRename;
    SCOPED_TRACE("call " + std::to_string(n) + ": " + std::string(test::FsCallName(call)));
    TempDir dir;
    const std::string path = dir.Write("IMG_1.Exif", older);
    FaultyFileSystem fs;
    fs.FailCall(static_cast<int>(n), EIO);
    WriteResult result = WriteBackupFile(path, segment, fs);
    EXPECT_FALSE(Exists(path + ".$$$"));
    if (WriteSurvives(call, afterSwap)) {
      EXPECT_TRUE(result.Ok());
      EXPECT_TRUE(Same(ReadFile(path), std::string(kBackupHeader) + segment));
    } else {
      EXPECT_EQ(result.problem, Problem::kFile);
      EXPECT_EQ(result.file.step, StepOf(call));
      EXPECT_EQ(result.file.error, EIO);
      EXPECT_TRUE(Same(ReadFile(path), older));
    }
  }
}

TEST(BackupPhotoSegment, CopiesThePhotographsWholeSegment) {
  TempDir dir;
  const std::string photo = Canon40D();
  const std::string photoPath = dir.Write("IMG_1.JPG", photo);
  ReadChannel channel(std::span(reinterpret_cast<const std::uint8_t*>(photo.data()), photo.size()));
  std::optional<JpegSegment> exif = FindExifSegment(channel);
  ASSERT_TRUE(exif);
  const std::int64_t length = exif->size - 2;
  FaultyFileSystem fs;
  Progress progress;
  WriteResult result =
      BackupPhotoSegment(photoPath, exif->offset, length, dir.File("IMG_1.Exif"), fs, progress);
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(result.segmentLength, length);
  const std::string backup = ReadFile(dir.File("IMG_1.Exif"));
  EXPECT_TRUE(Same(
      backup, std::string(kBackupHeader) + photo.substr(static_cast<std::size_t>(exif->offset),
                                                        static_cast<std::size_t>(exif->size))));
  EXPECT_EQ(backup.size(), 24 + static_cast<std::size_t>(length) + 2);
  EXPECT_EQ(progress.total, length + 2);
  ASSERT_FALSE(progress.positions.empty());
  EXPECT_EQ(progress.positions.back(), length + 2);
  EXPECT_TRUE(Same(ReadFile(photoPath), photo));

  // Spliced back, that segment comes first, and the rest of the photograph follows unchanged.
  FaultyFileSystem spliceFs;
  Progress spliceProgress;
  ASSERT_TRUE(SpliceExifSegment(photoPath, dir.File("IMG_1.Exif"), spliceFs, spliceProgress).Ok());
  EXPECT_TRUE(Same(ReadFile(photoPath), "\xFF\xD8" + backup.substr(24) + WithoutExif(photo)));
}

TEST(BackupPhotoSegment, APhotographThatNoLongerHoldsTheSegmentIsRefused) {
  const std::string segment = CopiedSegment();
  const std::string photo = test::JpegBuilder().App0Jfif().Raw(segment).Scan().Build();
  const std::int64_t offset = 20;  // after FF D8 and the 18-byte JFIF segment
  const std::int64_t length = SegmentLength(segment);
  ASSERT_EQ(photo.substr(20, 2), "\xFF\xE1");
  struct Case {
    const char* what;
    std::string photo;
    std::int64_t offset, length;
    Problem problem;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"another offset", photo, offset + 1, length, Problem::kPhotoChanged},
           {"another length", photo, offset, length - 1, Problem::kPhotoChanged},
           {"the segment moved", "\xFF\xD8" + photo.substr(22), offset, length,
            Problem::kPhotoChanged},
           {"cut inside the segment", photo.substr(0, 40), offset, length, Problem::kPhotoChanged},
           {"no photograph", "", offset, length, Problem::kPhotoUnreadable},
       }) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string photoPath = dir.File("IMG_1.JPG");
    if (!c.photo.empty()) dir.Write("IMG_1.JPG", c.photo);
    const std::string backupPath = dir.Write("IMG_1.Exif", "an older backup");
    FaultyFileSystem fs;
    Progress progress;
    WriteResult result =
        BackupPhotoSegment(photoPath, c.offset, c.length, backupPath, fs, progress);
    EXPECT_EQ(result.problem, c.problem);
    EXPECT_TRUE(fs.Calls().empty());
    EXPECT_EQ(ReadFile(backupPath), "an older backup");
  }
}

TEST(BackupPhotoSegment, AFailedWriteLeavesTheOldBackupIntact) {
  const std::string photo = Canon40D();
  ReadChannel channel(std::span(reinterpret_cast<const std::uint8_t*>(photo.data()), photo.size()));
  std::optional<JpegSegment> exif = FindExifSegment(channel);
  ASSERT_TRUE(exif);
  const std::string older = test::BackupFile(EditedSegment());
  for (FsCall call :
       {FsCall::kOpen, FsCall::kWrite, FsCall::kFsync, FsCall::kClose, FsCall::kRename}) {
    SCOPED_TRACE(test::FsCallName(call));
    TempDir dir;
    const std::string photoPath = dir.Write("IMG_1.JPG", photo);
    const std::string backupPath = dir.Write("IMG_1.Exif", older);
    FaultyFileSystem fs;
    fs.FailNth(call, 1, ENOSPC);
    Progress progress;
    WriteResult result =
        BackupPhotoSegment(photoPath, exif->offset, exif->size - 2, backupPath, fs, progress);
    EXPECT_EQ(result.problem, Problem::kFile);
    EXPECT_EQ(result.file.step, StepOf(call));
    EXPECT_EQ(result.file.error, ENOSPC);
    EXPECT_TRUE(Same(ReadFile(backupPath), older));
    EXPECT_FALSE(Exists(backupPath + ".$$$"));
    EXPECT_TRUE(Same(ReadFile(photoPath), photo));
  }
}

}  // namespace
}  // namespace tagloom
