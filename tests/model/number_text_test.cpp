#include "model/number_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace tagloom {
namespace {

// Blanks and tabs are skipped, also inside a number; an exponent needs digits.
TEST(LeadingNumber, ReadsTheNumberAtTheStartOfAText) {
  constexpr double kMax = std::numeric_limits<double>::max();
  const std::pair<std::string, double> cases[] = {
      {"1/60", 1},  {"-7/10", -7},    {"+2.0", 2},        {".5", 0.5},        {"1.2.3", 1.2},
      {"35mm", 35}, {"\t1 2 3", 123}, {"- 5", -5},        {"1.5e-3", 1.5e-3}, {"2D3", 2000},
      {"2E+x", 2},  {"&HFF", 255},    {"&hffe1", 0xFFE1}, {"&H12G4", 0x12},   {"&O17", 15},
      {"&HZZ", 0},  {"", 0},          {"abc", 0},         {"/60", 0},         {"-", 0},
      {".", 0},     {"1E999", kMax},  {"-1E999", -kMax},  {"1E-999", 0},
  };
  for (const auto& [text, number] : cases) EXPECT_EQ(LeadingNumber(text), number) << text;
  EXPECT_EQ(LeadingNumber(std::string(400, '9')), kMax);
}

TEST(DecimalText, ShowsSevenOrFifteenDigitsWithoutTrailingZeros) {
  const std::pair<float, const char*> singles[] = {
      {2.8f, "2.8"},           {-0.25f, "-0.25"}, {4.0f, "4"},
      {1234567.0f, "1234567"}, {-0.0f, "0"},      {1e8f, "1E+08"},
  };
  for (const auto& [x, text] : singles) EXPECT_EQ(SingleText(x), text);
  EXPECT_EQ(SingleText(1.0f / 3.0f), "0.3333333");
  const std::pair<double, const char*> doubles[] = {
      {0.1 + 0.2, "0.3"}, {123456789012345.0, "123456789012345"}, {1.5e-7, "1.5E-07"}};
  for (const auto& [x, text] : doubles) EXPECT_EQ(DoubleText(x), text);
  for (double x : {1e20, 1.25e-9, -3.5e30}) EXPECT_EQ(LeadingNumber(DoubleText(x)), x);
}

}  // namespace
}  // namespace tagloom
