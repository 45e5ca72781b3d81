#include "model/edit_back.h"

#include <gtest/gtest.h>

#include "model/display_conversion.h"
#include "model/number_text.h"

namespace tagloom {
namespace {

// Field indexes by name, so that the tables read.
constexpr int kMake = 0, kModel = 1, kCopyright = 3, kDate = 4, kShutter = 5, kAperture = 6,
              kIso = 8, kBias = 9, kDistance = 10, kMakerNote = 12, kComment = 13, kMetering = 14,
              kFocal = 15;

using Fields = std::array<std::string, kFieldCount>;
Fields With(std::initializer_list<std::pair<int, std::string>> texts) {
  Fields fields{};
  for (const auto& [field, text] : texts) fields[static_cast<std::size_t>(field)] = text;
  return fields;
}

struct Restored {
  RecordStore store;
  DirectoryCounts counts;
  std::optional<RefusedField> refused;
};
Restored Restore(const Fields& fields) {
  Restored r;
  r.store.Reset();
  r.refused = RestoreValue(fields, r.store, r.counts);
  return r;
}

std::string Joined(const TextList& list) {
  std::string rows;
  for (int i = 0; i < list.Count(); ++i) rows += (i ? " " : "") + list.Row(i);
  return rows;
}

TEST(ConvDate, ReadsBothSeparatorsAndA24HourTimeOrGivesTheDefaultDate) {
  const std::pair<const char*, const char*> dates[] = {
      {"2001/5/12 9:05:00", "2001:05:12 09:05:00"},
      {"2001-05-12 14:30", "2001:05:12 14:30:00"},
      {"2001/05/12  9 : 05 : 07", "2001:05:12 09:05:07"},  // blanks inside the time
      {"2000/02/29 12:00", "2000:02:29 12:00:00"},         // divisible by 400: a leap year
      {"0999/01/01 00:00", "999:01:01 00:00:00"},          // the year without leading zeros
      {"2001:02:28 10:00:00", "2001:02:28 10:00:00"},      // the EXIF form itself
  };
  for (const auto& [text, date] : dates) EXPECT_EQ(ConvDate(text), date) << text;
  for (const char* text :
       {"2001/05/12", "", "2001/02/29 12:00", "1900/02/29 12:00", "2001/04/31 12:00",
        "2001/13/01 12:00", "2001/05/12 24:00", "2001/05/12 9:05:", "2001/5-12 9:05",
        "01/05/12 9:05", " 2001/05/12 9:05", "2001/05/12 9:05 PM"}) {
    EXPECT_EQ(ConvDate(text), kDefaultDate) << '"' << text << '"';
  }
}

// Exposure time: both numbers times ten, the denominator rounded halves to even.
// The other fractions: by the leading number, or a fraction of whole numbers as it
// stands. Texts: the count is in bytes and holds the NUL. Maker note: hexadecimal
// digits become bytes, any other text follows a character code. User comment:
// behind the marker, except the "Hex:" form of raw bytes.
TEST(RestoreValue, WritesEachFieldInItsRowsForm) {
  auto check = [](int field, const std::string& text, const std::string& value,
                  const std::string& count) {
    Restored r = Restore(With({{field, text}}));
    const int row = FieldRow(field);
    ASSERT_FALSE(r.refused) << text;
    EXPECT_EQ(r.store.lstPosition.Row(row) + " " + r.store.lstValue.Row(row) + " " +
                  r.store.lstCount.Row(row),
              "1 " + value + " " + count);
  };
  const std::tuple<int, const char*, const char*> numbers[] = {
      {kShutter, "1/60", "10/600"},    {kShutter, "0.5", "50/100"},
      {kShutter, "1/3.25", "10/32"},   {kShutter, "fast", "0/100"},
      {kAperture, "  2.8  ", "28/10"}, {kAperture, "1/2", "1/2"},
      {kAperture, "1.4/2", "14/20"},   {kDistance, "20000000", "2E+09/100"},
      {kBias, "+1/3", "+1/3"},         {kBias, "-1", "-10/10"},
      {kIso, "65534.5", "65534.5"},    {kMetering, "spot", "0"},
  };
  for (const auto& [field, text, value] : numbers) check(field, text, value, "1");
  const std::tuple<int, const char*, const char*, const char*> texts[] = {
      {kModel, "  EOS 40D  ", "EOS 40D", "8"},
      {kCopyright, "\xC2\xA9 Me", "\xC2\xA9 Me", "6"},
      {kDate, "yesterday", "1999:01:01 01:01:01", "20"},
      {kMakerNote, "0A1B2C3", "Hex:0A1B2C3", "3.5"},
      {kMakerNote, "0A 1B", "0A 1B", "13"},
      {kComment, "   ", "(Edit by Tagloom)", "25"},
      {kComment, "\xC3\xA9", "(Edit by Tagloom)\xC3\xA9", "27"},
      {kComment, "Hex:0a1b", "Hex:0a1b", "2"},
      {kComment, "Hex:0A1", "(Edit by Tagloom)Hex:0A1", "32"},
  };
  for (const auto& [field, text, value, count] : texts) check(field, text, value, count);
  Restored r = Restore(With({{kDate, "2001/5/12 9:05:00"}}));  // fills all three dates
  EXPECT_EQ(r.store.lstValue.Row(row::kDateTimeDigitized), "2001:05:12 09:05:00");
}

// A displayed fraction written back unedited keeps the value shown.
TEST(RestoreValue, AnUneditedDisplayedFractionKeepsItsValue) {
  const std::pair<int, const char*> stored[] = {
      {row::kExposureTime, "10/1250"}, {row::kExposureTime, "15/10"},   {row::kFNumber, "4/1"},
      {row::kFNumber, "1/2"},          {row::kSubjectDistance, "-1/1"}, {row::kFocalLength, "1/4"},
      {row::kExposureBias, "-2/3"},    {row::kExposureBias, "6/3"},
  };
  std::array<bool, kFieldCount> unedited;
  unedited.fill(true);
  for (const auto& [row, value] : stored) {
    const std::string shown = FractionForDisplay(row, value);
    Restored r;
    r.store.Reset();
    ASSERT_FALSE(RestoreValue(With({{row - 2, shown}}), r.store, r.counts, unedited)) << value;
    EXPECT_EQ(FractionForDisplay(row, r.store.lstValue.Row(row)), shown) << value;
  }
}

TEST(RestoreValue, NumbersThatDoNotFitAreRefusedAndNothingIsWritten) {
  const std::pair<int, const char*> cases[] = {
      {kIso, "65536"},          {kIso, "65535.5"},         {kIso, "-1"},
      {kMetering, "-0.6"},      {kShutter, "1/214748365"}, {kShutter, "30000000"},
      {kAperture, "300000000"}, {kDistance, "30000000"},   {kFocal, "1/3000000000"},
      {kBias, "2147483648/1"},  {kBias, "-2147483649/3"},  {kBias, "300000000"},
      // An unsigned field takes no negative number, and no field a number that is not finite.
      {kShutter, "-1"},         {kAperture, "-0.5"},       {kFocal, "-35"},
      {kDistance, "1/-2"},      {kAperture, "NaN"},        {kShutter, " -inf"},
      {kIso, "Infinity"},       {kBias, "nan/3"},
  };
  for (const auto& [field, text] : cases) {
    Restored r = Restore(With({{kMake, "Nikon"}, {field, text}}));
    ASSERT_TRUE(r.refused) << text;
    EXPECT_EQ(r.refused->field, field) << text;
    EXPECT_EQ(Joined(r.store.lstPosition).find('1'), std::string::npos) << text;
    EXPECT_EQ(r.store.lstValue.Row(row::kMake), "") << text;
    EXPECT_EQ(r.counts.Ifd0EntryCount + r.counts.ExifIfdEntryCount, 0) << text;
  }
  // The first field that does not fit is the one named.
  EXPECT_EQ(Restore(With({{kFocal, "1/3000000000"}, {kIso, "70000"}})).refused->field, kIso);
}

TEST(RestoreValue, OrientationReadIsKeptWhenItIsOneOfTheEight) {
  // The row's position (found when above 0), the value read and the value written.
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"42", "6", "6"},   {"42", "8", "8"}, {"42", "9", "1"}, {"42", "0", "1"},
      {"42", "3.5", "1"}, {"42", "", "1"},  {"0", "6", "1"},
  };
  for (const auto& [position, value, written] : cases) {
    RecordStore store;
    store.Reset();
    store.lstPosition.Set(row::kOrientation, position);
    store.lstValue.Set(row::kOrientation, value);
    DirectoryCounts counts;
    for (int time = 0; time < 2; ++time) {  // and again on the rows written
      ASSERT_FALSE(RestoreValue(With({{kMake, "Canon"}}), store, counts));
      EXPECT_EQ(store.lstValue.Row(row::kOrientation), written) << value;
    }
  }
}

}  // namespace
}  // namespace tagloom
