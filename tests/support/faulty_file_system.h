// The machine's file system, except that a chosen call (the nth of one
// operation, or the nth of all) fails with a chosen errno without taking
// effect, or first runs an action of the test (deleting a file mid-write).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "writer/file_system.h"

namespace tagloom::test {

// clang-format off
enum class FsCall {
  kOpen, kWrite, kFsync, kFchmod, kClose, kRename, kLink, kUnlink, kSyncFolder, kSyncFileSystem,
  kStartWriteback, kFchown, kFtruncate, kFlock
};
// clang-format on

class FaultyFileSystem : public FileSystem {
 public:
  // The nth call (from 1; 0 for every call) of `call` fails with `error`.
  void FailNth(FsCall call, int nth, int error) { failNth_[{call, nth}] = error; }
  // Runs `action` right before the nth call of `call` does its work.
  void BeforeNth(FsCall call, int nth, std::function<void()> action) {
    actions_[{call, nth}] = std::move(action);
  }

  // Every call so far, in order, with its first path ("" for a descriptor).
  // The folder sync counts as one call.
  std::vector<std::pair<FsCall, std::string>> calls;
  int CountOf(FsCall call) const;

  int Open(const std::string& p, int flags, mode_t mode) override {
    return Fails(FsCall::kOpen, p) ? -1 : FileSystem::Open(p, flags, mode);
  }
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    return Fails(FsCall::kWrite) ? -1 : FileSystem::Write(fd, data, size);
  }
  int Fsync(int fd) override { return Fails(FsCall::kFsync) ? -1 : FileSystem::Fsync(fd); }
  // Only a hint: a failure here changes nothing, but actions may run.
  void StartWriteback(int fd, off_t offset, off_t length) override {
    if (!Fails(FsCall::kStartWriteback)) FileSystem::StartWriteback(fd, offset, length);
  }
  int Fchmod(int fd, mode_t m) override {
    return Fails(FsCall::kFchmod) ? -1 : FileSystem::Fchmod(fd, m);
  }
  int Fchown(int fd, uid_t owner, gid_t group) override {
    return Fails(FsCall::kFchown) ? -1 : FileSystem::Fchown(fd, owner, group);
  }
  int Ftruncate(int fd, off_t length) override {
    return Fails(FsCall::kFtruncate) ? -1 : FileSystem::Ftruncate(fd, length);
  }
  int Flock(int fd, int operation) override {
    return Fails(FsCall::kFlock) ? -1 : FileSystem::Flock(fd, operation);
  }
  int Close(int fd) override;
  int Rename(const std::string& from, const std::string& to) override {
    return Fails(FsCall::kRename, from) ? -1 : FileSystem::Rename(from, to);
  }
  int Link(const std::string& from, const std::string& to) override {
    return Fails(FsCall::kLink, from) ? -1 : FileSystem::Link(from, to);
  }
  int Unlink(const std::string& p) override {
    return Fails(FsCall::kUnlink, p) ? -1 : FileSystem::Unlink(p);
  }
  int SyncFolderOf(const std::string& path) override;
  int SyncFileSystemOf(const std::string& p) override {
    return Fails(FsCall::kSyncFileSystem, p) ? -1 : FileSystem::SyncFileSystemOf(p);
  }

 private:
  // Records the call and runs its action; true (errno set) when it is to fail.
  bool Fails(FsCall call, const std::string& path = "");

  std::map<std::pair<FsCall, int>, int> failNth_;
  std::map<std::pair<FsCall, int>, std::function<void()>> actions_;
  bool nested_ = false;  // inside the folder sync, whose own calls are not counted
};

}  // namespace tagloom::test
