// The splice: a photograph gets an APP1 segment in place of its own EXIF
// segments; every other byte is copied unchanged.
//
// New photograph: start of image, the segment (with the two zero bytes a
// built segment lacks), then the photograph from its third byte on without
// the APP1 segments that carry EXIF among its header segments.
//
// Each checks everything it can before a byte moves, writes the new
// photograph under its temporary name, reads it back to verify it, syncs it
// and swaps it in. Any failure leaves the photograph as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "writer/backup_writer.h"
#include "writer/file_system.h"
#include "writer/write_result.h"

namespace tagloom {

// A restore: the segment held in the backup file goes into the photograph.
WriteResult RestoreExifSegment(const std::string& photoPath, const std::string& backupPath,
                               FileSystem& fs, CopyProgress& progress);

// A write of edits: a built segment goes into the photograph. The photograph's
// own segment (at `original`, when it has one) is first saved into a new
// backup file, synced, where the photograph has none yet, so that a restore
// brings back what it held before its first write. An existing backup file is
// never touched; a write that fails removes the backup it made.
WriteResult WriteExifSegment(const std::string& photoPath, const std::string& backupPath,
                             std::string_view segment, const std::optional<SegmentAt>& original,
                             FileSystem& fs, CopyProgress& progress);

}  // namespace tagloom
