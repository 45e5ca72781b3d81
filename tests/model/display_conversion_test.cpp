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

}  // namespace
}  // namespace tagloom
