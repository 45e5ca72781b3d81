// Hexadecimal digits: the one table and the one digit reading of Tagloom.
#pragma once

#include <string>
#include <string_view>

namespace tagloom {

inline constexpr char kHexDigitChars[] = "0123456789ABCDEF";

// 0 to 15 for a hexadecimal digit of either case, -1 for any other character.
constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Whether every character is a hexadecimal digit (true for the empty text).
bool IsHexDigits(std::string_view text);

// The bytes of `pairs` of hexadecimal digits, every character a digit
// (IsHexDigits) and an even count of them: one byte per pair into `out`.
void BytesOfHexPairs(std::string_view pairs, char* out);

// `prefix`, then two upper-case hexadecimal digits per byte, no separators.
std::string HexDigits(std::string_view bytes, std::string_view prefix = {});

}  // namespace tagloom
