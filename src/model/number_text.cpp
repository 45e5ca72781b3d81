#include "model/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>

#include "model/hex_text.h"

namespace tagloom {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Index of the next character that is not a blank, from i on.
std::size_t SkipBlanks(std::string_view text, std::size_t i) {
  while (i < text.size() && IsBlank(text[i])) ++i;
  return i;
}

// Sets `end` past the last digit (and the blanks after it), or to 0 without one.
double RadixInteger(std::string_view text, std::size_t i, int radix, std::size_t& end) {
  double value = 0;
  end = 0;
  for (i = SkipBlanks(text, i); i < text.size(); i = SkipBlanks(text, i + 1)) {
    int digit = HexDigitValue(text[i]);
    if (digit < 0 || digit >= radix) break;
    value = value * radix + digit;
    end = SkipBlanks(text, i + 1);
  }
  return value;
}

}  // namespace

namespace {

// The plain decimal integers that the record store holds ("-12", "340") are
// by far the most common texts read; they need no general parse.
bool PlainInteger(std::string_view text, double& value) {
  std::size_t i = text.empty() || text[0] != '-' ? 0 : 1;
  if (i == text.size() || text.size() - i > 15) return false;
  std::int64_t n = 0;
  for (std::size_t k = i; k < text.size(); ++k) {
    if (!IsDigit(text[k])) return false;
    n = n * 10 + (text[k] - '0');
  }
  value = static_cast<double>(i ? -n : n);
  return true;
}

// The number at the start of `text`; `end` is where it stopped, after the
// blanks that follow it, or 0 when the text does not start with a number.
double NumberAt(std::string_view text, std::size_t& end) {
  end = 0;
  if (double value; PlainInteger(text, value)) {
    end = text.size();
    return value;
  }
  std::size_t i = SkipBlanks(text, 0);
  if (i + 1 < text.size() && text[i] == '&') {
    char kind = text[i + 1];
    if (kind == 'H' || kind == 'h') return RadixInteger(text, i + 2, 16, end);
    if (kind == 'O' || kind == 'o') return RadixInteger(text, i + 2, 8, end);
  }
  // Gather the characters of the number without the blanks, then convert them.
  std::string clean;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') clean += '-';
    i = SkipBlanks(text, i + 1);
  }
  bool point = false;
  bool mantissaDigits = false;
  for (; i < text.size(); i = SkipBlanks(text, i + 1)) {
    char c = text[i];
    if (IsDigit(c)) {
      clean += c;
      mantissaDigits = true;
    } else if (c == '.' && !point) {
      clean += c;
      point = true;
    } else {
      break;
    }
  }
  if (!mantissaDigits) return 0;
  end = i;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    std::string exponent = "e";
    std::size_t j = SkipBlanks(text, i + 1);
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      exponent += text[j];
      j = SkipBlanks(text, j + 1);
    }
    bool exponentDigits = false;
    for (; j < text.size() && IsDigit(text[j]); j = SkipBlanks(text, j + 1)) {
      exponent += text[j];
      exponentDigits = true;
    }
    if (exponentDigits) {
      clean += exponent;
      end = j;
    }
  }
  double value = 0;
  auto [stop, error] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
  (void)stop;
  if (error == std::errc::result_out_of_range) {
    // Too large or too small for a double: the nearest a double can hold.
    bool negative = clean[0] == '-';
    bool tiny = clean.find("e-") != std::string::npos;
    if (tiny) return negative ? -0.0 : 0.0;
    double huge = std::numeric_limits<double>::max();
    return negative ? -huge : huge;
  }
  return value;
}

}  // namespace

double LeadingNumber(std::string_view text) {
  std::size_t end;
  return NumberAt(text, end);
}

std::optional<double> WholeNumber(std::string_view text) {
  std::size_t end;
  double value = NumberAt(text, end);
  if (end == 0 || end != text.size()) return std::nullopt;
  return value;
}

bool NamesNonFiniteNumber(std::string_view text) {
  std::size_t i = SkipBlanks(text, 0);
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) i = SkipBlanks(text, i + 1);
  std::string word;
  for (; i < text.size() && word.size() < 3; ++i) {
    word += static_cast<char>(text[i] | 0x20);  // lower case for letters
  }
  return word == "nan" || word == "inf";
}

double RoundHalfEven(double x) {
  return std::nearbyint(x);
}

std::optional<std::int32_t> LeadingInt32(std::string_view text) {
  double value = RoundHalfEven(LeadingNumber(text));
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

namespace {

std::string GeneralText(double x, int digits) {
  if (!std::isfinite(x)) {
    x = std::isnan(x)
            ? 0
            : (x > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max());
  }
  if (x == 0) return "0";  // also for -0
  // As printf's %.*G: the exponent form with a capital E.
  char buffer[48];
  auto end =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, digits).ptr;
  for (char* c = buffer; c != end; ++c) {
    if (*c == 'e') *c = 'E';
  }
  return std::string(buffer, end);
}

}  // namespace

std::string SingleText(float x) {
  return GeneralText(static_cast<double>(x), 7);
}

std::string DoubleText(double x) {
  return GeneralText(x, 15);
}

std::string IntegerText(std::int64_t n) {
  char buffer[24];
  auto end = std::to_chars(buffer, buffer + sizeof buffer, n).ptr;
  return std::string(buffer, end);
}

std::string GroupedText(std::int64_t n, const std::locale& locale) {
  std::ostringstream out;
  out.imbue(locale);
  out << n;
  return out.str();
}

std::locale UserLocale() {
  // Looked up once: the environment does not change while Tagloom runs.
  static const std::locale user = [] {
    try {
      return std::locale("");
    } catch (const std::runtime_error&) {
      return std::locale::classic();
    }
  }();
  return user;
}

}  // namespace tagloom
