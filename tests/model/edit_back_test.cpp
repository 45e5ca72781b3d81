#include "model/edit_back.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "model/display_conversion.h"
#include "model/number_text.h"

namespace tagloom {
namespace {

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

std::vector<std::string> Rows(const TextList& list) {
  std::vector<std::string> rows;
  for (int i = 0; i < list.Count(); ++i) rows.push_back(list.Row(i));
  return rows;
}

// Field indexes by name, so that the tables read.
constexpr int kMake = 0, kModel = 1, kCopyright = 3, kDate = 4, kShutter = 5, kAperture = 6,
              kProgram = 7, kIso = 8, kBias = 9, kDistance = 10, kFlash = 11, kMakerNote = 12,
              kComment = 13, kMetering = 14, kFocal = 15;

TEST(ConvDate, ReadsBothSeparatorsAndA24HourTime) {
  struct Case {
    const char* text;
    const char* date;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"2001/5/12 9:05:00", "2001:05:12 09:05:00"},
           {"2001/05/12 14:30:00", "2001:05:12 14:30:00"},
           {"2001-05-12 14:30", "2001:05:12 14:30:00"},
           {"2001/5/2 0:0", "2001:05:02 00:00:00"},
           {"2001/12/31 23:59:59", "2001:12:31 23:59:59"},
           {"2001/05/12  9 : 05 : 07", "2001:05:12 09:05:07"},  // blanks inside the time
           {"2000/02/29 12:00", "2000:02:29 12:00:00"},         // divisible by 400: a leap year
           {"2004/2/29 12:00", "2004:02:29 12:00:00"},
           {"0999/01/01 00:00", "999:01:01 00:00:00"},  // the year without leading zeros
       }) {
    EXPECT_EQ(ConvDate(c.text), c.date) << c.text;
  }
}

TEST(ConvDate, AnythingElseGivesTheDefaultDate) {
  for (const char* text : {
           "2001/05/12",           // no time
           "",                     //
           "2001/02/29 12:00",     // not a leap year
           "1900/02/29 12:00",     // divisible by 100 but not 400
           "2001/04/31 12:00",     // April has 30 days
           "2001/13/01 12:00",     // month
           "2001/00/10 12:00",     //
           "2001/05/00 12:00",     // day
           "2001/05/12 24:00",     // midnight is 0:00
           "2001/05/12 23:60",     //
           "2001/05/12 23:59:60",  //
           "2001/05/12 9",         // no minutes
           "2001/05/12 9:05:",     //
           "2001/05/12 9:05:00:00",
           "2001/5-12 9:05",       // two kinds of separator
           "01/05/12 9:05",        // two-digit year
           "12001/05/12 9:05",     // five-digit year
           "0000/05/12 9:05",      // year 0
           "2001/05/123 9:05",     // three-digit day
           "2001/05/12 009:05",    //
           "2001 / 05 / 12 9:05",  // the date ends at the first blank
           " 2001/05/12 9:05",     // so a leading blank leaves no date
           "2001.05.12 9:05",      //
           "2001/05/12 9.05",      //
           "2001/05/12 9:05 PM",   // 24-hour times only
           "2001:05:12 14:30:00",  // the stored form itself is not a field spelling
       }) {
    EXPECT_EQ(ConvDate(text), kDefaultDate) << '"' << text << '"';
  }
}

TEST(RestoreValue, AlwaysWrittenRowsAndTypes) {
  Restored r = Restore(Fields{});
  ASSERT_FALSE(r.refused);
  EXPECT_EQ(Rows(r.store.lstType),
            (std::vector<std::string>{"4", "3",  "2", "2", "2", "2", "2", "5", "5", "3",
                                      "3", "10", "5", "3", "7", "7", "3", "5", "2", "2"}));
  // Exif pointer, orientation, the comment marker and the two dates; nothing else.
  std::vector<std::string> position(kCatalogueRows, "0");
  for (int row : {0, 1, 15, 18, 19}) position[static_cast<std::size_t>(row)] = "1";
  EXPECT_EQ(Rows(r.store.lstPosition), position);
  std::vector<std::string> valuePos(kCatalogueRows, "0");
  valuePos[row::kOrientation] = "1";
  EXPECT_EQ(Rows(r.store.lstValuePos), valuePos);
  EXPECT_EQ(r.store.lstValue.Row(row::kExifPointer), "0");
  EXPECT_EQ(r.store.lstCount.Row(row::kExifPointer), "1");
  EXPECT_EQ(r.store.lstValue.Row(row::kOrientation), "1");
  EXPECT_EQ(r.store.lstCount.Row(row::kOrientation), "1");
  // An empty date field leaves DateTime out; the two Exif dates stay, empty.
  for (int row : {row::kDateTimeOriginal, row::kDateTimeDigitized}) {
    EXPECT_EQ(r.store.lstCount.Row(row), "0");
    EXPECT_EQ(r.store.lstValue.Row(row), "");
  }
  // The catalogue and the uncatalogued side are not touched.
  EXPECT_EQ(r.store.lstTag.Row(row::kMake), "010F");
  EXPECT_EQ(r.store.lstUnuseTag.Count(), 0);
}

