// Shifting EXIF dates, the offset between two dates, and offsets as typed.
#include "model/date_shift.h"

#include <gtest/gtest.h>

namespace tagloom {
namespace {

constexpr DateOffset kDay = 86400;

struct Shift {
  const char* from;
  DateOffset seconds;
  const char* to;  // nullptr: outside years 1 to 9999
};

// Each row that lands also runs back: SecondsBetween gives its offset again.
TEST(DateShift, ShiftsExactlyOverMonthYearAndCenturyEndsWithinFourDigitYears) {
  const Shift shifts[] = {
      {"2001:01:31 10:00:00", kDay, "2001:02:01 10:00:00"},
      {"2023:03:01 00:00:00", -1, "2023:02:28 23:59:59"},
      {"2024:03:01 00:00:00", -kDay, "2024:02:29 00:00:00"},
      {"2024:02:28 12:00:00", kDay, "2024:02:29 12:00:00"},
      {"2024:02:29 08:00:00", 365 * kDay, "2025:02:28 08:00:00"},
      {"1900:02:28 06:00:00", kDay, "1900:03:01 06:00:00"},  // a century: not a leap year
      {"2000:02:28 06:00:00", kDay, "2000:02:29 06:00:00"},  // divisible by 400: a leap year
      {"1999:12:31 23:59:59", 1, "2000:01:01 00:00:00"},
      {"2001:01:01 01:00:00", -(kDay + 7200), "2000:12:30 23:00:00"},
      {"1969:12:31 23:59:59", 1, "1970:01:01 00:00:00"},
      {"2010/6/15 14:30", 0, "2010:06:15 14:30:00"},
      {"0001:01:01 00:00:00", 3652058 * kDay + 86399, "9999:12:31 23:59:59"},
      {"1000:01:01 00:00:00", -1, "0999:12:31 23:59:59"},
      {"9999:12:31 23:59:59", 1, nullptr},
      {"0001:01:01 00:00:00", -1, nullptr},
      {"2000:01:01 00:00:00", INT64_MAX, nullptr},
      {"2000:01:01 00:00:00", INT64_MIN, nullptr},
  };
  for (const Shift& s : shifts) {
    SCOPED_TRACE(std::string(s.from) + " " + OffsetText(s.seconds));
    std::optional<DateTime> from = ReadDate(s.from);
    ASSERT_TRUE(from);
    std::optional<DateTime> to = Shifted(*from, s.seconds);
    if (!s.to) {
      EXPECT_FALSE(to) << ExifDateText(*to);
      continue;
    }
    ASSERT_TRUE(to);
    EXPECT_EQ(ExifDateText(*to), s.to);
    EXPECT_EQ(SecondsBetween(*from, *to), s.seconds);
  }
  EXPECT_FALSE(Shifted({2023, 2, 29, 0, 0, 0}, 0));  // no such day
}

TEST(DateShift, OffsetsReadAsSignedDaysAndATimeAndPrintBackSigned) {
  const std::tuple<const char*, DateOffset, const char*> offsets[] = {
      {"+1 02:00:00", kDay + 7200, "+1 02:00:00"},
      {"-0 02:00:00", -7200, "-0 02:00:00"},
      {"  0   00:00:30 ", 30, "+0 00:00:30"},
      {"3 00:00:00", 3 * kDay, "+3 00:00:00"},
      {"-0 00:00:00", 0, "+0 00:00:00"},
      {"-3652058 23:59:59", -(3652059 * kDay - 1), "-3652058 23:59:59"},
  };
  for (const auto& [typed, seconds, printed] : offsets) {
    EXPECT_EQ(ParseOffset(typed), seconds) << '"' << typed << '"';
    EXPECT_EQ(OffsetText(seconds), printed);
  }
  for (const char* typed :
       {"+1 24:00:00", "1:00", "+1 02:60:00", "+1 02:00:60", "", "abc", "+-1 02:00:00",
        "- 02:00:00", "+1 2:00:00", "+1 02:00:00 x", "3652059 00:00:00"}) {
    EXPECT_EQ(ParseOffset(typed), std::nullopt) << '"' << typed << '"';
  }
}

}  // namespace
}  // namespace tagloom
