// Which file a name or an open file is: its device and inode. Two names of
// one file (hard links, a name reached through a symbolic link, IMG.JPG and
// img.jpg where the file system ignores case) have one identity; this is the
// one place that decides whether two files are the same.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct stat;

namespace tagloom {

struct FileIdentity {
  std::uint64_t device = 0, inode = 0;
  auto operator<=>(const FileIdentity&) const = default;  // ordered, for lookups
};

FileIdentity IdentityOf(const struct stat& info);

// What a file was when it was read: which file, its length, and when its
// content last changed. A file another program replaced, rewrote or cut
// short since has another stamp.
struct FileStamp {
  FileIdentity identity;
  std::int64_t size = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const struct stat& info);

// The identity of the file a path names (through symbolic links, or of the
// link itself when `followLinks` is false); nullopt when there is none.
std::optional<FileIdentity> IdentityOfPath(const std::string& path, bool followLinks = true);

}  // namespace tagloom
