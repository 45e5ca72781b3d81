// The read channel: byte-level reading of a photograph or a backup file with
// 1-based positions, in the byte order of the EXIF block being read.
//
// Every bounds check lives here, so no caller can forget one: reads outside
// the file yield zero bytes (or, for texts, only the bytes the file has), the
// channel remembers that it happened, and nothing is ever sized from a count
// before it is checked against the file.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "reader/file_identity.h"
#include "reader/read_calls.h"

namespace tagloom {

// A JPEG segment length field, or any 16-bit number stored high byte first.
inline std::int32_t BigEndian16(const std::uint8_t* b) {
  return b[0] * 256 + b[1];
}

// Why a file could not be opened for reading.
enum class OpenProblem {
  kNone,
  kCannotOpen,  // missing, or not readable
  kNotRegular,  // a folder, a device, a pipe: never opened for reading
};

// Why a file could not be opened for reading, and the system's error.
struct OpenFailure {
  OpenProblem problem = OpenProblem::kNone;
  int error = 0;  // errno, for kCannotOpen
};

// Opens a regular file for reading and returns its descriptor, or -1 (and
// why, when asked). Opening never blocks: a FIFO is refused, not waited on.
// `info`, when given, receives the open file's status.
int OpenRegularFile(const std::string& path, OpenFailure* failure = nullptr,
                    struct stat* info = nullptr, ReadCalls& calls = RealReadCalls());

class ReadChannel {
 public:
  // Reads from bytes in memory; they must outlive the channel.
  explicit ReadChannel(std::span<const std::uint8_t> bytes);
  // Opens a regular file for reading; nullopt (and why, when asked) when it
  // cannot be opened. Opening never blocks: a FIFO is refused, not waited on.
  // Every read of the file goes through `calls`.
  static std::optional<ReadChannel> OpenFile(const std::string& path,
                                             OpenFailure* failure = nullptr,
                                             ReadCalls& calls = RealReadCalls());

  // Reads a descriptor that stays its owner's (a file being written, read
  // back through the descriptor that wrote it); nullopt when its status
  // cannot be had.
  static std::optional<ReadChannel> Borrow(int fd, ReadCalls& calls = RealReadCalls());

  ReadChannel(ReadChannel&&) noexcept;
  ReadChannel& operator=(ReadChannel&&) noexcept;
  ~ReadChannel();

  std::int64_t Length() const { return length_; }
  // Which file an opened channel reads; {0, 0} in memory.
  FileIdentity Identity() const { return stamp_.identity; }
  // What the file was when it was opened (its identity, length, change time).
  const FileStamp& Stamp() const { return stamp_; }
  // The open file's status (owner, mode ...), as it was opened.
  const struct stat& Status() const { return status_; }
  // The file's permission bits, as opened.
  unsigned Mode() const { return status_.st_mode & 07777; }
  // The 1-based position of the next byte to be read.
  std::int64_t Position() const { return position_; }
  // Makes byte `position` (counting from 1) the next one read; any number is
  // accepted, reads outside the file simply find nothing there.
  void Seek(std::int64_t position) { position_ = position; }
  // Whether the file holds all n bytes from 1-based `position` on (n >= 0),
  // for any numbers, without overflow.
  bool Holds(std::int64_t position, std::int64_t n) const {
    return position >= 1 && n >= 0 && position - 1 <= length_ && n <= length_ - (position - 1);
  }
  // Whether any read so far touched a position outside the file.
  bool ReadOutside() const { return readOutside_; }
  // Whether the file could not be read although it was open: an I/O error,
  // or a file that ended before the length it had when it was opened.
  bool Failed() const { return failed_; }
  // The system's error of the first failed read; 0 when the file ended early.
  int Error() const { return error_; }

  void SetMotorolaOrder(bool motorola) { motorola_ = motorola; }
  bool MotorolaOrder() const { return motorola_; }

  // n bytes in file order; only the bytes inside the file are returned, but
  // the position always moves on by n. Nothing is read when n <= 0.
  std::string ReadString(std::int64_t n);
  // Copies the bytes at 0-based `offset` into `dst` (zeros outside the file)
  // without moving the position; returns how many came from the file. Large
  // blocks go straight from the file into `dst`.
  std::size_t ReadBlock(std::int64_t offset, std::span<std::uint8_t> dst) {
    return Fetch(offset, dst.data(), dst.size());
  }
  // One byte (0 outside the file).
  std::uint8_t ReadByte();
  // A JPEG segment length: always big-endian.
  std::int32_t ReadLeng();
  // Unsigned 16-bit value in the block's byte order.
  std::int32_t ReadInt();
  // Signed 32-bit value in the block's byte order.
  std::int32_t ReadLong();

 private:
  struct File;
  // Reads the open file `fd` whose status is `info`; closes it at the end when `owned`.
  ReadChannel(int fd, bool owned, const struct stat& info, ReadCalls& calls);

  // Copies n bytes from 0-based offset into dst; bytes outside the file are 0.
  // Returns how many bytes came from inside the file.
  std::size_t Fetch(std::int64_t offset, std::uint8_t* dst, std::size_t n);
  // Remembers the first failed read.
  void Fail(int error);
  // n (at most 4) bytes at the current position, which moves on by n.
  void Take(std::uint8_t* dst, std::size_t n);

  std::span<const std::uint8_t> memory_;
  std::unique_ptr<File> file_;
  // The bytes at hand without a read: all of a memory channel, or the file's window.
  const std::uint8_t* view_ = nullptr;
  std::int64_t viewOffset_ = 0;
  std::int64_t viewSize_ = 0;
  std::int64_t length_ = 0;
  FileStamp stamp_;
  struct stat status_ {};
  std::int64_t position_ = 1;
  bool motorola_ = false;
  bool readOutside_ = false;
  bool failed_ = false;
  int error_ = 0;
};

}  // namespace tagloom
