#include "writer/backup_writer.h"

#include <optional>

#include "reader/backup_format.h"
#include "reader/jpeg_segments.h"
#include "reader/read_channel.h"

namespace tagloom {

bool BackupIsPhoto(const std::string& photoPath, const std::string& backupPath) {
  struct stat photo {}, backup {};
  return ::stat(photoPath.c_str(), &photo) == 0 && ::stat(backupPath.c_str(), &backup) == 0 &&
         photo.st_dev == backup.st_dev && photo.st_ino == backup.st_ino;
}

std::unique_ptr<FileReplacer> StageBackupFile(const std::string& photoPath,
                                              const std::string& backupPath,
                                              std::string_view segment, FileSystem& fs, bool sync,
                                              WriteResult& result) {
  if (BackupIsPhoto(photoPath, backupPath)) {
    result.problem = WriteResult::Problem::kBackupIsPhoto;
    return nullptr;
  }
  auto replacer = std::make_unique<FileReplacer>(fs, backupPath, FileReplacer::Swap::kRename,
                                                 FileReplacer::Links::kReplace);
  struct stat old {}, photo {};
  const bool replacing = ::lstat(backupPath.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  bool written = replacer->Create(0666);
  if (written && replacing) {
    replacer->KeepOwnerAndMode(old);
  } else if (written && ::stat(photoPath.c_str(), &photo) == 0) {
    replacer->KeepOwner(photo);  // the mode of a new file is the umask's
  }
  written = written && replacer->Write(kBackupHeader) && replacer->Write(segment) &&
            replacer->Finish(sync);
  if (!written) {
    result.problem = WriteResult::Problem::kFile;
    result.file = replacer->Failure();
    return nullptr;
  }
  return replacer;
}

WriteResult BackupPhotoSegment(const std::string& photoPath, std::int64_t segmentOffset,
                               std::int64_t segmentLength, const std::string& backupPath,
                               FileSystem& fs, CopyProgress& progress, ReplaceGroup* group) {
  WriteResult result;
  OpenProblem why = OpenProblem::kNone;
  std::optional<ReadChannel> photo = ReadChannel::OpenFile(photoPath, &why);
  if (!photo) {
    result.problem = why == OpenProblem::kNotRegular ? WriteResult::Problem::kPhotoNotRegular
                                                     : WriteResult::Problem::kPhotoUnreadable;
    return result;
  }
  // The whole segment, marker included: T = L + 2 bytes.
  const std::int64_t total = segmentLength + 2;
  progress.Start(total);
  photo->Seek(segmentOffset + 1);
  std::string segment = photo->ReadString(total);
  if (photo->Failed()) {
    result.problem = WriteResult::Problem::kPhotoUnreadable;
    return result;
  }
  bool unchanged = static_cast<std::int64_t>(segment.size()) == total &&
                   static_cast<std::uint8_t>(segment[0]) == kMarkerPrefix &&
                   static_cast<std::uint8_t>(segment[1]) == kMarkerApp1 &&
                   SegmentLengthOf(segment) == segmentLength;
  if (!unchanged) {
    result.problem = WriteResult::Problem::kPhotoChanged;
    return result;
  }
  progress.Advance(total);
  result.segmentLength = segmentLength;
  std::unique_ptr<FileReplacer> backup =
      StageBackupFile(photoPath, backupPath, segment, fs, group == nullptr, result);
  if (!backup) return result;
  if (group != nullptr) {
    group->Add(std::move(backup));
  } else if (!backup->Commit()) {
    result.problem = WriteResult::Problem::kFile;
    result.file = backup->Failure();
  }
  return result;
}

}  // namespace tagloom
