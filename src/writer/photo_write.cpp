#include "writer/photo_write.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "model/path_name.h"
#include "reader/backup_place.h"
#include "reader/jpeg_segments.h"
#include "reader/read_channel.h"
#include "writer/splice.h"

namespace tagloom {
namespace {

using Problem = WriteResult::Problem;

// What a change needs once its checks have passed: the photograph open, the
// segment it is to get, and its block to save into a new backup (if any).
struct Prepared {
  std::optional<ReadChannel> photo;
  std::string segment;                  // complete
  std::optional<std::string> toBackUp;  // the photograph's own segment, for a new backup
};

bool Refuse(WriteResult& result, Problem problem, int error = 0) {
  result.problem = problem;
  result.error = error;
  return false;
}

// The checks of a change that need no lock, in the order a write meets them:
// the photograph opened, still what it was when read, writable, a JPEG; the
// segment it is to get.
bool CheckPhoto(const std::string& photoPath, const std::string& backupPath,
                const PhotoChange& change, FileSystem& fs, Prepared& out, WriteResult& result) {
  OpenFailure failure;
  if (!out.photo) out.photo = ReadChannel::OpenFile(photoPath, &failure, fs);
  if (!out.photo) {
    return Refuse(result,
                  failure.problem == OpenProblem::kNotRegular ? Problem::kPhotoNotRegular
                                                              : Problem::kPhotoUnreadable,
                  failure.error);
  }
  ReadChannel& photo = *out.photo;
  if (change.readAs && photo.Stamp() != *change.readAs)
    return Refuse(result, Problem::kPhotoChanged);
  // Photographers protect originals by taking away their write permission;
  // that holds for every user here, root included.
  if ((photo.Mode() & S_IWUSR) == 0) return Refuse(result, Problem::kPhotoReadOnly);
  const bool jpeg = StartsWithSoi(photo);
  if (photo.Failed()) return Refuse(result, Problem::kReadFailed, photo.Error());
  if (!jpeg) return Refuse(result, Problem::kNotJpeg);
  // A photograph named as its own backup is neither restored from itself nor
  // written, lest it be taken for one. (A write that saves a backup learns
  // this in CheckBackup, from the one look it takes at the name.)
  if ((change.restore || !change.original) && IdentityOfPath(backupPath) == photo.Identity()) {
    return Refuse(result, Problem::kBackupIsPhoto);
  }
  if (change.restore) {
    std::optional<std::string> segment = BackupSegment(backupPath, fs, result);
    if (!segment) return false;
    out.segment = std::move(*segment);
  } else {
    out.segment = Completed(change.segment);
  }
  result.segmentLength = SegmentLengthOf(out.segment);
  return true;
}

// What a write decides about the backup, under the photograph's lock: a new
// backup saves its block where no file has the name; the person's own file
// there is never replaced; a file there that cannot serve refuses the write.
bool CheckBackup(const std::string& backupPath, const PhotoChange& change, FileSystem& fs,
                 Prepared& out, WriteResult& result) {
  if (change.restore || !change.original) return true;  // no backup to make
  const BackupPlaceCheck place = CheckBackupPlace(backupPath, out.photo->Identity(), fs);
  if (place.place == BackupPlace::kFree) {
    out.toBackUp = ReadPhotoSegment(*out.photo, *change.original, result);
    return out.toBackUp.has_value();
  }
  if (place.place == BackupPlace::kBackup) return true;
  if (place.place == BackupPlace::kIsPhoto) return Refuse(result, Problem::kBackupIsPhoto);
  result.backup = place;
  return Refuse(result, Problem::kBackupUnusable);
}

// The new photograph under its temporary name, read back and compared with
// what it is to be, read afresh from the same open photograph: one that
// another program changed meanwhile is not replaced.
bool WriteAndVerify(ReadChannel& photo, const std::string& segment, FileReplacer& replacer,
                    FileSystem& fs, CopyProgress& progress, bool synced, WriteResult& result) {
  auto fileFailed = [&] {
    result.problem = Problem::kFile;
    result.file = replacer.Failure();
    return false;
  };
  progress.Start(photo.Length() - 2);
  const bool written = EmitSplice(
      photo, segment, [&](std::string_view b) { return replacer.Write(b); }, &progress);
  if (!written) {
    if (replacer.Failure().step != FileFailure::Step::kNone) return fileFailed();
    return Refuse(result, Problem::kReadFailed, photo.Error());
  }
  if (!replacer.WriteOut(synced)) return fileFailed();
  std::optional<ReadChannel> copy = ReadChannel::Borrow(replacer.Descriptor(), fs);
  if (!copy) return Refuse(result, Problem::kReadFailed, errno);
  std::int64_t compared = 0;
  std::vector<std::uint8_t> block;
  const bool same = EmitSplice(
      photo, segment,
      [&](std::string_view expected) {
        block.resize(expected.size());
        if (copy->ReadBlock(compared, block) != expected.size() || copy->Failed()) return false;
        compared += static_cast<std::int64_t>(expected.size());
        return std::memcmp(expected.data(), block.data(), expected.size()) == 0;
      },
      nullptr);
  if (photo.Failed()) return Refuse(result, Problem::kReadFailed, photo.Error());
  if (copy->Failed()) return Refuse(result, Problem::kReadFailed, copy->Error());
  if (!same || compared != copy->Length()) return Refuse(result, Problem::kVerifyFailed);
  return true;
}

class StagedPhoto : public Staged {
 public:
  StagedPhoto(FileSystem& fs, const std::string& photoPath, bool synced)
      : photoPath_(photoPath),
        synced_(synced),
        replacer_(fs, photoPath, FileReplacer::Swap::kParkOld, FileReplacer::Links::kFollow) {}

