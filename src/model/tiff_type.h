// The TIFF field types of a directory entry, by their type codes.
#pragma once

namespace tagloom::tiff {

enum Type : int {
  kByte = 1,
  kAscii = 2,
  kShort = 3,
  kLong = 4,
  kRational = 5,
  kSByte = 6,
  kUndefined = 7,
  kSShort = 8,
  kSLong = 9,
  kSRational = 10,
  kFloat = 11,
  kDouble = 12,
  kIfd = 13,  // an offset to a directory
};

// Types whose value is a fraction: numerator then denominator.
inline constexpr bool IsRational(int type) {
  return type == kRational || type == kSRational;
}

// Bytes per value of a type; 0 for a code that is no type.
inline constexpr int TypeSize(int type) {
  switch (type) {
    case kByte:
    case kAscii:
    case kSByte:
    case kUndefined:
      return 1;
    case kShort:
    case kSShort:
      return 2;
    case kLong:
    case kSLong:
    case kFloat:
    case kIfd:
      return 4;
    case kRational:
    case kSRational:
    case kDouble:
      return 8;
    default:
      return 0;
  }
}

// The bytes of a value that change places with the byte order: a fraction
// is two 32-bit numbers, a double one 64-bit number.
inline constexpr int SwapUnit(int type) {
  return IsRational(type) ? 4 : TypeSize(type);
}

}  // namespace tagloom::tiff
