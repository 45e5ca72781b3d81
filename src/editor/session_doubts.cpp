// What a write must tell before it acts: what the new block will not keep,
// which backup file keeps the block before, and what stands against saving
// it or restoring from it (another photograph with the same backup name, a
// file at the backup name that cannot serve).
#include "editor/reasons.h"
#include "editor/session.h"
#include "editor/texts.h"
#include "model/number_text.h"
#include "model/path_name.h"

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

std::string Session::WhatIsNotKept(MakerNoteKept makerNote) const {
  std::string lines;
  const int entries = store.lstUnuseTag.Count();
  if (entries > 0) lines += text::Join({text::kLostEntries, IntegerText(entries), text::kCrLf});
  for (int u = 0; u < entries; ++u) {
    if (store.lstUnuseTag.Row(u) == kGpsPointerTag) {
      lines += text::Join({text::kLostGps, text::kCrLf});
      break;
    }
  }
  if (block.HasIfd1) lines += text::Join({text::kLostThumbnail, text::kCrLf});
  if (makerNote == MakerNoteKept::kMoved) lines += text::Join({text::kMakerNoteMoved, text::kCrLf});
  if (makerNote == MakerNoteKept::kPartly)
    lines += text::Join({text::kMakerNotePartly, text::kCrLf});
  return lines;
}

std::string Session::WriteDetails(MakerNoteKept makerNote, const std::string& doubt) const {
  const std::string lines = WhatIsNotKept(makerNote);
  std::string details =
      lines.empty() ? lines : text::Join({text::kNotKeptHeading, text::kCrLf, lines});
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
