// A photographer's files must survive a crash at any moment: a child process
// writes, restores or backs up a large photograph and is killed at a random
// point, many times; each time the photograph's path (and its backup file)
// holds exactly its old or its new content, and the next attempt succeeds.
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "editor/session.h"
#include "support/fixture_builder.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tagloom {
namespace {

using test::TempDir;

enum class Operation { kWrite, kRestore, kBackup };

// Runs one operation on `photo` in this process, as the editor would.
Outcome RunOperation(Operation operation, const std::string& photo) {
  test::RecordingHost host;
  Session session(host);
  session.Text1 = photo;
  session.DrawImage();
  switch (operation) {
    case Operation::kWrite:
      session.SetFieldText(0, "Killed Camera");
      session.SetFieldText(5, "1/250");
      session.SetFieldText(13, "written while being killed");
      return session.cmdExifWrite_Click();
    case Operation::kRestore:
      return session.cmdRestore_Click();
    case Operation::kBackup:
      return session.cmdBackup_Click();
  }
  return Outcome::kFailed;
}

// Runs the operation in a child process; kills it after `delay` unless it
// ended first. Returns true when the child was killed.
bool RunAndKill(Operation operation, const std::string& photo, std::chrono::microseconds delay) {
  pid_t child = fork();
  if (child == 0) {
    Outcome outcome = RunOperation(operation, photo);
    _exit(outcome == Outcome::kDone ? 0 : 1);
  }
  timespec pause{static_cast<time_t>(delay.count() / 1000000),
                 static_cast<long>(delay.count() % 1000000) * 1000};
  nanosleep(&pause, nullptr);
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFSIGNALED(status);
}

std::chrono::microseconds TimeOf(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                               start);
}

struct Scenario {
  Operation operation;
  int kills;
};

class KillTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(KillTest, ThePhotographAndItsBackupAreAlwaysWholeOldOrWholeNew) {
  const Scenario scenario = GetParam();
  TempDir dir;
  const std::string photo = dir.File("big.jpg");
  const std::string backup = dir.File("big.Exif");

  // A large photograph with an EXIF block, and a backup of a different block.
  const std::string oldPhoto =
      test::JpegBuilder()
          .App0Jfif()
          .App1Exif(test::TiffBuilder(test::ByteOrder::kBig)
                        .Ifd0({test::Ascii(0x010F, "Original"), test::Short(0x0112, 6)})
                        .ExifIfd({test::Rational(0x829A, 1, 60)})
                        .Build())
          .App2Icc()
          .Scan(8 << 20)
          .Build();
  const std::string oldBackup = test::BackupFile(test::ExifSegment(
      test::TiffBuilder().Ifd0({test::Ascii(0x010F, "FromBackup")}).ExifIfd({}).Build()));
  auto setUp = [&] {
    dir.Write("big.jpg", oldPhoto);
    dir.Write("big.Exif", oldBackup);
  };

  // What a completed operation leaves behind.
  setUp();
  std::chrono::microseconds duration =
      TimeOf([&] { ASSERT_EQ(RunOperation(scenario.operation, photo), Outcome::kDone); });
  const std::string newPhoto = test::ReadFile(photo);
  const std::string newBackup = test::ReadFile(backup);
  ASSERT_TRUE(newPhoto != oldPhoto || newBackup != oldBackup);

  std::mt19937 random(20261206);
  std::uniform_int_distribution<long> delay(0, duration.count() * 6 / 5 + 1);
  int killedMidway = 0;
  for (int i = 0; i < scenario.kills; ++i) {
    setUp();  // leftovers of the last kill (.$$$, .%#%) stay where they are
    bool killed = RunAndKill(scenario.operation, photo, std::chrono::microseconds(delay(random)));
    const std::string photoNow = test::ReadFile(photo);
    const std::string backupNow = test::ReadFile(backup);
    ASSERT_TRUE(photoNow == oldPhoto || photoNow == newPhoto)
        << "kill " << i << ": the photograph is neither old nor new (" << photoNow.size()
        << " bytes)";
    ASSERT_TRUE(backupNow == oldBackup || backupNow == newBackup)
        << "kill " << i << ": the backup file is neither old nor new";
    if (killed && (photoNow != newPhoto || backupNow != newBackup)) ++killedMidway;

    // Whatever the kill left, the next attempt succeeds and completes the work.
    ASSERT_EQ(RunOperation(scenario.operation, photo), Outcome::kDone) << "after kill " << i;
    ASSERT_EQ(test::ReadFile(photo), newPhoto);
    ASSERT_EQ(test::ReadFile(backup), newBackup);
  }
  // The kills must really have landed inside the operation, or this proves nothing.
  EXPECT_GT(killedMidway, 0);
  std::cout << "killed before the work was complete " << killedMidway << " of " << scenario.kills
            << " times\n";
}

