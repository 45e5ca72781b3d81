// A file system that fails on demand: the machine's own, except that a chosen
// call (the nth of one operation, or the nth of all) fails with a chosen errno
// without taking effect, or first runs an action of the test, such as deleting
// or truncating a file half-way through a write.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "writer/file_system.h"

namespace tagloom::test {

enum class FsCall {
  kOpen, kWrite, kFsync, kFchmod, kClose, kRename, kLink, kUnlink, kSyncFolder, kSyncFileSystem,
  kStartWriteback
};

std::string_view FsCallName(FsCall call);

struct FsCallRecord {
  FsCall call;
  std::string path;  // the first path of the call; "" for calls on a descriptor
};

class FaultyFileSystem : public FileSystem {
 public:
  // The nth call (counting from 1) of `call` fails with `error`.
  void FailNth(FsCall call, int nth, int error);
  // The nth call of any operation fails with `error`.
  void FailCall(int n, int error);
  // Every call of `call` fails with `error` (a file system without hard links).
  void FailEvery(FsCall call, int error);
  // Runs `action` right before the nth call of `call` does its work.
  void BeforeNth(FsCall call, int nth, std::function<void()> action);

  // Every call so far, in order. The folder sync counts as one call.
  const std::vector<FsCallRecord>& Calls() const { return calls_; }
  int CountOf(FsCall call) const;
  // How many calls were made to fail.
  int FailuresInjected() const { return injected_; }

  int Open(const std::string& path, int flags, mode_t mode) override;
  ssize_t Write(int fd, const void* data, std::size_t size) override;
  int Fsync(int fd) override;
  void StartWriteback(int fd, off_t offset, off_t length) override;
  int Fchmod(int fd, mode_t mode) override;
  int Close(int fd) override;
  int Rename(const std::string& from, const std::string& to) override;
  int Link(const std::string& from, const std::string& to) override;
  int Unlink(const std::string& path) override;
  int SyncFolderOf(const std::string& path) override;
  int SyncFileSystemOf(const std::string& path) override;

 private:
  // Records the call and runs its action; true (errno set) when it is to fail.
  bool Fails(FsCall call, const std::string& path);

  std::vector<FsCallRecord> calls_;
  std::map<std::pair<FsCall, int>, int> failNth_;
  std::map<int, int> failCall_;
  std::map<FsCall, int> failEvery_;
  std::map<std::pair<FsCall, int>, std::function<void()>> actions_;
  int injected_ = 0;
  bool nested_ = false;  // inside the folder sync, whose own calls are not counted
};

}  // namespace tagloom::test
