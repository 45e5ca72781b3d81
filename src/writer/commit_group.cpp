#include "writer/commit_group.h"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <map>
#include <system_error>

#include "model/path_name.h"

namespace tagloom {
namespace {

// One path on each file system that holds `paths`: a sync of a file system
// covers all its files, and a list's files mostly share one folder.
std::vector<std::string> OnePathOfEachFileSystem(const std::vector<std::string>& paths) {
  std::map<std::string, std::string> folders;
  for (const std::string& path : paths) folders.emplace(FolderOf(path), path);
  std::map<dev_t, std::string> devices;
  for (const auto& [folder, path] : folders) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) devices.emplace(info.st_dev, path);
  }
  std::vector<std::string> chosen;
  for (auto& one : devices) chosen.push_back(std::move(one.second));
  return chosen;
}

}  // namespace

CommitGroup::~CommitGroup() {
  if (retiring_.valid()) retiring_.wait();
}

void CommitGroup::Launch() {
  launched_.swap(staged_);
  staged_.clear();  // nothing is left there: a launched group was finished before
  std::vector<std::string> unsynced;
  for (const auto& change : launched_) {
    if (change->Synced()) continue;
    for (std::string& path : change->TempPaths()) unsynced.push_back(std::move(path));
  }
  std::vector<std::string> fileSystems = OnePathOfEachFileSystem(unsynced);
  if (fileSystems.empty()) return;
  // A sync of a slow card takes seconds: the run stages its next
  // photographs meanwhile, and the window keeps breathing.
  syncing_ = std::async(std::launch::async, [this, fileSystems = std::move(fileSystems)] {
    for (const std::string& path : fileSystems) {
      if (fs_.SyncFileSystemOf(path) != 0) {
        return FileFailure{FileFailure::Step::kSync, path, errno};
      }
    }
    return FileFailure{};
  });
}

std::vector<WriteResult> CommitGroup::Finish(const std::function<void()>& wait) {
  std::vector<std::unique_ptr<Staged>> staged;
  staged.swap(launched_);
  std::vector<WriteResult> results(staged.size());
  // The new contents first reach the disk, all of them; only then does any
  // of them take its name.
  if (syncing_.valid()) {
    if (wait) {
      while (syncing_.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        wait();
      }
    }
    const FileFailure failure = syncing_.get();
    if (failure.step != FileFailure::Step::kNone) {
      for (WriteResult& result : results) {
        result.problem = WriteResult::Problem::kFile;
        result.file = failure;
      }
      return results;  // each staged change removes its temporary files as it goes
    }
  }
  std::map<std::string, std::string> byFolder;  // one file of each folder, to sync it once
  for (const std::unique_ptr<Staged>& change : staged) {
    if (!change->Commit()) continue;
    for (const std::string& target : change->Targets()) byFolder.emplace(FolderOf(target), target);
  }
  for (const auto& [folder, file] : byFolder) fs_.SyncFolderOf(file);
  // Those put in place still hold the files they replaced, whose names are
  // gone: they let go beside the next group's staging. One that failed
  // removes its temporary files as this call ends, while they are surely
  // its own.
  std::vector<std::unique_ptr<Staged>> replaced;
  for (std::size_t i = 0; i < staged.size(); ++i) {
    staged[i]->Settle();
    results[i] = staged[i]->Result();
    if (results[i].Ok()) replaced.push_back(std::move(staged[i]));
  }
  if (replaced.empty()) return results;
  if (retiring_.valid()) retiring_.wait();
  try {
    retiring_ =
        std::async(std::launch::async, [done = std::move(replaced)]() mutable { done.clear(); });
  } catch (const std::system_error&) {
    // No thread to be had: they were let go here, as the call unwound.
  }
  return results;
}

}  // namespace tagloom
