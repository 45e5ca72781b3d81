#include "editor/reasons.h"

#include <cerrno>
#include <cstring>

#include "editor/texts.h"

namespace tagloom {
namespace {

std::string SystemError(int error) {
  return error == ENOSPC || error == EDQUOT ? std::string(text::kDiskFull)
                                            : std::string(std::strerror(error));
}

std::string FileStepText(const FileFailure& file) {
  using Step = FileFailure::Step;
  std::string_view what = text::kCannotWrite;
  switch (file.step) {
    case Step::kBusy:
      return text::Join({text::kBusy, file.path});
    case Step::kCreate:
      what = text::kCannotCreate;
      break;
    case Step::kSync:
      what = text::kCannotSync;
      break;
    case Step::kPark:
      what = text::kCannotPark;
      break;
    case Step::kRename:
      what = text::kCannotReplace;
      break;
    case Step::kLeftover:
      what = text::kCannotRemoveLeftover;
      break;
    default:
      break;
  }
  return text::Join({what, file.path, " (", SystemError(file.error), ")"});
}

}  // namespace

std::string OpenProblemText(const OpenFailure& failure, const std::string& path) {
  if (failure.problem == OpenProblem::kNotRegular) return text::Join({text::kNotRegularFile, path});
  if (failure.error == ENOENT || failure.error == ENOTDIR || failure.error == 0) {
    return std::string(text::kNoImageFile);
  }
  return text::Join({text::kPhotoUnreadable, path, " (", std::strerror(failure.error), ")"});
}

std::string ReadFailureText(int error, const std::string& path) {
  const std::string why = error != 0 ? std::strerror(error) : std::string(text::kEndedEarly);
  return text::Join({text::kReadFailed, why, ": ", path});
}

std::string BackupPlaceText(const BackupPlaceCheck& check, const std::string& backupPath) {
  std::string_view why = text::kBackupPlaceDamaged;
  switch (check.place) {
    case BackupPlace::kEmpty:
      why = text::kBackupPlaceEmpty;
      break;
    case BackupPlace::kNotAFile:
      why = text::kBackupPlaceNotAFile;
      break;
    case BackupPlace::kDanglingLink:
      why = text::kBackupPlaceDanglingLink;
      break;
    case BackupPlace::kUnreadable:
      return text::Join({text::kOriginalNotSaved, backupPath, " (", text::kBackupPlaceUnreadable,
                         std::strerror(check.error), ")"});
    case BackupPlace::kIsPhoto:
      why = text::kBackupPlaceIsPhoto;
      break;
    default:
      break;
  }
  return text::Join({text::kOriginalNotSaved, backupPath, " (", why, ")"});
}

std::string WriteFailureText(const WriteResult& result, const std::string& photoPath,
                             const std::string& backupPath) {
  using Problem = WriteResult::Problem;
  switch (result.problem) {
    case Problem::kNone:
      return {};
    case Problem::kBackupMissing:
      return text::Join({text::kBackupMissing, backupPath});
    case Problem::kBackupDamaged:
      return text::Join({text::kBackupDamaged, " ", backupPath});
    case Problem::kBackupIsPhoto:
      return text::Join({text::kBackupIsPhoto, backupPath});
    case Problem::kBackupUnusable:
      return BackupPlaceText(result.backup, backupPath);
    case Problem::kPhotoUnreadable:
      return OpenProblemText({OpenProblem::kCannotOpen, result.error}, photoPath);
    case Problem::kPhotoNotRegular:
      return text::Join({text::kNotRegularFile, photoPath});
    case Problem::kReadFailed:  // of the photograph, or of the file the failure names
      return ReadFailureText(result.error, result.file.path.empty() ? photoPath : result.file.path);
    case Problem::kPhotoReadOnly:
      return text::Join({text::kPhotoReadOnly, photoPath});
    case Problem::kNotJpeg:
      return text::Join({text::kNotJpeg, photoPath});
    case Problem::kPhotoChanged:
      return text::Join({text::kPhotoChanged, photoPath});
    case Problem::kBlockIncomplete:
      return text::Join({text::kBlockIncomplete, photoPath});
    case Problem::kVerifyFailed:
      return text::Join({text::kVerifyFailed, photoPath});
    case Problem::kFile:
      break;
  }
  return FileStepText(result.file);
}

}  // namespace tagloom
