#include "model/value_text.h"

#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tagloom {

namespace {

// Two upper-case digits per byte, from a table.
void HexPairs(const std::uint8_t* in, std::size_t n, char* out) {
  static const auto kPairs = [] {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::array<std::uint16_t, 256> pairs{};
    for (int b = 0; b < 256; ++b) {
      const char pair[2] = {kDigits[b >> 4], kDigits[b & 0x0F]};
      std::memcpy(&pairs[static_cast<std::size_t>(b)], pair, 2);
    }
    return pairs;
  }();
  for (std::size_t i = 0; i < n; ++i, out += 2) std::memcpy(out, &kPairs[in[i]], 2);
}

}  // namespace

std::string HexDigits(std::string_view bytes) {
  std::string text(bytes.size() * 2, '\0');
  const auto* in = reinterpret_cast<const std::uint8_t*>(bytes.data());
  char* out = text.data();
  std::size_t done = 0;
#if defined(__SSE2__)
  // Maker notes run to tens of kilobytes: sixteen bytes at a time, each
  // nibble turned into its digit by arithmetic ('0' + n, or 'A' + n - 10).
  const __m128i lowNibbles = _mm_set1_epi8(0x0F);
  const __m128i nine = _mm_set1_epi8(9);
  const __m128i zero = _mm_set1_epi8('0');
  const __m128i letterGap = _mm_set1_epi8('A' - '0' - 10);
  auto digits = [&](__m128i nibbles) {
    __m128i letters = _mm_and_si128(_mm_cmpgt_epi8(nibbles, nine), letterGap);
    return _mm_add_epi8(_mm_add_epi8(nibbles, zero), letters);
  };
  for (; done + 16 <= bytes.size(); done += 16) {
    __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done));
    __m128i high = digits(_mm_and_si128(_mm_srli_epi16(block, 4), lowNibbles));
    __m128i low = digits(_mm_and_si128(block, lowNibbles));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * done), _mm_unpacklo_epi8(high, low));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * done + 16), _mm_unpackhi_epi8(high, low));
  }
#endif
  HexPairs(in + done, bytes.size() - done, out + 2 * done);
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
  // Most values are plain ASCII, which is UTF-8 as it stands.
  std::size_t ascii = 0;
  while (ascii < bytes.size() && static_cast<std::uint8_t>(bytes[ascii]) < 0x80) ++ascii;
  if (ascii == bytes.size()) return std::string(bytes);
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
