// Date arithmetic on EXIF dates: shifting a photograph's date by an offset and
// measuring the offset between two dates, for fixing a camera's clock.
#pragma once

// Texts:
//   date    "yyyy:mm:dd hh:mm:ss"  (19 bytes, four-digit year, 24-hour time)
//   offset  "[+|-]D hh:mm:ss"      (D whole days, any number of digits)
// A date is a local time without a zone: no time zone or daylight-saving rule
// ever applies, so a day is always 86,400 seconds. The calendar is the
// Gregorian one, extended back to year 1.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tagloom {

bool IsLeapYear(int year);

// Days in a month (1 to 12) of a year.
int DaysInMonth(int year, int month);

struct DateTime {
  int year, month, day, hour, minute, second;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// A signed count of seconds between two dates, or to shift a date by.
using DateOffset = std::int64_t;

// The date of a text as the editor reads a typed date (ReadDateText).
std::optional<DateTime> ParseExifDate(std::string_view text);

// "2001:05:12 14:30:00".
std::string ExifDateText(const DateTime& date);

// The date `seconds` later (earlier when negative); nullopt when it falls
// outside years 1 to 9999, which the EXIF text cannot hold, or when `date` is
// not a real date.
std::optional<DateTime> Shifted(const DateTime& date, DateOffset seconds);

// to - from, for two real dates.
DateOffset SecondsBetween(const DateTime& from, const DateTime& to);

// An offset as typed: an optional sign, days, one or more blanks, then
// hh:mm:ss (two digits each, hours below 24), blanks around allowed. An
// offset longer than the whole calendar is refused too.
std::optional<DateOffset> ParseOffset(std::string_view text);

// The offset in the form ParseOffset reads, always signed: "+1 02:00:00",
// "-0 02:00:00", "+0 00:00:00".
std::string OffsetText(DateOffset seconds);

}  // namespace tagloom
