#include "writer/replace_group.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "support/faulty_file_system.h"
#include "support/temp_dir.h"

namespace tagloom {
namespace {

using test::FaultyFileSystem;
using test::FsCall;
using test::TempDir;

// Three files with old contents, and a group holding their new ones.
struct Staged {
  TempDir dir;
  std::vector<std::string> paths;

  explicit Staged(FileSystem& fs, ReplaceGroup& group) {
    for (const char* name : {"a.Exif", "b.Exif", "c.Exif"}) {
      paths.push_back(dir.Write(name, std::string("old ") + name));
      auto replacer = std::make_unique<FileReplacer>(fs, paths.back(), FileReplacer::Swap::kRename);
      EXPECT_TRUE(replacer->Create(0644));
      EXPECT_TRUE(replacer->Write(std::string("new ") + name));
      EXPECT_TRUE(replacer->Finish(false));
      group.Add(std::move(replacer));
    }
  }
  std::string Content(std::size_t i) const { return test::ReadFile(paths[i]); }
  bool TempLeft(std::size_t i) const {
    return std::filesystem::exists(paths[i] + std::string(kTempSuffix));
  }
};

TEST(ReplaceGroup, PutsEveryFileInPlaceWithOneSyncOfTheFileSystemAndOneOfTheFolder) {
  FaultyFileSystem fs;
  ReplaceGroup group(fs);
  Staged staged(fs, group);
  EXPECT_EQ(fs.CountOf(FsCall::kFsync), 0);  // nothing synced one by one
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(staged.Content(i).substr(0, 3), "old");

  EXPECT_TRUE(group.Commit().empty());
  EXPECT_EQ(group.Size(), 0u);
  EXPECT_EQ(staged.Content(0), "new a.Exif");
  EXPECT_EQ(staged.Content(2), "new c.Exif");
  EXPECT_FALSE(staged.TempLeft(1));
  EXPECT_EQ(fs.CountOf(FsCall::kSyncFileSystem), 1);
  EXPECT_EQ(fs.CountOf(FsCall::kSyncFolder), 1);
  // The file system is synced before any file takes its new name.
  const auto& calls = fs.Calls();
  auto sync = std::find_if(calls.begin(), calls.end(),
                           [](const auto& c) { return c.call == FsCall::kSyncFileSystem; });
  auto rename = std::find_if(calls.begin(), calls.end(),
                             [](const auto& c) { return c.call == FsCall::kRename; });
  EXPECT_LT(sync, rename);
}

TEST(ReplaceGroup, AFailedSyncLeavesEveryOldFileAndNoTemporaryFile) {
  FaultyFileSystem fs;
  fs.FailNth(FsCall::kSyncFileSystem, 1, EIO);
  ReplaceGroup group(fs);
  Staged staged(fs, group);
  std::vector<ReplaceGroup::Failed> failed = group.Commit();
  ASSERT_EQ(failed.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(failed[i].index, i);
    EXPECT_EQ(failed[i].failure.step, FileFailure::Step::kSync);
    EXPECT_EQ(failed[i].failure.error, EIO);
    EXPECT_EQ(staged.Content(i).substr(0, 3), "old");
    EXPECT_FALSE(staged.TempLeft(i));
  }
}

TEST(ReplaceGroup, AFailedRenameFailsThatFileAloneAndLeavesItsOldContent) {
  FaultyFileSystem fs;
  fs.FailNth(FsCall::kRename, 2, ENOSPC);
  ReplaceGroup group(fs);
  Staged staged(fs, group);
  std::vector<ReplaceGroup::Failed> failed = group.Commit();
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0].index, 1u);
  EXPECT_EQ(failed[0].failure.step, FileFailure::Step::kRename);
  EXPECT_EQ(staged.Content(0), "new a.Exif");
  EXPECT_EQ(staged.Content(1), "old b.Exif");
  EXPECT_EQ(staged.Content(2), "new c.Exif");
  EXPECT_FALSE(staged.TempLeft(1));
}

}  // namespace
}  // namespace tagloom
