#include "editor/session.h"

#include <sys/stat.h>

#include <algorithm>

#include "editor/reasons.h"
#include "editor/texts.h"
#include "model/display_conversion.h"
#include "model/number_text.h"
#include "model/path_name.h"
#include "model/pickers.h"
#include "model/value_text.h"
#include "reader/backup_format.h"
#include "reader/jpeg_segments.h"

namespace tagloom {

Session::Session(Host& host, FileSystem& fs) : numberLocale(UserLocale()), host_(host), fs_(fs) {
  Reset();
}

namespace {

// The Session's member that holds each picker's selection, by Picker value.
constexpr int Session::*kSelection[kPickerCount] = {
    &Session::Combo1, &Session::Combo2, &Session::Combo3, &Session::Combo4, &Session::OptFlash};

}  // namespace

int Session::Selected(Picker picker) const {
  return this->*kSelection[static_cast<std::size_t>(picker)];
}

void Session::SelectPicker(Picker picker, int item) {
  const PickerInfo& info = InfoOf(picker);
  if (item != -1 && !info.HasItem(item)) return;
  this->*kSelection[static_cast<std::size_t>(picker)] = item;
  if (item >= 0) SetFieldText(info.field, info.FieldTextFor(item));
}

std::array<bool, kFieldCount> Session::UneditedFields() const {
  std::array<bool, kFieldCount> unedited{};
  for (std::size_t i = 0; i < unedited.size(); ++i) {
    unedited[i] = asRead_[i].set && asRead_[i].Text() == txtExif[i];
  }
  return unedited;
}

std::array<std::string, kFieldCount> Session::FieldsToWrite() const {
  std::array<std::string, kFieldCount> fields = txtExif;
  const std::array<bool, kFieldCount> unedited = UneditedFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (unedited[i]) fields[i] = asRead_[i].bytes;
  }
  // A comment in UTF-16 follows its block's byte order: read from a
  // big-endian block, it goes into the little-endian one turned round.
  std::string& comment = fields[field::kComment];
  if (unedited[field::kComment] && block.MotorolaOrder) comment = Utf16CommentSwapped(comment);
  return fields;
}

void Session::Reset() {
  store.Reset();
  ++storeVersion;
  selectedRow = MakeNoSelection();
  for (int area = 0; area < kAreaCount; ++area) {
    if (!chkKeep[static_cast<std::size_t>(area)]) ClearArea(area);
  }
  cmdBackup.visible = false;
  cmdRestore.visible = false;
  cmdExifWrite.enabled = false;
  BackupAvailable = false;
  ExifFromBackup = false;
  chkBackup();
  chkRead();
}

void Session::ClearArea(int area) {
  for (int i = 0; i < kFieldCount; ++i) {
    if (kFields[static_cast<std::size_t>(i)].area != area) continue;
    SetFieldText(i, "");
    asRead_[static_cast<std::size_t>(i)].Forget();
    // A picker shows what its field holds: nothing now.
    if (const PickerInfo* picker = PickerOfField(i)) {
      this->*kSelection[static_cast<std::size_t>(picker->picker)] = -1;
    }
  }
}

void Session::ClearAllArea() {
  for (int area = 0; area < kAreaCount; ++area) ClearArea(area);
}

void Session::ClearKeptAreas() {
  // The others were cleared by Reset, and nothing has been shown since.
  for (int area = 0; area < kAreaCount; ++area) {
    if (chkKeep[static_cast<std::size_t>(area)]) ClearArea(area);
  }
}

void Session::chkBackup() {
  imgBackupLit = BackupAvailable;
  if (BackupAvailable) cmdRestore.visible = true;
}

void Session::chkRead() {
  imgReadLit = ExifFromBackup;
  if (ExifFromBackup) cmdRestore.visible = true;
}

void Session::chkBatch_Click() {
  // In batch mode the backup button works on the whole list; otherwise it is
  // there only for a photograph with an EXIF block of its own.
  cmdBackup.visible = chkBatch || BackupButtonShown;
}

