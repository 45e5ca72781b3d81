#include "model/number_text.h"

#include <gtest/gtest.h>

namespace tagloom {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfATextAndStopsAtAnythingElse) {
  EXPECT_EQ(LeadingNumber("1/60"), 1);
  EXPECT_EQ(LeadingNumber("+2.0"), 2);
  EXPECT_EQ(LeadingNumber("-7/10"), -7);
  EXPECT_EQ(LeadingNumber("2.8"), 2.8);
  EXPECT_EQ(LeadingNumber(".5"), 0.5);
  EXPECT_EQ(LeadingNumber("1.2.3"), 1.2);  // one decimal point only
  EXPECT_EQ(LeadingNumber("35mm"), 35);
}

TEST(LeadingNumber, SkipsBlanksAndTabsBeforeAndInsideTheNumber) {
  EXPECT_EQ(LeadingNumber("   42"), 42);
  EXPECT_EQ(LeadingNumber("\t1 2 3"), 123);
  EXPECT_EQ(LeadingNumber("- 5"), -5);
  EXPECT_EQ(LeadingNumber("1 . 5"), 1.5);
}

TEST(LeadingNumber, ReadsExponentsWithEOrD) {
  EXPECT_EQ(LeadingNumber("1E+08"), 1e8);
  EXPECT_EQ(LeadingNumber("1.5e-3"), 1.5e-3);
  EXPECT_EQ(LeadingNumber("2D3"), 2000);
  EXPECT_EQ(LeadingNumber("2E"), 2);    // an exponent without digits is no exponent
  EXPECT_EQ(LeadingNumber("2E+x"), 2);
}

TEST(LeadingNumber, ReadsHexadecimalAndOctalIntegers) {
  EXPECT_EQ(LeadingNumber("&HFF"), 255);
  EXPECT_EQ(LeadingNumber("&hffe1"), 0xFFE1);
  EXPECT_EQ(LeadingNumber("&H12G4"), 0x12);
  EXPECT_EQ(LeadingNumber("&O17"), 15);
  EXPECT_EQ(LeadingNumber("&HZZ"), 0);
}

TEST(LeadingNumber, TextsWithoutANumberGiveZero) {
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber("/60"), 0);
  EXPECT_EQ(LeadingNumber("-"), 0);
  EXPECT_EQ(LeadingNumber("."), 0);
}

TEST(LeadingNumber, NumbersBeyondADoubleStayFinite) {
  EXPECT_EQ(LeadingNumber("1E999"), std::numeric_limits<double>::max());
  EXPECT_EQ(LeadingNumber("-1E999"), -std::numeric_limits<double>::max());
  EXPECT_EQ(LeadingNumber("1E-999"), 0);
  EXPECT_EQ(LeadingNumber(std::string(400, '9')), std::numeric_limits<double>::max());
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.6), 3);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
}

TEST(LeadingInt32, RefusesNumbersOutsideThe32BitRange) {
  EXPECT_EQ(LeadingInt32("2147483647"), 2147483647);
  EXPECT_EQ(LeadingInt32("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(LeadingInt32("2147483648"), std::nullopt);
  EXPECT_EQ(LeadingInt32("2147483647.5"), std::nullopt);  // rounds to 2^31
  EXPECT_EQ(LeadingInt32("3.5"), 4);
}

TEST(DecimalText, ShowsSinglePrecisionToSevenDigitsWithoutTrailingZeros) {
  EXPECT_EQ(SingleText(2.8f), "2.8");
  EXPECT_EQ(SingleText(0.5f), "0.5");
  EXPECT_EQ(SingleText(-0.25f), "-0.25");
  EXPECT_EQ(SingleText(4.0f), "4");
  EXPECT_EQ(SingleText(28.0f * 10.0f), "280");
  EXPECT_EQ(SingleText(1.0f / 3.0f), "0.3333333");
  EXPECT_EQ(SingleText(1234567.0f), "1234567");
  EXPECT_EQ(SingleText(0.0f), "0");
  EXPECT_EQ(SingleText(-0.0f), "0");
}

TEST(DecimalText, DoublePrecisionKeepsFifteenDigits) {
  EXPECT_EQ(DoubleText(1.5), "1.5");
  EXPECT_EQ(DoubleText(100), "100");
  EXPECT_EQ(DoubleText(0.1 + 0.2), "0.3");
  EXPECT_EQ(DoubleText(123456789012345.0), "123456789012345");
}

TEST(DecimalText, LargeAndSmallNumbersTakeAnExponentThatReadsBack) {
  EXPECT_EQ(SingleText(1e8f), "1E+08");
  EXPECT_EQ(DoubleText(1e20), "1E+20");
  EXPECT_EQ(DoubleText(1.5e-7), "1.5E-07");
  for (double x : {1e8, 1.25e-9, -3.5e30, 123456789e12}) {
    EXPECT_EQ(LeadingNumber(DoubleText(x)), x) << DoubleText(x);
    // Seven digits are what single precision shows, not every bit of it.
    EXPECT_NEAR(LeadingNumber(SingleText(static_cast<float>(x))) / x, 1.0, 1e-6);
  }
}

TEST(GroupedText, GroupsDigitsAsTheLocaleSays) {
  struct Thousands : std::numpunct<char> {
    char do_thousands_sep() const override { return ','; }
    std::string do_grouping() const override { return "\3"; }
  };
  std::locale grouped(std::locale::classic(), new Thousands);
  EXPECT_EQ(GroupedText(1234, grouped), "1,234");
  EXPECT_EQ(GroupedText(1234567, grouped), "1,234,567");
  EXPECT_EQ(GroupedText(12, grouped), "12");
  EXPECT_EQ(GroupedText(1234, std::locale::classic()), "1234");
}

}  // namespace
}  // namespace tagloom
