// Replaces a file's content safely: the new content is written beside it
// under a temporary name, synced, and swapped in by a rename, so that the
// file's path holds its complete old or its complete new content at every
// instant, even if the process is killed at any point.
//
// One writer at a time: the temporary file is locked (flock) from its
// creation to the swap. A temporary or parked file that nobody holds the
// lock of is a leftover of a killed run and is replaced; one that another
// writer holds makes this write refuse, and a write never renames a file it
// did not write.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "reader/file_identity.h"
#include "writer/file_system.h"

namespace tagloom {

// Which step of a safe write failed, on which file, and the system's error.
struct FileFailure {
  enum class Step { kNone, kBusy, kCreate, kWrite, kSync, kPark, kRename, kLeftover };
  Step step = Step::kNone;
  std::string path;  // for kBusy, the file being replaced
  int error = 0;     // errno
};

class FileReplacer {
 public:
  enum class Swap {
    kRename,  // rename the new file over the old one
    // First hard-link the old file to target + ".%#%", so that its content
    // stays reachable under a second name until the swap is durable; where
    // the file system has no hard links (FAT, exFAT) rename directly.
    kParkOld,
    // Put the new file in place only where no file of that name exists (a
    // rename that refuses a taken name, where the file system has one; else
    // a hard link, which fails when the name is taken; without hard links, a
    // rename after a look).
    kCreateOnly,
  };
  enum class Links {
    kFollow,   // a symbolic link at the target: the file it names is replaced
    kReplace,  // a symbolic link at the target is itself replaced by the new file
  };

  FileReplacer(FileSystem& fs, std::string target, Swap swap, Links links);
  ~FileReplacer();  // removes the temporary file unless the swap happened
  FileReplacer(const FileReplacer&) = delete;
  FileReplacer& operator=(const FileReplacer&) = delete;

  // Creates and locks the temporary file target + ".$$$" (a leftover of that
  // name is taken over, a link under that name removed, never followed).
  // Fails with kBusy while another writer holds it.
  bool Create(mode_t mode);
  // Gives the temporary file the owner, group and permissions of `like`, so
  // that a replaced file keeps them, whatever the umask and whoever writes.
  // Best effort: FAT and exFAT have none to set, and only root may give a
  // file away; that must not stop a write.
  void KeepOwnerAndMode(const struct stat& like);
  // The owner and group alone, for a new file that keeps the umask's mode.
  void KeepOwner(const struct stat& like);
  // Appends bytes (buffered).
  bool Write(std::string_view bytes);
  // Writes out the buffer; with `startWriteback`, asks the disk to start on
  // everything written, so that the file can be read back while the disk
  // works on what its sync will wait for. (A file a group syncs with others
  // is left to that one sync: the disk takes the group's writes together.)
  bool WriteOut(bool startWriteback = true);
  // Writes out the buffer, syncs (unless a group syncs it, see ReplaceGroup)
  // and closes the temporary file; its lock is held until the swap.
  bool Finish(bool sync = true);
  // Swaps the finished temporary file in. With `syncFolder`, syncs its folder
  // and settles; a group instead syncs the folders of many files at once and
  // then settles each.
  bool Commit(bool syncFolder = true);
  // Once the swap is durable: removes the parked old content and lets the
  // lock go.
  void Settle();
  // Removes a parked old content that a killed run left beside the target;
  // false (see Failure) when it cannot be removed.
  bool RemoveLeftover();
  // Removes the temporary file.
  void Abandon();
  // Takes back what a create-only commit put in place, where its name still
  // names it (the write it was made for could not be done).
  void Withdraw();

  const std::string& TempPath() const { return temp_; }
  // The temporary file's descriptor, open for reading and writing until
  // Finish; -1 before Create and after.
  int Descriptor() const { return fd_; }
  const std::string& Target() const { return target_; }
  // What failed, after a false result.
  const FileFailure& Failure() const { return failure_; }

 private:
  bool Fail(FileFailure::Step step, const std::string& path);
  bool CommitNew();
  std::string ParkedPath() const;
  bool WriteAll(std::string_view bytes);
  bool Flush();
  // Whether the temporary name still names the file this replacer locked.
  bool StillOurs() const;
  void ReleaseLock();

  FileSystem& fs_;
  std::string target_, temp_;
  Swap swap_;
  int fd_ = -1;    // for writing, until Finish
  int lock_ = -1;  // the same open file: holds the lock until the swap
  FileIdentity identity_;
  uid_t ownerUid_ = 0;  // the temporary file's owner as created
  gid_t ownerGid_ = 0;
  bool parked_ = false;           // the old content has a second name, until settled
  bool leftoverRemoved_ = false;  // RemoveLeftover ran under this writer's lock
  bool created_ = false, committed_ = false;
  std::string buffer_;
  std::int64_t size_ = 0;            // bytes written to the temporary file
  std::int64_t writebackStart_ = 0;  // where the disk has not yet been asked to start
  FileFailure failure_;
};

inline constexpr std::string_view kTempSuffix = ".$$$";
inline constexpr std::string_view kParkedSuffix = ".%#%";

}  // namespace tagloom
