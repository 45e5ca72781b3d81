// The texts the editor shows for numbers, fractions and the bytes of a text.
#include <gtest/gtest.h>

#include <limits>

#include "model/catalogue.h"
#include "model/display_conversion.h"
#include "model/number_text.h"
#include "model/value_text.h"

namespace tagloom {
namespace {

// Blanks and tabs are skipped, also inside a number; an exponent needs digits.
TEST(LeadingNumber, ReadsTheNumberAtTheStartOfAText) {
  constexpr double kMax = std::numeric_limits<double>::max();
  const std::pair<std::string, double> cases[] = {
      {"1/60", 1},        {"-7/10", -7},    {".5", 0.5},        {"1.2.3", 1.2}, {"35mm", 35},
      {"\t1 2 3", 123},   {"- 5", -5},      {"1.5e-3", 1.5e-3}, {"2D3", 2000},  {"2E+x", 2},
      {"&hffe1", 0xFFE1}, {"&H12G4", 0x12}, {"&O17", 15},       {"", 0},        {"/60", 0},
      {"-", 0},           {"1E999", kMax},  {"-1E999", -kMax},
  };
  for (const auto& [text, number] : cases) EXPECT_EQ(LeadingNumber(text), number) << text;
  EXPECT_EQ(LeadingNumber(std::string(400, '9')), kMax);
}

struct Shown {
  int row;
  const char* stored;
  const char* shown;
};

// Decimals at or above one, unit fractions below, sign and label for the bias; a
// zero denominator has no quotient, so the fraction shows as stored.
TEST(DisplayConversion, FractionsShowAsDecimalsUnitFractionsOrBiasLabels) {
  const Shown cases[] = {
      {row::kFNumber, "28/10", "2.8"},         {row::kFNumber, "4/1", "4.0"},
      {row::kExposureTime, "15/10", "1.5"},    {row::kFocalLength, "2000000000/1", "2E+09"},
      {row::kExposureTime, "1/60", "1/60"},    {row::kExposureTime, "10/1250", "1/125"},
      {row::kExposureTime, "3/10", "1/3"},     {row::kSubjectDistance, "0/1", "0/1"},
      {row::kExposureTime, "10/15", "1/2"},    {row::kExposureTime, "10/25", "1/3"},  // half up
      {row::kSubjectDistance, "-1/1", "-1/1"}, {row::kExposureBias, "0/10", "0"},
      {row::kExposureBias, "1/3", "+1/3"},     {row::kExposureBias, "-4/6", "-2/3"},
      {row::kExposureBias, "3/2", "+3/2"},     {row::kExposureBias, "6/3", "+2.0"},
      {row::kExposureBias, "-2/1", "-2.0"},    {row::kExposureBias, "7/10", "+7/10"},
      {row::kExposureBias, "3/-10", "-3/10"},  {row::kExposureTime, "1/0", "1/0"},
      {row::kFNumber, "0/0", "0/0"},           {row::kExposureBias, "-3/0", "-3/0"},
      {row::kFNumber, "10/3", "3.333333"},     {row::kFocalLength, "100/7", "14.28571"},
  };
  for (const Shown& c : cases) {
    EXPECT_EQ(FractionForDisplay(c.row, c.stored), c.shown) << c.row << " " << c.stored;
  }
}

// Texts read from photographs: UTF-8 as it is, GB2312 of older Chinese cameras
// and software decoded, any other byte shown as the Latin-1 character.
TEST(BytesToText, ShowsUtf8Gb2312OrLatin1) {
  const std::pair<std::string, std::string> cases[] = {
      {"Canon", "Canon"},
      {"\xC2\xA9 \xE5\xBC\xA0", "\xC2\xA9 \xE5\xBC\xA0"},          // UTF-8
      {"\xB0\xE6\xC8\xA8\xCB\xF9\xD3\xD0", "版权所有"},            // GB2312
      {"(C) \xB0\xE6\xC8\xA8 2021", "(C) 版权 2021"},              // mixed with ASCII
      {"(C)Hendrik W\xF6rdehoff", "(C)Hendrik W\xC3\xB6rdehoff"},  // Latin-1
      {"\xB0\xE6\xC8", "\xC2\xB0\xC3\xA6\xC3\x88"},                // half a pair
      {"\xFE\xFE", "\xC3\xBE\xC3\xBE"},                            // no such character
  };
  for (const auto& [bytes, shown] : cases) EXPECT_EQ(BytesToText(bytes), shown) << bytes;
}

}  // namespace
}  // namespace tagloom
