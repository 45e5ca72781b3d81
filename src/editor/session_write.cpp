// The write, restore and backup of the photograph on show, the new block
// built from the fields, and the progress panel of their copies.
#include <algorithm>

#include "editor/reasons.h"
#include "editor/session.h"
#include "editor/texts.h"
#include "model/edit_back.h"
#include "model/number_text.h"
#include "model/value_text.h"
#include "reader/backup_format.h"
#include "reader/carried_block.h"
#include "writer/backup_writer.h"
#include "writer/exif_segment.h"
#include "writer/photo_write.h"

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
  if (!visible) Bar.text.clear();
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
  if (partOfRun_) return;
  host_.Tell(text::Join({what, text::kCrLf, reason}), title, MessageIcon::kCritical);
}

bool Session::AllFieldsEmpty() const {
  return std::all_of(txtExif.begin(), txtExif.end(),
                     [](const std::string& field) { return TrimBlanks(field).empty(); });
}

std::optional<CarriedBlock> Session::ReadCarried() {
  const std::string& path = ExifFromBackup ? BackupFileName : ImageFileName;
  OpenFailure failure;
  std::optional<ReadChannel> channel = ReadChannel::OpenFile(path, &failure, fs_);
  if (!channel) {
    lastFailure_ = OpenProblemText(failure, path);
    return std::nullopt;
  }
  if (!ExifFromBackup && photoStamp_ && channel->Stamp() != *photoStamp_) {
    lastFailure_ = text::Join({text::kPhotoChanged, path});
    return std::nullopt;
  }
  CarriedBlock carried = ReadCarriedBlock(*channel, block);
  if (channel->Failed()) {
    lastFailure_ = ReadFailureText(channel->Error(), path);
    return std::nullopt;
  }
  return carried;
}

std::optional<Session::NewBlock> Session::BuildFromFields(bool carry) {
  NewBlock built{store, {}, {}};
  if (std::optional<RefusedField> refused =
          RestoreValue(FieldsToWrite(), built.store, built.counts, UneditedFields())) {
    const std::string& typed = txtExif[static_cast<std::size_t>(refused->field)];
    if (refused->why == RefusedField::Why::kUnreadableDate) {
      // The date field's own message, whatever route the write came by.
      lastFailure_ = text::Join({text::kDateFormatWrong, " ", typed});
      if (!partOfRun_)
        host_.Tell(text::kDateFormatWrong, text::kDateFormatWrongTitle, MessageIcon::kNone);
      return std::nullopt;
    }
    const FieldInfo& field = kFields[static_cast<std::size_t>(refused->field)];
    const std::string reason = refused->why == RefusedField::Why::kBadHex
                                   ? text::Join({text::kBadHex, " ", typed})
                                   : text::Join({text::kOutOfRange, field.caption, " ", typed});
    ReportFailure(text::kWriteFailed, text::kWriteFailedTitle, reason);
    return std::nullopt;
  }
  std::optional<CarriedBlock> carried;
  if (carry && ExifLoaded) {
    carried = ReadCarried();
    if (!carried) {
      ReportFailure(text::kWriteFailed, text::kWriteFailedTitle, lastFailure_);
      return std::nullopt;
    }
  }
  built.segment = AssembleExifSegment(built.store, block.makerNote, carried ? &*carried : nullptr);
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
  // The directories as written, carried entries counted.
  block.Ifd0EntryCount = built.segment.ifd0EntryCount;
  block.ExifIfdEntryCount = built.segment.exifIfdEntryCount;
  block.ExifSegmentLength = static_cast<std::int64_t>(built.segment.bytes.size());
  ExifHeadBytes = std::move(built.segment.bytes);
}

PhotoChange Session::ChangeFor(const NewBlock& built, bool saveOriginal) const {
  PhotoChange change;
  change.segment = built.segment.bytes;
  if (saveOriginal) change.original = OwnSegment();
  change.readAs = photoStamp_;
  return change;
}

Outcome Session::WriteShown() {
  if (AllFieldsEmpty()) {
    host_.Tell(text::kAllFieldsEmpty, text::kAllFieldsEmptyTitle, MessageIcon::kNone);
    return Outcome::kFailed;
  }
  // Built first, both ways, so that the question can tell what each new block
  // keeps; the store takes the one chosen over only once the person has said Yes.
  std::optional<NewBlock> plain = BuildFromFields(false);
  if (!plain) return Outcome::kFailed;
  std::optional<NewBlock> carrying = ExifLoaded ? BuildFromFields(true) : std::nullopt;
  if (ExifLoaded && !carrying) return Outcome::kFailed;
  const std::string doubt = BackupDoubt(false);
  if (!doubt.empty() && refuseDoubtfulChanges) {
    ReportFailure(text::kWriteFailed, text::kWriteFailedTitle, doubt);
    return Outcome::kFailed;
  }
  std::string question;
  const bool keeping = std::find(chkKeep.begin(), chkKeep.end(), true) != chkKeep.end();
  if (chkBatch && !keeping) question = text::Join({text::kBatchWithoutKeepBox, text::kCrLf});
  if (!doubt.empty()) question += text::Join({doubt, text::kCrLf, text::kCrLf});
  question += labNoExif.visible ? text::kConfirmCreateExif : text::kConfirmRewriteExif;
  const std::string details = WriteDetails(plain->segment, doubt);
  const std::string detailsKeepingAll = carrying ? WriteDetails(carrying->segment, doubt) : details;
  QuestionOption keep{text::kKeepAllOption, keepAll, detailsKeepingAll};
  const bool yes = host_.Ask({question, text::kConfirmTitle, MessageIcon::kQuestion, details,
                              !doubt.empty(), carrying ? &keep : nullptr});
  if (carrying) keepAll = keep.ticked;  // the choice holds for the next write too
  if (!yes) return Outcome::kDeclined;
  NewBlock& built = carrying && keepAll ? *carrying : *plain;
  PhotoChange change = ChangeFor(built, doubt.empty());
  TakeOver(std::move(built));
  return Store(change) ? Outcome::kDone : Outcome::kFailed;
}

bool Session::StoreExifData() {
  PhotoChange change;
  change.restore = true;
  change.readAs = photoStamp_;
  return Store(change);
}

bool Session::Store(const PhotoChange& change) {
  // The backup must be this photograph's own: after a photograph that could
  // not be opened, ImageFileName still names the one before it.
  if (!photoFound_ || BackupFileNameFor(ImageFileName) != BackupFileName) {
    ReportFailure(
        text::kWriteFailed, text::kWriteFailedTitle,
        photoProblem_.empty() ? text::Join({text::kNoImageFile, " ", Text1}) : photoProblem_);
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
    result = WritePhoto(ImageFileName, BackupFileName, change, fs_, progress);
  }
  cmdRestore.enabled = true;
  if (!result.Ok()) {
    if (Bar.visible) ShowBar(false);
    ReportFailure(text::kWriteFailed, text::kWriteFailedTitle,
                  WriteFailureText(result, ImageFileName, BackupFileName));
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
    result = BackupPhotoSegment(ImageFileName, *own, photoStamp_, BackupFileName, fs_, progress);
  }
  cmdBackup.enabled = true;
  if (!result.Ok()) {
    if (Bar.visible) ShowBar(false);
    ReportFailure(text::kBackupFailed, text::kBackupFailedTitle,
                  WriteFailureText(result, ImageFileName, BackupFileName));
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
