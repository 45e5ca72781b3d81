#include "writer/commit_group.h"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <future>
#include <map>

#include "model/path_name.h"

namespace tagloom {

bool CommitGroup::SyncFileSystems(const std::vector<std::string>& paths, FileFailure& failure,
                                  const std::function<void()>& wait) {
  // One path of each device: a sync of a file system covers all its files.
  std::map<std::string, std::string> folders;  // a list's files mostly share one
  for (const std::string& path : paths) folders.emplace(FolderOf(path), path);
  std::map<dev_t, std::string> devices;
  for (const auto& [folder, path] : folders) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) devices.emplace(info.st_dev, path);
  }
  for (const auto& one : devices) {
    const std::string& path = one.second;  // a name a lambda can take (clang 14)
    int result = 0, error = 0;
    if (!wait) {
      result = fs_.SyncFileSystemOf(path);
      error = errno;
    } else {
      // A sync of a slow card takes seconds: the caller keeps breathing
      // meanwhile, and goes on the moment the sync is done.
      std::future<void> sync = std::async(std::launch::async, [&] {
        result = fs_.SyncFileSystemOf(path);
        error = errno;
      });
      while (sync.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) wait();
      sync.get();
    }
    if (result != 0) {
      failure = {FileFailure::Step::kSync, path, error};
      return false;
    }
  }
  return true;
}

std::vector<WriteResult> CommitGroup::Commit(const std::function<void()>& wait) {
  std::vector<std::unique_ptr<Staged>> staged;
  staged.swap(staged_);
  std::vector<WriteResult> results(staged.size());
  std::vector<std::string> unsynced;
  for (const auto& change : staged) {
    if (change->Synced()) continue;
    for (std::string& path : change->TempPaths()) unsynced.push_back(std::move(path));
  }
  // The new contents first reach the disk, all of them; only then does any
  // of them take its name.
  FileFailure failure;
  if (!unsynced.empty() && !SyncFileSystems(unsynced, failure, wait)) {
    for (WriteResult& result : results) {
      result.problem = WriteResult::Problem::kFile;
      result.file = failure;
    }
    return results;  // each staged change removes its temporary files as it goes
  }
  std::map<std::string, std::string> byFolder;  // one file of each folder, to sync it once
  for (std::size_t i = 0; i < staged.size(); ++i) {
    if (!staged[i]->Commit()) continue;
    for (const std::string& target : staged[i]->Targets()) {
      byFolder.emplace(FolderOf(target), target);
    }
  }
  for (const auto& [folder, file] : byFolder) fs_.SyncFolderOf(file);
  for (std::size_t i = 0; i < staged.size(); ++i) {
    staged[i]->Settle();
    results[i] = staged[i]->Result();
  }
  return results;
}

}  // namespace tagloom
