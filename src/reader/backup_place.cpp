#include "reader/backup_place.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>

#include "model/path_name.h"
#include "reader/backup_format.h"
#include "reader/read_channel.h"

namespace tagloom {
namespace {

// The name up to and including its last "."; "" for a name without one.
std::string_view StemOf(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(0, dot + 1);
}

}  // namespace

BackupPlaceCheck CheckBackupPlace(const std::string& backupPath, const FileIdentity& photo,
                                  ReadCalls& calls) {
  if (backupPath.empty()) return {BackupPlace::kNotAFile};
  struct stat named {};
  if (::lstat(backupPath.c_str(), &named) != 0) {
    return errno == ENOENT ? BackupPlaceCheck{BackupPlace::kFree}
                           : BackupPlaceCheck{BackupPlace::kUnreadable, errno};
  }
  struct stat info {};
  if (::stat(backupPath.c_str(), &info) != 0) {
    return errno == ENOENT ? BackupPlaceCheck{BackupPlace::kDanglingLink}
                           : BackupPlaceCheck{BackupPlace::kUnreadable, errno};
  }
  if (!S_ISREG(info.st_mode)) return {BackupPlace::kNotAFile};
  if (IdentityOf(info) == photo) return {BackupPlace::kIsPhoto};
  if (info.st_size == 0) return {BackupPlace::kEmpty};
  OpenFailure failure;
  std::optional<ReadChannel> backup = ReadChannel::OpenFile(backupPath, &failure, calls);
  if (!backup) {
    return failure.problem == OpenProblem::kNotRegular
               ? BackupPlaceCheck{BackupPlace::kNotAFile}
               : BackupPlaceCheck{BackupPlace::kUnreadable, failure.error};
  }
  const BackupCheck content = CheckBackupContent(*backup);
  if (backup->Failed()) return {BackupPlace::kUnreadable, backup->Error()};
  return {content == BackupCheck::kOk ? BackupPlace::kBackup : BackupPlace::kDamaged};
}

const FolderNames::ByStem& FolderNames::Folder(const std::string& folder) {
  auto [at, fresh] = folders_.try_emplace(folder);
  if (!fresh) return at->second;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
  if (!dir) return at->second;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (entry->d_type == DT_DIR || !IsPhotoFile(name) || StemOf(name).empty()) continue;
    at->second.emplace(std::string(StemOf(name)), std::string(name));
  }
  return at->second;
}

std::vector<std::string> FolderNames::SharingBackup(const std::string& photoPath) {
  std::vector<std::string> others;
  const std::string_view name = FileNameOf(photoPath);
  const std::string_view stem = StemOf(name);
  if (stem.empty()) return others;
  const std::string prefix(photoPath.substr(0, photoPath.size() - name.size()));
  const ByStem& photos = Folder(FolderOf(photoPath));
  for (auto [it, end] = photos.equal_range(stem); it != end; ++it) {
    if (it->second != name) others.push_back(prefix + it->second);
  }
  return others;
}

}  // namespace tagloom
