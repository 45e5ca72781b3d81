// A JPEG's header segments walked by their lengths, without Tagloom's reader,
// so that tests check what Tagloom wrote by other means than its own.
#pragma once

#include <string>
#include <vector>

namespace tagloom::test {

struct JpegLayout {
  std::vector<std::string> header;  // each segment whole: FF, marker, length, data
  std::string rest;                 // from the start of scan (or the first non-segment) on
};

JpegLayout SplitJpeg(const std::string& file);
bool CarriesExif(const std::string& segment);
// The header segments that do not carry EXIF, in order.
std::vector<std::string> OtherSegments(const JpegLayout& layout);
// The first segment that carries EXIF, or "".
std::string ExifSegmentOf(const std::string& file);

}  // namespace tagloom::test
