#include "writer/backup_writer.h"

#include <memory>
#include <optional>

#include "reader/backup_format.h"
#include "reader/read_channel.h"

namespace tagloom {

WriteResult WriteBackupFile(const std::string& backupPath, std::string_view segment, FileSystem& fs,
                            ReplaceGroup* group, bool syncFolder) {
  WriteResult result;
  result.segmentLength = segment.size() >= 4 ? static_cast<std::uint8_t>(segment[2]) * 256 +
                                                   static_cast<std::uint8_t>(segment[3])
                                             : 0;
  auto replacer = std::make_unique<FileReplacer>(fs, backupPath, FileReplacer::Swap::kRename);
  bool written = replacer->Create(0666) && replacer->Write(kBackupHeader) &&
                 replacer->Write(segment) && replacer->Finish(group == nullptr);
  if (written && group != nullptr) {
    group->Add(std::move(replacer));
    return result;
  }
  if (!written || !replacer->Commit(syncFolder)) {
    result.problem = WriteResult::Problem::kFile;
    result.file = replacer->Failure();
  }
  return result;
}

WriteResult BackupPhotoSegment(const std::string& photoPath, std::int64_t segmentOffset,
                               std::int64_t segmentLength, const std::string& backupPath,
                               FileSystem& fs, CopyProgress& progress, ReplaceGroup* group) {
  WriteResult result;
  std::optional<ReadChannel> photo = ReadChannel::OpenFile(photoPath);
  if (!photo) {
    result.problem = WriteResult::Problem::kPhotoUnreadable;
    return result;
  }
  // The whole segment, marker included: T = L + 2 bytes.
  const std::int64_t total = segmentLength + 2;
  progress.Start(total);
  photo->Seek(segmentOffset + 1);
  std::string segment = photo->ReadString(total);
  if (photo->Failed()) {
    result.problem = WriteResult::Problem::kPhotoUnreadable;
    return result;
  }
  bool unchanged =
      static_cast<std::int64_t>(segment.size()) == total && segment[0] == '\xFF' &&
      segment[1] == '\xE1' &&
      static_cast<std::uint8_t>(segment[2]) * 256 + static_cast<std::uint8_t>(segment[3]) ==
          segmentLength;
  if (!unchanged) {
    result.problem = WriteResult::Problem::kPhotoChanged;
    return result;
  }
  progress.Advance(total);
  return WriteBackupFile(backupPath, segment, fs, group);
}

}  // namespace tagloom
