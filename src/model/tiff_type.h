// The TIFF field types of a directory entry, by their type codes.
#pragma once

namespace tagloom::tiff {

enum Type : int {
  kByte = 1,
  kAscii = 2,
  kShort = 3,
  kLong = 4,
  kRational = 5,
  kUndefined = 7,
  kSLong = 9,
  kSRational = 10,
};

// Types whose value is a fraction: numerator then denominator.
inline constexpr bool IsRational(int type) {
  return type == kRational || type == kSRational;
}

}  // namespace tagloom::tiff
