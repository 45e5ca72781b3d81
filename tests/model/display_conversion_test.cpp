#include "model/display_conversion.h"

#include <gtest/gtest.h>

#include "model/catalogue.h"

namespace tagloom {
namespace {

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
  };
  for (const Shown& c : cases) {
    EXPECT_EQ(FractionForDisplay(c.row, c.stored), c.shown) << c.row << " " << c.stored;
  }
}

TEST(DisplayConversion, OtherValuesShowMostlyAsStored) {
  EXPECT_TRUE(IsStoredFraction("-1/3", 10));
  EXPECT_FALSE(IsStoredFraction("2001/05/12 14:30:00", 2));
  EXPECT_EQ(DateForDisplay("2001:05:12 14:30:00"), "2001/05/12 14:30:00");
  const Shown cases[] = {
      {row::kUserComment, "(Edit by Tagloom)Hello", "Hello"},
      {row::kUserComment, "Hello (Edit by Tagloom)", "Hello (Edit by Tagloom)"},
      {row::kMakerNote, "Hex:0A1B", "0A1B"},
      {row::kMake, "Hex:0A1B", "Hex:0A1B"},
  };
  for (const Shown& c : cases) EXPECT_EQ(TextForDisplay(c.row, c.stored), c.shown) << c.stored;
  // Pickers select the rounded number, or nothing when they have no such item.
  EXPECT_EQ(PickerItemFor("2.5", 9), 2);
  EXPECT_EQ(PickerItemFor("", 9), 0);
  EXPECT_EQ(PickerItemFor("9", 9), -1);
  EXPECT_EQ(PickerItemFor("-1", 7), -1);
}

}  // namespace
}  // namespace tagloom
