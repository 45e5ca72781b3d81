#include "model/table_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>

#include "model/value_text.h"

namespace tagloom {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

std::size_t UnitSize(TextEncoding encoding) {
  return encoding == TextEncoding::kUtf16Le || encoding == TextEncoding::kUtf16Be ? 2 : 1;
}

// The code unit at byte i: a byte, or a 16-bit unit in the file's byte order.
unsigned UnitAt(std::string_view bytes, std::size_t i, TextEncoding encoding) {
  auto byte = [&](std::size_t k) {
    return static_cast<unsigned>(static_cast<std::uint8_t>(bytes[k]));
  };
  if (encoding == TextEncoding::kUtf16Le) return byte(i) | byte(i + 1) << 8;
  if (encoding == TextEncoding::kUtf16Be) return byte(i) << 8 | byte(i + 1);
  return byte(i);
}

// Line breaks among the whole code units of bytes[begin, end): LF, CR LF and a
// lone CR each count one. Line breaks are ASCII in every encoding read here,
// and no byte of a GB18030 or UTF-8 sequence is one.
int BreaksBetween(std::string_view bytes, std::size_t begin, std::size_t end,
                  TextEncoding encoding) {
  const std::size_t unit = UnitSize(encoding);
  int breaks = 0;
  for (std::size_t i = begin; i + unit <= end; i += unit) {
    unsigned c = UnitAt(bytes, i, encoding);
    bool lfNext = i + 2 * unit <= bytes.size() && UnitAt(bytes, i + unit, encoding) == '\n';
    if (c == '\n' || (c == '\r' && !lfNext)) ++breaks;
  }
  return breaks;
}

// The offset of the first NUL code unit from `begin` on, or kNone.
std::size_t FirstNul(std::string_view bytes, std::size_t begin, TextEncoding encoding) {
  const std::size_t unit = UnitSize(encoding);
  for (std::size_t i = begin; i + unit <= bytes.size(); i += unit) {
    if (UnitAt(bytes, i, encoding) == 0) return i;
  }
  return kNone;
}

struct Converted {
  std::string text;
  std::size_t stop = kNone;  // offset of the first sequence not converted, or kNone
};

// `bytes` converted from the iconv encoding `from` to UTF-8.
Converted ToUtf8(std::string_view bytes, const char* from) {
  iconv_t opened = ::iconv_open("UTF-8", from);
  // Without the C library's converter nothing can be read (glibc always has it).
  if (opened == reinterpret_cast<iconv_t>(-1)) return {{}, 0};
  std::unique_ptr<void, int (*)(iconv_t)> converter(opened, &::iconv_close);
  // Two bytes of UTF-16 or GB18030 become at most three of UTF-8, four at most four.
  Converted out{std::string(bytes.size() * 2, '\0')};
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char* to = out.text.data();
  std::size_t outLeft = out.text.size();
  if (::iconv(converter.get(), &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1)) {
    out.stop = static_cast<std::size_t>(in - bytes.data());  // EILSEQ or a cut-off sequence
  }
  out.text.resize(out.text.size() - outLeft);
  return out;
}

// The encoding the bytes are in, with the length of its byte-order mark.
std::pair<TextEncoding, std::size_t> EncodingOf(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) return {TextEncoding::kUtf8WithBom, kUtf8Bom.size()};
  if (bytes.starts_with(kUtf16LeBom)) return {TextEncoding::kUtf16Le, kUtf16LeBom.size()};
  if (bytes.starts_with(kUtf16BeBom)) return {TextEncoding::kUtf16Be, kUtf16BeBom.size()};
  return {ValidUtf8Length(bytes) == bytes.size() ? TextEncoding::kUtf8 : TextEncoding::kGb18030, 0};
}

}  // namespace

std::variant<TableText, TableError> DecodeTableText(std::string_view bytes) {
  const auto [encoding, bom] = EncodingOf(bytes);
  const std::string_view body = bytes.substr(bom);
  Converted text;
  switch (encoding) {
    case TextEncoding::kUtf8:
    case TextEncoding::kUtf8WithBom: {
      const std::size_t valid = ValidUtf8Length(body);
      text = {std::string(body.substr(0, valid)), valid == body.size() ? kNone : valid};
      break;
    }
    case TextEncoding::kUtf16Le:
      text = ToUtf8(body, "UTF-16LE");
      break;
    case TextEncoding::kUtf16Be:
      text = ToUtf8(body, "UTF-16BE");
      break;
    case TextEncoding::kGb18030:
      text = ToUtf8(body, "GB18030");
      break;
  }
  // Whichever comes first: a NUL (which every encoding would read) or bytes it cannot.
  const std::size_t nul = FirstNul(bytes, bom, encoding);
  const std::size_t stop = std::min(nul, text.stop == kNone ? kNone : bom + text.stop);
  if (stop != kNone) {
    return TableError{TableFault::kNotText, encoding, 1 + BreaksBetween(bytes, bom, stop, encoding),
                      stop};
  }
  return TableText{std::move(text.text), encoding};
}

int LineBreaks(std::string_view text) {
  return BreaksBetween(text, 0, text.size(), TextEncoding::kUtf8);
}

}  // namespace tagloom
