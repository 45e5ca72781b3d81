#include "writer/file_replacer.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

namespace tagloom {
namespace {

constexpr std::size_t kBufferBytes = 1 << 20;
constexpr std::int64_t kWritebackBytes = 4 << 20;

// Errors that say the file system cannot make hard links.
bool NoHardLinks(int error) {
  return error == EPERM || error == EOPNOTSUPP || error == ENOTSUP || error == EMLINK ||
         error == ENOSYS || error == EXDEV;
}

}  // namespace

namespace {

// A file reached through a symbolic link is replaced where it lies, so that
// the link stays a link to the new content.
std::string ThroughLinks(std::string path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : path;
}

}  // namespace

FileReplacer::FileReplacer(FileSystem& fs, std::string target, Swap swap)
    : fs_(fs),
      target_(ThroughLinks(std::move(target))),
      temp_(target_ + std::string(kTempSuffix)),
      swap_(swap) {}

FileReplacer::~FileReplacer() {
  if (!committed_) Abandon();
}

bool FileReplacer::Fail(FileFailure::Step step, const std::string& path) {
  if (failure_.step == FileFailure::Step::kNone) failure_ = {step, path, errno};
  return false;
}

bool FileReplacer::Create(mode_t mode) {
  // A leftover from an earlier run never blocks a write.
  fs_.Unlink(temp_);
  fd_ = fs_.Open(temp_, O_WRONLY | O_CREAT | O_EXCL, mode);
  if (fd_ < 0) return Fail(FileFailure::Step::kCreate, temp_);
  created_ = true;
  return true;
}

void FileReplacer::SetMode(mode_t mode) {
  if (fd_ < 0) return;
  int saved = errno;
  fs_.Fchmod(fd_, mode);
  errno = saved;
}

bool FileReplacer::WriteAll(std::string_view bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    ssize_t written = fs_.Write(fd_, bytes.data() + done, bytes.size() - done);
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return Fail(FileFailure::Step::kWrite, temp_);
    }
    done += static_cast<std::size_t>(written);
  }
  size_ += static_cast<std::int64_t>(bytes.size());
  // Let the disk start on what is written so far, so that the sync at the end
  // has little left to wait for.
  if (size_ - writebackStart_ >= kWritebackBytes) {
    fs_.StartWriteback(fd_, writebackStart_, size_ - writebackStart_);
    writebackStart_ = size_;
  }
  return true;
}

bool FileReplacer::Flush() {
  if (!WriteAll(buffer_)) return false;
  buffer_.clear();
  return true;
}

bool FileReplacer::WriteOut() {
  if (fd_ < 0 || !Flush()) return false;
  if (size_ > writebackStart_) fs_.StartWriteback(fd_, writebackStart_, size_ - writebackStart_);
  writebackStart_ = size_;
  return true;
}

bool FileReplacer::Write(std::string_view bytes) {
  if (fd_ < 0) return false;
  if (buffer_.size() + bytes.size() > kBufferBytes && !Flush()) return false;
  if (bytes.size() >= kBufferBytes) return WriteAll(bytes);  // large blocks go straight out
  buffer_.append(bytes);
  return true;
}

bool FileReplacer::Finish(bool sync) {
  if (fd_ < 0) return false;
  bool ok = Flush();
  std::string().swap(buffer_);  // a group may hold many finished replacements
  if (ok && sync && fs_.Fsync(fd_) != 0) ok = Fail(FileFailure::Step::kSync, temp_);
  int fd = fd_;
  fd_ = -1;
  if (fs_.Close(fd) != 0 && ok) ok = Fail(FileFailure::Step::kWrite, temp_);
  return ok;
}

bool FileReplacer::Commit(bool syncFolder) {
  if (!created_ || fd_ >= 0) return false;
  const std::string parked = target_ + std::string(kParkedSuffix);
  bool isParked = false;
  if (swap_ == Swap::kParkOld) {
    fs_.Unlink(parked);  // a leftover parked name from an earlier run
    if (fs_.Link(target_, parked) == 0) {
      isParked = true;
    } else if (!NoHardLinks(errno)) {
      return Fail(FileFailure::Step::kPark, target_);
    }
  }
  if (fs_.Rename(temp_, target_) != 0) {
    Fail(FileFailure::Step::kRename, target_);
    if (isParked) fs_.Unlink(parked);
    return false;
  }
  committed_ = true;
  // The new content is in place; syncing the folder makes the rename durable
  // before the parked name of the old content goes.
  if (syncFolder) fs_.SyncFolderOf(target_);
  if (isParked) fs_.Unlink(parked);
  return true;
}

void FileReplacer::Abandon() {
  if (fd_ >= 0) {
    fs_.Close(fd_);
    fd_ = -1;
  }
  if (created_ && !committed_) {
    int saved = errno;
    fs_.Unlink(temp_);
    errno = saved;
    created_ = false;
  }
}

}  // namespace tagloom
