#include "model/date_shift.h"

#include <cstdio>

#include "model/value_text.h"

namespace tagloom {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01. The year is counted from 1 March, so that the leap
// day is its last day, in eras of 400 years, each exactly 146,097 days long.
constexpr std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// The inverse of DaysFromCivil, for dates in years 1 to 9999.
DateTime CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
  DateTime date{};
  date.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
  date.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  date.year = static_cast<int>(era * 400 + yearOfEra + (date.month <= 2 ? 1 : 0));
  return date;
}

constexpr std::int64_t SecondsOf(const DateTime& d) {
  return DaysFromCivil(d.year, d.month, d.day) * kSecondsPerDay + d.hour * 3600 + d.minute * 60 +
         d.second;
}

DateTime FromSeconds(std::int64_t seconds) {
  std::int64_t days = seconds / kSecondsPerDay;
  std::int64_t inDay = seconds % kSecondsPerDay;
  if (inDay < 0) {  // before 1970: round the day down, not towards zero
    inDay += kSecondsPerDay;
    --days;
  }
  DateTime date = CivilFromDays(days);
  date.hour = static_cast<int>(inDay / 3600);
  date.minute = static_cast<int>(inDay / 60 % 60);
  date.second = static_cast<int>(inDay % 60);
  return date;
}

// The first and last dates a four-digit year can hold.
constexpr std::int64_t kFirst = SecondsOf({1, 1, 1, 0, 0, 0});
constexpr std::int64_t kLast = SecondsOf({9999, 12, 31, 23, 59, 59});

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The two digits at `at`.
std::optional<int> TwoDigits(std::string_view text, std::size_t at) {
  if (!IsDigit(text[at]) || !IsDigit(text[at + 1])) return std::nullopt;
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

}  // namespace

std::optional<DateTime> Shifted(const DateTime& date, DateOffset seconds) {
  if (!IsRealDate(date)) return std::nullopt;
  const std::int64_t from = SecondsOf(date);
  // Compared as distances, so that no offset, however large, overflows.
  if (seconds < kFirst - from || seconds > kLast - from) return std::nullopt;
  return FromSeconds(from + seconds);
}

std::optional<DateTime> Stepped(const DateTime& date, DateOffset step, std::int64_t times) {
  // A product beyond the whole calendar shifts nothing anywhere.
  if (times == 0 || step == 0) return Shifted(date, 0);
  const std::uint64_t magnitude =
      step < 0 ? 0 - static_cast<std::uint64_t>(step) : static_cast<std::uint64_t>(step);
  const std::uint64_t count =
      times < 0 ? 0 - static_cast<std::uint64_t>(times) : static_cast<std::uint64_t>(times);
  const auto span = static_cast<std::uint64_t>(kLast - kFirst);
  if (magnitude > span || count > span / magnitude) return std::nullopt;
  const auto product = static_cast<DateOffset>(magnitude * count);
  return Shifted(date, (step < 0) != (times < 0) ? -product : product);
}

DateOffset SecondsBetween(const DateTime& from, const DateTime& to) {
  return SecondsOf(to) - SecondsOf(from);
}

std::optional<DateOffset> ParseOffset(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::int64_t days = 0;
  std::size_t i = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    days = days * 10 + (text[i] - '0');
    if (days * kSecondsPerDay > kLast - kFirst) return std::nullopt;  // shifts nothing anywhere
  }
  if (i == 0 || i == text.size() || text[i] != ' ') return std::nullopt;
  std::string_view time = TrimBlanks(text.substr(i));
  if (time.size() != 8 || time[2] != ':' || time[5] != ':') return std::nullopt;
  std::optional<int> hours = TwoDigits(time, 0), minutes = TwoDigits(time, 3),
                     seconds = TwoDigits(time, 6);
  if (!hours || !minutes || !seconds || *hours > 23 || *minutes > 59 || *seconds > 59) {
    return std::nullopt;
  }
  const DateOffset magnitude = days * kSecondsPerDay + *hours * 3600 + *minutes * 60 + *seconds;
  return negative ? -magnitude : magnitude;
}

std::string OffsetText(DateOffset seconds) {
  // Unsigned, so that even the most negative offset has a magnitude.
  const std::uint64_t magnitude =
      seconds < 0 ? 0 - static_cast<std::uint64_t>(seconds) : static_cast<std::uint64_t>(seconds);
  const std::uint64_t inDay = magnitude % kSecondsPerDay;
  char out[48];
  std::snprintf(out, sizeof out, "%c%llu %02llu:%02llu:%02llu", seconds < 0 ? '-' : '+',
                static_cast<unsigned long long>(magnitude / kSecondsPerDay),
                static_cast<unsigned long long>(inDay / 3600),
                static_cast<unsigned long long>(inDay / 60 % 60),
                static_cast<unsigned long long>(inDay % 60));
  return out;
}

}  // namespace tagloom
