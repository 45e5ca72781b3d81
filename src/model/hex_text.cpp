#include "model/hex_text.h"

#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tagloom {

bool IsHexDigits(std::string_view text) {
  // A maker note's 110,000 digits are checked 16 at a time where the
  // processor can: a digit is c - '0' <= 9, a letter (c | 0x20) - 'a' <= 5.
  std::size_t i = 0;
#if defined(__SSE2__)
  const auto* bytes = reinterpret_cast<const __m128i*>(text.data());
  for (; i + 16 <= text.size(); i += 16, ++bytes) {
    const __m128i c = _mm_loadu_si128(bytes);
    const __m128i digit = _mm_sub_epi8(c, _mm_set1_epi8('0'));
    const __m128i letter = _mm_sub_epi8(_mm_or_si128(c, _mm_set1_epi8(0x20)), _mm_set1_epi8('a'));
    const __m128i isDigit = _mm_cmpeq_epi8(_mm_min_epu8(digit, _mm_set1_epi8(9)), digit);
    const __m128i isLetter = _mm_cmpeq_epi8(_mm_min_epu8(letter, _mm_set1_epi8(5)), letter);
    if (_mm_movemask_epi8(_mm_or_si128(isDigit, isLetter)) != 0xFFFF) return false;
  }
#endif
  for (; i < text.size(); ++i) {
    if (HexDigitValue(text[i]) < 0) return false;
  }
  return true;
}

namespace {

// Two upper-case digits per byte, from a table.
void HexPairs(const std::uint8_t* in, std::size_t n, char* out) {
  static const auto kPairs = [] {
    std::array<std::uint16_t, 256> pairs{};
    for (int b = 0; b < 256; ++b) {
      const char pair[2] = {kHexDigitChars[b >> 4], kHexDigitChars[b & 0x0F]};
      std::memcpy(&pairs[static_cast<std::size_t>(b)], pair, 2);
    }
    return pairs;
  }();
  for (std::size_t i = 0; i < n; ++i, out += 2) std::memcpy(out, &kPairs[in[i]], 2);
}

}  // namespace

void BytesOfHexPairs(std::string_view pairs, char* out) {
  // By table: a maker note's tens of thousands of digits, several times a write.
  static const auto kValue = [] {
    std::array<std::uint8_t, 256> value{};
    for (int c = 0; c < 256; ++c) {
      const int digit = HexDigitValue(static_cast<char>(c));
      value[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(digit < 0 ? 0 : digit);
    }
    return value;
  }();
  const auto* in = reinterpret_cast<const std::uint8_t*>(pairs.data());
  std::size_t i = 0;
#if defined(__SSE2__)
  // Thirty-two digits at a time: a digit's value is (c | 0x20) - '0', less
  // 39 more for a letter; then each pair, a 16-bit lane (first digit low),
  // becomes first * 16 + second.
  const __m128i lower = _mm_set1_epi8(0x20);
  const __m128i zero = _mm_set1_epi8('0');
  const __m128i nine = _mm_set1_epi8(9);
  const __m128i letterGap = _mm_set1_epi8('a' - '0' - 10);
  const __m128i lowByte = _mm_set1_epi16(0x00FF);
  auto bytesOf = [&](const std::uint8_t* digits) {
    __m128i v = _mm_sub_epi8(
        _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(digits)), lower), zero);
    v = _mm_sub_epi8(v, _mm_and_si128(_mm_cmpgt_epi8(v, nine), letterGap));
    return _mm_or_si128(_mm_slli_epi16(_mm_and_si128(v, lowByte), 4), _mm_srli_epi16(v, 8));
  };
  for (; i + 32 <= pairs.size(); i += 32, out += 16) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                     _mm_packus_epi16(bytesOf(in + i), bytesOf(in + i + 16)));
  }
#endif
  for (; i + 1 < pairs.size(); i += 2) {
    *out++ = static_cast<char>(kValue[in[i]] << 4 | kValue[in[i + 1]]);
  }
}

std::string HexDigits(std::string_view bytes, std::string_view prefix) {
  // Sized once and written in place: zeroing it first costs less than
  // appending it block by block.
  std::string text(prefix.size() + bytes.size() * 2, '\0');
  prefix.copy(text.data(), prefix.size());
  const auto* in = reinterpret_cast<const std::uint8_t*>(bytes.data());
  char* out = text.data() + prefix.size();
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

}  // namespace tagloom
