#include "writer/backup_writer.h"

#include <optional>

#include "reader/backup_format.h"
#include "reader/file_identity.h"
#include "reader/jpeg_segments.h"

namespace tagloom {
namespace {

// A new backup file written under its temporary name, put in place by a group.
class StagedBackup : public Staged {
 public:
  StagedBackup(std::unique_ptr<FileReplacer> replacer, bool synced)
      : replacer_(std::move(replacer)), synced_(synced) {}

  bool Synced() const override { return synced_; }
  std::vector<std::string> TempPaths() const override { return {replacer_->TempPath()}; }
  bool Commit() override {
    if (replacer_->Commit(false)) return true;
    result_.problem = WriteResult::Problem::kFile;
    result_.file = replacer_->Failure();
    return false;
  }
  std::vector<std::string> Targets() const override { return {replacer_->Target()}; }
  void Settle() override { replacer_->Settle(); }
  const WriteResult& Result() const override { return result_; }

 private:
  std::unique_ptr<FileReplacer> replacer_;
  bool synced_;
  WriteResult result_;
};

}  // namespace

std::unique_ptr<FileReplacer> StageBackupFile(const struct stat& photo,
                                              const std::string& backupPath,
                                              std::string_view segment, FileSystem& fs, bool sync,
                                              WriteResult& result, FileReplacer::Swap swap) {
  auto replacer =
      std::make_unique<FileReplacer>(fs, backupPath, swap, FileReplacer::Links::kReplace);
  // A file put only where none is has nothing to keep of one, and is not
  // the photograph.
  struct stat old {};
  const bool named =
      swap != FileReplacer::Swap::kCreateOnly && ::lstat(backupPath.c_str(), &old) == 0;
  if (named) {
    struct stat target = old;
    if (S_ISLNK(old.st_mode) && ::stat(backupPath.c_str(), &target) != 0) target = old;
    if (IdentityOf(target) == IdentityOf(photo)) {
      result.problem = WriteResult::Problem::kBackupIsPhoto;
      return nullptr;
    }
  }
  const bool replacing = named && S_ISREG(old.st_mode);
  bool written = replacer->Create(0666);
  if (written && replacing) {
    replacer->KeepOwnerAndMode(old);
  } else if (written) {
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

std::optional<std::string> ReadPhotoSegment(ReadChannel& photo, SegmentAt at, WriteResult& result) {
  // The whole segment, marker included: T = L + 2 bytes.
  const std::int64_t total = at.length + 2;
  photo.Seek(at.offset + 1);
  std::string segment = photo.ReadString(total);
  if (photo.Failed()) {
    result.problem = WriteResult::Problem::kReadFailed;
    result.error = photo.Error();
    return std::nullopt;
  }
  const bool there =
      segment.size() >= 4 && static_cast<std::uint8_t>(segment[0]) == kMarkerPrefix &&
      static_cast<std::uint8_t>(segment[1]) == kMarkerApp1 && SegmentLengthOf(segment) == at.length;
  if (!there) {
    result.problem = WriteResult::Problem::kPhotoChanged;
    return std::nullopt;
  }
  if (static_cast<std::int64_t>(segment.size()) != total) {  // the file ends inside it
    result.problem = WriteResult::Problem::kBlockIncomplete;
    return std::nullopt;
  }
  return segment;
}

std::unique_ptr<Staged> StageBackup(const std::string& photoPath, SegmentAt at,
                                    const std::optional<FileStamp>& readAs,
                                    const std::string& backupPath, FileSystem& fs,
                                    CopyProgress& progress, bool sync, WriteResult& result) {
  OpenFailure failure;
  std::optional<ReadChannel> photo = ReadChannel::OpenFile(photoPath, &failure, fs);
  if (!photo) {
    result.problem = failure.problem == OpenProblem::kNotRegular
                         ? WriteResult::Problem::kPhotoNotRegular
                         : WriteResult::Problem::kPhotoUnreadable;
    result.error = failure.error;
    return nullptr;
  }
  if (readAs && photo->Stamp() != *readAs) {
    result.problem = WriteResult::Problem::kPhotoChanged;
    return nullptr;
  }
  return StageBackupFrom(*photo, at, backupPath, fs, progress, sync, result);
}

std::unique_ptr<Staged> StageBackupFrom(ReadChannel& photo, SegmentAt at,
                                        const std::string& backupPath, FileSystem& fs,
                                        CopyProgress& progress, bool sync, WriteResult& result) {
  progress.Start(at.length + 2);
  std::optional<std::string> segment = ReadPhotoSegment(photo, at, result);
  if (!segment) return nullptr;
  progress.Advance(at.length + 2);
  result.segmentLength = at.length;
  std::unique_ptr<FileReplacer> backup =
      StageBackupFile(photo.Status(), backupPath, *segment, fs, sync, result);
  if (!backup) return nullptr;
  return std::make_unique<StagedBackup>(std::move(backup), sync);
}

WriteResult BackupPhotoSegment(const std::string& photoPath, SegmentAt at,
                               const std::optional<FileStamp>& readAs,
                               const std::string& backupPath, FileSystem& fs,
                               CopyProgress& progress) {
  WriteResult result;
  std::unique_ptr<Staged> staged =
      StageBackup(photoPath, at, readAs, backupPath, fs, progress, true, result);
  if (!staged) return result;
  CommitGroup group(fs);
  group.Add(std::move(staged));
  result = group.Commit().front();
  result.segmentLength = at.length;
  return result;
}

}  // namespace tagloom
