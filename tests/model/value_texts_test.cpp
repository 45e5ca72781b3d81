// The texts shown for the values read, and the values written back from the
// texts of the fields.
#include <gtest/gtest.h>

#include <algorithm>

#include "model/display_conversion.h"
#include "model/edit_back.h"
#include "model/hex_text.h"
#include "model/value_text.h"

namespace tagloom {
namespace {

// Field indexes by name, so that the tables read.
constexpr int kMake = 0, kShutter = 5, kAperture = 6, kIso = 8, kBias = 9, kDistance = 10,
              kMetering = 14, kFocal = 15;

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
      {"2001:02:28 10:00:00", "2001:02:28 10:00:00"}};     // the EXIF form itself
  for (const auto& [text, date] : dates) EXPECT_EQ(ConvDate(text), date) << text;
  for (const char* text : {"2001/05/12", "1900/02/29 12:00", "2001/04/31 12:00", "2001/05/12 24:00",
                           "2001/5-12 9:05", "2001/05/12 9:05 PM"}) {
    EXPECT_EQ(ConvDate(text), kDefaultDate) << '"' << text << '"';
  }
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

TEST(RestoreValue, NumbersThatDoNotFitAreRefusedAndNothingIsWritten) {
  const std::pair<int, const char*> cases[] = {
      {kIso, "65536"},
      {kIso, "65535.5"},
      {kIso, "-1"},
      {kMetering, "-0.6"},
      {kShutter, "1/214748365"},
      {kShutter, "30000000"},
      {kAperture, "300000000"},
      {kDistance, "30000000"},
      {kFocal, "1/3000000000"},
      {kBias, "2147483648/1"},
      {kBias, "-2147483649/3"},
      {kBias, "300000000"},
      // An unsigned field takes no negative number, and no field a number that is not finite.
      {kShutter, "-1"},
      {kAperture, "-0.5"},
      {kFocal, "-35"},
      {kDistance, "1/-2"},
      {kAperture, "NaN"},
      {kShutter, " -inf"},
      {kIso, "Infinity"},
      {kBias, "nan/3"},
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

namespace tagloom {
namespace {

// A field nobody edited keeps the value read, not one rebuilt from its shown
// text (FNumber 288/100 is shown 2.88 and would be written 29/10); edited,
// it is built from what was typed.
TEST(RestoreValue, UneditedFieldsKeepTheExactValueRead) {
  constexpr int kSoftware = 2;
  const std::tuple<int, int, const char*, const char*, const char*> cases[] = {
      // field, type read, value read, its text, written unedited
      {kAperture, 5, "288/100", "2.88", "288/100"},
      {kShutter, 10, "-1/3", "1/3", "-1/3"},
      {kShutter, 5, "1/0", "1/0", "1/0"},
      {kSoftware, 2, "Ver 1.0  ", "Ver 1.0  ", "Ver 1.0  "},
      {kAperture, 3, "28", "28", "280/10"},  // not a fraction: built from its text
  };
  for (const auto& [field, type, value, shown, written] : cases) {
    SCOPED_TRACE(value);
    const int r = FieldRow(field);
    RecordStore store;
    store.Reset();
    store.lstPosition.Set(r, "42");
    store.lstType.Set(r, std::to_string(type));
    store.lstValue.Set(r, value);
    std::array<bool, kFieldCount> unedited{};
    unedited[static_cast<std::size_t>(field)] = true;
    DirectoryCounts counts;
    RecordStore kept = store;
    ASSERT_FALSE(RestoreValue(With({{field, shown}}), kept, counts, unedited));
    EXPECT_EQ(kept.lstValue.Row(r), written);
    ASSERT_FALSE(RestoreValue(With({{field, "4"}}), store, counts));
    EXPECT_NE(store.lstValue.Row(r), value) << "an edited field is built from its text";
  }
}

// A maker note typed as "Hex:" and digits is those bytes, counted as bytes;
// digits that are not whole bytes are refused.
TEST(RestoreValue, AMakerNoteTypedInHexIsWholeBytesOrRefused) {
  constexpr int kMakerNote = 12;
  Restored ok = Restore(With({{kMakerNote, "Hex:0A1B2C"}}));
  ASSERT_FALSE(ok.refused);
  EXPECT_EQ(ok.store.lstCount.Row(row::kMakerNote), "3");
  EXPECT_EQ(ok.store.lstValue.Row(row::kMakerNote), "Hex:0A1B2C");
  for (const char* bad : {"Hex:0A1", "Hex:ZZ", "Hex:0A 1B"}) {
    const Restored refused = Restore(With({{kMakerNote, bad}}));
    ASSERT_TRUE(refused.refused) << bad;
    EXPECT_EQ(refused.refused->why, RefusedField::Why::kBadHex) << bad;
  }
}

// Every byte comes back from its digits, either case, at every place of a block and after it.
TEST(HexText, EveryByteComesBackFromItsDigits) {
  std::string bytes;
  for (int i = 0; i < 256 + 21; ++i) bytes += static_cast<char>(i * 37 % 256);
  std::string lower = HexDigits(bytes, "");
  std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
  for (const std::string& digits : {HexDigits(bytes, ""), lower}) {
    for (std::size_t from = 0; from < 20; ++from) {
      std::string back(bytes.size() - from, '\0');
      BytesOfHexPairs(std::string_view(digits).substr(2 * from), back.data());
      EXPECT_EQ(HexDigits(back, ""), HexDigits(bytes.substr(from), ""))
          << "digits " << digits.substr(0, 8) << "... from byte " << from;
    }
  }
}

}  // namespace
}  // namespace tagloom
