#include "support/faulty_file_system.h"

#include <cerrno>

namespace tagloom::test {

int FaultyFileSystem::CountOf(FsCall call) const {
  int count = 0;
  for (const auto& record : calls) count += record.first == call ? 1 : 0;
  return count;
}

bool FaultyFileSystem::Fails(FsCall call, const std::string& path) {
  const std::lock_guard<std::recursive_mutex> one(*calling_);
  if (nested_) return false;
  calls.emplace_back(call, path);
  const int nth = CountOf(call);
  if (auto action = actions_.find({call, nth}); action != actions_.end()) action->second();
  int error = 0;
  for (int n : {0, nth}) {
    if (auto it = failNth_.find({call, n}); it != failNth_.end()) error = it->second;
  }
  for (const PathFailure& failure : failOnPath_) {
    if (failure.call == call && path.ends_with(failure.suffix)) error = failure.error;
  }
  if (error == 0) return false;
  errno = error;
  return true;
}

int FaultyFileSystem::Close(int fd) {
  const bool fails = Fails(FsCall::kClose);
  const int saved = errno;
  const int result = FileSystem::Close(fd);  // the descriptor is gone whatever close reports
  if (fails) errno = saved;
  return fails ? -1 : result;
}

int FaultyFileSystem::SyncFolderOf(const std::string& path) {
  const std::lock_guard<std::recursive_mutex> one(*calling_);  // its own calls are not counted
  if (Fails(FsCall::kSyncFolder, path)) return -1;
  nested_ = true;
  const int result = FileSystem::SyncFolderOf(path);
  nested_ = false;
  return result;
}

}  // namespace tagloom::test
