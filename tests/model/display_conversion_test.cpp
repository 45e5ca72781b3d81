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

TEST(DisplayConversion, FractionsAtOrAboveOneShowAsDecimalsWithAPointForWholeNumbers) {
  for (const Shown& c : std::initializer_list<Shown>{
           {row::kFNumber, "28/10", "2.8"},
           {row::kFNumber, "56/10", "5.6"},
           {row::kFNumber, "4/1", "4.0"},
           {row::kFNumber, "70/10", "7.0"},
           {row::kExposureTime, "2/1", "2.0"},
           {row::kExposureTime, "15/10", "1.5"},
           {row::kSubjectDistance, "150/100", "1.5"},
           {row::kFocalLength, "58/10", "5.8"},
           {row::kFocalLength, "24/1", "24.0"},
       }) {
    EXPECT_EQ(FractionForDisplay(c.row, c.stored), c.shown) << c.stored;
  }
}

TEST(DisplayConversion, FractionsBelowOneBecomeUnitFractionsUnlessTheNumeratorIsAtMostOne) {
  for (const Shown& c : std::initializer_list<Shown>{
           {row::kExposureTime, "1/60", "1/60"},
           {row::kExposureTime, "10/600", "1/60"},
           {row::kExposureTime, "10/1250", "1/125"},
           {row::kExposureTime, "3/10", "1/3"},
           {row::kSubjectDistance, "50/100", "1/2"},
           {row::kSubjectDistance, "0/1", "0/1"},
           {row::kSubjectDistance, "-1/1", "-1/1"},
       }) {
    EXPECT_EQ(FractionForDisplay(c.row, c.stored), c.shown) << c.stored;
  }
}

TEST(DisplayConversion, ExposureBiasShowsASignAndALabel) {
  for (const Shown& c : std::initializer_list<Shown>{
           {row::kExposureBias, "0/1", "0"},
           {row::kExposureBias, "0/10", "0"},
           {row::kExposureBias, "1/3", "+1/3"},
           {row::kExposureBias, "-2/3", "-2/3"},
           {row::kExposureBias, "-4/6", "-2/3"},
           {row::kExposureBias, "4/6", "+2/3"},
           {row::kExposureBias, "3/2", "+3/2"},
           {row::kExposureBias, "6/3", "+2.0"},
           {row::kExposureBias, "-2/1", "-2.0"},
           {row::kExposureBias, "7/10", "+7/10"},
           {row::kExposureBias, "-7/10", "-7/10"},
           {row::kExposureBias, "-3/10", "-3/10"},
           {row::kExposureBias, "3/-10", "-3/10"},
       }) {
    EXPECT_EQ(FractionForDisplay(c.row, c.stored), c.shown) << c.stored;
  }
}

TEST(DisplayConversion, AZeroDenominatorShowsTheStoredFractionAsItStands) {
  EXPECT_EQ(FractionForDisplay(row::kExposureTime, "1/0"), "1/0");
  EXPECT_EQ(FractionForDisplay(row::kFNumber, "0/0"), "0/0");
  EXPECT_EQ(FractionForDisplay(row::kExposureBias, "-3/0"), "-3/0");
}

TEST(DisplayConversion, HugeQuotientsUseAnExponentWithoutTheWholeNumberPoint) {
  EXPECT_EQ(FractionForDisplay(row::kFocalLength, "2000000000/1"), "2E+09");
}

TEST(DisplayConversion, OnlyRationalTypesHoldingASlashUseTheFractionRule) {
  EXPECT_TRUE(IsStoredFraction("1/60", 5));
  EXPECT_TRUE(IsStoredFraction("-1/3", 10));
  EXPECT_FALSE(IsStoredFraction("2001/05/12 14:30:00", 2));
  EXPECT_FALSE(IsStoredFraction("100", 5));
}

TEST(DisplayConversion, TheDateFieldShowsTheFirstTwoColonsAsSlashes) {
  EXPECT_EQ(DateForDisplay("2001:05:12 14:30:00"), "2001/05/12 14:30:00");
  EXPECT_EQ(DateForDisplay("2001:05"), "2001/05");
  EXPECT_EQ(DateForDisplay(""), "");
}

TEST(DisplayConversion, CommentMarkerAndMakerNoteHexPrefixAreRemovedOnlyAtTheStart) {
  EXPECT_EQ(TextForDisplay(row::kUserComment, "(Edit by Tagloom)Hello"), "Hello");
  EXPECT_EQ(TextForDisplay(row::kUserComment, "(Edit by Tagloom)"), "");
  EXPECT_EQ(TextForDisplay(row::kUserComment, "Hello (Edit by Tagloom)"),
            "Hello (Edit by Tagloom)");
  EXPECT_EQ(TextForDisplay(row::kUserComment, "Hex:554E49"), "Hex:554E49");
  EXPECT_EQ(TextForDisplay(row::kMakerNote, "Hex:0A1B"), "0A1B");
  EXPECT_EQ(TextForDisplay(row::kMakerNote, "Nikon"), "Nikon");
  EXPECT_EQ(TextForDisplay(row::kMake, "Hex:0A1B"), "Hex:0A1B");
}

TEST(DisplayConversion, PickersSelectTheRoundedNumberOrNothingWithoutSuchAnItem) {
  EXPECT_EQ(PickerItemFor("2", 9), 2);
  EXPECT_EQ(PickerItemFor("", 9), 0);
  EXPECT_EQ(PickerItemFor("2.5", 9), 2);
  EXPECT_EQ(PickerItemFor("8", 9), 8);
  EXPECT_EQ(PickerItemFor("9", 9), -1);
  EXPECT_EQ(PickerItemFor("255", 7), -1);
  EXPECT_EQ(PickerItemFor("-1", 7), -1);
  EXPECT_EQ(PickerItemFor("25", 2), -1);
}

}  // namespace
}  // namespace tagloom
