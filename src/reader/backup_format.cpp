#include "reader/backup_format.h"

namespace tagloom {

std::string BackupFileNameFor(std::string_view photoPath) {
  std::size_t dot = photoPath.rfind('.');
  if (dot == std::string_view::npos) return {};
  return std::string(photoPath.substr(0, dot + 1)) + "Exif";
}

std::int32_t BackupSegmentLength(ReadChannel& backup) {
  backup.Seek(kBackupSegmentOffset + 3);
  return backup.ReadLeng();
}

BackupCheck CheckBackupContent(ReadChannel& backup) {
  backup.Seek(1);
  if (backup.ReadString(static_cast<std::int64_t>(kBackupHeader.size())) != kBackupHeader) {
    return BackupCheck::kBadHeader;
  }
  if (backup.ReadHex(2) != "FFE1") return BackupCheck::kBadMarker;
  std::int32_t length = BackupSegmentLength(backup);
  // A built segment may lack its final two zero bytes; a shorter file is damaged.
  if (length < 2 || backup.Length() < kBackupSegmentOffset + length) return BackupCheck::kTruncated;
  backup.Seek(kBackupSegmentOffset + 3);
  return BackupCheck::kOk;
}

}  // namespace tagloom
