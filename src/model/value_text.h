// The forms of value texts shared by reading, display, edit-back and writing.
#pragma once

#include <string>
#include <string_view>

namespace tagloom {

// Prefix of a value text that holds raw bytes as hexadecimal digits.
inline constexpr std::string_view kHexPrefix = "Hex:";

// Prefix with which every user comment is written, removed again on display.
inline constexpr std::string_view kCommentMarker = "(Edit by Tagloom)";

// Two upper-case hexadecimal digits per byte, no separators.
std::string HexDigits(std::string_view bytes);

// Display text of bytes read from a file: valid UTF-8 stays as it is, any
// other byte becomes the character of the same code (as in Latin-1), so that
// nothing is lost or mangled.
std::string BytesToText(std::string_view bytes);

}  // namespace tagloom
