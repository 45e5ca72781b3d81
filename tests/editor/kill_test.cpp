// A photographer's files must survive a crash at any moment: a child process
// writes, restores or backs up, and is killed at a random point, many times;
// each time every file holds exactly its old or its new content, and the next
// attempt succeeds.
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>

#include "editor/editor_support.h"

namespace tagloom {
namespace {

using namespace test;

// A first write saves the photograph's block into a new backup file; a write
// leaves an existing one as it was. The list runs put a group of photographs
// in place after one sync.
enum class Operation {
  kWrite,
  kFirstWrite,
  kRestore,
  kBackup,
  kBatchBackup,
  kBatchRestore,
  kListWrite,
  kShift
};

// The files an operation works on, each with its content before: name, bytes
// ("" for a file that is not there).
using Files = std::vector<std::pair<std::string, std::string>>;

Files FilesFor(Operation operation) {
  Files files;
  if (operation == Operation::kListWrite || operation == Operation::kShift) {
    // ten photographs, none with a backup yet
    for (int i = 0; i < 10; ++i) {
      const std::string name = "roll_" + std::to_string(i);
      files.push_back({name + ".jpg", PhotoWithExif(name, 1 << 20)});
      files.push_back({name + ".Exif", ""});
    }
    return files;
  }
  if (operation != Operation::kBatchBackup && operation != Operation::kBatchRestore) {
    const std::string tiff =
        TiffBuilder(ByteOrder::kBig).Ifd0({Short(0x0112, 6)}).ExifIfd({}).Build();
    return {{"big.jpg", JpegBuilder().App0Jfif().App1Exif(tiff).App2Icc().Scan(8 << 20).Build()},
            {"big.Exif", operation == Operation::kFirstWrite ? "" : BackupOf("FromBackup")}};
  }
  // Forty photographs, each with a backup of another block.
  for (int i = 0; i < 40; ++i) {
    const std::string name = "photo_" + std::to_string(i);
    const std::string tiff = TiffBuilder()
                                 .Ifd0({Ascii(0x010F, name)})
                                 .ExifIfd({Undefined(0x927C, std::string(20000, 'n'))})
                                 .Build();
    files.push_back({name + ".jpg", JpegBuilder().App1Exif(tiff).Scan(1000).Build()});
    files.push_back({name + ".Exif", BackupOf("Old " + name)});
  }
  return files;
}

Outcome RunOperation(Operation operation, const TempDir& dir, const Files& files) {
  RecordingHost host;
  Session session(host);
  if (operation >= Operation::kBatchBackup) {
    for (const auto& [name, bytes] : files) {
      if (name.ends_with(".jpg")) session.lstDragFiles.Append(dir.File(name));
    }
    session.DoDrop();
    session.SetBatch(true);
    if (operation == Operation::kBatchBackup) return session.cmdBackup_Click();
    if (operation == Operation::kBatchRestore) return session.cmdRestore_Click();
    if (operation == Operation::kShift) return session.ShiftDates(DateOffset{3600});
    session.chkKeep[kAreaCopyright] = true;
    session.SetFieldText(field::kCopyright, "A roll written while being killed");
    return session.cmdExifWrite_Click();
  }
  session.DrawImage(dir.File("big.jpg"));
  if (operation == Operation::kRestore) return session.cmdRestore_Click();
  if (operation == Operation::kBackup) return session.cmdBackup_Click();
  session.SetFieldText(0, "Killed Camera");
  session.SetFieldText(13, "written while being killed");
  return session.cmdExifWrite_Click();
}

class KillTest : public ::testing::TestWithParam<std::pair<Operation, int>> {};

TEST_P(KillTest, EveryFileIsAlwaysWholeOldOrWholeNew) {
  const auto [operation, kills] = GetParam();
  const Files files = FilesFor(operation);
  TempDir dir;
  auto setUp = [&] {  // leftovers of the last kill (.$$$, .%#%) stay where they are
    for (const auto& [name, bytes] : files) {
      if (bytes.empty()) std::filesystem::remove(dir.File(name));
      if (!bytes.empty()) dir.Write(name, bytes);
    }
  };
  auto contents = [&] {
    std::vector<std::string> now;
    for (const auto& [name, bytes] : files) now.push_back(ReadFile(dir.File(name)));
    return now;
  };
  setUp();
  const std::vector<std::string> before = contents();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(RunOperation(operation, dir, files), Outcome::kDone);
  const std::chrono::microseconds took = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - start);
  const std::vector<std::string> after = contents();
  ASSERT_FALSE(std::ranges::equal(after, before)) << "the operation changed no file";
  std::mt19937 random(20261206);
  std::uniform_int_distribution<long> delay(0, static_cast<long>(took.count()) * 6 / 5 + 1);
  int midway = 0;  // kills that left some file old
  for (int kill = 0; kill < kills; ++kill) {
    setUp();
    const pid_t child = fork();
    if (child == 0) _exit(RunOperation(operation, dir, files) == Outcome::kDone ? 0 : 1);
    const long wait = delay(random);
    const timespec pause{static_cast<time_t>(wait / 1000000), (wait % 1000000) * 1000};
    nanosleep(&pause, nullptr);
    ::kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const std::vector<std::string> now = contents();
    for (std::size_t i = 0; i < files.size(); ++i) {
      ASSERT_TRUE(OldOrNew(now[i], before[i], after[i]))
          << "after kill " << kill << ", " << files[i].first;
    }
    midway += now != after;
    // Whatever the kill left, the next attempt succeeds and completes the work
    // (a shift again shifts what the killed one had shifted).
    ASSERT_EQ(RunOperation(operation, dir, files), Outcome::kDone) << "after kill " << kill;
    if (operation == Operation::kShift) continue;
    const std::vector<std::string> finished = contents();
    for (std::size_t i = 0; i < files.size(); ++i) {
      ASSERT_TRUE(SameBytes(finished[i], after[i]))
          << "after kill " << kill << ": " << files[i].first;
    }
  }
  // The kills must really have landed inside the operation, or this proves nothing.
  EXPECT_GT(midway, 0) << "no kill came before the work was complete";
}

INSTANTIATE_TEST_SUITE_P(
    Operations, KillTest,
    ::testing::Values(std::pair{Operation::kWrite, 60}, std::pair{Operation::kFirstWrite, 60},
                      std::pair{Operation::kRestore, 60}, std::pair{Operation::kBackup, 60},
                      std::pair{Operation::kBatchBackup, 40},
                      std::pair{Operation::kBatchRestore, 40}, std::pair{Operation::kListWrite, 40},
                      std::pair{Operation::kShift, 40}));

}  // namespace
}  // namespace tagloom
