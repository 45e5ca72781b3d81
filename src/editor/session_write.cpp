// The Session's writing: the write button, the build of a new segment, the
// splice into the photograph, the backup of its own segment, the progress panel.
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "editor/session.h"
#include "editor/texts.h"
#include "model/edit_back.h"
#include "model/number_text.h"
#include "model/value_text.h"
#include "reader/backup_format.h"
#include "writer/backup_writer.h"
#include "writer/exif_segment.h"
#include "writer/splice.h"

namespace tagloom {
namespace {

// Shows a long copy on the Session's progress panel, yielding after each step.
class BarProgress : public CopyProgress {
 public:
  BarProgress(Session& session, Host& host) : session_(session), host_(host) {}
  void Start(std::int64_t total) override {
    session_.ShowBar(true);
    session_.InitBar(1, total);
    host_.Yield();
  }
  void Advance(std::int64_t position) override {
    session_.SetBar(position);
    host_.Yield();
  }

 private:
  Session& session_;
  Host& host_;
};

// The busy pointer for as long as a write runs.
class BusyPointer {
 public:
  explicit BusyPointer(Host& host) : host_(host) { host_.SetBusy(true); }
  ~BusyPointer() { host_.SetBusy(false); }

 private:
  Host& host_;
};

}  // namespace

void Session::ShowBar(bool visible) {
  Bar.visible = visible;
  host_.ShowBar(visible);
}

void Session::InitBar(std::int64_t min, std::int64_t max) {
  Bar.min = min;
  Bar.max = max;
  Bar.value = min;
  host_.InitBar(min, max);
}

void Session::SetBar(std::int64_t value) {
  Bar.value = std::clamp(value, Bar.min, std::max(Bar.min, Bar.max));
  host_.SetBar(Bar.value);
}

void Session::ReportFailure(std::string_view what, std::string_view title,
                            const std::string& reason) {
  lastFailure_ = reason;
  if (batchRunning_) {
    batchFailures_.push_back(ImageFileName + " (" + reason + ")");
    return;
  }
  host_.Tell(text::Join({what, text::kCrLf, reason}), title, MessageIcon::kCritical);
}

std::string Session::ReasonFor(const WriteResult& result) const {
  using Problem = WriteResult::Problem;
  switch (result.problem) {
    case Problem::kNone:
      return {};
    case Problem::kBackupMissing:
      return text::Join({text::kBackupMissing, BackupFileName});
    case Problem::kBackupDamaged:
      return text::Join({text::kBackupDamaged, " ", BackupFileName});
    case Problem::kPhotoUnreadable:
      return text::Join({text::kPhotoUnreadable, ImageFileName});
    case Problem::kPhotoNotRegular:
      return text::Join({text::kNotRegularFile, ImageFileName});
    case Problem::kPhotoReadOnly:
      return text::Join({text::kPhotoReadOnly, ImageFileName});
    case Problem::kBackupIsPhoto:
      return text::Join({text::kBackupIsPhoto, BackupFileName});
    case Problem::kNotJpeg:
      return text::Join({text::kNotJpeg, ImageFileName});
    case Problem::kPhotoChanged:
      return text::Join({text::kPhotoChanged, ImageFileName});
    case Problem::kVerifyFailed:
      return text::Join({text::kVerifyFailed, ImageFileName});
    case Problem::kFile:
      break;
  }
  using Step = FileFailure::Step;
  if (result.file.step == Step::kBusy) return text::Join({text::kBusy, result.file.path});
  std::string_view what = text::kCannotWrite;
  switch (result.file.step) {
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
    default:
      break;
  }
  int error = result.file.error;
  std::string why = error == ENOSPC || error == EDQUOT ? std::string(text::kDiskFull)
                                                       : std::string(std::strerror(error));
  return text::Join({what, result.file.path, " (", why, ")"});
}

Outcome Session::cmdExifWrite_Click() {
  {
    ActionGuard action(*this);
    if (!action) return Outcome::kDeclined;
    if (!cmdExifWrite.enabled) {  // no photograph opened
      ReportFailure(text::kWriteFailed, text::kWriteFailedTitle, std::string(text::kNoImageFile));
      return Outcome::kFailed;
    }
    const bool keeping = std::find(chkKeep.begin(), chkKeep.end(), true) != chkKeep.end();
    if (!chkBatch || !keeping) return WriteShown();
  }
  return WriteList(ListOrShown(), KeptAreas());  // an action of its own
}

Outcome Session::WriteShown() {
  if (AllFieldsEmpty()) {
    host_.Tell(text::kAllFieldsEmpty, text::kAllFieldsEmptyTitle, MessageIcon::kNone);
    return Outcome::kFailed;
  }
  // Built first, so that the question can tell what the new block keeps;
  // the store takes it over only once the person has said Yes.
  std::optional<NewBlock> built = BuildFromFields();
  if (!built) return Outcome::kFailed;
  std::string_view question =
      labNoExif.visible ? text::kConfirmCreateExif : text::kConfirmRewriteExif;
  if (!host_.AskYesNo(question, text::kConfirmTitle, MessageIcon::kQuestion,
                      WriteDetails(built->segment.makerNote))) {
    return Outcome::kDeclined;
  }
  // Taken before the new block changes what the Session knows of the old.
  const std::optional<SegmentAt> own = OwnSegment();
  TakeOver(std::move(*built));
  return Store(&ExifHeadBytes, own) ? Outcome::kDone : Outcome::kFailed;
}

std::string Session::WhatIsNotKept(MakerNoteKept makerNote) const {
  std::string lines;
  const int entries = store.lstUnuseTag.Count();
  if (entries > 0) lines += text::Join({text::kLostEntries, IntegerText(entries), text::kCrLf});
  for (int u = 0; u < entries; ++u) {
    if (store.lstUnuseTag.Row(u) == kGpsPointerTag) {
      lines += text::Join({text::kLostGps, text::kCrLf});
      break;
    }
  }
  if (block.HasIfd1) lines += text::Join({text::kLostThumbnail, text::kCrLf});
  if (makerNote == MakerNoteKept::kMoved) lines += text::Join({text::kMakerNoteMoved, text::kCrLf});
  if (makerNote == MakerNoteKept::kPartly)
    lines += text::Join({text::kMakerNotePartly, text::kCrLf});
  return lines;
}

std::string Session::WriteDetails(MakerNoteKept makerNote) const {
  const std::string lines = WhatIsNotKept(makerNote);
  std::string details =
      lines.empty() ? lines : text::Join({text::kNotKeptHeading, text::kCrLf, lines});
  // Where the block the photograph holds now stays to be restored.
  if (BackupAvailable) {
    details += text::Join({text::kBackupKept, BackupFileName, text::kCrLf});
  } else if (ExifLoaded && !ExifFromBackup) {
    details += text::Join({text::kOriginalSaved, BackupFileName, text::kCrLf});
  }
  return details;
}

std::optional<Session::NewBlock> Session::BuildFromFields() {
  NewBlock built{store, {}, {}};
  if (std::optional<RefusedField> refused =
          RestoreValue(FieldsToWrite(), built.store, built.counts, UneditedFields())) {
    const FieldInfo& field = kFields[static_cast<std::size_t>(refused->field)];
    ReportFailure(text::kWriteFailed, text::kWriteFailedTitle,
                  text::Join({text::kOutOfRange, field.caption, " ",
                              txtExif[static_cast<std::size_t>(refused->field)]}));
    return std::nullopt;
  }
  built.segment = AssembleExifSegment(built.store, block.makerNote);
  if (built.segment.error != BuildError::kNone) {
    std::string reason =
        built.segment.error == BuildError::kTooLarge
            ? text::Join({text::kTooLarge, ImageFileName})
            : text::Join({text::kOutOfRange, store.lstTitle.Row(built.segment.errorRow)});
    ReportFailure(text::kWriteFailed, text::kWriteFailedTitle, reason);
    return std::nullopt;
  }
  return built;
}

void Session::TakeOver(NewBlock&& built) {
  store = std::move(built.store);
  ++storeVersion;
  block.Ifd0EntryCount = built.counts.Ifd0EntryCount;
  block.ExifIfdEntryCount = built.counts.ExifIfdEntryCount;
  block.ExifSegmentLength = static_cast<std::int64_t>(built.segment.bytes.size());
  ExifHeadBytes = std::move(built.segment.bytes);
}

bool Session::BuildExifHead() {
  std::optional<NewBlock> built = BuildFromFields();
  if (built) TakeOver(std::move(*built));
  return built.has_value();
}

bool Session::StoreExifData() {
  return Store(nullptr);
}

bool Session::Store(const std::string* built, const std::optional<SegmentAt>& own) {
  // The backup must be this photograph's own: after a photograph that could
  // not be opened, ImageFileName still names the one before it.
  if (!photoFound_ || BackupFileNameFor(ImageFileName) != BackupFileName) {
    ReportFailure(text::kWriteFailed, text::kWriteFailedTitle,
                  text::Join({text::kNoImageFile, " ", Text1}));
    return false;
  }
  if (BackupFileName.empty()) {
    ReportFailure(text::kWriteFailed, text::kWriteFailedTitle,
                  text::Join({text::kNoBackupName, ImageFileName}));
    return false;
  }
  cmdRestore.enabled = false;
  WriteResult result;
  {
    BusyPointer busy(host_);
    BarProgress progress(*this, host_);
    result = built ? WriteExifSegment(ImageFileName, BackupFileName, *built, own, fs_, progress)
                   : RestoreExifSegment(ImageFileName, BackupFileName, fs_, progress);
  }
  cmdRestore.enabled = true;
  if (!result.Ok()) {
    if (Bar.visible) ShowBar(false);
    ReportFailure(text::kWriteFailed, text::kWriteFailedTitle, ReasonFor(result));
    return false;
  }
  block.ExifSegmentLength = result.segmentLength;
  // The lamps and buttons follow the files as they now are.
  BackupAvailable = CheckBackupFile();
  if (BackupAvailable) cmdBackup.enabled = true;
  chkBackup();
  if (!chkBatch) {
    host_.Tell(text::Join({text::kWriteSucceeded, BackupFileName}), text::kWriteSucceededTitle,
               MessageIcon::kNone);
  }
  ShowBar(false);
  if (!chkBatch) DrawImage(ImageFileName);
  return true;
}

std::optional<SegmentAt> Session::OwnSegment() const {
  if (!ExifLoaded || ExifFromBackup) return std::nullopt;
  return SegmentAt{block.ExifSegmentOffset, block.ExifSegmentLength};
}

bool Session::AllFieldsEmpty() const {
  return std::all_of(txtExif.begin(), txtExif.end(),
                     [](const std::string& field) { return TrimBlanks(field).empty(); });
}

bool Session::StartBackupExif() {
  const std::optional<SegmentAt> own = OwnSegment();
  if (!own || own->length <= 0) {
    ReportFailure(text::kBackupFailed, text::kBackupFailedTitle,
                  text::Join({text::kNothingToBackUp, ImageFileName}));
    return false;
  }
  if (BackupFileName.empty()) {
    ReportFailure(text::kBackupFailed, text::kBackupFailedTitle,
                  text::Join({text::kNoBackupName, ImageFileName}));
    return false;
  }
  WriteResult result;
  {
    BusyPointer busy(host_);
    BarProgress progress(*this, host_);
    result = BackupPhotoSegment(ImageFileName, *own, BackupFileName, fs_, progress, backupGroup_);
  }
  cmdBackup.enabled = true;
  if (!result.Ok()) {
    if (Bar.visible) ShowBar(false);
    ReportFailure(text::kBackupFailed, text::kBackupFailedTitle, ReasonFor(result));
    return false;
  }
  if (!chkBatch) {
    host_.Tell(text::Join({text::kBackupSucceeded, BackupFileName}), text::kBackupSucceededTitle,
               MessageIcon::kNone);
  }
  ShowBar(false);
  BackupAvailable = true;
  chkBackup();
  return true;
}

}  // namespace tagloom
