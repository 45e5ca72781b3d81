// Writing a photograph's backup file: the 24-byte header, then an APP1
// segment. The file is replaced safely, never left half old, half new, and
// always in the photograph's folder: a symbolic link of its name is replaced
// by the file, never written through.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "writer/file_system.h"
#include "writer/replace_group.h"
#include "writer/write_result.h"

namespace tagloom {

// Whether `backupPath` names the photograph itself (the same file, also on
// file systems that ignore the case of names).
bool BackupIsPhoto(const std::string& photoPath, const std::string& backupPath);

// Writes the backup file's new content under its temporary name, synced
// unless `sync` is false, and returns the replacement ready to be put in
// place; nullptr (and why, in `result`) when it cannot be written. A replaced
// backup keeps its owner and mode; a new one gets the photograph's owner.
std::unique_ptr<FileReplacer> StageBackupFile(const std::string& photoPath,
                                              const std::string& backupPath,
                                              std::string_view segment, FileSystem& fs, bool sync,
                                              WriteResult& result);

// Copies the photograph's own APP1 segment (its FF E1 at 0-based
// `segmentOffset`, length field `segmentLength`) into its backup file. The
// photograph must still hold that segment where it was read. With a group,
// the new backup is only staged: the group's Commit puts it in place.
WriteResult BackupPhotoSegment(const std::string& photoPath, std::int64_t segmentOffset,
                               std::int64_t segmentLength, const std::string& backupPath,
                               FileSystem& fs, CopyProgress& progress,
                               ReplaceGroup* group = nullptr);

}  // namespace tagloom
