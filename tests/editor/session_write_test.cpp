// The write and restore buttons of one photograph: what the person is asked
// and told, what is refused, and that a refusal or a failure leaves every
// file beside the photograph as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "editor/session.h"
#include "editor/texts.h"
#include "model/catalogue.h"
#include "support/fixture_builder.h"
#include "support/oracle.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tagloom {
namespace {

using test::Ascii;
using test::JpegBuilder;
using test::Rational;
using test::Short;
using test::TiffBuilder;

std::string CameraTiff(const std::string& make) {
  return TiffBuilder()
      .Ifd0({Ascii(0x010F, make), Ascii(0x0110, "EOS 40D"), Short(0x0112, 1)})
      .ExifIfd({Rational(0x829A, 1, 60), Short(0x8827, 200), Ascii(0x9003, "2008:05:30 15:56:01")})
      .Build();
}

std::string PhotoWithExif(const std::string& make = "Canon", std::size_t imageBytes = 64) {
  return JpegBuilder().App0Jfif().App1Exif(CameraTiff(make)).Scan(imageBytes).Build();
}

std::string PhotoWithoutExif() {
  return JpegBuilder().App0Jfif().Scan().Build();
}

std::string ValidBackup(const std::string& make = "Backup Cam") {
  return test::BackupFile(test::ExifSegment(CameraTiff(make)));
}

// Every file in a folder with its content.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] =
        entry.is_regular_file() ? test::ReadFile(entry.path().string()) : "<folder>";
  }
  return files;
}

// The names of the files that differ between two snapshots (changed, added
// or removed), so that a failure names them instead of dumping their bytes.
std::vector<std::string> Changed(const std::map<std::string, std::string>& before,
                                 const std::map<std::string, std::string>& after) {
  std::vector<std::string> names;
  for (const auto& [name, bytes] : before) {
    auto found = after.find(name);
    if (found == after.end()) {
      names.push_back(name + " (removed)");
    } else if (found->second != bytes) {
      names.push_back(name + " (changed)");
    }
  }
  for (const auto& [name, bytes] : after) {
    if (!before.count(name)) names.push_back(name + " (added)");
  }
  return names;
}

using NoFiles = std::vector<std::string>;

std::string Joined(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view part : parts) out += part;
  return out;
}

// Records, besides what RecordingHost records, how deep the busy pointer was
// at each progress step and each message.
class BusyWatchingHost : public test::RecordingHost {
 public:
  std::vector<int> busyAtSet;
  std::vector<int> busyAtTell;
  void SetBar(std::int64_t value) override {
    busyAtSet.push_back(busyDepth);
    RecordingHost::SetBar(value);
  }
  void Tell(std::string_view text, std::string_view title, MessageIcon icon) override {
    busyAtTell.push_back(busyDepth);
    RecordingHost::Tell(text, title, icon);
  }
};

class SessionWrite : public ::testing::Test {
 protected:
  // Opens the photograph as the editor does and forgets what that showed.
  void Open(const std::string& path) {
    session.Text1 = path;
    session.DrawImage();
    host.messages.clear();
    host.progress.clear();
    host.previews.clear();
    host.busyAtSet.clear();
    host.busyAtTell.clear();
  }

  // The last message, which must tell that a write failed and why.
  void ExpectWriteFailureTold(std::string_view reason) {
    ASSERT_FALSE(host.messages.empty());
    const test::Message& told = host.messages.back();
    EXPECT_FALSE(told.question);
    EXPECT_EQ(told.title, text::kWriteFailedTitle);
    EXPECT_EQ(told.icon, MessageIcon::kCritical);
    EXPECT_EQ(told.text.rfind(Joined({text::kWriteFailed, text::kCrLf}), 0), 0u) << told.text;
    EXPECT_NE(told.text.find(reason), std::string::npos) << told.text;
    EXPECT_EQ(host.busyDepth, 0);
    EXPECT_FALSE(session.Bar.visible);
  }

  test::TempDir dir;
  BusyWatchingHost host;
  Session session{host};
};

