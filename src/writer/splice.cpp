#include "writer/splice.h"

#include <sys/stat.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "reader/backup_format.h"
#include "reader/file_identity.h"
#include "reader/jpeg_segments.h"
#include "reader/read_channel.h"
#include "writer/backup_writer.h"

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
  return ok && CopyRange(photo, copied, photo.Length(), sink, progress, block.get());
}

// A segment as it goes into a photograph: a built one gets the two zero bytes
// its length field counts beyond its end.
std::string Completed(std::string_view segment) {
  std::string whole(segment);
  whole.resize(static_cast<std::size_t>(SegmentLengthOf(segment)) + 2, '\0');
  return whole;
}

// The backup's segment, completed; nullopt (and `problem`) when it is missing or damaged.
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
  return Completed(segment);
}

// Splices `segment` (complete) into the photograph.
WriteResult Splice(const std::string& photoPath, const std::string& segment, FileSystem& fs,
                   CopyProgress& progress) {
  WriteResult result;
  result.segmentLength = SegmentLengthOf(segment);
  OpenProblem why = OpenProblem::kNone;
  std::optional<ReadChannel> photo = ReadChannel::OpenFile(photoPath, &why);
  struct stat info {};
  if (!photo || ::stat(photoPath.c_str(), &info) != 0) {
    result.problem = why == OpenProblem::kNotRegular ? WriteResult::Problem::kPhotoNotRegular
                                                     : WriteResult::Problem::kPhotoUnreadable;
    return result;
  }
  // Photographers protect originals by taking away their write permission;
  // that holds for every user here, root included.
  if ((info.st_mode & S_IWUSR) == 0) {
    result.problem = WriteResult::Problem::kPhotoReadOnly;
    return result;
  }
  if (!StartsWithSoi(*photo)) {
    result.problem = WriteResult::Problem::kNotJpeg;
    return result;
  }

  FileReplacer replacer(fs, photoPath, FileReplacer::Swap::kParkOld, FileReplacer::Links::kFollow);
  auto fileFailed = [&]() {
    result.problem = WriteResult::Problem::kFile;
    result.file = replacer.Failure();
    return result;
  };
  if (!replacer.Create(info.st_mode & 07777)) return fileFailed();
  replacer.KeepOwnerAndMode(info);
  progress.Start(photo->Length() - 2);
  bool written = EmitSplice(
      *photo, segment, [&](std::string_view b) { return replacer.Write(b); }, &progress);
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
                  *current, segment,
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

}  // namespace

WriteResult RestoreExifSegment(const std::string& photoPath, const std::string& backupPath,
                               FileSystem& fs, CopyProgress& progress) {
  WriteResult result;
  if (SameFile(photoPath, backupPath)) {
    result.problem = WriteResult::Problem::kBackupIsPhoto;
    return result;
  }
  std::optional<std::string> segment = BackupSegment(backupPath, result.problem);
  if (!segment) return result;
  return Splice(photoPath, *segment, fs, progress);
}

WriteResult WriteExifSegment(const std::string& photoPath, const std::string& backupPath,
                             std::string_view segment, const std::optional<SegmentAt>& original,
                             FileSystem& fs, CopyProgress& progress) {
  WriteResult result;
  if (SameFile(photoPath, backupPath)) {
    result.problem = WriteResult::Problem::kBackupIsPhoto;
    return result;
  }
  // Any file of the backup's name, even a dangling link, is the person's own.
  std::optional<FileIdentity> saved;
  if (original && !IdentityOfPath(backupPath, false)) {
    std::optional<std::string> bytes = ReadPhotoSegment(photoPath, *original, result);
    if (!bytes) return result;
    std::unique_ptr<FileReplacer> backup = StageBackupFile(photoPath, backupPath, *bytes, fs, true,
                                                           result, FileReplacer::Swap::kCreateOnly);
    if (!backup) return result;
    if (!backup->Commit()) {
      result.problem = WriteResult::Problem::kFile;
      result.file = backup->Failure();
      return result;
    }
    saved = IdentityOfPath(backupPath, false);
  }
  result = Splice(photoPath, Completed(segment), fs, progress);
  if (!result.Ok() && saved && IdentityOfPath(backupPath, false) == saved) fs.Unlink(backupPath);
  return result;
}

}  // namespace tagloom