  bool Stage(const std::string& backupPath, const PhotoChange& change, FileSystem& fs,
             CopyProgress& progress);

  bool Synced() const override { return synced_; }
  std::vector<std::string> TempPaths() const override {
    std::vector<std::string> paths = {replacer_.TempPath()};
    if (backup_) paths.push_back(backup_->TempPath());
    return paths;
  }
  bool Commit() override;
  std::vector<std::string> Targets() const override {
    std::vector<std::string> targets = {replacer_.Target()};
    if (backup_) targets.push_back(backup_->Target());
    return targets;
  }
  void Settle() override {
    replacer_.Settle();
    if (backup_) backup_->Settle();
  }
  const WriteResult& Result() const override { return result_; }

 private:
  bool FileFailed(const FileReplacer& replacer) {
    result_.problem = Problem::kFile;
    result_.file = replacer.Failure();
    return false;
  }

  std::string photoPath_;
  bool synced_;
  FileReplacer replacer_;  // its temporary file is the photograph's lock
  std::unique_ptr<FileReplacer> backup_;
  std::optional<ReadChannel> photo_;
  WriteResult result_;
};

bool StagedPhoto::Stage(const std::string& backupPath, const PhotoChange& change, FileSystem& fs,
                        CopyProgress& progress) {
  Prepared prepared;
  if (!CheckPhoto(photoPath_, backupPath, change, fs, prepared, result_)) return false;
  photo_ = std::move(prepared.photo);
  // The lock before anything about the backup is decided: from here to the
  // swap no other writer of this photograph decides anything about it or
  // its backup. It must still be the photograph opened.
  if (!replacer_.Create(0600) || !replacer_.RemoveLeftover()) return FileFailed(replacer_);
  if (IdentityOfPath(photoPath_) != photo_->Identity()) {
    return Refuse(result_, Problem::kPhotoChanged);
  }
  prepared.photo = std::move(photo_);
  const bool backupDecided = CheckBackup(backupPath, change, fs, prepared, result_);
  photo_ = std::move(prepared.photo);
  if (!backupDecided) return false;
  replacer_.KeepOwnerAndMode(photo_->Status());
  if (prepared.toBackUp) {
    backup_ = StageBackupFile(photo_->Status(), backupPath, *prepared.toBackUp, fs, synced_,
                              result_, FileReplacer::Swap::kCreateOnly);
    if (!backup_) return false;
  }
  if (!WriteAndVerify(*photo_, prepared.segment, replacer_, fs, progress, synced_, result_))
    return false;
  return replacer_.Finish(synced_) || FileFailed(replacer_);
}

bool StagedPhoto::Commit() {
  // The path must still name the photograph this write was made from.
  if (IdentityOfPath(photoPath_) != photo_->Identity()) {
    return Refuse(result_, Problem::kPhotoChanged);
  }
  if (backup_ && !backup_->Commit(false)) return FileFailed(*backup_);
  if (!replacer_.Commit(false)) {
    if (backup_) backup_->Withdraw();  // nobody else could have come to rely on it
    return FileFailed(replacer_);
  }
  return true;
}

}  // namespace

WriteResult CheckPhotoChange(const std::string& photoPath, const std::string& backupPath,
                             const PhotoChange& change, FileSystem& fs,
                             std::optional<ReadChannel> opened) {
  WriteResult result;
  Prepared prepared;
  prepared.photo = std::move(opened);
  if (!CheckPhoto(photoPath, backupPath, change, fs, prepared, result) ||
      !CheckBackup(backupPath, change, fs, prepared, result)) {
    return result;
  }
  // The temporary files go beside the photograph: its folder must take them.
  const std::string folder = FolderOf(photoPath);
  if (::access(folder.c_str(), W_OK | X_OK) != 0) {
    result.problem = Problem::kFile;
    result.file = {FileFailure::Step::kCreate, photoPath + std::string(kTempSuffix), errno};
  }
  return result;
}

std::unique_ptr<Staged> StagePhoto(const std::string& photoPath, const std::string& backupPath,
                                   const PhotoChange& change, FileSystem& fs,
                                   CopyProgress& progress, bool sync, WriteResult& result) {
  auto staged = std::make_unique<StagedPhoto>(fs, photoPath, sync);
  const bool ok = staged->Stage(backupPath, change, fs, progress);
  result = staged->Result();
  if (!ok) return nullptr;
  return staged;
}

WriteResult WritePhoto(const std::string& photoPath, const std::string& backupPath,
                       const PhotoChange& change, FileSystem& fs, CopyProgress& progress) {
  WriteResult result;
  std::unique_ptr<Staged> staged =
      StagePhoto(photoPath, backupPath, change, fs, progress, true, result);
  if (!staged) return result;
  CommitGroup group(fs);
  group.Add(std::move(staged));
  WriteResult committed = group.Commit().front();
  committed.segmentLength = result.segmentLength;
  return committed;
}

}  // namespace tagloom
