#include "editor/session.h"

#include <sys/stat.h>

#include "editor/texts.h"
#include "model/display_conversion.h"
#include "model/number_text.h"
#include "model/pickers.h"
#include "reader/backup_format.h"
#include "reader/jpeg_segments.h"

namespace tagloom {

Session::Session(Host& host, FileSystem& fs) : numberLocale(UserLocale()), host_(host), fs_(fs) {
  Reset();
}

void Session::SetFieldText(int field, std::string text) {
  if (field < 0 || field >= kFieldCount) return;
  txtExif[static_cast<std::size_t>(field)] = std::move(text);
}

void Session::SelectPicker(Picker picker, int item) {
  switch (picker) {
    case Picker::kCombo1:
      Combo1 = item;
      if (item >= 0) SetFieldText(field::kExposureProgram, IntegerText(item));
      break;
    case Picker::kCombo2:
      Combo2 = item;
      if (item >= 0) SetFieldText(field::kMeteringMode, IntegerText(item));
      break;
    case Picker::kCombo3:
      Combo3 = item;
      if (item >= 0 && item < static_cast<int>(kIsoItems.size())) {
        SetFieldText(field::kIso, std::string(kIsoItems[static_cast<std::size_t>(item)]));
      }
      break;
    case Picker::kCombo4:
      Combo4 = item;
      if (item >= 0 && item < static_cast<int>(kExposureBiasItems.size())) {
        SetFieldText(field::kExposureBias,
                     std::string(kExposureBiasItems[static_cast<std::size_t>(item)]));
      }
      break;
    case Picker::kOptFlash:
      OptFlash = item;
      if (item >= 0) SetFieldText(field::kFlash, IntegerText(item));
      break;
  }
}

void Session::Reset() {
  store.Reset();
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
    if (kFields[static_cast<std::size_t>(i)].area == area) SetFieldText(i, "");
  }
}

void Session::ClearAllArea() {
  for (int area = 0; area < kAreaCount; ++area) ClearArea(area);
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
  BackupFileName = BackupFileNameFor(Text1);
  if (BackupFileName.empty()) return false;
  // One look at the file is enough to know that it is there; whether it can
  // really be read shows when it is read.
  struct stat info {};
  return ::stat(BackupFileName.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool Session::CheckFile() {
  photo_ = ReadChannel::OpenFile(Text1);
  photoFound_ = photo_.has_value();
  if (!photo_) return false;
  ImageFileName = Text1;
  std::size_t slash = Text1.rfind('/');
  if (slash != std::string::npos) Text1.erase(0, slash + 1);
  return true;
}

void Session::GetExifData() {
  Reset();
  ExifLoaded = false;
  BackupAvailable = CheckBackupFile();
  chkBackup();
  if (!CheckFile()) {
    if (!chkBatch) host_.Tell(text::kNoImageFile, text::kAppTitle, MessageIcon::kNone);
    return;
  }
  ReadChannel photo = std::move(*photo_);
  photo_.reset();
  block.ExifSegmentLength = 0;

  if (std::optional<JpegSegment> segment = FindExifSegment(photo)) {
    ClearAllArea();
    photo.Seek(segment->offset + 3);
    ReadBlock(photo);
    ExifLoaded = true;
  } else if (BackupAvailable) {
    std::optional<ReadChannel> backup = ReadChannel::OpenFile(BackupFileName);
    if (!backup || CheckBackupContent(*backup) != BackupCheck::kOk) {
      if (!chkBatch)
        host_.Tell(text::kBackupDamaged, text::kBackupDamagedTitle, MessageIcon::kNone);
      BackupAvailable = false;
    } else {
      ClearAllArea();
      ReadBlock(*backup);
      ExifLoaded = true;
      ExifFromBackup = true;
      chkRead();
    }
  }

  cmdBackup.visible = !ExifFromBackup && block.ExifSegmentOffset > 0 && block.ExifSegmentLength > 0;
  cmdExifWrite.enabled = true;
  labNoExif.visible = !ExifLoaded;
}

void Session::ReadBlock(ReadChannel& channel) {
  if (ReadExifDataFromFile(channel, store, block)) MoveValue();
}

void Session::DrawImage() {
  host_.LoadPreview(Text1);
  GetExifData();
  BackupButtonShown = cmdBackup.visible;
}

void Session::MoveValue() {
  SelectPicker(Picker::kCombo3, 0);
  SelectPicker(Picker::kCombo4, 0);
  for (int i = 0; i < kFieldCount; ++i) {
    const int r = FieldRow(i);
    std::string value = store.lstValue.Row(r);
    const auto type = static_cast<int>(store.lstType.Number(r));
    if (r == row::kDateTime) value = DateForDisplay(store.lstValue.Row(row::kDateTimeOriginal));
    if (IsStoredFraction(value, type)) {
      SetFieldText(i, FractionForDisplay(r, value));
      continue;
    }
    if (r == row::kExposureProgram) {
      SelectPicker(Picker::kCombo1,
                   PickerItemFor(value, static_cast<int>(kExposureProgramItems.size())));
    } else if (r == row::kMeteringMode) {
      SelectPicker(Picker::kCombo2,
                   PickerItemFor(value, static_cast<int>(kMeteringModeItems.size())));
    } else if (r == row::kFlash) {
      SelectPicker(Picker::kOptFlash, PickerItemFor(value, static_cast<int>(kFlashItems.size())));
    }
    SetFieldText(i, TextForDisplay(r, value));
  }
}

}  // namespace tagloom
