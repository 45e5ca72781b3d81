#include "cli/json_writer.h"

#include <charconv>

#include "model/hex_text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tagloom::cli {
namespace {

bool NeedsEscape(unsigned char c) {
  return c < 0x20 || c == '"' || c == '\\';
}

// The length of the leading run of `text` that needs no escape.
std::size_t PlainRun(std::string_view text) {
  std::size_t i = 0;
#if defined(__SSE2__)
  // Sixteen bytes at a time: most texts (hex digits, names) need no escape.
  const __m128i quote = _mm_set1_epi8('"');
  const __m128i backslash = _mm_set1_epi8('\\');
  const __m128i control = _mm_set1_epi8(0x1F);
  for (; i + 16 <= text.size(); i += 16) {
    __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
    __m128i isControl = _mm_cmpeq_epi8(_mm_subs_epu8(block, control), _mm_setzero_si128());
    __m128i special = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(block, quote), _mm_cmpeq_epi8(block, backslash)), isControl);
    if (_mm_movemask_epi8(special) != 0) break;
  }
#endif
  while (i < text.size() && !NeedsEscape(static_cast<unsigned char>(text[i]))) ++i;
  return i;
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  while (!text.empty()) {
    std::size_t plain = PlainRun(text);
    out.append(text.substr(0, plain));
    text.remove_prefix(plain);
    if (text.empty()) break;
    auto c = static_cast<unsigned char>(text.front());
    text.remove_prefix(1);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += "\\u00";
        out += kHexDigitChars[c >> 4];
        out += kHexDigitChars[c & 0x0F];
    }
  }
  out += '"';
}

void JsonWriter::Separate() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!first_) out_ += ',';
  first_ = false;
}

JsonWriter& JsonWriter::BeginObject() {
  Separate();
  out_ += '{';
  first_ = true;
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  out_ += '}';
  first_ = false;
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  Separate();
  out_ += '[';
  first_ = true;
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  out_ += ']';
  first_ = false;
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
  Separate();
  out_ += '"';
  out_ += key;  // keys are plain identifiers: nothing to escape
  out_ += "\":";
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
  Separate();
  AppendJsonString(out_, text);
  return *this;
}

JsonWriter& JsonWriter::Number(std::int64_t number) {
  Separate();
  char buffer[24];
  out_.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, number).ptr);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  Separate();
  out_ += value ? "true" : "false";
  return *this;
}

}  // namespace tagloom::cli
