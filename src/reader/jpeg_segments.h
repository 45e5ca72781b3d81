// The marker segments at the head of a JPEG stream, ahead of the image data.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "reader/read_channel.h"

namespace tagloom {

inline constexpr std::uint8_t kMarkerApp1 = 0xE1;

struct JpegSegment {
  std::uint8_t marker = 0;   // the byte after FF (E1 for APP1)
  std::int64_t offset = 0;   // 0-based offset of the FF right before its marker
  std::int64_t size = 0;     // all its bytes: marker, length field and data (no fill bytes)
  bool carriesExif = false;  // an APP1 whose data begin "Exif" and two NUL bytes
};

// Visits the header segments in file order until `visit` returns false. The
// walk starts after the start-of-image marker (or at the first byte of a file
// that starts with an APP1 marker) and stops at the start of scan, at the end
// of the file, or at anything that is not a marker segment.
void WalkHeaderSegments(ReadChannel& channel, const std::function<bool(const JpegSegment&)>& visit);

// The first APP1 segment that carries EXIF, or nullopt.
std::optional<JpegSegment> FindExifSegment(ReadChannel& channel);

}  // namespace tagloom