TEST_F(SessionWrite, AllBlankFieldsAreRefusedBeforeAnythingIsAsked) {
  const std::string photo = dir.Write("IMG_1.jpg", PhotoWithExif());
  dir.Write("IMG_1.Exif", ValidBackup());
  Open(photo);
  ASSERT_FALSE(session.txtExif[0].empty());
  const auto before = Snapshot(dir.Path());

  for (int i = 0; i < kFieldCount; ++i) session.SetFieldText(i, i % 2 ? "" : "   ");
  EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kFailed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, text::kAllFieldsEmpty);
  EXPECT_EQ(host.messages[0].title, text::kAllFieldsEmptyTitle);
  EXPECT_FALSE(host.messages[0].question);
  EXPECT_EQ(Changed(before, Snapshot(dir.Path())), NoFiles{});

  // One field with a character in it is enough to be asked.
  session.SetFieldText(13, " x ");
  host.answers = {false};
  EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kDeclined);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_TRUE(host.messages[1].question);
}

TEST_F(SessionWrite, TheQuestionDependsOnTheBannerAndNoChangesNothing) {
  struct Case {
    const char* name;
    std::string photo;
    std::string backup;  // "" for none
    std::string_view question;
  };
  const std::vector<Case> cases = {
      {"own EXIF", PhotoWithExif(), "", text::kConfirmRewriteExif},
      {"own EXIF and a backup", PhotoWithExif(), ValidBackup(), text::kConfirmRewriteExif},
      {"no EXIF", PhotoWithoutExif(), "", text::kConfirmCreateExif},
      {"no EXIF, the backup's shown", PhotoWithoutExif(), ValidBackup(), text::kConfirmRewriteExif},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir folder;
    const std::string photo = folder.Write("IMG_2.jpg", c.photo);
    if (!c.backup.empty()) folder.Write("IMG_2.Exif", c.backup);
    Open(photo);
    EXPECT_EQ(session.labNoExif.visible, c.question == text::kConfirmCreateExif);
    const auto before = Snapshot(folder.Path());

    session.SetFieldText(0, "Edited");
    host.answers = {false};
    EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kDeclined);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, c.question);
    EXPECT_EQ(host.messages[0].title, text::kConfirmTitle);
    EXPECT_EQ(host.messages[0].icon, MessageIcon::kQuestion);
    EXPECT_TRUE(host.messages[0].question);
    EXPECT_EQ(Changed(before, Snapshot(folder.Path())), NoFiles{});
    EXPECT_TRUE(host.previews.empty());
    EXPECT_EQ(host.busyDepth, 0);
  }
}

TEST_F(SessionWrite, ASuccessfulWriteTellsTheBackupPathAndReloadsThePhotograph) {
  for (bool hadExif : {true, false}) {
    SCOPED_TRACE(hadExif ? "photograph with EXIF" : "photograph without EXIF");
    test::TempDir folder;
    const std::string photo =
        folder.Write("IMG_3.jpg", hadExif ? PhotoWithExif() : PhotoWithoutExif());
    Open(photo);
    // A date in a short spelling: the reload shows it as it was written.
    session.SetFieldText(0, "Nikon");
    session.SetFieldText(1, "");
    session.SetFieldText(field::kDate, "2021/3/4 5:06");

    ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);
    const std::string backup = folder.File("IMG_3.Exif");
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].text, Joined({text::kWriteSucceeded, backup}));
    EXPECT_EQ(host.messages[1].title, text::kWriteSucceededTitle);
    EXPECT_FALSE(host.messages[1].question);
    EXPECT_EQ(host.busyAtTell, std::vector<int>{0});

    // The backup file stages exactly the segment that was built.
    EXPECT_EQ(test::ReadFile(backup), "Vantoro Exif Backup File" + session.ExifHeadBytes);
    EXPECT_EQ(session.block.ExifSegmentLength,
              static_cast<std::int64_t>(session.ExifHeadBytes.size()));

    // Reloaded: the preview again, and the fields as read from the new file.
    EXPECT_EQ(host.previews, std::vector<std::string>{photo});
    EXPECT_EQ(session.Text1, "IMG_3.jpg");
    EXPECT_TRUE(session.ExifLoaded);
    EXPECT_FALSE(session.ExifFromBackup);
    EXPECT_FALSE(session.labNoExif.visible);
    EXPECT_TRUE(session.cmdBackup.visible);
    EXPECT_TRUE(session.imgBackupLit);
    EXPECT_EQ(session.txtExif[0], "Nikon");
    EXPECT_EQ(session.txtExif[field::kDate], "2021/03/04 05:06:00");
    // Only what the fields held was written: the model was emptied.
    EXPECT_EQ(session.txtExif[1], "");
    EXPECT_EQ(host.busyDepth, 0);
    host.messages.clear();
    host.previews.clear();
    host.busyAtTell.clear();
  }
}

