#include "model/exif_date.h"

#include <cstdio>

namespace tagloom {
namespace {

// Reads from `minDigits` to `maxDigits` digits at `i` as a number; advances `i`.
bool Digits(std::string_view text, std::size_t& i, int minDigits, int maxDigits, int& value) {
  int count = 0;
  value = 0;
  while (i < text.size() && count < maxDigits && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i++] - '0');
    ++count;
  }
  return count >= minDigits;
}

std::string WithoutBlanks(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != ' ') out += c;
  }
  return out;
}

// year/month/day, year-month-day or year:month:day, one separator kind throughout.
bool ReadDay(std::string_view text, DateTime& d) {
  std::size_t i = 0;
  if (!Digits(text, i, 4, 4, d.year) || i >= text.size()) return false;
  const char separator = text[i];
  if (separator != '/' && separator != '-' && separator != ':') return false;
  ++i;
  if (!Digits(text, i, 1, 2, d.month) || i >= text.size() || text[i] != separator) return false;
  ++i;
  return Digits(text, i, 1, 2, d.day) && i == text.size();
}

// hours:minutes or hours:minutes:seconds.
bool ReadTime(std::string_view text, DateTime& d) {
  std::size_t i = 0;
  d.second = 0;
  if (!Digits(text, i, 1, 2, d.hour) || i >= text.size() || text[i] != ':') return false;
  ++i;
  if (!Digits(text, i, 1, 2, d.minute)) return false;
  if (i == text.size()) return true;
  if (text[i] != ':') return false;
  ++i;
  return Digits(text, i, 1, 2, d.second) && i == text.size();
}

std::string Printed(const char* format, const DateTime& d) {
  char out[80];
  std::snprintf(out, sizeof out, format, d.year, d.month, d.day, d.hour, d.minute, d.second);
  return out;
}

}  // namespace

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsRealDate(const DateTime& d) {
  return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
         d.day <= DaysInMonth(d.year, d.month) && d.hour >= 0 && d.hour <= 23 && d.minute >= 0 &&
         d.minute <= 59 && d.second >= 0 && d.second <= 59;
}

std::optional<DateTime> ReadDate(std::string_view text) {
  const std::size_t blank = text.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  DateTime d{};
  if (!ReadDay(WithoutBlanks(text.substr(0, blank)), d) ||
      !ReadTime(WithoutBlanks(text.substr(blank + 1)), d) || !IsRealDate(d)) {
    return std::nullopt;
  }
  return d;
}

std::string ExifDateText(const DateTime& date) {
  return Printed("%04d:%02d:%02d %02d:%02d:%02d", date);
}

std::string FieldDateText(const DateTime& date) {
  return Printed("%04d/%02d/%02d %02d:%02d:%02d", date);
}

}  // namespace tagloom
