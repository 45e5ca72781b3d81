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

#include "writer/file_system.h"
#include "writer/replace_group.h"
#include "writer/write_result.h"

namespace tagloom {

// Writes the backup file's new content under its temporary name, synced
// unless `sync` is false, and returns the replacement ready to be put in
// place (`swap` says how); nullptr (and why, in `result`) when it cannot be
// written. A replaced backup keeps its owner and mode; a new one gets the
// photograph's owner.
std::unique_ptr<FileReplacer> StageBackupFile(
    const std::string& photoPath, const std::string& backupPath, std::string_view segment,
    FileSystem& fs, bool sync, WriteResult& result,
    FileReplacer::Swap swap = FileReplacer::Swap::kRename);

// Where the photograph's own APP1 segment was read: its FF E1 at 0-based
// `offset`, its length field `length`.
struct SegmentAt {
  std::int64_t offset = 0;
  std::int64_t length = 0;
};

// The photograph's own segment, all its length + 2 bytes, which must still
// be where it was read; nullopt (and why, in `result`) when it is not.
std::optional<std::string> ReadPhotoSegment(const std::string& photoPath, SegmentAt at,
                                            WriteResult& result);

// Copies the photograph's own segment into its backup file. With a group,
// the new backup is only staged: the group's Commit puts it in place.
WriteResult BackupPhotoSegment(const std::string& photoPath, SegmentAt at,
                               const std::string& backupPath, FileSystem& fs,
                               CopyProgress& progress, ReplaceGroup* group = nullptr);

}  // namespace tagloom
