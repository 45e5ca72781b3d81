#include "reader/file_identity.h"

#include <sys/stat.h>

namespace tagloom {

FileIdentity IdentityOf(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

FileStamp StampOf(const struct stat& info) {
  return {IdentityOf(info), static_cast<std::int64_t>(info.st_size),
          static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

std::optional<FileIdentity> IdentityOfPath(const std::string& path, bool followLinks) {
  struct stat info {};
  const int status = followLinks ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
  if (status != 0) return std::nullopt;
  return IdentityOf(info);
}

}  // namespace tagloom
