#include "support/jpeg_layout.h"

#include <cstdint>

#include "reader/jpeg_segments.h"

namespace tagloom::test {

JpegLayout SplitJpeg(const std::string& file) {
  JpegLayout layout;
  std::size_t at = 2;
  while (at + 4 <= file.size() && file[at] == '\xFF' && file[at + 1] != '\xDA') {
    const std::size_t length =
        static_cast<std::uint8_t>(file[at + 2]) * 256u + static_cast<std::uint8_t>(file[at + 3]);
    if (length < 2 || at + 2 + length > file.size()) break;
    layout.header.push_back(file.substr(at, 2 + length));
    at += 2 + length;
  }
  layout.rest = file.substr(at);
  return layout;
}

bool CarriesExif(const std::string& segment) {
  return segment.size() >= 10 && segment[1] == '\xE1' && IsExifSignature(segment.substr(4));
}

std::vector<std::string> OtherSegments(const JpegLayout& layout) {
  std::vector<std::string> kept;
  for (const std::string& segment : layout.header) {
    if (!CarriesExif(segment)) kept.push_back(segment);
  }
  return kept;
}

std::string ExifSegmentOf(const std::string& file) {
  for (const std::string& segment : SplitJpeg(file).header) {
    if (CarriesExif(segment)) return segment;
  }
  return "";
}

}  // namespace tagloom::test
