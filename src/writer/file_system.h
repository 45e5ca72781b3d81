// The file operations of every write, and the reads it makes, behind one
// interface, so that tests can make any of them fail (a full disk, a failing
// read, sync or rename, a folder that cannot be written).
#pragma once

#include <sys/types.h>

#include <string>

#include "reader/read_calls.h"

namespace tagloom {

class FileSystem : public ReadCalls {
 public:
  // Each returns what the POSIX call returns and leaves errno set on failure.
  virtual ssize_t Write(int fd, const void* data, std::size_t size);
  virtual int Fsync(int fd);
  // Asks the disk to start writing a range of a file out, without waiting;
  // only a hint, so that a later Fsync has less to wait for.
  virtual void StartWriteback(int fd, off_t offset, off_t length);
  virtual int Fchmod(int fd, mode_t mode);
  virtual int Fchown(int fd, uid_t owner, gid_t group);
  virtual int Ftruncate(int fd, off_t length);
  // flock(2): LOCK_EX | LOCK_NB to take the lock without waiting.
  virtual int Flock(int fd, int operation);
  virtual int Rename(const std::string& from, const std::string& to);
  virtual int Link(const std::string& from, const std::string& to);
  // A rename that fails with EEXIST where `to` names a file already;
  // EINVAL (or ENOSYS) where the file system cannot make it.
  virtual int RenameNoReplace(const std::string& from, const std::string& to);
  virtual int Unlink(const std::string& path);
  // Makes the renames in the folder of `path` durable.
  virtual int SyncFolderOf(const std::string& path);
  // Makes everything written to the file system that holds `path` durable.
  virtual int SyncFileSystemOf(const std::string& path);
};

// The file system of this machine.
FileSystem& RealFileSystem();

}  // namespace tagloom
