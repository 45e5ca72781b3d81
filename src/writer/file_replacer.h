// Replaces a file's content safely: the new content is written beside it
// under a temporary name, synced, and swapped in by a rename, so that the
// file's path holds its complete old or its complete new content at every
// instant, even if the process is killed at any point.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "writer/file_system.h"

namespace tagloom {

// Which step of a safe write failed, on which file, and the system's error.
struct FileFailure {
  enum class Step { kNone, kCreate, kWrite, kSync, kPark, kRename };
  Step step = Step::kNone;
  std::string path;
  int error = 0;  // errno
};

class FileReplacer {
 public:
  enum class Swap {
    kRename,  // rename the new file over the old one
    // First hard-link the old file to target + ".%#%", so that its content
    // stays reachable under a second name until the swap is durable; where
    // the file system has no hard links (FAT, exFAT) rename directly.
    kParkOld,
  };

  FileReplacer(FileSystem& fs, std::string target, Swap swap);
  ~FileReplacer();  // removes the temporary file unless the swap happened
  FileReplacer(const FileReplacer&) = delete;
  FileReplacer& operator=(const FileReplacer&) = delete;

  // Creates the temporary file target + ".$$$"; a leftover of that name from
  // an earlier run is replaced.
  bool Create(mode_t mode);
  // Gives the temporary file exactly `mode`, whatever the umask, so that a
  // replaced file keeps its permissions. Best effort: FAT and exFAT have none
  // to set, and that must not stop a write.
  void SetMode(mode_t mode);
  // Appends bytes (buffered).
  bool Write(std::string_view bytes);
  // Writes out the buffer and asks the disk to start on everything written,
  // so that the file can be read back while the disk works.
  bool WriteOut();
  // Writes out the buffer, syncs (unless a group syncs it, see ReplaceGroup)
  // and closes the temporary file.
  bool Finish(bool sync = true);
  // Swaps the finished temporary file in, and syncs its folder unless a group
  // does that for many files at once.
  bool Commit(bool syncFolder = true);
  // Removes the temporary file.
  void Abandon();

  const std::string& TempPath() const { return temp_; }
  const std::string& Target() const { return target_; }
  // What failed, after a false result.
  const FileFailure& Failure() const { return failure_; }

 private:
  bool Fail(FileFailure::Step step, const std::string& path);
  bool WriteAll(std::string_view bytes);
  bool Flush();

  FileSystem& fs_;
  std::string target_, temp_;
  Swap swap_;
  int fd_ = -1;
  bool created_ = false, committed_ = false;
  std::string buffer_;
  std::int64_t size_ = 0;            // bytes written to the temporary file
  std::int64_t writebackStart_ = 0;  // where the disk has not yet been asked to start
  FileFailure failure_;
};

inline constexpr std::string_view kTempSuffix = ".$$$";
inline constexpr std::string_view kParkedSuffix = ".%#%";

}  // namespace tagloom
