// Dates as photographs carry them: a calendar date and a time of day, with
// no time zone. The one date type, the one parser and the two printers of
// Tagloom; no time zone or daylight-saving rule ever applies, so a day is
// always 86,400 seconds, and the calendar is the Gregorian one extended back
// to year 1.
//
//   EXIF text   "2001:05:12 14:30:00"   (19 bytes, four-digit year)
//   field text  "2001/05/12 14:30:00"   (as the date field shows a date)
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tagloom {

struct DateTime {
  int year, month, day, hour, minute, second;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

bool IsLeapYear(int year);

// Days in a month (1 to 12) of a year.
int DaysInMonth(int year, int month);

// Whether every part is in its range, the year within 1 to 9999.
bool IsRealDate(const DateTime& date);

// Reads a date as a person types one or a photograph stores one: year/month/
// day, year-month-day or year:month:day (a four-digit year, one separator
// kind throughout), then a blank and a 24-hour time of hours and minutes,
// seconds optional; blanks inside either part are ignored. Anything else,
// or a date or time that does not exist (30 February, 0000:00:00, 24:00),
// cannot be read.
std::optional<DateTime> ReadDate(std::string_view text);

// The date as EXIF stores it, the year always in four digits ("0999:12:31 ...").
std::string ExifDateText(const DateTime& date);

// The date as the date field shows it.
std::string FieldDateText(const DateTime& date);

}  // namespace tagloom
