// The write, backup and restore buttons: each works on the photograph on
// show, or in batch mode runs over the navigation list. The single write and
// the run over the list are called from here alone.
#include <algorithm>

#include "editor/session.h"
#include "editor/texts.h"

namespace tagloom {

Outcome Session::cmdExifWrite_Click() {
  ActionGuard action(*this);
  if (!action) return Outcome::kDeclined;
  if (!cmdExifWrite.enabled) {  // no photograph opened
    ReportFailure(text::kWriteFailed, text::kWriteFailedTitle,
                  photoProblem_.empty() ? std::string(text::kNoImageFile) : photoProblem_);
    return Outcome::kFailed;
  }
  const bool keeping = std::find(chkKeep.begin(), chkKeep.end(), true) != chkKeep.end();
  if (!chkBatch || !keeping) return WriteShown();
  // The ticked areas go to the whole list, after a preview; "only this
  // photograph" is the write of the photograph on show, all its fields.
  const std::vector<std::string> photos = ListOrShown();
  const EditsFor edits = KeptAreas();
  ListAnswer answer = ListAnswer::kNone;
  const std::vector<std::size_t> chosen = ConfirmList(photos, edits, answer);
  if (answer == ListAnswer::kNone) return Outcome::kDeclined;
  if (answer == ListAnswer::kOnlyShown) return WriteShown();
  return RunList(photos, chosen, {RunKind::kWrite, edits, keepAll, {}});
}

Outcome Session::cmdBackup_Click() {
  ActionGuard action(*this);
  if (!action) return Outcome::kDeclined;
  if (!chkBatch) {
    if (!cmdBackup.visible || !cmdBackup.enabled) {  // no block of its own
      ReportFailure(text::kBackupFailed, text::kBackupFailedTitle,
                    text::Join({text::kNothingToBackUp, ImageFileName}));
      return Outcome::kFailed;
    }
    if (BackupAvailable && !host_.AskYesNo(text::kConfirmOverwriteBackup, text::kConfirmTitle,
                                           MessageIcon::kNone, {})) {
      return Outcome::kDeclined;
    }
    return StartBackupExif() ? Outcome::kDone : Outcome::kFailed;
  }
  if (!host_.AskYesNo(text::kConfirmBatchBackup, text::kBatchTitle, MessageIcon::kNone, {})) {
    return Outcome::kDeclined;
  }
  return RunList(ListOrShown(), {RunKind::kBackup, {}, false, {}});
}

Outcome Session::cmdRestore_Click() {
  ActionGuard action(*this);
  if (!action) return Outcome::kDeclined;
  if (!chkBatch) {
    if (!cmdRestore.visible || !cmdRestore.enabled) {  // no backup to restore
      ReportFailure(text::kWriteFailed, text::kWriteFailedTitle,
                    text::Join({text::kNoBackupToRestore, ImageFileName}));
      return Outcome::kFailed;
    }
    const std::string doubt = BackupDoubt(true);
    if (!doubt.empty() && refuseDoubtfulChanges) {
      ReportFailure(text::kWriteFailed, text::kWriteFailedTitle, doubt);
      return Outcome::kFailed;
    }
    const std::string question =
        doubt.empty() ? std::string(text::kConfirmRestore)
                      : text::Join({doubt, text::kCrLf, text::kCrLf, text::kConfirmRestore});
    if (!host_.Ask(
            {question, text::kConfirmRestoreTitle, MessageIcon::kQuestion, {}, !doubt.empty()})) {
      return Outcome::kDeclined;
    }
    return StoreExifData() ? Outcome::kDone : Outcome::kFailed;
  }
  if (!host_.AskYesNo(text::kConfirmBatchRestore, text::kBatchTitle, MessageIcon::kNone, {})) {
    return Outcome::kDeclined;
  }
  return RunList(ListOrShown(), {RunKind::kRestore, {}, false, {}});
}

}  // namespace tagloom
