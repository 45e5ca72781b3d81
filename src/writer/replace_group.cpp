#include "writer/replace_group.h"

#include <cerrno>
#include <map>
#include <string>

#include "model/path_name.h"

namespace tagloom {

void ReplaceGroup::Add(std::unique_ptr<FileReplacer> replacer) {
  pending_.push_back(std::move(replacer));
}

std::vector<ReplaceGroup::Failed> ReplaceGroup::Commit() {
  std::vector<Failed> failed;
  std::vector<std::unique_ptr<FileReplacer>> pending;
  pending.swap(pending_);
  if (pending.empty()) return failed;
  // The new contents first reach the disk, all of them; only then do any of
  // them take their targets' names.
  if (fs_.SyncFileSystemOf(pending.front()->TempPath()) != 0) {
    FileFailure failure{FileFailure::Step::kSync, pending.front()->TempPath(), errno};
    for (std::size_t i = 0; i < pending.size(); ++i) failed.push_back({i, failure});
    return failed;  // each replacer removes its temporary file as it goes
  }
  // One file of each folder, to sync that folder's renames once.
  std::map<std::string, std::string> folders;
  for (std::size_t i = 0; i < pending.size(); ++i) {
    if (!pending[i]->Commit(false)) {
      failed.push_back({i, pending[i]->Failure()});
      continue;
    }
    const std::string& target = pending[i]->Target();
    folders.emplace(FolderOf(target), target);
  }
  for (const auto& [folder, file] : folders) fs_.SyncFolderOf(file);
  return failed;
}

}  // namespace tagloom
