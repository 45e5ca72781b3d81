#include "cli/terminal_text.h"

#include <cstdio>

#include "model/hex_text.h"
#include "model/value_text.h"

namespace tagloom::cli {
namespace {

// Code point of the UTF-8 sequence at text[i]; i moves past it.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  auto b = static_cast<unsigned char>(text[i++]);
  if (b < 0x80) return b;
  int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
  char32_t c = b & (0x3F >> extra);
  for (int k = 0; k < extra && i < text.size(); ++k) {
    c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
  }
  return c;
}

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// 3072 as "3,072".
std::string WithThousands(std::size_t n) {
  std::string digits = std::to_string(n);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<std::size_t>(at), ",");
  }
  return digits;
}

}  // namespace

std::string Printable(std::string_view text) {
  std::string out;
  AppendPrintable(out, text);
  return out;
}

void AppendPrintable(std::string& out, std::string_view text) {
  std::size_t plain = 0;  // start of the run of characters not yet copied
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c != 0x7F && c != 0xC2) continue;  // the common case: nothing to escape
    bool c1 = c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
              static_cast<unsigned char>(text[i + 1]) <= 0x9F;
    if (c == 0xC2 && !c1) continue;
    out.append(text.substr(plain, i - plain));
    if (c1) c = static_cast<unsigned char>(text[++i]);
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
    out += escaped;
    plain = i + 1;
  }
  out.append(text.substr(plain));
}

std::string TerminalText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

std::string PrintableMessage(std::string_view text) {
  const std::string lines = TerminalText(text);
  std::string out;
  for (std::string_view rest = lines;;) {
    std::size_t end = rest.find('\n');
    out += Printable(BytesToText(rest.substr(0, end)));
    if (end == std::string_view::npos) break;
    out += '\n';
    rest.remove_prefix(end + 1);
  }
  return out;
}

std::size_t DisplayWidth(std::string_view utf8) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {  // ASCII: one column, no decoding
      ++width;
      ++i;
      continue;
    }
    width += IsWide(NextCodePoint(utf8, i)) ? 2 : 1;
  }
  return width;
}

std::string ShortenedHex(std::string_view text) {
  constexpr std::size_t kLongest = 64, kShown = 16;
  std::string_view prefix = text.substr(0, kHexPrefix.size()) == kHexPrefix ? kHexPrefix : "";
  std::string_view digits = text.substr(prefix.size());
  if (digits.size() <= kLongest || !IsHexDigits(digits)) return std::string(text);
  return std::string(prefix) + std::string(digits.substr(0, kShown)) + "\u2026 (" +
         WithThousands(digits.size() / 2) + " bytes)";
}

}  // namespace tagloom::cli
