// Any bytes as the photograph, spliced with a valid backup: refused cleanly
// (the photograph untouched) or written as start, segment, and every byte of
// the photograph but its EXIF segments.
#include <cstdint>

#include "fuzz_support.h"
#include "writer/photo_write.h"

using namespace tagloom;

namespace {

// FF E1, length 22, "Exif" 00 00, a TIFF header and an empty IFD0.
const std::string kSegment = std::string(
    "\xFF\xE1\x00\x16"
    "Exif\x00\x00"
    "II\x2A\x00\x08\x00\x00\x00"
    "\x00\x00"
    "\x00\x00\x00\x00",
    24);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string photo = fuzz::ScratchFolder() + "/splice.jpg";
  static const std::string backup = fuzz::ScratchFolder() + "/splice.Exif";
  static const bool backupWritten = [] {
    fuzz::WriteFile(backup, "Vantoro Exif Backup File" + kSegment);
    return true;
  }();
  (void)backupWritten;
  const std::string before(reinterpret_cast<const char*>(data), size);
  fuzz::WriteFile(photo, before);

  fuzz::NoProgress progress;
  PhotoChange restore;
  restore.restore = true;
  WriteResult result = WritePhoto(photo, backup, restore, RealFileSystem(), progress);
  const std::string after = fuzz::ReadWholeFile(photo);
  if (!result.Ok()) {
    if (after != before) fuzz::Finding("a refused splice changed the photograph");
    return 0;
  }
  if (after.compare(0, 2, "\xFF\xD8") != 0 || after.compare(2, kSegment.size(), kSegment) != 0) {
    fuzz::Finding("the new photograph does not start with the backup's segment");
  }
  if (after.size() > before.size() + kSegment.size())
    fuzz::Finding("the new photograph grew too much");
  return 0;
}
