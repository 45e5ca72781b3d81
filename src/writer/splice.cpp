#include "writer/splice.h"

#include <memory>

#include "reader/backup_format.h"
#include "reader/jpeg_segments.h"

namespace tagloom {
namespace {

constexpr std::size_t kCopyBlock = 1 << 20;

// Feeds `sink` the bytes [begin, end) of the photograph, block by block
// through `block` (kCopyBlock bytes).
bool CopyRange(ReadChannel& photo, std::int64_t begin, std::int64_t end, const SpliceSink& sink,
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

}  // namespace

bool EmitSplice(ReadChannel& photo, std::string_view segment, const SpliceSink& sink,
                CopyProgress* progress) {
  static thread_local std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[kCopyBlock]);
  static constexpr char kSoi[] = {static_cast<char>(kMarkerPrefix), static_cast<char>(kMarkerSoi)};
  if (!sink(std::string_view(kSoi, 2)) || !sink(segment)) return false;
  bool ok = true;
  std::int64_t copied = 2;  // everything before this offset has been dealt with
  WalkHeaderSegments(photo, [&](const JpegSegment& s) {
    if (s.carriesExif) {
      ok = CopyRange(photo, copied, s.offset, sink, progress, block.get());
      copied = s.offset + s.size;
    }
    return ok;
  });
  return ok && !photo.Failed() &&
         CopyRange(photo, copied, photo.Length(), sink, progress, block.get());
}

std::string Completed(std::string_view segment) {
  std::string whole(segment);
  whole.resize(static_cast<std::size_t>(SegmentLengthOf(segment)) + 2, '\0');
  return whole;
}

std::optional<std::string> BackupSegment(const std::string& backupPath, ReadCalls& calls,
                                         WriteResult& result) {
  OpenFailure failure;
  std::optional<ReadChannel> backup = ReadChannel::OpenFile(backupPath, &failure, calls);
  auto fail = [&](WriteResult::Problem problem, int error) -> std::optional<std::string> {
    result.problem = problem;
    result.error = error;
    result.file.path = backupPath;  // what a failed read names
    return std::nullopt;
  };
  if (!backup) return fail(WriteResult::Problem::kBackupMissing, failure.error);
  const BackupCheck check = CheckBackupContent(*backup);
  if (backup->Failed()) return fail(WriteResult::Problem::kReadFailed, backup->Error());
  if (check != BackupCheck::kOk) return fail(WriteResult::Problem::kBackupDamaged, 0);
  const std::int32_t length = BackupSegmentLength(*backup);
  backup->Seek(kBackupSegmentOffset + 1);
  std::string segment = backup->ReadString(length + 2);
  if (backup->Failed()) return fail(WriteResult::Problem::kReadFailed, backup->Error());
  return Completed(segment);
}

}  // namespace tagloom