bool Session::CheckBackupFile() {
  BackupFileName = BackupFileNameFor(photoPath_);
  if (BackupFileName.empty()) return false;
  // One look at the file is enough to know that it is there; whether it can
  // really be read shows when it is read. A photograph named like a backup
  // file (x.Exif, or IMG.EXIF where case is ignored) is no backup of itself.
  struct stat info {};
  if (::stat(BackupFileName.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  return !photo_ || photo_->Identity() != IdentityOf(info);
}

bool Session::CheckFile() {
  photoPath_ = Text1;
  photo_ = ReadChannel::OpenFile(Text1, &openFailure_, fs_);
  photoFound_ = photo_.has_value();
  photoStamp_.reset();
  if (!photo_) {
    photoProblem_ = OpenProblemText(openFailure_, Text1);
    return false;
  }
  photoProblem_.clear();
  photoStamp_ = photo_->Stamp();
  ImageFileName = Text1;
  Text1 = FileNameOf(ImageFileName);
  return true;
}

void Session::GetExifData(const std::string& path) {
  Text1 = path;
  GetExifData();
}

std::string_view Session::Source() const {
  if (ExifFromBackup) return "backup";
  return ExifLoaded ? "photo" : "none";
}

void Session::ReadFailed(std::string reason) {
  Reset();
  photoFound_ = false;
  photoStamp_.reset();
  ExifLoaded = false;
  labNoExif.visible = false;
  photoProblem_ = std::move(reason);
  if (!chkBatch) host_.Tell(photoProblem_, text::kReadFailedTitle, MessageIcon::kCritical);
}

void Session::GetExifData() {
  Reset();
  ExifLoaded = false;
  // The photograph is opened first: the backup check compares the two files.
  const bool opened = CheckFile();
  BackupAvailable = CheckBackupFile();
  chkBackup();
  if (!opened) {
    if (!chkBatch) host_.Tell(photoProblem_, text::kAppTitle, MessageIcon::kNone);
    return;
  }
  ReadChannel photo = std::move(*photo_);
  photo_.reset();
  block = {};  // nothing of the photograph before may outlive it (its thumbnail, its maker note)
  // A read that fails partway must not cost the texts the keep boxes carry.
  const bool keeping = std::find(chkKeep.begin(), chkKeep.end(), true) != chkKeep.end();
  const std::array<std::string, kFieldCount> carried = keeping ? txtExif : decltype(txtExif){};
  auto failed = [&](const ReadChannel& channel, const std::string& path) {
    if (keeping) {
      for (int i = 0; i < kFieldCount; ++i) {
        if (chkKeep[kFields[static_cast<std::size_t>(i)].area]) SetFieldText(i, carried[i]);
      }
    }
    ReadFailed(ReadFailureText(channel.Error(), path));
  };

  std::optional<JpegSegment> segment = FindExifSegment(photo);
  if (photo.Failed()) return failed(photo, ImageFileName);
  if (segment) {
    ClearKeptAreas();
    photo.Seek(segment->offset + 3);
    if (placeOnly_) {
      ReadSegmentPlace(photo, block);
    } else {
      ReadBlock(photo);
    }
    if (photo.Failed()) return failed(photo, ImageFileName);
    ExifLoaded = true;
  } else if (BackupAvailable) {
    std::optional<ReadChannel> backup = ReadChannel::OpenFile(BackupFileName, nullptr, fs_);
    const BackupCheck check = backup ? CheckBackupContent(*backup) : BackupCheck::kBadHeader;
    if (backup && backup->Failed()) return failed(*backup, BackupFileName);
    if (check != BackupCheck::kOk) {
      if (!chkBatch)
        host_.Tell(text::kBackupDamaged, text::kBackupDamagedTitle, MessageIcon::kNone);
      BackupAvailable = false;
    } else {
      ClearKeptAreas();
      ReadBlock(*backup);
      if (backup->Failed()) return failed(*backup, BackupFileName);
      ExifLoaded = true;
      ExifFromBackup = true;
      chkRead();
    }
  }

  cmdBackup.visible = !ExifFromBackup && block.ExifSegmentOffset > 0 && block.ExifSegmentLength > 0;
  cmdExifWrite.enabled = true;
  labNoExif.visible = !ExifLoaded;
  // A run's photograph stays open for what the run does to it next.
  if (partOfRun_) photo_ = std::move(photo);
}

void Session::ReadBlock(ReadChannel& channel) {
  const bool exifIfdRead = ReadExifDataFromFile(channel, store, block);
  ++storeVersion;
  if (exifIfdRead) MoveValue();
}

void Session::MoveValue() {
  SelectPicker(Picker::kCombo3, 0);
  SelectPicker(Picker::kCombo4, 0);
  for (int i = 0; i < kFieldCount; ++i) {
    const int r = FieldRow(i);
    const std::string date = r == row::kDateTime
                                 ? DateForDisplay(store.lstValue.Row(row::kDateTimeOriginal))
                                 : std::string();
    const std::string& value = r == row::kDateTime ? date : store.lstValue.Row(r);
    const auto type = static_cast<int>(store.lstType.Number(r));
    // The field's text, as bytes of the block; shown decoded. The buffers
    // are kept from photograph to photograph.
    FieldAsRead& read = asRead_[static_cast<std::size_t>(i)];
    read.set = true;
    if (IsStoredFraction(value, type)) {
      read.bytes = FractionForDisplay(r, value);
    } else {
      const PickerInfo* picker = PickerOfField(i);
      if (picker != nullptr && picker->followsField) {
        SelectPicker(picker->picker, PickerItemFor(value, *picker));
      }
      read.bytes.assign(TextForDisplay(r, value));
    }
    // Hexadecimal digits (a maker note of tens of kilobytes) need no look.
    read.textIsBytes = value.starts_with(kHexPrefix) || IsAscii(read.bytes);
    if (read.textIsBytes) {
      read.decoded.clear();
    } else {
      read.decoded = BytesToText(read.bytes);
    }
    SetFieldText(i, read.Text());
  }
}

}  // namespace tagloom
