#include "reader/read_channel.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace tagloom {

// An open file and a window of it held in memory, so that the many small reads
// of a directory walk cost no system call each.
struct ReadChannel::File {
  // Large enough for a typical EXIF block in one read, small enough that the
  // copy out of the page cache costs little.
  static constexpr std::size_t kWindow = 8 * 1024;
  // The first read: a camera's EXIF block mostly ends within the first 4 KiB,
  // and a smaller first read copies less out of the page cache.
  static constexpr std::size_t kFirstWindow = 4 * 1024;

  int fd = -1;
  bool owned = true;  // closed with the channel
  ReadCalls* calls = nullptr;
  std::uint8_t window[kWindow];  // not zeroed (the File is made by new File): filled by reads
  bool filled = false;           // whether the window was read into before

  ~File() {
    if (fd >= 0 && owned) calls->Close(fd);
  }

  // Reads n bytes at offset (all inside the file as it was opened); false,
  // with `error` the system's error (0: the file shrank under us), when the
  // file gives fewer.
  bool ReadAt(std::int64_t offset, std::uint8_t* dst, std::size_t n, int& error) {
    while (n > 0) {
      ssize_t got = calls->Pread(fd, dst, n, offset);
      if (got <= 0) {
        error = got < 0 ? errno : 0;
        return false;
      }
      dst += got;
      offset += got;
      n -= static_cast<std::size_t>(got);
    }
    return true;
  }
};

ReadChannel::ReadChannel(std::span<const std::uint8_t> bytes)
    : memory_(bytes), length_(static_cast<std::int64_t>(bytes.size())) {
  view_ = bytes.data();
  viewSize_ = length_;
}

ReadChannel::ReadChannel(int fd, bool owned, const struct stat& info, ReadCalls& calls)
    : file_(new File),
      length_(static_cast<std::int64_t>(info.st_size)),
      stamp_(StampOf(info)),
      status_(info) {
  file_->fd = fd;
  file_->owned = owned;
  file_->calls = &calls;
}

ReadChannel::ReadChannel(ReadChannel&&) noexcept = default;
ReadChannel& ReadChannel::operator=(ReadChannel&&) noexcept = default;
ReadChannel::~ReadChannel() = default;

int OpenRegularFile(const std::string& path, OpenFailure* failure, struct stat* info,
                    ReadCalls& calls) {
  auto fail = [&](OpenProblem why, int error) {
    if (failure) *failure = {why, error};
    return -1;
  };
  // O_NONBLOCK: opening a FIFO for reading would wait for a writer for ever.
  // It changes nothing for the regular files that are read.
  int fd = calls.Open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY, 0);
  if (fd < 0) {
    return fail(errno == ENXIO ? OpenProblem::kNotRegular : OpenProblem::kCannotOpen, errno);
  }
  struct stat status {};
  const bool known = calls.Fstat(fd, &status) == 0;
  const int error = errno;
  if (!known || !S_ISREG(status.st_mode)) {
    calls.Close(fd);
    return known ? fail(OpenProblem::kNotRegular, 0) : fail(OpenProblem::kCannotOpen, error);
  }
  if (failure) *failure = {};
  if (info) *info = status;
  return fd;
}

std::optional<ReadChannel> ReadChannel::OpenFile(const std::string& path, OpenFailure* failure,
                                                 ReadCalls& calls) {
  struct stat info {};
  const int fd = OpenRegularFile(path, failure, &info, calls);
  if (fd < 0) return std::nullopt;
  return ReadChannel(fd, true, info, calls);
}

std::optional<ReadChannel> ReadChannel::Borrow(int fd, ReadCalls& calls) {
  struct stat info {};
  if (calls.Fstat(fd, &info) != 0) return std::nullopt;
  return ReadChannel(fd, false, info, calls);
}