TEST_F(SessionWrite, AProgressPanelShowsTheCopyWhileTheBusyPointerIsOn) {
  const std::string original = PhotoWithExif("Canon", 3'500'000);
  const std::string photo = dir.Write("IMG_4.jpg", original);
  Open(photo);
  session.SetFieldText(0, "Pentax");
  ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);

  // show, init 1 .. length - 2, steps within the range, hide; the reload that
  // follows shows no panel.
  const std::vector<std::string>& p = host.progress;
  ASSERT_GE(p.size(), 4u);
  EXPECT_EQ(p.front(), "show");
  EXPECT_EQ(p[1], "init 1 " + std::to_string(original.size() - 2));
  EXPECT_EQ(p.back(), "hide");
  EXPECT_EQ(std::count(p.begin(), p.end(), "show"), 1);
  EXPECT_EQ(std::count(p.begin(), p.end(), "hide"), 1);
  std::vector<std::int64_t> steps;
  for (const std::string& call : p) {
    if (call.rfind("set ", 0) == 0) steps.push_back(std::stoll(call.substr(4)));
  }
  ASSERT_GE(steps.size(), 3u) << "a copy of 3.5 MB in one step";
  EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
  EXPECT_GE(steps.front(), 1);
  EXPECT_LE(steps.back(), static_cast<std::int64_t>(original.size()) - 2);
  EXPECT_GT(std::count(p.begin(), p.end(), "yield"), 0);
  for (int depth : host.busyAtSet) EXPECT_GE(depth, 1);
  EXPECT_EQ(host.busyDepth, 0);
  EXPECT_FALSE(session.Bar.visible);
}

TEST_F(SessionWrite, TheLargestSegmentIsWrittenAndOneByteMoreIsRefused) {
  // A maker note of hex digits makes a segment of any size: its bytes are
  // the only part that grows. The length field holds at most 65535.
  const std::string photo = dir.Write("IMG_13.jpg", PhotoWithExif());
  Open(photo);
  // Five bytes, too many for the entry itself: they go to the value area.
  session.SetFieldText(12, "A5A5A5A5A5");
  ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);
  const std::size_t base = session.ExifHeadBytes.size() - 5;  // all but the maker note

  const std::size_t fits = 65535 - base;
  Open(photo);
  std::string digits;
  for (std::size_t i = 0; i < fits + 1; ++i) digits += "A5";
  session.SetFieldText(12, digits);
  const auto before = Snapshot(dir.Path());
  EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kFailed);
  ExpectWriteFailureTold(Joined({text::kTooLarge, photo}));
  EXPECT_EQ(Changed(before, Snapshot(dir.Path())), NoFiles{});

  Open(photo);
  session.SetFieldText(12, digits.substr(2));
  ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone) << host.messages.back().text;
  ASSERT_EQ(session.ExifHeadBytes.size(), 65535u);
  const std::string written = test::ReadFile(photo);
  // SOI, then the segment: length FF FF, 65535 bytes built and two zero bytes.
  EXPECT_EQ(written.substr(2, 4), "\xFF\xE1\xFF\xFF");
  EXPECT_EQ(written.substr(2 + 65535, 2), std::string(2, '\0'));
  EXPECT_EQ(written.substr(2 + 65537, 2), "\xFF\xE0") << "the JFIF segment follows";
  EXPECT_EQ(session.txtExif[0], "Canon") << "the reload read the whole segment";
  EXPECT_EQ(session.txtExif[12].size(), digits.size() - 2);
  std::optional<test::ExiftoolTag> make = test::FindTag(test::ExiftoolTags(photo), "IFD0", "Make");
  ASSERT_TRUE(make.has_value()) << "exiftool cannot read a segment of 65535 bytes";
  EXPECT_EQ(make->value, "Canon");
}

