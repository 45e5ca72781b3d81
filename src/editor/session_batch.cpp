// The backup and restore buttons: the photograph on show, or in batch mode
// every photograph of the navigation list, ending with a summary.
#include <algorithm>

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

Outcome Of(bool done) {
  return done ? Outcome::kDone : Outcome::kFailed;
}

// A batch failed when a file of it failed, or when not one of its files was there.
Outcome OfBatch(const std::vector<PhotoOutcome>& outcomes) {
  const std::int64_t missing = CountOf(outcomes, {PhotoResult::kMissing});
  const auto files = static_cast<std::int64_t>(outcomes.size());
  return Of(CountOf(outcomes, {PhotoResult::kRefused}) == 0 && (missing < files || files == 0));
}

}  // namespace

Outcome Session::cmdBackup_Click() {
  ActionGuard action(*this);
  if (!action) return Outcome::kDeclined;
  if (!chkBatch && (!cmdBackup.visible || !cmdBackup.enabled)) {  // no block of its own
    ReportFailure(text::kBackupFailed, text::kBackupFailedTitle,
                  std::string(text::kNothingToBackUp) + ImageFileName);
    return Outcome::kFailed;
  }
  if (!chkBatch) {
    if (BackupAvailable && !host_.AskYesNo(text::kConfirmOverwriteBackup, text::kConfirmTitle,
                                           MessageIcon::kNone, {})) {
      return Outcome::kDeclined;
    }
    return Of(StartBackupExif());
  }
  if (!host_.AskYesNo(text::kConfirmBatchBackup, text::kBatchTitle, MessageIcon::kNone, {})) {
    return Outcome::kDeclined;
  }
  // The backups are written as the run goes and put in place a few hundred
  // at a time, with one sync for all of them (see ReplaceGroup).
  ReplaceGroup group(fs_);
  backupGroup_ = &group;
  struct Staged {
    std::string photo, backup;
    std::size_t index;  // in the list
  };
  std::vector<Staged> staged;                             // the backups in the group, in order
  std::vector<std::pair<std::size_t, std::string>> lost;  // put in place in vain: index, why
  auto putInPlace = [&] {
    const std::string shown = ImageFileName;
    for (const ReplaceGroup::Failed& failure : group.Commit()) {
      ImageFileName = staged[failure.index].photo;
      ReportFailure(text::kBackupFailed, text::kBackupFailedTitle,
                    ReasonFor({WriteResult::Problem::kFile, failure.failure, 0}));
      lost.emplace_back(staged[failure.index].index, lastFailure_);
    }
    ImageFileName = shown;
    staged.clear();
  };
  constexpr std::size_t kGroupSize = 256;
  std::vector<PhotoOutcome> done = WalkList([&](std::size_t index) {
    if (!ExifLoaded || ExifFromBackup) return PhotoResult::kSkipped;
    // Photographs that share a backup file (IMG.JPG and IMG.THM) replace it
    // one after the other, as they would without the group.
    auto sameBackup = [&](const Staged& s) { return s.backup == BackupFileName; };
    if (std::any_of(staged.begin(), staged.end(), sameBackup)) putInPlace();
    PhotoResult result = PhotoResult::kRefused;
    if (StartBackupExif()) {
      result = PhotoResult::kDone;
      staged.push_back({ImageFileName, BackupFileName, index});
    }
    if (group.Size() >= kGroupSize) putInPlace();
    return result;
  });
  putInPlace();
  backupGroup_ = nullptr;
  for (const auto& [index, why] : lost)
    done[index] = {done[index].path, PhotoResult::kRefused, why};
  const std::int64_t backedUp = CountOf(done, {PhotoResult::kDone});
  const std::int64_t failed = CountOf(done, {PhotoResult::kRefused});
  host_.Tell(Summary(text::kBackupSummary,
                     {{text::kFilesProcessed, lstDragFiles.Count()},
                      {text::kWithExif, backedUp + failed},
                      {text::kBackedUp, backedUp},
                      {text::kBackupFailedCount, failed}},
                     batchFailures_, numberLocale),
             text::kBatchResultTitle, MessageIcon::kNone);
  batchFailures_.clear();
  return OfBatch(done);
}

Outcome Session::cmdRestore_Click() {
  ActionGuard action(*this);
  if (!action) return Outcome::kDeclined;
  if (!chkBatch && (!cmdRestore.visible || !cmdRestore.enabled)) {  // no backup to restore
    ReportFailure(text::kWriteFailed, text::kWriteFailedTitle,
                  std::string(text::kNoBackupToRestore) + ImageFileName);
    return Outcome::kFailed;
  }
  if (!chkBatch) {
    if (!host_.AskYesNo(text::kConfirmRestore, text::kConfirmRestoreTitle, MessageIcon::kQuestion,
                        {})) {
      return Outcome::kDeclined;
    }
    return Of(StoreExifData());
  }
  if (!host_.AskYesNo(text::kConfirmBatchRestore, text::kBatchTitle, MessageIcon::kNone, {})) {
    return Outcome::kDeclined;
  }
  // A file that is not there counts only among the files processed.
  const std::vector<PhotoOutcome> done = WalkList([&](std::size_t) {
    if (!BackupAvailable) return PhotoResult::kSkipped;
    return StoreExifData() ? PhotoResult::kDone : PhotoResult::kRefused;
  });
  const std::int64_t stored = CountOf(done, {PhotoResult::kDone});
  const std::int64_t failed = CountOf(done, {PhotoResult::kRefused});
  host_.Tell(Summary(text::kRestoreSummary,
                     {{text::kFilesProcessed, lstDragFiles.Count()},
                      {text::kBackupsFound, stored + failed},
                      {text::kStored, stored},
                      {text::kStoreFailedCount, failed}},
                     batchFailures_, numberLocale),
             text::kBatchResultTitle, MessageIcon::kNone);
  batchFailures_.clear();
  DrawImage(ImageFileName);
  return OfBatch(done);
}

}  // namespace tagloom
