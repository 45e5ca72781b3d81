// Any bytes, opened as a photograph the way the editor opens one.
#include <cstdint>
#include <span>

#include "editor/quiet_host.h"
#include "editor/session.h"
#include "fuzz_support.h"
#include "reader/exif_block.h"
#include "reader/jpeg_segments.h"

using namespace tagloom;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string photo = fuzz::ScratchFolder() + "/photo.jpg";
  fuzz::WriteFile(photo, data, size);
  QuietHost host;
  Session session(host);
  session.GetExifData(photo);
  if (!session.ImageFileName.empty() && session.ExifFromBackup) fuzz::Finding("no backup exists");

  // The same bytes from memory: both channels must read alike.
  ReadChannel channel(std::span<const std::uint8_t>(data, size));
  RecordStore store;
  store.Reset();
  ExifBlockLayout layout;
  if (std::optional<JpegSegment> segment = FindExifSegment(channel)) {
    channel.Seek(segment->offset + 3);
    ReadExifDataFromFile(channel, store, layout);
  }
  for (int r = 0; r < store.lstValue.Count(); ++r) {
    if (store.lstValue.Row(r) != session.store.lstValue.Row(r)) {
      fuzz::Finding("a file and memory read differently");
    }
  }
  return 0;
}
