#include "writer/file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "model/path_name.h"

namespace tagloom {

ssize_t FileSystem::Write(int fd, const void* data, std::size_t size) {
  ssize_t written;
  do {
    written = ::write(fd, data, size);
  } while (written < 0 && errno == EINTR);
  return written;
}

int FileSystem::Fsync(int fd) {
  return ::fsync(fd);
}

void FileSystem::StartWriteback(int fd, off_t offset, off_t length) {
#if defined(__linux__)
  int saved = errno;
  ::sync_file_range(fd, offset, length, SYNC_FILE_RANGE_WRITE);
  errno = saved;
#else
  (void)fd, (void)offset, (void)length;
#endif
}

int FileSystem::Fchmod(int fd, mode_t mode) {
  return ::fchmod(fd, mode);
}

int FileSystem::Fchown(int fd, uid_t owner, gid_t group) {
  return ::fchown(fd, owner, group);
}

int FileSystem::Ftruncate(int fd, off_t length) {
  return ::ftruncate(fd, length);
}

int FileSystem::Flock(int fd, int operation) {
  int result;
  do {
    result = ::flock(fd, operation);
  } while (result != 0 && errno == EINTR);
  return result;
}

int FileSystem::Rename(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str());
}

int FileSystem::Link(const std::string& from, const std::string& to) {
  return ::link(from.c_str(), to.c_str());
}

int FileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
  return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
}

int FileSystem::Unlink(const std::string& path) {
  return ::unlink(path.c_str());
}

int FileSystem::SyncFolderOf(const std::string& path) {
  int fd = Open(FolderOf(path), O_RDONLY | O_DIRECTORY, 0);
  if (fd < 0) return -1;
  int result = Fsync(fd);
  int saved = errno;
  Close(fd);
  errno = saved;
  return result;
}

int FileSystem::SyncFileSystemOf(const std::string& path) {
  int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -1;
  int result = ::syncfs(fd);
  int saved = errno;
  ::close(fd);
  errno = saved;
  return result;
}

FileSystem& RealFileSystem() {
  static FileSystem real;
  return real;
}

}  // namespace tagloom
