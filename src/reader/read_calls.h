// The system calls that read files, behind one interface, so that tests can
// make any of them fail: the I/O error of a flaky card reader, a file that
// another program cuts short while it is read.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

struct stat;

namespace tagloom {

class ReadCalls {
 public:
  virtual ~ReadCalls() = default;
  // Each returns what the POSIX call returns and leaves errno set on failure.
  virtual int Open(const std::string& path, int flags, mode_t mode);
  virtual int Fstat(int fd, struct stat* info);
  virtual ssize_t Pread(int fd, void* data, std::size_t size, off_t offset);
  virtual int Close(int fd);
};

// The reads of this machine.
ReadCalls& RealReadCalls();

}  // namespace tagloom
