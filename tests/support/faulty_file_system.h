// The machine's file system, except that a chosen call (the nth of one
// operation, or the nth of all) fails with a chosen errno without taking
// effect, or first runs an action of the test (deleting a file mid-write).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "writer/file_system.h"

namespace tagloom::test {

// clang-format off
enum class FsCall {
  kOpen, kWrite, kFsync, kFchmod, kClose, kRename, kLink, kUnlink, kSyncFolder, kSyncFileSystem,
  kStartWriteback, kFchown, kFtruncate, kFlock, kPread, kFstat, kRenameNoReplace
};
// clang-format on

class FaultyFileSystem : public FileSystem {
 public:
  // The nth call (from 1; 0 for every call) of `call` fails with `error`.
  void FailNth(FsCall call, int nth, int error) { failNth_[{call, nth}] = error; }
  // Every call of `call` on a path that ends with `suffix` fails with `error`.
  void FailOnPath(FsCall call, std::string suffix, int error) {
    failOnPath_.push_back({call, std::move(suffix), error});
  }
  // Runs `action` right before the nth call of `call` does its work.
  void BeforeNth(FsCall call, int nth, std::function<void()> action) {
    actions_[{call, nth}] = std::move(action);
  }

  // Every call so far, in order, with its first path ("" for a descriptor).
  // The folder sync counts as one call. Read it once the calls are over.
  std::vector<std::pair<FsCall, std::string>> calls;
  int CountOf(FsCall call) const;

// Each call passes to the machine's file system unless it is to fail.
#define TAGLOOM_FAULTY(Result, Name, Params, Call, Path, ...)              \
  Result Name Params override {                                            \
    return Fails(FsCall::Call, Path) ? -1 : FileSystem::Name(__VA_ARGS__); \
  }
  TAGLOOM_FAULTY(int, Open, (const std::string& p, int flags, mode_t mode), kOpen, p, p, flags,
                 mode)
  TAGLOOM_FAULTY(ssize_t, Write, (int fd, const void* data, std::size_t n), kWrite, "", fd, data, n)
  TAGLOOM_FAULTY(ssize_t, Pread, (int fd, void* data, std::size_t n, off_t at), kPread, "", fd,
                 data, n, at)
  TAGLOOM_FAULTY(int, Fstat, (int fd, struct stat* info), kFstat, "", fd, info)
  TAGLOOM_FAULTY(int, Fsync, (int fd), kFsync, "", fd)
  TAGLOOM_FAULTY(int, Fchmod, (int fd, mode_t m), kFchmod, "", fd, m)
  TAGLOOM_FAULTY(int, Fchown, (int fd, uid_t owner, gid_t group), kFchown, "", fd, owner, group)
  TAGLOOM_FAULTY(int, Ftruncate, (int fd, off_t length), kFtruncate, "", fd, length)
  TAGLOOM_FAULTY(int, Flock, (int fd, int operation), kFlock, "", fd, operation)
  TAGLOOM_FAULTY(int, Rename, (const std::string& from, const std::string& to), kRename, from, from,
                 to)
  TAGLOOM_FAULTY(int, Link, (const std::string& from, const std::string& to), kLink, from, from, to)
  TAGLOOM_FAULTY(int, RenameNoReplace, (const std::string& from, const std::string& to),
                 kRenameNoReplace, from, from, to)
  TAGLOOM_FAULTY(int, Unlink, (const std::string& p), kUnlink, p, p)
  TAGLOOM_FAULTY(int, SyncFileSystemOf, (const std::string& p), kSyncFileSystem, p, p)
#undef TAGLOOM_FAULTY
  // Only a hint: a failure here changes nothing, but actions may run.
  void StartWriteback(int fd, off_t offset, off_t length) override {
    if (!Fails(FsCall::kStartWriteback)) FileSystem::StartWriteback(fd, offset, length);
  }
  int Close(int fd) override;
  int SyncFolderOf(const std::string& path) override;

 private:
  // Records the call and runs its action; true (errno set) when it is to fail.
  bool Fails(FsCall call, const std::string& path = "");

  std::map<std::pair<FsCall, int>, int> failNth_;
  struct PathFailure {
    FsCall call;
    std::string suffix;
    int error;
  };
  std::vector<PathFailure> failOnPath_;
  std::map<std::pair<FsCall, int>, std::function<void()>> actions_;
  bool nested_ = false;  // inside the folder sync, whose own calls are not counted
  // A group's sync runs on a thread of its own while the next group is staged.
  std::unique_ptr<std::recursive_mutex> calling_ = std::make_unique<std::recursive_mutex>();
};

}  // namespace tagloom::test
