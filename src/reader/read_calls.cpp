#include "reader/read_calls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tagloom {

int ReadCalls::Open(const std::string& path, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

int ReadCalls::Fstat(int fd, struct stat* info) {
  return ::fstat(fd, info);
}

ssize_t ReadCalls::Pread(int fd, void* data, std::size_t size, off_t offset) {
  ssize_t got;
  do {
    got = ::pread(fd, data, size, offset);
  } while (got < 0 && errno == EINTR);
  return got;
}

int ReadCalls::Close(int fd) {
  return ::close(fd);
}

ReadCalls& RealReadCalls() {
  static ReadCalls real;
  return real;
}

}  // namespace tagloom