TEST_F(SessionWrite, TheWrittenPhotographKeepsItsPermissions) {
  // Also those the usual file-creation mask would take away, such as the
  // group's write permission on a shared folder.
  namespace fs = std::filesystem;
  struct MaskGuard {
    mode_t old = ::umask(022);
    ~MaskGuard() { ::umask(old); }
  } mask;
  using P = fs::perms;
  for (fs::perms mode :
       {P::owner_read | P::owner_write | P::group_read,
        P::owner_read | P::owner_write | P::group_read | P::group_write | P::others_read}) {
    SCOPED_TRACE(static_cast<int>(mode));
    const std::string photo = dir.Write("IMG_14.jpg", PhotoWithExif());
    fs::permissions(photo, mode);
    Open(photo);
    session.SetFieldText(0, "Edited");
    ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);
    EXPECT_EQ(fs::status(photo).permissions(), mode);
    EXPECT_EQ(session.txtExif[0], "Edited");
  }
}

TEST_F(SessionWrite, InBatchModeTheWriteIsNeitherToldNorReloaded) {
  const std::string photo = dir.Write("IMG_5.jpg", PhotoWithExif());
  Open(photo);
  session.chkBatch = true;
  session.SetFieldText(field::kDate, "2021/3/4 5:06");
  ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);
  ASSERT_EQ(host.messages.size(), 1u);  // the question only
  EXPECT_TRUE(host.messages[0].question);
  EXPECT_TRUE(host.previews.empty());
  // Not reloaded: the field still holds what was typed.
  EXPECT_EQ(session.txtExif[field::kDate], "2021/3/4 5:06");
  EXPECT_NE(test::ReadFile(photo), PhotoWithExif());
  EXPECT_EQ(host.busyDepth, 0);
}

TEST_F(SessionWrite, APhotographPathWithoutADotIsRefused) {
  ASSERT_EQ(dir.Path().string().find('.'), std::string::npos) << "temporary folder with a dot";
  const std::string photo = dir.Write("IMG_6", PhotoWithExif());
  Open(photo);
  ASSERT_EQ(session.BackupFileName, "");
  const auto before = Snapshot(dir.Path());
  session.SetFieldText(0, "Edited");
  EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kFailed);
  ASSERT_EQ(host.messages.size(), 2u);
  ExpectWriteFailureTold(Joined({text::kNoBackupName, photo}));
  EXPECT_EQ(Changed(before, Snapshot(dir.Path())), NoFiles{});
  EXPECT_TRUE(host.previews.empty());
}

TEST_F(SessionWrite, NumbersTooLargeForTheirFieldsAreRefusedByCaption) {
  struct Case {
    int field;
    std::string text;
    bool fits;
  };
  // Shutter denominators are written times 10 into 32 bits; SHORTs hold 0 to 65535.
  const std::vector<Case> cases = {
      {5, "1/300000000", false}, {5, "1/214748365", false}, {5, "1/214748364", true},
      {8, "70000", false},       {8, "65536", false},       {8, "65535", true},
      {8, "-1", false},          {7, "65536", false},       {11, "99999", false},
      {15, "1E+09", false},      {10, "3E+07", false},      {10, "2E+07", true},
  };
  for (const Case& c : cases) {
    const std::string caption(kFields[static_cast<std::size_t>(c.field)].caption);
    SCOPED_TRACE(caption + " " + c.text);
    test::TempDir folder;
    const std::string photo = folder.Write("IMG_7.jpg", PhotoWithExif());
    folder.Write("IMG_7.Exif", ValidBackup());
    Open(photo);
    const auto before = Snapshot(folder.Path());
    session.SetFieldText(c.field, c.text);
    const Outcome outcome = session.cmdExifWrite_Click();
    if (c.fits) {
      EXPECT_EQ(outcome, Outcome::kDone);
      EXPECT_FALSE(Changed(before, Snapshot(folder.Path())).empty());
      continue;
    }
    EXPECT_EQ(outcome, Outcome::kFailed);
    ASSERT_EQ(host.messages.size(), 2u);
    ExpectWriteFailureTold(Joined({text::kOutOfRange, caption}));
    EXPECT_EQ(Changed(before, Snapshot(folder.Path())), NoFiles{});
  }
}

