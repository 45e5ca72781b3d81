// The forms of value texts shared by reading, display, edit-back and writing.
#pragma once

#include <string>
#include <string_view>

namespace tagloom {

// Prefix of a value text that holds raw bytes as hexadecimal digits.
inline constexpr std::string_view kHexPrefix = "Hex:";

// Prefix with which every user comment is written, removed again on display.
inline constexpr std::string_view kCommentMarker = "(Edit by Tagloom)";

// The 8-byte character code in front of an undefined value that holds text.
inline constexpr std::string_view kAsciiCode{"ASCII\0\0\0", 8};

// The letter in lower case for A to Z; every other byte as it is (UTF-8
// sequences included), whatever the locale.
inline char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A comment held as "Hex:" and digits whose bytes begin with the 8-byte
// character code "UNICODE" and a NUL: the same with its UTF-16 text turned
// round, each pair of bytes swapped (a big-endian block's comment going into
// a little-endian one). Any other text is returned as it stands.
std::string Utf16CommentSwapped(std::string_view text);

// The text without the blanks (spaces) at its start and its end.
std::string_view TrimBlanks(std::string_view text);

// Whether every byte is ASCII (below 0x80): such bytes are their own text.
bool IsAscii(std::string_view bytes);

// The length of the longest start of `bytes` that is well-formed UTF-8 (no
// overlong forms, surrogates or code points above U+10FFFF): the whole length
// for valid UTF-8, else the offset of the first byte that breaks it.
std::size_t ValidUtf8Length(std::string_view bytes);

// Display text of bytes read from a file: valid UTF-8 as it stands; else, when
// the whole text is GB2312 (EUC-CN, the legacy encoding of Simplified Chinese
// systems), that decoded; else each byte that is not part of valid UTF-8 as
// the character of the same code (Latin-1). Nothing is lost or mangled.
std::string BytesToText(std::string_view bytes);

}  // namespace tagloom