struct Written {
  int field;
  std::string text;
  std::string value;  // lstValue of the field's row
  std::string count;  // lstCount of the field's row
};

void ExpectWritten(const std::vector<Written>& cases) {
  for (const Written& c : cases) {
    Restored r = Restore(With({{c.field, c.text}}));
    const int row = FieldRow(c.field);
    ASSERT_FALSE(r.refused) << c.text;
    EXPECT_EQ(r.store.lstPosition.Row(row), "1") << c.text;
    EXPECT_EQ(r.store.lstValue.Row(row), c.value) << "field " << c.field << " \"" << c.text << '"';
    EXPECT_EQ(r.store.lstCount.Row(row), c.count) << "field " << c.field << " \"" << c.text << '"';
  }
}

TEST(RestoreValue, Rationals) {
  ExpectWritten({
      // Exposure time: both numbers times ten, also for a fraction.
      {kShutter, "1/60", "10/600", "1"},
      {kShutter, "1/125", "10/1250", "1"},
      {kShutter, "0.5", "50/100", "1"},
      {kShutter, "2", "200/100", "1"},
      {kShutter, "/", "0/0", "1"},
      {kShutter, "1/3.25", "10/32", "1"},  // the denominator rounds, halves to even
      {kShutter, "fast", "0/100", "1"},
      // Aperture, distance, focal length: by the leading number, or a fraction of
      // whole numbers as it stands (so that a shown 1/2 goes back as 1/2).
      {kAperture, "4.0", "40/10", "1"},
      {kAperture, "5.6", "56/10", "1"},
      {kAperture, "  2.8  ", "28/10", "1"},
      {kAperture, "1/2", "1/2", "1"},
      {kAperture, "1.4/2", "14/20", "1"},
      {kAperture, "f", "0/10", "1"},
      {kDistance, "1.5", "150/100", "1"},
      {kDistance, "1/2", "1/2", "1"},
      {kDistance, "-1/1", "-1/1", "1"},
      {kDistance, "0/1", "0/1", "1"},
      {kFocal, "35", "350/10", "1"},
      {kFocal, "1/2", "1/2", "1"},
      // Exposure bias: a fraction as it stands, sign included; else tenths.
      {kBias, "-2/3", "-2/3", "1"},
      {kBias, "+1/3", "+1/3", "1"},
      {kBias, "+2.0", "20/10", "1"},
      {kBias, "0", "0/10", "1"},
      {kBias, "-1", "-10/10", "1"},
  });
}

TEST(RestoreValue, ShortsAndTexts) {
  ExpectWritten({
      {kIso, "100", "100", "1"},
      {kIso, "1.5", "1.5", "1"},
      {kFlash, "1", "1", "1"},
      {kProgram, "2", "2", "1"},
      {kMetering, "spot", "0", "1"},
      // Texts: the count is in bytes and holds the NUL.
      {kMake, "Canon", "Canon", "6"},
      {kModel, "  EOS 40D  ", "EOS 40D", "8"},
      {kMake, "\xC3\xA9", "\xC3\xA9", "3"},                       // é: two bytes
      {kCopyright, "\xC2\xA9 Me", "\xC2\xA9 Me", "6"},            // © Me
      {kDate, "2001/5/12 9:05:00", "2001:05:12 09:05:00", "20"},  //
      {kDate, "yesterday", "1999:01:01 01:01:01", "20"},
      // Maker note: hexadecimal digits of either case become bytes (half the
      // digits); anything else is a text behind the 8-byte character code.
      {kMakerNote, "0A1B", "Hex:0A1B", "2"},
      {kMakerNote, "0a1b", "Hex:0a1b", "2"},
      {kMakerNote, "0A1B2C3", "Hex:0A1B2C3", "3.5"},
      {kMakerNote, "0A 1B", "0A 1B", "13"},
      {kMakerNote, "Nikon", "Nikon", "13"},
      {kMakerNote, "\xC3\xA9", "\xC3\xA9", "10"},
      // User comment: always behind the marker, except the "Hex:" form a
      // comment of raw bytes was read in.
      {kComment, "", "(Edit by Tagloom)", "25"},
      {kComment, "   ", "(Edit by Tagloom)", "25"},
      {kComment, "hello", "(Edit by Tagloom)hello", "30"},
      {kComment, "\xC3\xA9", "(Edit by Tagloom)\xC3\xA9", "27"},
      {kComment, "Hex:0A1B", "Hex:0A1B", "2"},
      {kComment, "Hex:0a1b", "Hex:0a1b", "2"},
      {kComment, "Hex:0A1", "(Edit by Tagloom)Hex:0A1", "32"},  // odd digits: a text
      {kComment, "Hex:0G", "(Edit by Tagloom)Hex:0G", "31"},
  });
}

