// Any bytes as the backup file of a photograph without EXIF: shown when the
// photograph is opened, refused or stored when it is restored. A refused
// restore must leave the photograph exactly as it was.
#include <cstdint>

#include "editor/quiet_host.h"
#include "editor/session.h"
#include "fuzz_support.h"
#include "writer/photo_write.h"

using namespace tagloom;

namespace {

// A small JPEG without EXIF: start of image, JFIF, a table, a scan.
const std::string kPhoto = std::string(
    "\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00"
    "\xFF\xDB\x00\x04\x00\x01\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00\x12\x34\x56\xFF\xD9",
    41);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string photo = fuzz::ScratchFolder() + "/restore.jpg";
  static const std::string backup = fuzz::ScratchFolder() + "/restore.Exif";
  fuzz::WriteFile(photo, kPhoto);
  fuzz::WriteFile(backup, data, size);

  QuietHost host;
  Session session(host);
  session.GetExifData(photo);

  fuzz::NoProgress progress;
  PhotoChange restore;
  restore.restore = true;
  WriteResult result = WritePhoto(photo, backup, restore, RealFileSystem(), progress);
  std::string after = fuzz::ReadWholeFile(photo);
  if (!result.Ok() && after != kPhoto) fuzz::Finding("a refused restore changed the photograph");
  if (result.Ok()) {
    std::size_t segment = static_cast<std::size_t>(result.segmentLength) + 2;
    if (after.size() != kPhoto.size() + segment)
      fuzz::Finding("restored photograph has a wrong size");
    if (after.compare(0, 2, "\xFF\xD8") != 0 ||
        after.compare(2 + segment, std::string::npos, kPhoto, 2) != 0) {
      fuzz::Finding("restored photograph is not start, segment, old rest");
    }
  }
  return 0;
}
