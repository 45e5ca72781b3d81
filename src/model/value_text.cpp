#include "model/value_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace tagloom {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

namespace {

std::uint8_t At(std::string_view bytes, std::size_t i) {
  return static_cast<std::uint8_t>(bytes[i]);
}

// Length of the well-formed UTF-8 sequence starting at bytes[i], or 0.
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t i) {
  std::uint8_t lead = At(bytes, i);
  if (lead < 0x80) return 1;
  std::size_t length;
  std::uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (i + length > bytes.size()) return 0;
  if (At(bytes, i + 1) < low || At(bytes, i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (At(bytes, i + k) < 0x80 || At(bytes, i + k) > 0xBF) return 0;
  }
  return length;
}

// The shape of EUC-CN: every byte above 0x7F stands in a pair of bytes A1 to FE.
// (A looser test, GBK's, would read Latin-1 texts such as "W\xF6rdehoff" as Chinese.)
bool LooksLikeGb2312(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (At(bytes, i) < 0x80) continue;
    if (i + 1 >= bytes.size()) return false;
    for (std::size_t k : {i, i + 1}) {
      if (At(bytes, k) < 0xA1 || At(bytes, k) > 0xFE) return false;
    }
    ++i;
  }
  return true;
}

// The text decoded from GB2312, or "" when a pair is not a GB2312 character.
std::string FromGb2312(std::string_view bytes) {
  // One converter per thread: opening one costs more than most conversions.
  thread_local iconv_t converter = ::iconv_open("UTF-8", "GB2312");
  if (converter == reinterpret_cast<iconv_t>(-1)) return {};
  ::iconv(converter, nullptr, nullptr, nullptr, nullptr);
  std::string out(bytes.size() * 2, '\0');  // two bytes become at most three, ASCII stays one
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char* to = out.data();
  std::size_t outLeft = out.size();
  if (::iconv(converter, &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1) ||
      inLeft != 0) {
    return {};
  }
  out.resize(out.size() - outLeft);
  return out;
}

std::string Latin1ForInvalid(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (std::size_t i = 0; i < bytes.size();) {
    std::size_t length = Utf8SequenceLength(bytes, i);
    if (length > 0) {
      text.append(bytes.substr(i, length));
      i += length;
    } else {
      std::uint8_t b = At(bytes, i++);
      text += static_cast<char>(0xC0 | (b >> 6));
      text += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return text;
}

// The length of the leading run of ASCII bytes, eight at a time: values run
// to tens of kilobytes of hexadecimal digits.
std::size_t AsciiRun(std::string_view bytes) {
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    if (word & 0x8080808080808080u) break;
  }
  while (i < bytes.size() && At(bytes, i) < 0x80) ++i;
  return i;
}

}  // namespace

std::size_t ValidUtf8Length(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    std::size_t length = Utf8SequenceLength(bytes, i);
    if (length == 0) break;
    i += length;
  }
  return i;
}

bool IsAscii(std::string_view bytes) {
  return AsciiRun(bytes) == bytes.size();
}

std::string BytesToText(std::string_view bytes) {
  // Most values are plain ASCII, which is UTF-8 as it stands.
  const std::size_t ascii = AsciiRun(bytes);
  if (ascii + ValidUtf8Length(bytes.substr(ascii)) == bytes.size()) return std::string(bytes);
  if (LooksLikeGb2312(bytes)) {
    if (std::string decoded = FromGb2312(bytes); !decoded.empty()) return decoded;
  }
  return Latin1ForInvalid(bytes);
}

std::string Utf16CommentSwapped(std::string_view text) {
  // "Hex:" and the code UNICODE 00 in digits, two per byte.
  static constexpr std::string_view kUnicodeCode = "Hex:554E49434F444500";
  std::string swapped(text);
  if (!text.starts_with(kUnicodeCode)) return swapped;
  for (std::size_t at = kUnicodeCode.size(); at + 4 <= swapped.size(); at += 4) {
    std::swap_ranges(swapped.begin() + static_cast<std::ptrdiff_t>(at),
                     swapped.begin() + static_cast<std::ptrdiff_t>(at + 2),
                     swapped.begin() + static_cast<std::ptrdiff_t>(at + 2));
  }
  return swapped;
}

}  // namespace tagloom
