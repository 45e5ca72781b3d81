// The marker segments at the head of a JPEG stream, ahead of the image data.
//
// A segment: FF, its marker byte, a 2-byte big-endian length (counting itself
// and the data after it, not FF and the marker), then the data. An EXIF
// segment is an APP1 whose data begin with the signature "Exif" 00 00.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "reader/read_channel.h"

namespace tagloom {

inline constexpr std::uint8_t kMarkerPrefix = 0xFF;
inline constexpr std::uint8_t kMarkerSoi = 0xD8;  // start of image
inline constexpr std::uint8_t kMarkerEoi = 0xD9;  // end of image
inline constexpr std::uint8_t kMarkerSos = 0xDA;  // start of scan
inline constexpr std::uint8_t kMarkerApp0 = 0xE0;
inline constexpr std::uint8_t kMarkerApp1 = 0xE1;

inline constexpr std::string_view kExifSignature{"Exif\0\0", 6};

// Whether the bytes begin with the EXIF signature, its two NUL bytes included.
inline bool IsExifSignature(std::string_view bytes) {
  return bytes.substr(0, kExifSignature.size()) == kExifSignature;
}

// The length field of a segment held in memory (FF, marker, length, ...).
inline std::int32_t SegmentLengthOf(std::string_view segment) {
  if (segment.size() < 4) return 0;
  return BigEndian16(reinterpret_cast<const std::uint8_t*>(segment.data()) + 2);
}

struct JpegSegment {
  std::uint8_t marker = 0;   // the byte after FF (E1 for APP1)
  std::int64_t offset = 0;   // 0-based offset of the FF right before its marker
  std::int64_t size = 0;     // all its bytes: marker, length field and data (no fill bytes)
  bool carriesExif = false;  // an APP1 whose data begin with the EXIF signature
};

// Visits the header segments in file order until `visit` returns false. The
// walk starts after the start-of-image marker (or at the first byte of a file
// that starts with an APP1 marker) and stops at the start of scan, at the end
// of the file, or at anything that is not a marker segment.
void WalkHeaderSegments(ReadChannel& channel, const std::function<bool(const JpegSegment&)>& visit);

// The first APP1 segment that carries EXIF, or nullopt.
std::optional<JpegSegment> FindExifSegment(ReadChannel& channel);

// Whether the channel's file starts with the start-of-image marker FF D8.
bool StartsWithSoi(ReadChannel& channel);

}  // namespace tagloom
