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

TEST(ReplaceGroup, OneSyncPutsEveryFileInPlaceAndAFailureKeepsTheOldContent) {
  struct Case {
    FsCall call;
    int nth;                          // -1: nothing fails
    const char* contents;             // each file's content after the commit: n(ew) or o(ld)
    std::vector<std::size_t> failed;  // indexes
    Step step;
  };
  for (const Case& c : std::initializer_list<Case>{
           {FsCall::kOpen, -1, "nnn", {}, Step::kNone},
           {FsCall::kRename, 2, "non", {1}, Step::kRename},
       }) {
    SCOPED_TRACE(c.contents);
    test::TempDir dir;
    test::FaultyFileSystem fs;
    fs.FailNth(c.call, c.nth, EIO);
    ReplaceGroup group(fs);
    for (const char* name : {"0", "1", "2"}) {
      auto file =
          std::make_unique<FileReplacer>(fs, dir.Write(name, "o"), FileReplacer::Swap::kRename,
                                         FileReplacer::Links::kReplace);
      ASSERT_TRUE(file->Create(0644) && file->Write("n") && file->Finish(false));
      group.Add(std::move(file));
    }
    const std::size_t staged = fs.calls.size();
    EXPECT_EQ(fs.CountOf(FsCall::kFsync), 0);  // nothing synced one by one
    std::vector<ReplaceGroup::Failed> failed = group.Commit();
    // One sync of the file system, before any file takes its new name.
    EXPECT_EQ(fs.calls.at(staged).first, FsCall::kSyncFileSystem);
    EXPECT_EQ(fs.CountOf(FsCall::kSyncFileSystem), 1);
    EXPECT_EQ(fs.CountOf(FsCall::kSyncFolder), c.step == Step::kSync ? 0 : 1);
    ASSERT_EQ(failed.size(), c.failed.size());
    for (std::size_t i = 0; i < failed.size(); ++i) {
      EXPECT_EQ(failed[i].index, c.failed[i]);
      EXPECT_EQ(failed[i].failure.step, c.step);
      EXPECT_EQ(failed[i].failure.error, EIO);
    }
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(test::ReadFile(dir.File(std::to_string(i))), std::string(1, c.contents[i]));
      EXPECT_FALSE(std::filesystem::exists(dir.File(std::to_string(i) + ".$$$")));
    }
  }
}

}  // namespace
}  // namespace tagloom