TEST_F(SessionWrite, ARestoreFromABackupThatCannotBeUsedLeavesThePhotographAlone) {
  const std::string segment = test::ExifSegment(CameraTiff("Backup Cam"));
  struct Case {
    const char* name;
    std::optional<std::string> backup;  // nullopt: no backup file
    std::string_view reason;
  };
  const std::vector<Case> cases = {
      {"header in other letter case", "Vantoro Exif Backup FILE" + segment, text::kBackupDamaged},
      {"marker not APP1", "Vantoro Exif Backup File\xFF\xE0" + segment.substr(2),
       text::kBackupDamaged},
      {"segment cut short", test::BackupFile(segment.substr(0, segment.size() / 2)),
       text::kBackupDamaged},
      {"header only", std::string("Vantoro Exif Backup File"), text::kBackupDamaged},
      {"empty file", std::string(), text::kBackupDamaged},
      {"no backup file", std::nullopt, text::kBackupMissing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir folder;
    const std::string photo = folder.Write("IMG_8.jpg", PhotoWithExif());
    if (c.backup) folder.Write("IMG_8.Exif", *c.backup);
    Open(photo);
    const auto before = Snapshot(folder.Path());
    EXPECT_EQ(session.cmdRestore_Click(), Outcome::kFailed);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].text, text::kConfirmRestore);
    ExpectWriteFailureTold(c.reason);
    EXPECT_NE(host.messages[1].text.find(folder.File("IMG_8.Exif")), std::string::npos);
    EXPECT_EQ(Changed(before, Snapshot(folder.Path())), NoFiles{});
    EXPECT_TRUE(host.previews.empty());
  }
}

TEST_F(SessionWrite, ARestoreAfterAMissingPhotographLeavesThePreviousPhotographAlone) {
  // The missing photograph's backup makes the restore button appear; the
  // photograph shown before must not receive that backup.
  const std::string shown = dir.Write("IMG_12.jpg", PhotoWithExif("Shown"));
  dir.Write("gone.Exif", ValidBackup("Gone"));
  Open(shown);
  session.Text1 = dir.File("gone.jpg");
  session.DrawImage();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, text::kNoImageFile);
  const auto before = Snapshot(dir.Path());

  if (session.cmdRestore.visible && session.cmdRestore.enabled) session.cmdRestore_Click();
  EXPECT_EQ(Changed(before, Snapshot(dir.Path())), NoFiles{});
  EXPECT_TRUE(test::ReadFile(shown) == PhotoWithExif("Shown"));
}

TEST_F(SessionWrite, ARestoreIntoAFileThatIsNoJpegIsRefused) {
  const std::string photo = dir.Write("IMG_9.jpg", "GIF89a, not a JPEG at all");
  dir.Write("IMG_9.Exif", ValidBackup());
  Open(photo);
  const auto before = Snapshot(dir.Path());
  EXPECT_EQ(session.cmdRestore_Click(), Outcome::kFailed);
  ExpectWriteFailureTold(Joined({text::kNotJpeg, photo}));
  EXPECT_EQ(Changed(before, Snapshot(dir.Path())), NoFiles{});
}

// A file system on which one step of writing a chosen file fails.
class FaultyFileSystem : public FileSystem {
 public:
  enum class Step { kOpen, kWrite, kSync, kLink, kRename };
  FaultyFileSystem(Step step, std::string pathEnd, int error)
      : step_(step), pathEnd_(std::move(pathEnd)), error_(error) {}