// A batch backup puts its backups in place together after one sync (see
// ReplaceGroup): killed at any moment, every backup file is whole, old or new.
TEST(KillTest, EveryBackupOfABatchIsWholeOldOrWholeNew) {
  TempDir dir;
  constexpr int kPhotos = 40;
  std::vector<std::string> photos, backups, oldBackups, newBackups;
  for (int i = 0; i < kPhotos; ++i) {
    const std::string name = "photo_" + std::to_string(i);
    photos.push_back(dir.Write(name + ".jpg",
        test::JpegBuilder()
            .App1Exif(test::TiffBuilder()
                          .Ifd0({test::Ascii(0x010F, "Camera " + std::to_string(i))})
                          .ExifIfd({test::Undefined(0x927C, std::string(20000, 'n'))})
                          .Build())
            .Scan(1000)
            .Build()));
    backups.push_back(dir.File(name + ".Exif"));
    oldBackups.push_back(test::BackupFile(test::ExifSegment(
        test::TiffBuilder().Ifd0({test::Ascii(0x010F, "Old " + std::to_string(i))}).Build())));
  }
  auto setUp = [&] {
    for (int i = 0; i < kPhotos; ++i) dir.Write(backups[i].substr(backups[i].rfind('/') + 1), oldBackups[i]);
  };
  auto batch = [&] {
    test::RecordingHost host;
    Session session(host);
    session.chkBatch = true;
    for (const std::string& photo : photos) session.lstDragFiles.Append(photo);
    return session.cmdBackup_Click();
  };

  setUp();
  std::chrono::microseconds duration = TimeOf([&] { ASSERT_EQ(batch(), Outcome::kDone); });
  for (const std::string& backup : backups) newBackups.push_back(test::ReadFile(backup));

  std::mt19937 random(6122026);
  std::uniform_int_distribution<long> delay(0, duration.count() * 6 / 5 + 1);
  int mixed = 0;  // kills after which some backups were new and some old
  for (int kill = 0; kill < 40; ++kill) {
    setUp();
    pid_t child = fork();
    if (child == 0) _exit(batch() == Outcome::kDone ? 0 : 1);
    std::chrono::microseconds wait(delay(random));
    timespec pause{static_cast<time_t>(wait.count() / 1000000),
                   static_cast<long>(wait.count() % 1000000) * 1000};
    nanosleep(&pause, nullptr);
    ::kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    int fresh = 0;
    for (int i = 0; i < kPhotos; ++i) {
      const std::string now = test::ReadFile(backups[i]);
      ASSERT_TRUE(now == oldBackups[i] || now == newBackups[i]) << "kill " << kill << ", backup " << i;
      fresh += now == newBackups[i];
    }
    mixed += fresh > 0 && fresh < kPhotos;
    ASSERT_EQ(batch(), Outcome::kDone) << "after kill " << kill;
  }
  std::cout << "kills that left old and new backups side by side: " << mixed << " of 40\n";
}

INSTANTIATE_TEST_SUITE_P(Operations, KillTest,
                         ::testing::Values(Scenario{Operation::kWrite, 100},
                                           Scenario{Operation::kRestore, 60},
                                           Scenario{Operation::kBackup, 60}),
                         [](const auto& param) {
                           switch (param.param.operation) {
                             case Operation::kWrite:
                               return std::string("Write");
                             case Operation::kRestore:
                               return std::string("Restore");
                             default:
                               return std::string("Backup");
                           }
                         });

}  // namespace
}  // namespace tagloom
