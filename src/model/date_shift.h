// Date arithmetic on photographs' dates (exif_date.h): shifting a date by an
// offset and measuring the offset between two dates, for fixing a camera's
// clock.
#pragma once

// An offset as text: "[+|-]D hh:mm:ss" (D whole days, any number of digits).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/exif_date.h"

namespace tagloom {

// A signed count of seconds between two dates, or to shift a date by.
using DateOffset = std::int64_t;

// The date `seconds` later (earlier when negative); nullopt when it falls
// outside years 1 to 9999, which the EXIF text cannot hold, or when `date` is
// not a real date.
std::optional<DateTime> Shifted(const DateTime& date, DateOffset seconds);

// The date `step` × `times` seconds later, without overflow for any numbers;
// nullopt as for Shifted.
std::optional<DateTime> Stepped(const DateTime& date, DateOffset step, std::int64_t times);

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
