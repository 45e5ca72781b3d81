#include "reader/backup_format.h"

#include "model/path_name.h"
#include "reader/jpeg_segments.h"

namespace tagloom {

std::string BackupFileNameFor(std::string_view photoPath) {
  // Only the file's own name counts: a "." in a folder name would give two
  // photographs of that folder one backup file.
  std::string_view name = FileNameOf(photoPath);
  std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  return std::string(photoPath.substr(0, photoPath.size() - name.size() + dot + 1)) + "Exif";
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
  if (backup.ReadByte() != kMarkerPrefix || backup.ReadByte() != kMarkerApp1) {
    return BackupCheck::kBadMarker;
  }
  std::int32_t length = BackupSegmentLength(backup);
  // A built segment may lack its final two zero bytes; a shorter file is damaged.
  if (length < 2 || !backup.Holds(kBackupSegmentOffset + 1, length)) return BackupCheck::kTruncated;
  if (!IsExifSignature(backup.ReadString(static_cast<std::int64_t>(kExifSignature.size())))) {
    return BackupCheck::kNotExif;
  }
  backup.Seek(kBackupSegmentOffset + 3);
  return BackupCheck::kOk;
}

}  // namespace tagloom
