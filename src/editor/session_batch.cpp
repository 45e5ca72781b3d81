// The backup and restore buttons: the photograph on show, or in batch mode
// every photograph of the navigation list, ending with a summary.
#include "editor/session.h"
#include "editor/texts.h"
#include "model/number_text.h"

namespace tagloom {
namespace {

struct SummaryLine {
  std::string_view label;
  std::int64_t count;
};

// The summary: a heading, then one line per count, every line ended by CR LF;
// after them the photographs that failed, so that the person knows which.
std::string Summary(std::string_view heading, std::initializer_list<SummaryLine> lines,
                    const std::vector<std::string>& failures, const std::locale& locale) {
  std::string text(heading);
  text += text::kCrLf;
  for (const SummaryLine& line : lines) {
    text += line.label;
    text += GroupedText(line.count, locale);
    text += text::kCrLf;
  }
  for (const std::string& failure : failures) {
    text += text::kFailedFile;
    text += failure;
    text += text::kCrLf;
  }
  return text;
}

}  // namespace

namespace {

Outcome Of(bool done) { return done ? Outcome::kDone : Outcome::kFailed; }

}  // namespace

Outcome Session::cmdBackup_Click() {
  if (!chkBatch) {
    if (BackupAvailable &&
        !host_.AskYesNo(text::kConfirmOverwriteBackup, text::kConfirmTitle, MessageIcon::kNone)) {
      return Outcome::kDeclined;
    }
    return Of(StartBackupExif());
  }
  if (!host_.AskYesNo(text::kConfirmBatchBackup, text::kBatchTitle, MessageIcon::kNone)) {
    return Outcome::kDeclined;
  }
  batchFailures_.clear();
  batchRunning_ = true;
  std::int64_t withExif = 0, backedUp = 0, failed = 0;
  for (int i = 0; i < lstDragFiles.Count(); ++i) {
    Text1 = lstDragFiles.Row(i);
    GetExifData();
    if (photoFound_ && ExifLoaded && !ExifFromBackup) {
      ++withExif;
      (StartBackupExif() ? backedUp : failed) += 1;
    }
    host_.Yield();
  }
  batchRunning_ = false;
  host_.Tell(Summary(text::kBackupSummary,
                     {{text::kFilesProcessed, lstDragFiles.Count()},
                      {text::kWithExif, withExif},
                      {text::kBackedUp, backedUp},
                      {text::kBackupFailedCount, failed}},
                     batchFailures_, numberLocale),
             text::kBatchResultTitle, MessageIcon::kNone);
  batchFailures_.clear();
  return Of(failed == 0);
}

Outcome Session::cmdRestore_Click() {
  if (!chkBatch) {
    if (!host_.AskYesNo(text::kConfirmRestore, text::kConfirmRestoreTitle,
                        MessageIcon::kQuestion)) {
      return Outcome::kDeclined;
    }
    return Of(StoreExifData());
  }
  if (!host_.AskYesNo(text::kConfirmBatchRestore, text::kBatchTitle, MessageIcon::kNone)) {
    return Outcome::kDeclined;
  }
  batchFailures_.clear();
  batchRunning_ = true;
  std::int64_t found = 0, stored = 0, failed = 0;
  for (int i = 0; i < lstDragFiles.Count(); ++i) {
    Text1 = lstDragFiles.Row(i);
    GetExifData();
    // A file that is not there counts only among the files processed.
    if (photoFound_ && BackupAvailable) {
      ++found;
      (StoreExifData() ? stored : failed) += 1;
    }
    host_.Yield();
  }
  batchRunning_ = false;
  host_.Tell(Summary(text::kRestoreSummary,
                     {{text::kFilesProcessed, lstDragFiles.Count()},
                      {text::kBackupsFound, found},
                      {text::kStored, stored},
                      {text::kStoreFailedCount, failed}},
                     batchFailures_, numberLocale),
             text::kBatchResultTitle, MessageIcon::kNone);
  batchFailures_.clear();
  Text1 = ImageFileName;
  DrawImage();
  return Of(failed == 0);
}

}  // namespace tagloom
