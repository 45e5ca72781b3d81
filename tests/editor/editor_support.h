// Photographs and folder snapshots shared by the editor tests, and what they
// all include.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "editor/session.h"
#include "editor/texts.h"
#include "model/value_text.h"
#include "reader/backup_format.h"
#include "reader/jpeg_segments.h"
#include "support/differences.h"
#include "support/fixture_builder.h"
#include "support/jpeg_layout.h"
#include "support/oracle.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tagloom::test {

inline std::string Joined(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view part : parts) out += part;
  return out;
}

// The photographs in tests/photos that hold no EXIF block at all.
inline bool WithoutExif(const std::string& name) {
  return name == "image01551.jpg" || name == "olympus-d320l.jpg";
}

inline std::vector<std::string> PhotoNames(bool withExifOnly = false) {
  std::vector<std::string> names;
  for (const auto& file : std::filesystem::directory_iterator(PhotosDir())) {
    const std::string name = file.path().filename().string();
    if (file.path().extension() == ".jpg" && !(withExifOnly && WithoutExif(name))) {
      names.push_back(name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

inline std::string ParamName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

// A camera's block; `make` tells one block from another.
inline std::string CameraTiff(const std::string& make, ByteOrder order = ByteOrder::kLittle) {
  return TiffBuilder(order)
      .Ifd0({Ascii(0x010F, make), Ascii(0x0110, "EOS 40D"), Short(0x0112, 1),
             Ascii(0x8298, "(c) Ann Lee")})
      .ExifIfd({Rational(0x829A, 1, 60), Rational(0x829D, 28, 10), Short(0x8827, 200),
                Ascii(0x9003, "2008:05:30 15:56:01"), Short(0x9209, 1)})
      .Build();
}
inline std::string CameraSegment(const std::string& make) {
  return ExifSegment(CameraTiff(make));
}
inline std::string PhotoWithExif(const std::string& make = "Canon", std::size_t imageBytes = 64) {
  return JpegBuilder().App0Jfif().Raw(CameraSegment(make)).Scan(imageBytes).Build();
}
inline std::string PhotoWithoutExif() {
  return JpegBuilder().App0Jfif().Scan().Build();
}
inline std::string BackupOf(const std::string& make) {
  return BackupFile(CameraSegment(make));
}

// A Session over a recording host, and a temporary folder.
class SessionTest : public ::testing::Test {
 protected:
  // Forgets what the host recorded so far, then shows the photograph as the editor does.
  void Open(const std::string& path) {
    host.messages.clear();
    host.previews.clear();
    host.progress.clear();
    session.DrawImage(path);
  }
  // Photographs prefix0.thm, prefix1.JPEG, ... in the folder, each with its name as its make.
  std::vector<std::string> Photos(const std::string& prefix, int count) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
      const std::string name = prefix + std::to_string(i);
      paths.push_back(dir.Write(name + (i % 2 ? ".JPEG" : ".thm"), PhotoWithExif(name)));
    }
    return paths;
  }
  TempDir dir;
  RecordingHost host;
  Session session{host};
};

// The flags, lamps and controls of a Session that are on, in a fixed order.
inline std::string On(const Session& s) {
  const bool flags[] = {s.ExifLoaded,        s.ExifFromBackup,     s.BackupAvailable,
                        s.imgReadLit,        s.imgBackupLit,       s.labNoExif.visible,
                        s.cmdBackup.visible, s.cmdRestore.visible, s.cmdExifWrite.enabled};
  const char* names[] = {"loaded", "from-backup",   "backup-found",   "read-lamp",   "backup-lamp",
                         "banner", "backup-button", "restore-button", "write-button"};
  std::string on;
  for (int i = 0; i < 9; ++i) on += flags[i] ? (on.empty() ? "" : " ") + std::string(names[i]) : "";
  return on;
}

}  // namespace tagloom::test
