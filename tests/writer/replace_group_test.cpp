#include "writer/replace_group.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "support/faulty_file_system.h"
#include "support/temp_dir.h"

namespace tagloom {
namespace {

using test::FsCall;
using Step = FileFailure::Step;

// Three files staged, the second of which cannot take its name: one sync of
// the file system before any rename, then the others in place and it old.
TEST(ReplaceGroup, OneSyncPutsEveryFileInPlaceAndAFailureKeepsTheOldContent) {
  test::TempDir dir;
  test::FaultyFileSystem fs;
  fs.FailNth(FsCall::kRename, 2, EIO);
  ReplaceGroup group(fs);
  for (const char* name : {"0", "1", "2"}) {
    auto file = std::make_unique<FileReplacer>(
        fs, dir.Write(name, "o"), FileReplacer::Swap::kRename, FileReplacer::Links::kReplace);
    ASSERT_TRUE(file->Create(0644) && file->Write("n") && file->Finish(false));
    group.Add(std::move(file));
  }
  const std::size_t staged = fs.calls.size();
  EXPECT_EQ(fs.CountOf(FsCall::kFsync), 0);  // nothing synced one by one
  std::vector<ReplaceGroup::Failed> failed = group.Commit();
  EXPECT_EQ(fs.calls.at(staged).first, FsCall::kSyncFileSystem);
  EXPECT_EQ(fs.CountOf(FsCall::kSyncFileSystem), 1);
  EXPECT_EQ(fs.CountOf(FsCall::kSyncFolder), 1);
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0].index, 1u);
  EXPECT_EQ(failed[0].failure.step, Step::kRename);
  EXPECT_EQ(failed[0].failure.error, EIO);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(test::ReadFile(dir.File(std::to_string(i))), i == 1 ? "o" : "n");
    EXPECT_FALSE(std::filesystem::exists(dir.File(std::to_string(i) + ".$$$")));
  }
}

}  // namespace
}  // namespace tagloom
