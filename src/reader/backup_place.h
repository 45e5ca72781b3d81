// What stands at a photograph's backup name, and which photographs beside it
// have the same backup name: whether a write can save the photograph's block
// there, and whether a restore would bring back its own block.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "reader/file_identity.h"
#include "reader/read_calls.h"

namespace tagloom {

enum class BackupPlace {
  kFree,          // no file of that name: a first write saves the block there
  kBackup,        // a backup file (itself or through a link) that reads as one
  kEmpty,         // an empty file
  kDamaged,       // a file that is no backup: header, marker, length or signature wrong
  kNotAFile,      // a folder, a device or a pipe
  kDanglingLink,  // a symbolic link that leads nowhere
  kUnreadable,    // a file that cannot be read: no permission, an I/O error
  kIsPhoto,       // the photograph itself (a photograph named x.Exif)
};

struct BackupPlaceCheck {
  BackupPlace place = BackupPlace::kFree;
  int error = 0;  // the system's error, for kUnreadable
  // Whether a write can keep the photograph's block: saved there, or already there.
  bool Usable() const { return place == BackupPlace::kFree || place == BackupPlace::kBackup; }
};

// Looks at the file of `backupPath` (an empty path has no place at all:
// kNotAFile) without changing it; `photo` is the photograph it belongs to.
BackupPlaceCheck CheckBackupPlace(const std::string& backupPath, const FileIdentity& photo,
                                  ReadCalls& calls = RealReadCalls());

// The names of the files in folders, each folder read once: a list of
// thousands asks about every photograph of one folder.
class FolderNames {
 public:
  // The other photographs beside `photoPath` whose backup file name is its
  // own (IMG_1.jpg, IMG_1.thm and IMG_1.jpeg all have IMG_1.Exif): their paths.
  std::vector<std::string> SharingBackup(const std::string& photoPath);

 private:
  // Photographs of a folder by the part of their name up to and including its last ".".
  using ByStem = std::multimap<std::string, std::string, std::less<>>;
  const ByStem& Folder(const std::string& folder);
  std::map<std::string, ByStem> folders_;
};

}  // namespace tagloom
