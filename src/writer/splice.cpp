#include "writer/splice.h"

#include <sys/stat.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "reader/backup_format.h"
#include "reader/jpeg_segments.h"
#include "reader/read_channel.h"

namespace tagloom {
namespace {

constexpr std::size_t kCopyBlock = 1 << 20;

using Sink = std::function<bool(std::string_view)>;

// Feeds `sink` the bytes [begin, end) of the photograph, block by block
// through `block` (kCopyBlock bytes).
bool CopyRange(ReadChannel& photo, std::int64_t begin, std::int64_t end, const Sink& sink,
               CopyProgress* progress, std::uint8_t* block) {
  for (std::int64_t at = begin; at < end;) {
    auto size = static_cast<std::size_t>(std::min<std::int64_t>(end - at, kCopyBlock));
    std::span<std::uint8_t> part(block, size);
    if (photo.ReadBlock(at, part) != size || photo.Failed()) return false;
    if (!sink(std::string_view(reinterpret_cast<const char*>(part.data()), size))) return false;
    at += static_cast<std::int64_t>(size);
    // Progress counts the photograph's bytes after its start-of-image marker.
    if (progress) progress->Advance(at - 2);
  }
  return true;
}

// The new photograph, fed to `sink` in order: every byte of the photograph
// after its start-of-image marker except the EXIF segments among its header
// segments. False when the photograph cannot be read to its end or the sink
// refuses.
bool EmitSplice(ReadChannel& photo, const std::string& segment, const Sink& sink,
                CopyProgress* progress) {
  static thread_local std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[kCopyBlock]);
  if (!sink(std::string_view("\xFF\xD8", 2)) || !sink(segment)) return false;
  bool ok = true;
  std::int64_t copied = 2;  // everything before this offset has been dealt with
  WalkHeaderSegments(photo, [&](const JpegSegment& s) {
    if (s.carriesExif) {
      ok = CopyRange(photo, copied, s.offset, sink, progress, block.get());
      copied = s.offset + s.size;
    }
    return ok;
  });
  return ok && CopyRange(photo, copied, photo.Length(), sink, progress, block.get());
}

// The backup's segment with the two zero bytes a built segment lacks.
std::optional<std::string> BackupSegment(const std::string& backupPath,
                                         WriteResult::Problem& problem) {
  std::optional<ReadChannel> backup = ReadChannel::OpenFile(backupPath);
  if (!backup) {
    problem = WriteResult::Problem::kBackupMissing;
    return std::nullopt;
  }
  if (CheckBackupContent(*backup) != BackupCheck::kOk) {
    problem = WriteResult::Problem::kBackupDamaged;
    return std::nullopt;
  }
  std::int32_t length = BackupSegmentLength(*backup);
  backup->Seek(kBackupSegmentOffset + 1);
  std::string segment = backup->ReadString(length + 2);
  if (backup->Failed()) {
    problem = WriteResult::Problem::kBackupMissing;
    return std::nullopt;
  }
  segment.resize(static_cast<std::size_t>(length) + 2, '\0');
  return segment;
}

}  // namespace

WriteResult SpliceExifSegment(const std::string& photoPath, const std::string& backupPath,
                              FileSystem& fs, CopyProgress& progress) {
  WriteResult result;
  std::optional<std::string> segment = BackupSegment(backupPath, result.problem);
  if (!segment) return result;
  result.segmentLength =
      static_cast<std::uint8_t>((*segment)[2]) * 256 + static_cast<std::uint8_t>((*segment)[3]);

  std::optional<ReadChannel> photo = ReadChannel::OpenFile(photoPath);
  struct stat info {};
  if (!photo || ::stat(photoPath.c_str(), &info) != 0) {
    result.problem = WriteResult::Problem::kPhotoUnreadable;
    return result;
  }
  photo->Seek(1);
  if (photo->ReadHex(2) != "FFD8") {
    result.problem = WriteResult::Problem::kNotJpeg;
    return result;
  }

  FileReplacer replacer(fs, photoPath, FileReplacer::Swap::kParkOld);
  auto fileFailed = [&]() {
    result.problem = WriteResult::Problem::kFile;
    result.file = replacer.Failure();
    return result;
  };
  if (!replacer.Create(info.st_mode & 07777)) return fileFailed();
  replacer.SetMode(info.st_mode & 07777);
  progress.Start(photo->Length() - 2);
  bool written = EmitSplice(
      *photo, *segment, [&](std::string_view b) { return replacer.Write(b); }, &progress);
  if (!written) {
    if (replacer.Failure().step != FileFailure::Step::kNone) return fileFailed();
    result.problem = WriteResult::Problem::kPhotoUnreadable;
    return result;
  }
  if (!replacer.WriteOut()) return fileFailed();

  // Read the new file back (while the disk writes it) and compare it with
  // what the photograph, read afresh from its path, is to become: a
  // photograph that another program removed, shortened or changed meanwhile
  // is not replaced. The sync that follows puts exactly these bytes on disk.
  std::optional<ReadChannel> current = ReadChannel::OpenFile(photoPath);
  if (!current) {
    result.problem = WriteResult::Problem::kPhotoUnreadable;
    return result;
  }
  std::optional<ReadChannel> copy = ReadChannel::OpenFile(replacer.TempPath());
  std::int64_t compared = 0;
  std::vector<std::uint8_t> block;
  bool same =
      copy && EmitSplice(
                  *current, *segment,
                  [&](std::string_view expected) {
                    block.resize(expected.size());
                    if (copy->ReadBlock(compared, block) != expected.size() || copy->Failed())
                      return false;
                    compared += static_cast<std::int64_t>(expected.size());
                    return std::memcmp(expected.data(), block.data(), expected.size()) == 0;
                  },
                  nullptr);
  if (!same || compared != copy->Length()) {
    result.problem = WriteResult::Problem::kVerifyFailed;
    return result;
  }
  if (!replacer.Finish() || !replacer.Commit()) return fileFailed();
  return result;
}

}  // namespace tagloom