  int Open(const std::string& path, int flags, mode_t mode) override {
    if (step_ == Step::kOpen && Matches(path)) return Fail();
    int fd = FileSystem::Open(path, flags, mode);
    if (fd >= 0 && Matches(path)) watched_.insert(fd);
    return fd;
  }
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    if (step_ == Step::kWrite && watched_.count(fd)) return Fail();
    return FileSystem::Write(fd, data, size);
  }
  int Fsync(int fd) override {
    if (step_ == Step::kSync && watched_.count(fd)) return Fail();
    return FileSystem::Fsync(fd);
  }
  int Close(int fd) override {
    watched_.erase(fd);
    return FileSystem::Close(fd);
  }
  int Link(const std::string& from, const std::string& to) override {
    if (step_ == Step::kLink && Matches(to)) return Fail();
    return FileSystem::Link(from, to);
  }
  int Rename(const std::string& from, const std::string& to) override {
    if (step_ == Step::kRename && Matches(to)) return Fail();
    return FileSystem::Rename(from, to);
  }

 private:
  bool Matches(const std::string& path) const {
    return path.size() >= pathEnd_.size() &&
           path.compare(path.size() - pathEnd_.size(), pathEnd_.size(), pathEnd_) == 0;
  }
  int Fail() const {
    errno = error_;
    return -1;
  }
  Step step_;
  std::string pathEnd_;
  int error_;
  std::set<int> watched_;
};

TEST(SessionWriteFailures, AFailingStepOfTheSpliceIsToldAndLeavesNoTrace) {
  using Step = FaultyFileSystem::Step;
  struct Case {
    const char* name;
    Step step;
    std::string pathEnd;
    int error;
    std::string reason;  // the photograph's folder is put in front of a leading "/"
  };
  const std::vector<Case> cases = {
      {"folder not writable", Step::kOpen, ".jpg.$$$", EACCES,
       Joined({text::kCannotCreate}) + "/IMG.jpg.$$$ (" + std::strerror(EACCES) + ")"},
      {"disk full", Step::kWrite, ".jpg.$$$", ENOSPC,
       Joined({text::kCannotWrite}) + "/IMG.jpg.$$$ (" + std::string(text::kDiskFull) + ")"},
      {"sync fails", Step::kSync, ".jpg.$$$", EIO, Joined({text::kCannotSync}) + "/IMG.jpg.$$$"},
      {"old file cannot be parked", Step::kLink, ".jpg.%#%", EIO,
       Joined({text::kCannotPark}) + "/IMG.jpg"},
      {"rename refused", Step::kRename, "IMG.jpg", EACCES,
       Joined({text::kCannotReplace}) + "/IMG.jpg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir folder;
    const std::string original = PhotoWithExif("Canon", 200'000);
    const std::string photo = folder.Write("IMG.jpg", original);
    folder.Write("IMG.Exif", ValidBackup());
    FaultyFileSystem fs(c.step, c.pathEnd, c.error);
    test::RecordingHost host;
    Session session(host, fs);
    session.Text1 = photo;
    session.DrawImage();
    host.messages.clear();
    const auto before = Snapshot(folder.Path());

    EXPECT_EQ(session.cmdRestore_Click(), Outcome::kFailed);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].title, text::kWriteFailedTitle);
    std::string reason = c.reason;
    reason.replace(reason.find('/'), 1, folder.Path().string() + "/");
    EXPECT_NE(host.messages[1].text.find(reason), std::string::npos) << host.messages[1].text;
    EXPECT_EQ(Changed(before, Snapshot(folder.Path())), NoFiles{})
        << "a temporary or parked file was left";
    EXPECT_EQ(host.busyDepth, 0);
    EXPECT_FALSE(session.Bar.visible);
    EXPECT_TRUE(session.cmdRestore.enabled);
  }
}

