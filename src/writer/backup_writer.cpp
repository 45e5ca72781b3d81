#include "writer/backup_writer.h"

#include <optional>

#include "reader/backup_format.h"
#include "reader/file_identity.h"
#include "reader/jpeg_segments.h"
#include "reader/read_channel.h"

namespace tagloom {

std::unique_ptr<FileReplacer> StageBackupFile(const std::string& photoPath,
                                              const std::string& backupPath,
                                              std::string_view segment, FileSystem& fs, bool sync,
                                              WriteResult& result, FileReplacer::Swap swap) {
  if (SameFile(photoPath, backupPath)) {
    result.problem = WriteResult::Problem::kBackupIsPhoto;
    return nullptr;
  }
  auto replacer =
      std::make_unique<FileReplacer>(fs, backupPath, swap, FileReplacer::Links::kReplace);
  struct stat old {
  }, photo{};
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

std::optional<std::string> ReadPhotoSegment(const std::string& photoPath, SegmentAt at,
                                            WriteResult& result) {
  OpenProblem why = OpenProblem::kNone;
  std::optional<ReadChannel> photo = ReadChannel::OpenFile(photoPath, &why);
  if (!photo) {
    result.problem = why == OpenProblem::kNotRegular ? WriteResult::Problem::kPhotoNotRegular
                                                     : WriteResult::Problem::kPhotoUnreadable;
    return std::nullopt;
  }
  // The whole segment, marker included: T = L + 2 bytes.
  const std::int64_t total = at.length + 2;
  photo->Seek(at.offset + 1);
  std::string segment = photo->ReadString(total);
  if (photo->Failed()) {
    result.problem = WriteResult::Problem::kPhotoUnreadable;
    return std::nullopt;
  }
  const bool unchanged = static_cast<std::int64_t>(segment.size()) == total &&
                         static_cast<std::uint8_t>(segment[0]) == kMarkerPrefix &&
                         static_cast<std::uint8_t>(segment[1]) == kMarkerApp1 &&
                         SegmentLengthOf(segment) == at.length;
  if (!unchanged) {
    result.problem = WriteResult::Problem::kPhotoChanged;
    return std::nullopt;
  }
  return segment;
}

WriteResult BackupPhotoSegment(const std::string& photoPath, SegmentAt at,
                               const std::string& backupPath, FileSystem& fs,
                               CopyProgress& progress, ReplaceGroup* group) {
  WriteResult result;
  progress.Start(at.length + 2);
  std::optional<std::string> segment = ReadPhotoSegment(photoPath, at, result);
  if (!segment) return result;
  progress.Advance(at.length + 2);
  result.segmentLength = at.length;
  std::unique_ptr<FileReplacer> backup =
      StageBackupFile(photoPath, backupPath, *segment, fs, group == nullptr, result);
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