std::size_t ReadChannel::Fetch(std::int64_t offset, std::uint8_t* dst, std::size_t n) {
  // The part of [offset, offset + n) that lies inside the file; zeros around it.
  std::int64_t begin = std::clamp<std::int64_t>(offset, 0, length_);
  std::int64_t end = std::clamp<std::int64_t>(offset + static_cast<std::int64_t>(n), 0, length_);
  if (end < begin) end = begin;
  if (begin != offset || end - offset != static_cast<std::int64_t>(n)) {
    readOutside_ = true;
    std::memset(dst, 0, n);
  }
  if (begin == end) return 0;
  std::uint8_t* out = dst + (begin - offset);
  auto count = static_cast<std::size_t>(end - begin);
  if (begin >= viewOffset_ && end <= viewOffset_ + viewSize_) {
    std::memcpy(out, view_ + (begin - viewOffset_), count);
    return count;
  }
  File& f = *file_;  // a memory channel views all its bytes
  int error = 0;
  static constexpr std::int64_t kLeadIn = 256;  // directories are often read backwards a little
  if (count + kLeadIn >= File::kWindow) {
    if (!f.ReadAt(begin, out, count, error)) {
      std::memset(out, 0, count);
      Fail(error);
    }
    return count;
  }
  // Slide the window so that it starts a little before the bytes wanted.
  std::int64_t start = std::max<std::int64_t>(0, begin - kLeadIn);
  const std::size_t want =
      !f.filled && start == 0 && count <= File::kFirstWindow ? File::kFirstWindow : File::kWindow;
  f.filled = true;
  auto size = static_cast<std::size_t>(std::min<std::int64_t>(want, length_ - start));
  viewSize_ = 0;
  if (!f.ReadAt(start, f.window, size, error)) {
    std::memset(out, 0, count);
    Fail(error);
    return count;
  }
  view_ = f.window;
  viewOffset_ = start;
  viewSize_ = static_cast<std::int64_t>(size);
  std::memcpy(out, view_ + (begin - viewOffset_), count);
  return count;
}

void ReadChannel::Fail(int error) {
  if (!failed_) error_ = error;
  failed_ = true;
}

void ReadChannel::Take(std::uint8_t* dst, std::size_t n) {
  const std::int64_t offset = position_ - 1;
  if (offset >= viewOffset_ && offset + static_cast<std::int64_t>(n) <= viewOffset_ + viewSize_) {
    std::memcpy(dst, view_ + (offset - viewOffset_), n);  // the common case: no checks beyond this
  } else {
    Fetch(offset, dst, n);
  }
  position_ += static_cast<std::int64_t>(n);
}

std::string ReadChannel::ReadString(std::int64_t n) {
  if (n <= 0) return {};
  // Only the bytes inside the file are returned: size the text from those.
  std::int64_t offset = position_ - 1;
  std::int64_t begin = std::clamp<std::int64_t>(offset, 0, length_);
  std::int64_t end = std::clamp<std::int64_t>(offset + n, 0, length_);
  std::string text;
  if (end > begin && begin >= viewOffset_ && end <= viewOffset_ + viewSize_) {
    // The common case: the bytes are at hand, copied once without zeroing first.
    text.assign(reinterpret_cast<const char*>(view_ + (begin - viewOffset_)),
                static_cast<std::size_t>(end - begin));
  } else if (end > begin) {
    text.resize(static_cast<std::size_t>(end - begin));
    Fetch(begin, reinterpret_cast<std::uint8_t*>(text.data()), text.size());
  }
  if (end - begin != n) readOutside_ = true;
  position_ += n;
  return text;
}

std::uint8_t ReadChannel::ReadByte() {
  std::uint8_t b = 0;
  Take(&b, 1);
  return b;
}

std::int32_t ReadChannel::ReadLeng() {
  std::uint8_t b[2];
  Take(b, 2);
  return BigEndian16(b);
}

std::int32_t ReadChannel::ReadInt() {
  std::uint8_t b[2];
  Take(b, 2);
  return motorola_ ? b[0] * 256 + b[1] : b[0] + b[1] * 256;
}

std::int32_t ReadChannel::ReadLong() {
  std::uint8_t b[4];
  Take(b, 4);
  std::uint32_t value = motorola_ ? (std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 |
                                     std::uint32_t{b[2]} << 8 | b[3])
                                  : (std::uint32_t{b[3]} << 24 | std::uint32_t{b[2]} << 16 |
                                     std::uint32_t{b[1]} << 8 | b[0]);
  return static_cast<std::int32_t>(value);
}

}  // namespace tagloom
