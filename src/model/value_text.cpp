#include "model/value_text.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace tagloom {

std::string HexDigits(std::string_view bytes) {
  // Two digits per byte from one table lookup: maker notes run to tens of kilobytes.
  static const auto kPairs = [] {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::array<char, 512> pairs{};
    for (int b = 0; b < 256; ++b) {
      pairs[static_cast<std::size_t>(2 * b)] = kDigits[b >> 4];
      pairs[static_cast<std::size_t>(2 * b + 1)] = kDigits[b & 0x0F];
    }
    return pairs;
  }();
  std::string text(bytes.size() * 2, '\0');
  char* out = text.data();
  for (char c : bytes) {
    std::memcpy(out, &kPairs[2 * static_cast<std::size_t>(static_cast<std::uint8_t>(c))], 2);
    out += 2;
  }
  return text;
}

namespace {

// Length of the well-formed UTF-8 sequence starting at bytes[i], or 0.
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t i) {
  auto at = [&](std::size_t k) { return static_cast<std::uint8_t>(bytes[k]); };
  std::uint8_t lead = at(i);
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
  if (at(i + 1) < low || at(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (at(i + k) < 0x80 || at(i + k) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

std::string BytesToText(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    std::size_t length = Utf8SequenceLength(bytes, i);
    if (length > 0) {
      text.append(bytes.substr(i, length));
      i += length;
    } else {
      auto b = static_cast<std::uint8_t>(bytes[i++]);
      text += static_cast<char>(0xC0 | (b >> 6));
      text += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return text;
}

}  // namespace tagloom
