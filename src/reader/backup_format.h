// The EXIF backup file beside a photograph: its name and its format.
//
//   offset 0   24 bytes  "Vantoro Exif Backup File"
//   offset 24  2 bytes   FF E1
//   offset 26  2 bytes   segment length L, big-endian
//   offset 28  ...       the rest of the APP1 segment ("Exif", 00 00, TIFF block)
//
// A segment copied from a photograph has all its L + 2 bytes; a segment built
// by the writer counts its marker in L and so lacks the final two zero bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "reader/read_channel.h"

namespace tagloom {

inline constexpr std::string_view kBackupHeader = "Vantoro Exif Backup File";
inline constexpr std::int64_t kBackupSegmentOffset = 24;  // 0-based offset of the FF E1 marker

// The photograph's path up to and including the last "." of its file name,
// followed by "Exif"; the empty text for a file name without any ".".
std::string BackupFileNameFor(std::string_view photoPath);

enum class BackupCheck {
  kOk,
  kBadHeader,  // shorter than the header, or not exactly the header text
  kBadMarker,  // the header is not followed by FF E1
  kTruncated,  // the file does not hold the segment its length field names
  kNotExif,    // the segment does not carry the EXIF signature
};

// Checks a backup file's header, marker, length and EXIF signature. On kOk the channel is
// positioned on the first byte after the FF E1 marker.
BackupCheck CheckBackupContent(ReadChannel& backup);

// The segment length field of a backup file whose check passed.
std::int32_t BackupSegmentLength(ReadChannel& backup);

}  // namespace tagloom
