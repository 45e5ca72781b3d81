// What a write must tell before it acts: what the new block will not keep,
// which backup file keeps the block before, and what stands against saving
// it or restoring from it (another photograph with the same backup name, a
// file at the backup name that cannot serve).
#include "editor/reasons.h"
#include "editor/session.h"
#include "editor/texts.h"
#include "model/number_text.h"
#include "model/path_name.h"
#include "model/value_text.h"

namespace tagloom {

std::optional<SegmentAt> Session::OwnSegment() const {
  if (!ExifLoaded || ExifFromBackup) return std::nullopt;
  return SegmentAt{block.ExifSegmentOffset, block.ExifSegmentLength};
}

std::string Session::BackupDoubt(bool restore) {
  if (BackupFileName.empty() || !photoStamp_) return {};
  FolderNames here;
  const std::vector<std::string> others =
      (folders_ != nullptr ? *folders_ : here).SharingBackup(ImageFileName);
  if (!others.empty()) {
    std::string names;
    for (const std::string& other : others) {
      names += names.empty() ? "" : ", ";
      names += FileNameOf(other);
    }
    return text::Join({text::kSharedBackupName, BackupFileName, " (", names, ") ",
                       restore ? text::kSharedBackupRestore : text::kSharedBackupWrite});
  }
  if (restore || !OwnSegment()) return {};  // nothing of its own to save
  const BackupPlaceCheck place = CheckBackupPlace(BackupFileName, photoStamp_->identity, fs_);
  return place.Usable() ? std::string() : BackupPlaceText(place, BackupFileName);
}

namespace {

std::string_view DirectoryName(BlockDirectory directory) {
  static constexpr std::string_view kNames[] = {text::kInIfd0, text::kInExif, text::kInGps,
                                                text::kInInterop, text::kInIfd1};
  return kNames[static_cast<std::size_t>(directory)];
}

std::string_view WhyNotCarried(NotCarriedWhy why) {
  switch (why) {
    case NotCarriedWhy::kPointsElsewhere:
      return text::kWhyPointsElsewhere;
    case NotCarriedWhy::kUnknownType:
      return text::kWhyUnknownType;
    case NotCarriedWhy::kPadding:
      return text::kWhyPadding;
    case NotCarriedWhy::kDuplicate:
      return text::kWhyDuplicate;
    case NotCarriedWhy::kDroppedForSize:
      return text::kWhyTooLarge;
    case NotCarriedWhy::kDamaged:
      break;
  }
  return text::kWhyDamaged;
}

// "  GPS目录: 数据已损坏", "  缩略图: 超过64KB,放不下", "  主目录条目 8290: ...".
std::string NotCarriedLine(const NotCarried& item) {
  const bool thumbnail =
      item.directory == BlockDirectory::kIfd1 && (item.tag == 0x0201 || item.tag == 0x0111);
  std::string where = thumbnail ? std::string(TrimBlanks(text::kLostThumbnail))
                                : std::string(DirectoryName(item.directory));
  if (!thumbnail && item.tag != 0) where += text::Join({text::kEntry, " ", TagText(item.tag)});
  return text::Join({"  ", where, ": ", WhyNotCarried(item.why), text::kCrLf});
}

void AddMakerNoteLines(MakerNoteKept makerNote, std::string& lines) {
  if (makerNote == MakerNoteKept::kMoved) lines += text::Join({text::kMakerNoteMoved, text::kCrLf});
  if (makerNote == MakerNoteKept::kPartly)
    lines += text::Join({text::kMakerNotePartly, text::kCrLf});
}

}  // namespace

std::string Session::WhatIsNotKept(const BuiltSegment& segment) const {
  std::string lines;
  if (segment.carried) {
    for (const NotCarried& item : segment.carried->notKept) lines += NotCarriedLine(item);
    AddMakerNoteLines(segment.makerNote, lines);
    return lines;
  }
  const int entries = store.lstUnuseTag.Count();
  if (entries > 0) lines += text::Join({text::kLostEntries, IntegerText(entries), text::kCrLf});
  for (int u = 0; u < entries; ++u) {
    if (store.lstUnuseTag.Row(u) == kGpsPointerTag) {
      lines += text::Join({text::kLostGps, text::kCrLf});
      break;
    }
  }
  if (block.HasIfd1) lines += text::Join({text::kLostThumbnail, text::kCrLf});
  AddMakerNoteLines(segment.makerNote, lines);
  return lines;
}

std::string Session::WhatIsKept(const BuiltSegment& segment) {
  if (!segment.carried) return {};
  const CarriedReport& report = *segment.carried;
  std::string lines;
  if (report.gps) lines += text::Join({text::kLostGps, text::kCrLf});
  if (report.thumbnail) lines += text::Join({text::kLostThumbnail, text::kCrLf});
  if (report.interop) lines += text::Join({text::kKeptInterop, text::kCrLf});
  int entries = 0;
  for (int n : report.entries) entries += n;
  if (entries > 0) lines += text::Join({text::kLostEntries, IntegerText(entries), text::kCrLf});
  return lines;
}

std::string Session::WriteDetails(const BuiltSegment& segment, const std::string& doubt) const {
  std::string details;
  if (const std::string kept = WhatIsKept(segment); !kept.empty()) {
    details = text::Join({text::kKeptHeading, text::kCrLf, kept});
  }
  if (const std::string lines = WhatIsNotKept(segment); !lines.empty()) {
    details += text::Join({text::kNotKeptHeading, text::kCrLf, lines});
  }
  // Where the block the photograph holds now stays to be restored.
  if (!doubt.empty()) {
    details += text::Join({doubt, text::kCrLf});
  } else if (BackupAvailable) {
    details += text::Join({text::kBackupKept, BackupFileName, text::kCrLf});
  } else if (ExifLoaded && !ExifFromBackup) {
    details += text::Join({text::kOriginalSaved, BackupFileName, text::kCrLf});
  }
  return details;
}

}  // namespace tagloom
