// What a write of a photograph or a backup file came to, and the progress of
// its copy, shared by the splice and the backup.
#pragma once

#include <cstdint>

#include "reader/backup_place.h"
#include "writer/file_replacer.h"

namespace tagloom {

struct WriteResult {
  enum class Problem {
    kNone,
    kBackupMissing,    // the backup file cannot be opened
    kBackupDamaged,    // its header, marker, length or signature is wrong
    kBackupIsPhoto,    // the backup file's name names the photograph itself
    kBackupUnusable,   // the photograph's block cannot be saved there: see `backup`
    kPhotoUnreadable,  // the photograph cannot be opened: see `error`
    kPhotoNotRegular,  // a folder, a device or a pipe, not a photograph
    kReadFailed,       // a read failed: `error`, or 0 when the file ended before its length
    kPhotoReadOnly,    // its owner may not write it: an original kept safe
    kNotJpeg,          // the photograph does not start with a JPEG start-of-image marker
    kPhotoChanged,     // the photograph is not the file it was when it was read
    kBlockIncomplete,  // its EXIF segment ends before its length says
    kFile,             // a step of the safe write failed: see `file`
    kVerifyFailed,     // the new file read back is not what was meant to be written
  };
  Problem problem = Problem::kNone;
  FileFailure file;
  int error = 0;                   // errno, for kPhotoUnreadable and kReadFailed
  BackupPlaceCheck backup;         // for kBackupUnusable
  std::int64_t segmentLength = 0;  // the length field of the segment written

  bool Ok() const { return problem == Problem::kNone; }
};

// Told how far a long copy has come.
class CopyProgress {
 public:
  virtual ~CopyProgress() = default;
  // The copy covers positions 1 to `total`.
  virtual void Start(std::int64_t total) = 0;
  virtual void Advance(std::int64_t position) = 0;
};

// A copy that nobody watches.
class NoProgress : public CopyProgress {
 public:
  void Start(std::int64_t) override {}
  void Advance(std::int64_t) override {}
};

}  // namespace tagloom
