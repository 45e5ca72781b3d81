// A write or a restore of one photograph, in two steps, so that a list can
// make many photographs durable with one sync (see CommitGroup):
//   stage:  the photograph's lock is taken (its temporary file, created and
//           locked, held to the end); the photograph is opened and must still
//           be the file it was when it was read; a first write's new backup
//           (the photograph's own segment, read from that same open file) and
//           the new photograph are written under temporary names, and the new
//           photograph is read back and compared with what it is to be;
//   commit: the path must still name that open file; the new backup takes its
//           name (only where no file has it), then the new photograph takes
//           the photograph's. A commit that fails removes that new backup.
// No other writer can write the photograph, nor rely on its new backup,
// between the two, so a backup that a written photograph relies on is never
// removed from under it.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "reader/file_identity.h"
#include "reader/read_channel.h"
#include "writer/backup_writer.h"
#include "writer/commit_group.h"
#include "writer/file_system.h"
#include "writer/write_result.h"

namespace tagloom {

struct PhotoChange {
  // A write puts `segment` (as built) into the photograph; a restore puts the
  // segment of its backup file.
  bool restore = false;
  std::string segment;
  // A write: where the photograph's own segment lies, to be saved into a new
  // backup file first where no file has the backup's name. nullopt: nothing
  // to save (no block of its own, or the person chose to go on without).
  std::optional<SegmentAt> original;
  // What the photograph was when it was read: a photograph changed since is
  // refused, never spliced.
  std::optional<FileStamp> readAs;
};

// Runs every check a write or restore makes before a byte moves (the
// photograph, its block, its folder, its backup) without writing anything;
// for a dry run. Its result is what StagePhoto would refuse with, or Ok.
// `opened`: the photograph as it was just read, instead of opening it again.
WriteResult CheckPhotoChange(const std::string& photoPath, const std::string& backupPath,
                             const PhotoChange& change, FileSystem& fs,
                             std::optional<ReadChannel> opened = std::nullopt);

// Stages the change (each file synced as it is written when `sync`);
// nullptr (and why, in `result`) when it cannot be staged.
std::unique_ptr<Staged> StagePhoto(const std::string& photoPath, const std::string& backupPath,
                                   const PhotoChange& change, FileSystem& fs,
                                   CopyProgress& progress, bool sync, WriteResult& result);

// The whole change of one photograph: staged with syncs, put in place, its
// folder synced.
WriteResult WritePhoto(const std::string& photoPath, const std::string& backupPath,
                       const PhotoChange& change, FileSystem& fs, CopyProgress& progress);

}  // namespace tagloom