TEST(RestoreValue, TheThreeDatesComeFromTheDateField) {
  Restored r = Restore(With({{kDate, "2001/5/12 9:05:00"}}));
  for (int row : {row::kDateTime, row::kDateTimeOriginal, row::kDateTimeDigitized}) {
    EXPECT_EQ(r.store.lstPosition.Row(row), "1");
    EXPECT_EQ(r.store.lstValue.Row(row), "2001:05:12 09:05:00");
    EXPECT_EQ(r.store.lstCount.Row(row), "20");
  }
}

TEST(RestoreValue, BlankFieldsAreLeftOutAndNotCounted) {
  struct Case {
    Fields fields;
    std::int64_t ifd0, exif;
  };
  Fields all;
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = "1";
  Fields blanks;
  blanks.fill("   ");
  for (const Case& c : std::initializer_list<Case>{
           {Fields{}, 2, 3},  // the comment always counts
           {blanks, 2, 3},
           {With({{kMake, "Canon"}, {kDate, "2001/5/12 9:05"}}), 4, 3},
           {With({{kIso, "100"}, {kFocal, " 35 "}, {kMake, " "}}), 2, 5},
           {all, 7, 13},
       }) {
    Restored r = Restore(c.fields);
    ASSERT_FALSE(r.refused);
    EXPECT_EQ(r.counts.Ifd0EntryCount, c.ifd0);
    EXPECT_EQ(r.counts.ExifIfdEntryCount, c.exif);
    // The counts are the present rows of each directory.
    int ifd0 = 0, exif = 0;
    for (int row = 0; row < kCatalogueRows; ++row) {
      if (r.store.lstPosition.Row(row) == "1") ++(row <= row::kLastIfd0Row ? ifd0 : exif);
    }
    EXPECT_EQ(ifd0, c.ifd0);
    EXPECT_EQ(exif, c.exif);
  }
  Restored r = Restore(blanks);
  for (int f : {kMake, kDate, kShutter, kIso, kMakerNote, kFocal}) {
    EXPECT_EQ(r.store.lstPosition.Row(FieldRow(f)), "0") << f;
    EXPECT_EQ(r.store.lstCount.Row(FieldRow(f)), "0") << f;
    EXPECT_EQ(r.store.lstValue.Row(FieldRow(f)), "") << f;
  }
}

// A displayed rational that is written back unedited keeps the value shown.
TEST(RestoreValue, AnUneditedDisplayedFractionKeepsItsValue) {
  auto quotient = [](const std::string& text) {
    std::size_t slash = text.find('/');
    if (slash == std::string::npos) return LeadingNumber(text);
    return LeadingNumber(text.substr(0, slash)) / LeadingNumber(text.substr(slash + 1));
  };
  struct Case {
    int row;
    const char* stored;
  };
  for (const Case& c : std::initializer_list<Case>{
           {row::kExposureTime, "1/60"},
           {row::kExposureTime, "10/1250"},
           {row::kExposureTime, "15/10"},
           {row::kFNumber, "28/10"},
           {row::kFNumber, "4/1"},
           {row::kFNumber, "1/2"},
           {row::kSubjectDistance, "50/100"},
           {row::kSubjectDistance, "150/100"},
           {row::kSubjectDistance, "-1/1"},
           {row::kFocalLength, "58/10"},
           {row::kFocalLength, "1/4"},
           {row::kExposureBias, "-2/3"},
           {row::kExposureBias, "1/3"},
           {row::kExposureBias, "6/3"},
       }) {
    std::string shown = FractionForDisplay(c.row, c.stored);
    Restored r = Restore(With({{c.row - 2, shown}}));
    ASSERT_FALSE(r.refused);
    const std::string& written = r.store.lstValue.Row(c.row);
    EXPECT_DOUBLE_EQ(quotient(written), quotient(shown))
        << c.stored << " shown as " << shown << " written as " << written;
  }
}

