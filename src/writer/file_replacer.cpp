#include "writer/file_replacer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "reader/file_identity.h"
#include "writer/interrupt_cleanup.h"

namespace tagloom {
namespace {

constexpr std::size_t kBufferBytes = 1 << 20;
constexpr std::int64_t kWritebackBytes = 4 << 20;

// Errors that say the file system cannot make hard links.
bool NoHardLinks(int error) {
  return error == EPERM || error == EOPNOTSUPP || error == ENOTSUP || error == EMLINK ||
         error == ENOSYS || error == EXDEV;
}

// Errors that say the file system has no locks (some network file systems):
// the write goes on unlocked, as it would anywhere without them.
bool NoLocks(int error) {
  return error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP || error == EINVAL ||
         error == ENOSYS;
}

// A file reached through a symbolic link is replaced where it lies, so that
// the link stays a link to the new content.
std::string ThroughLinks(std::string path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : path;
}

}  // namespace

FileReplacer::FileReplacer(FileSystem& fs, std::string target, Swap swap, Links links)
    : fs_(fs),
      target_(links == Links::kFollow ? ThroughLinks(std::move(target)) : std::move(target)),
      temp_(target_ + std::string(kTempSuffix)),
      swap_(swap) {}

FileReplacer::~FileReplacer() {
  if (!committed_) Abandon();
  if (parked_) Settle();
  ReleaseLock();
}

bool FileReplacer::Fail(FileFailure::Step step, const std::string& path) {
  if (failure_.step == FileFailure::Step::kNone) failure_ = {step, path, errno};
  return false;
}

bool FileReplacer::Create(mode_t mode) {
  // A few rounds at most: each one that does not end removes what was in the way.
  for (int round = 0; round < 4; ++round) {
    bool createdNow = true;
    int fd = fs_.Open(temp_, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, mode);
    if (fd < 0 && errno == EEXIST) {  // a leftover, or another writer's
      createdNow = false;
      fd = fs_.Open(temp_, O_RDWR | O_NOFOLLOW, mode);
    }
    if (fd < 0) {
      if (errno == ENOENT) continue;  // its writer removed it meanwhile
      if (errno != ELOOP) return Fail(FileFailure::Step::kCreate, temp_);
      fs_.Unlink(temp_);  // a symbolic link under the temporary name
      continue;
    }
    auto drop = [&] {
      int saved = errno;
      fs_.Close(fd);
      errno = saved;
    };
    if (fs_.Flock(fd, LOCK_EX | LOCK_NB) != 0 && !NoLocks(errno)) {
      const bool busy = errno == EWOULDBLOCK;
      if (!busy && createdNow) {
        int saved = errno;
        fs_.Unlink(temp_);
        errno = saved;
      }
      drop();
      return busy ? Fail(FileFailure::Step::kBusy, target_)
                  : Fail(FileFailure::Step::kCreate, temp_);
    }
    // The name must still be the file locked: the writer of a leftover may
    // have removed it between the open and the lock.
    struct stat held {
    }, named{};
    if (::fstat(fd, &held) != 0 || ::lstat(temp_.c_str(), &named) != 0 ||
        IdentityOf(held) != IdentityOf(named)) {
      drop();
      continue;
    }
    if (!S_ISREG(held.st_mode) || held.st_nlink != 1) {  // not a plain file of its own
      fs_.Unlink(temp_);
      drop();
      continue;
    }
    if (held.st_size != 0 && fs_.Ftruncate(fd, 0) != 0) {
      drop();
      return Fail(FileFailure::Step::kCreate, temp_);
    }
    fd_ = fd;
    lock_ = ::dup(fd);  // the same open file, so the same lock, after Finish closes fd_
    identity_ = IdentityOf(held);
    ownerUid_ = held.st_uid;
    ownerGid_ = held.st_gid;
    created_ = true;
    RegisterTemporaryFile(temp_);
    return true;
  }
  errno = EEXIST;
  return Fail(FileFailure::Step::kCreate, temp_);
}

void FileReplacer::KeepOwner(const struct stat& like) {
  if (fd_ < 0 || (like.st_uid == ownerUid_ && like.st_gid == ownerGid_)) return;
  int saved = errno;
  fs_.Fchown(fd_, like.st_uid, like.st_gid);
  errno = saved;
}

void FileReplacer::KeepOwnerAndMode(const struct stat& like) {
  if (fd_ < 0) return;
  KeepOwner(like);  // before the mode: a new owner clears set-id bits
  int saved = errno;
  fs_.Fchmod(fd_, like.st_mode & 07777);
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

bool FileReplacer::WriteOut(bool startWriteback) {
  if (fd_ < 0 || !Flush()) return false;
  if (startWriteback && size_ > writebackStart_) {
    fs_.StartWriteback(fd_, writebackStart_, size_ - writebackStart_);
  }
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

bool FileReplacer::StillOurs() const {
  return IdentityOfPath(temp_, false) == identity_;
}

void FileReplacer::ReleaseLock() {
  if (lock_ >= 0) ::close(lock_);
  lock_ = -1;
}

std::string FileReplacer::ParkedPath() const {
  return target_ + std::string(kParkedSuffix);
}

bool FileReplacer::RemoveLeftover() {
  // While this writer holds the lock, a parked name is what a killed run
  // left: the target holds its whole old or whole new content either way.
  if (leftoverRemoved_) return true;
  const std::string parked = ParkedPath();
  if (IdentityOfPath(parked, false) && fs_.Unlink(parked) != 0 && errno != ENOENT) {
    return Fail(FileFailure::Step::kLeftover, parked);
  }
  leftoverRemoved_ = true;
  return true;
}

bool FileReplacer::Commit(bool syncFolder) {
  if (!created_ || fd_ >= 0) return false;
  if (!StillOurs()) {
    errno = ESTALE;
    return Fail(FileFailure::Step::kRename, temp_);
  }
  if (swap_ == Swap::kCreateOnly) {
    if (!CommitNew()) return false;
  } else {
    const std::string parked = ParkedPath();
    if (swap_ == Swap::kParkOld) {
      if (!RemoveLeftover()) return false;
      if (fs_.Link(target_, parked) == 0) {
        parked_ = true;
      } else if (!NoHardLinks(errno)) {
        return Fail(FileFailure::Step::kPark, target_);
      }
    }
    // From the rename on, the temporary name is no longer this writer's to remove.
    UnregisterTemporaryFile(temp_);
    if (fs_.Rename(temp_, target_) != 0) {
      Fail(FileFailure::Step::kRename, target_);
      RegisterTemporaryFile(temp_);
      if (parked_) fs_.Unlink(parked);
      parked_ = false;
      return false;
    }
  }
  committed_ = true;
  // The new content is in place; syncing the folder makes the swap durable
  // before the parked name of the old content goes.
  if (syncFolder) {
    fs_.SyncFolderOf(target_);
    Settle();
  }
  return true;
}

void FileReplacer::Settle() {
  // The parked name is this writer's while it holds the lock.
  if (parked_) fs_.Unlink(ParkedPath());
  parked_ = false;
  ReleaseLock();
}

bool FileReplacer::CommitNew() {
  // In one step where the file system can; else a hard link, which fails
  // where the name is taken, and the temporary name removed after it.
  UnregisterTemporaryFile(temp_);
  if (fs_.RenameNoReplace(temp_, target_) == 0) return true;
  const int error = errno;
  RegisterTemporaryFile(temp_);
  errno = error;
  if (error != EINVAL && error != ENOSYS) return Fail(FileFailure::Step::kCreate, target_);
  if (fs_.Link(temp_, target_) != 0) {
    if (!NoHardLinks(errno)) return Fail(FileFailure::Step::kCreate, target_);
    if (IdentityOfPath(target_, false)) {
      errno = EEXIST;
      return Fail(FileFailure::Step::kCreate, target_);
    }
    UnregisterTemporaryFile(temp_);
    if (fs_.Rename(temp_, target_) != 0) {
      RegisterTemporaryFile(temp_);
      return Fail(FileFailure::Step::kCreate, target_);
    }
  } else {
    fs_.Unlink(temp_);
    UnregisterTemporaryFile(temp_);
  }
  return true;
}

void FileReplacer::Withdraw() {
  if (committed_ && swap_ == Swap::kCreateOnly && IdentityOfPath(target_, false) == identity_) {
    fs_.Unlink(target_);
  }
}

void FileReplacer::Abandon() {
  if (fd_ >= 0) {
    fs_.Close(fd_);
    fd_ = -1;
  }
  if (created_ && !committed_) {
    int saved = errno;
    if (StillOurs()) fs_.Unlink(temp_);
    UnregisterTemporaryFile(temp_);
    errno = saved;
    created_ = false;
  }
  ReleaseLock();
}

}  // namespace tagloom
