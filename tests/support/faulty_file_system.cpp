#include "support/faulty_file_system.h"

#include <cerrno>

namespace tagloom::test {

std::string_view FsCallName(FsCall call) {
  switch (call) {
    case FsCall::kOpen:
      return "Open";
    case FsCall::kWrite:
      return "Write";
    case FsCall::kFsync:
      return "Fsync";
    case FsCall::kFchmod:
      return "Fchmod";
    case FsCall::kClose:
      return "Close";
    case FsCall::kRename:
      return "Rename";
    case FsCall::kLink:
      return "Link";
    case FsCall::kUnlink:
      return "Unlink";
    case FsCall::kSyncFolder:
      return "SyncFolderOf";
    case FsCall::kSyncFileSystem:
      return "SyncFileSystemOf";
    case FsCall::kStartWriteback:
      return "StartWriteback";
  }
  return "?";
}

void FaultyFileSystem::FailNth(FsCall call, int nth, int error) {
  failNth_[{call, nth}] = error;
}

void FaultyFileSystem::FailCall(int n, int error) {
  failCall_[n] = error;
}

void FaultyFileSystem::FailEvery(FsCall call, int error) {
  failEvery_[call] = error;
}

void FaultyFileSystem::BeforeNth(FsCall call, int nth, std::function<void()> action) {
  actions_[{call, nth}] = std::move(action);
}

int FaultyFileSystem::CountOf(FsCall call) const {
  int count = 0;
  for (const FsCallRecord& record : calls_) count += record.call == call ? 1 : 0;
  return count;
}

bool FaultyFileSystem::Fails(FsCall call, const std::string& path) {
  calls_.push_back({call, path});
  const int nth = CountOf(call);
  const int n = static_cast<int>(calls_.size());
  if (auto action = actions_.find({call, nth}); action != actions_.end()) action->second();
  int error = 0;
  if (auto it = failNth_.find({call, nth}); it != failNth_.end()) error = it->second;
  if (auto it = failCall_.find(n); it != failCall_.end()) error = it->second;
  if (auto it = failEvery_.find(call); it != failEvery_.end()) error = it->second;
  if (error == 0) return false;
  ++injected_;
  errno = error;
  return true;
}

int FaultyFileSystem::Open(const std::string& path, int flags, mode_t mode) {
  if (!nested_ && Fails(FsCall::kOpen, path)) return -1;
  return FileSystem::Open(path, flags, mode);
}

ssize_t FaultyFileSystem::Write(int fd, const void* data, std::size_t size) {
  if (!nested_ && Fails(FsCall::kWrite, "")) return -1;
  return FileSystem::Write(fd, data, size);
}

int FaultyFileSystem::Fsync(int fd) {
  if (!nested_ && Fails(FsCall::kFsync, "")) return -1;
  return FileSystem::Fsync(fd);
}

int FaultyFileSystem::Fchmod(int fd, mode_t mode) {
  if (!nested_ && Fails(FsCall::kFchmod, "")) return -1;
  return FileSystem::Fchmod(fd, mode);
}

int FaultyFileSystem::Close(int fd) {
  if (nested_) return FileSystem::Close(fd);
  bool fails = Fails(FsCall::kClose, "");
  int saved = errno;
  // A descriptor is gone after close, whatever close reports.
  int result = FileSystem::Close(fd);
  if (!fails) return result;
  errno = saved;
  return -1;
}

int FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
  if (!nested_ && Fails(FsCall::kRename, from)) return -1;
  return FileSystem::Rename(from, to);
}

int FaultyFileSystem::Link(const std::string& from, const std::string& to) {
  if (!nested_ && Fails(FsCall::kLink, from)) return -1;
  return FileSystem::Link(from, to);
}

int FaultyFileSystem::Unlink(const std::string& path) {
  if (!nested_ && Fails(FsCall::kUnlink, path)) return -1;
  return FileSystem::Unlink(path);
}

void FaultyFileSystem::StartWriteback(int fd, off_t offset, off_t length) {
  // Only a hint: a failure here changes nothing, but actions may run.
  if (!Fails(FsCall::kStartWriteback, "")) FileSystem::StartWriteback(fd, offset, length);
}

int FaultyFileSystem::SyncFileSystemOf(const std::string& path) {
  if (Fails(FsCall::kSyncFileSystem, path)) return -1;
  return FileSystem::SyncFileSystemOf(path);
}

int FaultyFileSystem::SyncFolderOf(const std::string& path) {
  if (Fails(FsCall::kSyncFolder, path)) return -1;
  nested_ = true;
  int result = FileSystem::SyncFolderOf(path);
  nested_ = false;
  return result;
}

}  // namespace tagloom::test
