// File paths between the system's bytes and Qt's text, without loss.
#include "ui/main/controls.h"

namespace tagloom::ui {
namespace {

constexpr char16_t kEscapedByte = 0xDC00;  // U+DC80 to U+DCFF: bytes 80 to FF

// The length of the valid UTF-8 sequence at text[i], 0 when there is none.
std::size_t SequenceAt(std::string_view text, std::size_t i) {
  const auto b = static_cast<unsigned char>(text[i]);
  const std::size_t length = b < 0x80                 ? 1
                             : b >= 0xC2 && b <= 0xDF ? 2
                             : b >= 0xE0 && b <= 0xEF ? 3
                             : b >= 0xF0 && b <= 0xF4 ? 4
                                                      : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  }
  // No overlong forms, no surrogates, nothing past U+10FFFF.
  const auto b1 = static_cast<unsigned char>(length > 1 ? text[i + 1] : 0);
  if ((b == 0xE0 && b1 < 0xA0) || (b == 0xED && b1 >= 0xA0) || (b == 0xF0 && b1 < 0x90) ||
      (b == 0xF4 && b1 >= 0x90)) {
    return 0;
  }
  return length;
}

}  // namespace

QString FromPath(std::string_view path) {
  QString text;
  text.reserve(static_cast<qsizetype>(path.size()));
  std::size_t plain = 0;  // start of the valid run not yet decoded
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t length = SequenceAt(path, i);
    if (length > 0) {
      i += length;
      continue;
    }
    text += FromUtf8(path.substr(plain, i - plain));
    text += QChar(static_cast<char16_t>(kEscapedByte + static_cast<unsigned char>(path[i])));
    plain = ++i;
  }
  return text + FromUtf8(path.substr(plain));
}

std::string ToPath(const QString& path) {
  std::string bytes;
  qsizetype plain = 0;
  for (qsizetype i = 0; i < path.size(); ++i) {
    const char16_t c = path[i].unicode();
    const bool escaped = c >= kEscapedByte + 0x80 && c <= kEscapedByte + 0xFF &&
                         (i == 0 || !path[i - 1].isHighSurrogate());
    if (!escaped) continue;
    bytes += path.mid(plain, i - plain).toStdString();
    bytes += static_cast<char>(c - kEscapedByte);
    plain = i + 1;
  }
  return bytes + path.mid(plain).toStdString();
}

}  // namespace tagloom::ui
