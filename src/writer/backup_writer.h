// Writing a photograph's backup file: the 24-byte header, then an APP1
// segment. The file is replaced safely, never left half old, half new, and
// always in the photograph's folder: a symbolic link of its name is replaced
// by the file, never written through.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "reader/read_channel.h"
#include "writer/commit_group.h"
#include "writer/file_system.h"
#include "writer/write_result.h"

namespace tagloom {

// Writes the backup file's new content under its temporary name, synced
// unless `sync` is false, and returns the replacement ready to be put in
// place (`swap` says how); nullptr (and why, in `result`) when it cannot be
// written. A replaced backup keeps its owner and mode; a new one gets the
// owner of the photograph (`photo`, its status). A name that names the
// photograph itself is refused; with Swap::kCreateOnly the caller has made
// sure that no file has the name.
std::unique_ptr<FileReplacer> StageBackupFile(
    const struct stat& photo, const std::string& backupPath, std::string_view segment,
    FileSystem& fs, bool sync, WriteResult& result,
    FileReplacer::Swap swap = FileReplacer::Swap::kRename);

// Where the photograph's own APP1 segment was read: its FF E1 at 0-based
// `offset`, its length field `length`.
struct SegmentAt {
  std::int64_t offset = 0;
  std::int64_t length = 0;
};

// The photograph's own segment, all its length + 2 bytes, read from the open
// photograph; nullopt (and why, in `result`) when it cannot be read whole or
// is no longer there.
std::optional<std::string> ReadPhotoSegment(ReadChannel& photo, SegmentAt at, WriteResult& result);

// Copies the photograph's own segment into its backup file, staged for a
// group (each file synced as it is written when `sync`). `readAs`, when
// given, is what the photograph was when it was read: one changed since is
// refused. nullptr (and why, in `result`) when it cannot be staged.
std::unique_ptr<Staged> StageBackup(const std::string& photoPath, SegmentAt at,
                                    const std::optional<FileStamp>& readAs,
                                    const std::string& backupPath, FileSystem& fs,
                                    CopyProgress& progress, bool sync, WriteResult& result);
// The same from the photograph open as `photo`, read as it is now: a run
// that has just read it need not open it again.
std::unique_ptr<Staged> StageBackupFrom(ReadChannel& photo, SegmentAt at,
                                        const std::string& backupPath, FileSystem& fs,
                                        CopyProgress& progress, bool sync, WriteResult& result);

// The backup of one photograph, staged with syncs and put in place.
WriteResult BackupPhotoSegment(const std::string& photoPath, SegmentAt at,
                               const std::optional<FileStamp>& readAs,
                               const std::string& backupPath, FileSystem& fs,
                               CopyProgress& progress);

}  // namespace tagloom