TEST(SessionWriteFailures, AFullDiskWhileStagingKeepsTheOldBackupAndThePhotograph) {
  test::TempDir folder;
  const std::string photo = folder.Write("IMG.jpg", PhotoWithExif());
  folder.Write("IMG.Exif", ValidBackup("Old Backup"));
  FaultyFileSystem fs(FaultyFileSystem::Step::kWrite, ".Exif.$$$", ENOSPC);
  test::RecordingHost host;
  Session session(host, fs);
  session.Text1 = photo;
  session.DrawImage();
  host.messages.clear();
  const auto before = Snapshot(folder.Path());

  session.SetFieldText(0, "Edited");
  EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kFailed);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1].title, text::kWriteFailedTitle);
  EXPECT_NE(host.messages[1].text.find(text::kDiskFull), std::string::npos);
  EXPECT_EQ(Changed(before, Snapshot(folder.Path())), NoFiles{});
  EXPECT_EQ(host.busyDepth, 0);
}

TEST_F(SessionWrite, AFailedWriteIsToldAlsoWithBatchModeTicked) {
  // The write button acts on the photograph on show even in batch mode, and
  // no summary follows it: a refusal the person is not told is a lost edit.
  const std::string photo = dir.Write("IMG_10.jpg", PhotoWithExif());
  Open(photo);
  session.chkBatch = true;
  session.SetFieldText(field::kIso, "70000");
  EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kFailed);
  ASSERT_EQ(host.messages.size(), 2u);
  ExpectWriteFailureTold(Joined({text::kOutOfRange, kFields[field::kIso].caption}));
}

TEST_F(SessionWrite, TheOrientationReadIsWrittenBackWhenItIsOneOfTheEight) {
  struct Case {
    std::uint16_t read;
    test::ByteOrder order;
    const char* written;
  };
  const std::vector<Case> cases = {
      {6, test::ByteOrder::kBig, "6"}, {8, test::ByteOrder::kLittle, "8"},
      {3, test::ByteOrder::kBig, "3"}, {0, test::ByteOrder::kLittle, "1"},
      {9, test::ByteOrder::kBig, "1"}, {65535, test::ByteOrder::kLittle, "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.read);
    test::TempDir folder;
    const std::string photo = folder.Write(
        "IMG_15.jpg", JpegBuilder()
                          .App1Exif(TiffBuilder(c.order)
                                        .Ifd0({Ascii(0x010F, "Canon"), Short(0x0112, c.read)})
                                        .ExifIfd({Short(0x8827, 100)})
                                        .Build())
                          .Scan()
                          .Build());
    Open(photo);
    session.SetFieldText(0, "Edited");
    ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);
    ASSERT_TRUE(session.store.Found(row::kOrientation));
    EXPECT_EQ(session.store.lstValue.Row(row::kOrientation), c.written);
    std::optional<test::ExiftoolTag> read =
        test::FindTag(test::ExiftoolTags(photo), "IFD0", "Orientation");
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->value, c.written);
  }
}

TEST_F(SessionWrite, AMakerNoteOfHexDigitsAndAHexCommentAreWrittenAsBytes) {
  // A comment that could not be shown as text is kept in its "Hex:" form and
  // goes back unchanged; a maker note of hex digits is written as its bytes.
  const std::string comment = std::string("UNICODE\0\0H\0i\0", 12);
  const std::string photo =
      dir.Write("IMG_11.jpg", JpegBuilder()
                                  .App1Exif(TiffBuilder()
                                                .Ifd0({Ascii(0x010F, "Canon")})
                                                .ExifIfd({test::Undefined(0x9286, comment)})
                                                .Build())
                                  .Scan()
                                  .Build());
  Open(photo);
  ASSERT_EQ(session.txtExif[field::kComment].rfind("Hex:", 0), 0u) << session.txtExif[13];
  session.SetFieldText(12, "0a1B");
  ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);

  const std::string& built = session.ExifHeadBytes;
  EXPECT_NE(built.find(comment), std::string::npos) << "the comment's bytes were not kept";
  EXPECT_EQ(built.find("(Edit by Tagloom)"), std::string::npos);
  EXPECT_NE(built.find("\x0A\x1B"), std::string::npos);
  // Read back, both show as they were typed and read.
  EXPECT_EQ(session.txtExif[field::kComment], "Hex:554E49434F44450000480069");
  EXPECT_EQ(session.txtExif[12], "0A1B");
}

}  // namespace
}  // namespace tagloom
