// Writing a photograph's backup file: the 24-byte header, then an APP1
// segment. The file is replaced safely, never left half old, half new.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "writer/file_system.h"
#include "writer/replace_group.h"
#include "writer/write_result.h"

namespace tagloom {

// Writes `segment` (a built segment) as the backup file's content. With a
// group, the new file is only staged: the group's Commit puts it in place.
// `syncFolder` false leaves the rename's durability to a folder sync that
// follows anyway (the write of the photograph beside it).
WriteResult WriteBackupFile(const std::string& backupPath, std::string_view segment, FileSystem& fs,
                            ReplaceGroup* group = nullptr, bool syncFolder = true);

// Copies the photograph's own APP1 segment (its FF E1 at 0-based
// `segmentOffset`, length field `segmentLength`) into its backup file. The
// photograph must still hold that segment where it was read.
WriteResult BackupPhotoSegment(const std::string& photoPath, std::int64_t segmentOffset,
                               std::int64_t segmentLength, const std::string& backupPath,
                               FileSystem& fs, CopyProgress& progress,
                               ReplaceGroup* group = nullptr);

}  // namespace tagloom