TEST(RestoreValue, NumbersThatDoNotFitAreRefusedAndTheStoreIsLeftAsItWas) {
  struct Case {
    int field;
    const char* text;
  };
  for (const Case& c : std::initializer_list<Case>{
           {kIso, "65536"},
           {kIso, "65535.5"},  // rounds to the even 65536
           {kIso, "-1"},
           {kFlash, "1e6"},
           {kMetering, "-0.6"},
           {kShutter, "1/214748365"},  // the denominator times ten passes 2^31 - 1
           {kShutter, "300000000/1"},
           {kShutter, "30000000"},  // times 100
           {kAperture, "3000000000/1"},
           {kAperture, "300000000"},
           {kDistance, "30000000"},
           {kFocal, "1/3000000000"},
           {kBias, "2147483648/1"},
           {kBias, "-2147483649/3"},
           {kBias, "300000000"},
       }) {
    RecordStore store;
    store.Reset();
    // A store as a read leaves it.
    store.lstPosition.Set(row::kMake, "31");
    store.lstValue.Set(row::kMake, "Canon");
    store.lstCount.Set(row::kMake, "6");
    store.lstType.Set(row::kMake, "2");
    store.lstValuePos.Set(row::kMake, "146");
    store.AppendUncatalogued("A420", "77", "300", "33", "2");
    const RecordStore before = store;
    DirectoryCounts counts{5, 9};
    std::optional<RefusedField> refused =
        RestoreValue(With({{kMake, "Nikon"}, {kModel, "D70"}, {c.field, c.text}}), store, counts);
    ASSERT_TRUE(refused) << c.text;
    EXPECT_EQ(refused->field, c.field) << c.text;
    EXPECT_EQ(counts.Ifd0EntryCount, 5);
    EXPECT_EQ(counts.ExifIfdEntryCount, 9);
    for (auto list :
         {&RecordStore::lstPosition, &RecordStore::lstValue, &RecordStore::lstType,
          &RecordStore::lstValuePos, &RecordStore::lstCount, &RecordStore::lstUnuseTag}) {
      EXPECT_EQ(Rows(store.*list), Rows(before.*list)) << c.text;
    }
  }
  // The first field that does not fit is the one named.
  Restored r = Restore(With({{kFocal, "1/3000000000"}, {kIso, "70000"}}));
  ASSERT_TRUE(r.refused);
  EXPECT_EQ(r.refused->field, kIso);
}

TEST(RestoreValue, NumbersAtTheLimitsFit) {
  ExpectWritten({
      {kIso, "65535", "65535", "1"},
      {kIso, "65534.5", "65534.5", "1"},  // rounds to the even 65534
      {kIso, "0", "0", "1"},
      {kShutter, "1/214748364", "10/2147483640", "1"},
      {kAperture, "2147483647/1", "2147483647/1", "1"},
      {kBias, "-2147483648/1", "-2147483648/1", "1"},
      {kDistance, "20000000", "2E+09/100", "1"},  // the builder reads the exponent form
  });
}

TEST(RestoreValue, OrientationReadIsKeptWhenItIsOneOfTheEight) {
  struct Case {
    const char* position;  // lstPosition of the row: found when above 0
    const char* value;
    const char* written;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"42", "6", "6"},
           {"42", "8", "8"},
           {"42", "1", "1"},
           {"42", "9", "1"},
           {"42", "0", "1"},
           {"42", "3.5", "1"},
           {"42", "", "1"},
           {"0", "6", "1"},  // a value left behind without the tag being found
       }) {
    RecordStore store;
    store.Reset();
    store.lstPosition.Set(row::kOrientation, c.position);
    store.lstValue.Set(row::kOrientation, c.value);
    DirectoryCounts counts;
    ASSERT_FALSE(RestoreValue(With({{kMake, "Canon"}}), store, counts));
    EXPECT_EQ(store.lstValue.Row(row::kOrientation), c.written) << c.value;
    EXPECT_EQ(store.lstValuePos.Row(row::kOrientation), "1");
    // Writing the same fields again gives the same rows.
    ASSERT_FALSE(RestoreValue(With({{kMake, "Canon"}}), store, counts));
    EXPECT_EQ(store.lstValue.Row(row::kOrientation), c.written) << c.value;
  }
}

}  // namespace
}  // namespace tagloom
