// What the fields and pickers show after the Session reads a block: the value
// texts as the reader fetched them from the file, through the display rules.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "editor/session.h"
#include "support/fixture_builder.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tagloom {
namespace {

using test::Ascii;
using test::ByteOrder;
using test::Entry;
using test::Rational;
using test::Short;
using test::SLong;
using test::SRational;
using test::Undefined;

class SessionDisplay : public ::testing::Test {
 protected:
  // Reads a photograph whose block holds these entries.
  void Show(std::vector<Entry> ifd0, std::vector<Entry> exif,
            ByteOrder order = ByteOrder::kLittle) {
    std::string tiff =
        test::TiffBuilder(order).Ifd0(std::move(ifd0)).ExifIfd(std::move(exif)).Build();
    session.Text1 = dir.Write("shown.jpg", test::JpegBuilder().App1Exif(tiff).Scan().Build());
    session.GetExifData();
    ASSERT_TRUE(session.ExifLoaded);
  }

  test::TempDir dir;
  test::RecordingHost host;
  Session session{host};
};

struct Shown {
  Entry entry;
  int field;
  const char* text;
};

TEST_F(SessionDisplay, RationalFieldsShowDecimalsUnitFractionsAndBiasLabels) {
  const std::vector<std::vector<Shown>> blocks = {
      {{Rational(0x829A, 10, 1250), 5, "1/125"},
       {Rational(0x829D, 28, 10), 6, "2.8"},
       {SRational(0x9204, -4, 6), 9, "-2/3"},
       {Rational(0x9206, 0, 1), 10, "0/1"},
       {Rational(0x920A, 24, 1), 15, "24.0"}},
      {{Rational(0x829A, 2, 1), 5, "2.0"},
       {Rational(0x829D, 4, 1), 6, "4.0"},
       {SRational(0x9204, 7, 10), 9, "+7/10"},
       {Rational(0x9206, 150, 100), 10, "1.5"},
       {Rational(0x920A, 58, 10), 15, "5.8"}},
      {{Rational(0x829A, 3, 10), 5, "1/3"},
       {Rational(0x829D, 56, 10), 6, "5.6"},
       {SRational(0x9204, 0, 1), 9, "0"},
       {SRational(0x9206, -1, 1), 10, "-1/1"},
       {Rational(0x920A, 15, 10), 15, "1.5"}},
      {{Rational(0x829A, 1, 60), 5, "1/60"},
       {Rational(0x829D, 70, 10), 6, "7.0"},
       {SRational(0x9204, -2, 1), 9, "-2.0"},
       {Rational(0x9206, 50, 100), 10, "1/2"}},
      {{Rational(0x829A, 10, 600), 5, "1/60"}, {SRational(0x9204, 3, 2), 9, "+3/2"}},
      {{SRational(0x9204, -3, 10), 9, "-3/10"}},
  };
  for (ByteOrder order : {ByteOrder::kLittle, ByteOrder::kBig}) {
    for (const std::vector<Shown>& block : blocks) {
      std::vector<Entry> exif;
      for (const Shown& s : block) exif.push_back(s.entry);
      Show({}, exif, order);
      for (const Shown& s : block) {
        EXPECT_EQ(session.txtExif[s.field], s.text)
            << "field " << s.field << (order == ByteOrder::kBig ? ", big-endian" : "");
      }
    }
  }
}

TEST_F(SessionDisplay, TheDateFieldShowsDateTimeOriginalWithSlashes) {
  struct Case {
    std::vector<Entry> ifd0;
    std::vector<Entry> exif;
    const char* shown;
  };
  const std::vector<Case> cases = {
      {{Ascii(0x0132, "2010:01:01 00:00:00")},
       {Ascii(0x9003, "2001:05:12 14:30:00")},
       "2001/05/12 14:30:00"},
      {{Ascii(0x0132, "2010:01:01 00:00:00")}, {Short(0x8827, 100)}, ""},
      {{}, {Ascii(0x9004, "2003:03:03 03:03:03")}, ""},
      {{}, {Ascii(0x9003, "2001:05")}, "2001/05"},
      {{}, {Ascii(0x9003, "2001:05:12")}, "2001/05/12"},
  };
  for (const Case& c : cases) {
    Show(c.ifd0, c.exif);
    EXPECT_EQ(session.txtExif[4], c.shown);
  }
}

TEST_F(SessionDisplay, CommentMarkerAndMakerNotePrefixGoOnlyFromTheStart) {
  const std::string ascii("ASCII\0\0\0", 8);
  const std::vector<Shown> cases = {
      {Undefined(0x9286, ascii + "(Edit by Tagloom)Hello"), 13, "Hello"},
      {Undefined(0x9286, ascii + "(Edit by Tagloom)"), 13, ""},
      {Undefined(0x9286, ascii + "Hello (Edit by Tagloom)"), 13, "Hello (Edit by Tagloom)"},
      {Ascii(0x9286, "(Edit by Tagloom)typed"), 13, "typed"},
      // A comment in another character code arrives, and stays, as hexadecimal.
      {Undefined(0x9286, std::string("UNICODE\0H\0i\0", 12)), 13, "Hex:554E49434F44450048006900"},
      {Undefined(0x927C, "\x0A\x1B"), 12, "0A1B"},
      {Undefined(0x927C, std::string("Nikon\0\x02\x10", 8)), 12, "4E696B6F6E000210"},
      {Undefined(0x927C, ascii + "Canon note"), 12, "Canon note"},
      {Ascii(0x010F, "(Edit by Tagloom)Make"), 0, "(Edit by Tagloom)Make"},
  };
  for (const Shown& c : cases) {
    if (c.field == 0) {
      Show({c.entry}, {});
    } else {
      Show({}, {c.entry});
    }
    EXPECT_EQ(session.txtExif[c.field], c.text);
  }
}

TEST_F(SessionDisplay, PickersSelectTheStoredNumberAndTheCarriersKeepIt) {
  struct Case {
    std::optional<Entry> program, metering, flash;
    int combo1;
    const char* field7;
    int combo2;
    const char* field14;
    int optFlash;
    const char* field11;
  };
  // In this order, each case follows one that selected something else.
  const std::vector<Case> cases = {
      {Short(0x8822, 2), Short(0x9207, 5), Short(0x9209, 1), 2, "2", 5, "5", 1, "1"},
      {Short(0x8822, 9), Short(0x9207, 255), Short(0x9209, 16), -1, "9", -1, "255", -1, "16"},
      {Short(0x8822, 8), Short(0x9207, 6), Short(0x9209, 0), 8, "8", 6, "6", 0, "0"},
      {SLong(0x8822, -1), Short(0x9207, 7), Short(0x9209, 9), -1, "-1", -1, "7", -1, "9"},
      {std::nullopt, std::nullopt, std::nullopt, 0, "", 0, "", 0, ""},
      {Short(0x8822, 1), Short(0x9207, 1), Short(0x9209, 24), 1, "1", 1, "1", -1, "24"},
      {Short(0x8822, 0), Short(0x9207, 0), Short(0x9209, 25), 0, "0", 0, "0", -1, "25"},
      {Short(0x8822, 3), Short(0x9207, 2), Short(0x9209, 5), 3, "3", 2, "2", -1, "5"},
  };
  for (const Case& c : cases) {
    std::vector<Entry> exif = {Short(0x8827, 100)};
    for (const std::optional<Entry>& e : {c.program, c.metering, c.flash}) {
      if (e) exif.push_back(*e);
    }
    Show({}, exif);
    SCOPED_TRACE(std::string("program ") + c.field7 + ", metering " + c.field14 + ", flash " +
                 c.field11);
    EXPECT_EQ(session.Combo1, c.combo1);
    EXPECT_EQ(session.txtExif[7], c.field7);
    EXPECT_EQ(session.Combo2, c.combo2);
    EXPECT_EQ(session.txtExif[14], c.field14);
    EXPECT_EQ(session.OptFlash, c.optFlash);
    EXPECT_EQ(session.txtExif[11], c.field11);
  }
}

TEST_F(SessionDisplay, IsoAndBiasPickersGoBackToTheirEmptyItem) {
  for (ByteOrder order : {ByteOrder::kLittle, ByteOrder::kBig}) {
    session.SelectPicker(Picker::kCombo3, 4);
    session.SelectPicker(Picker::kCombo4, 6);
    Show({}, {Short(0x8827, 400), SRational(0x9204, 1, 3)}, order);
    EXPECT_EQ(session.Combo3, 0);
    EXPECT_EQ(session.Combo4, 0);
    EXPECT_EQ(session.txtExif[8], "400");
    EXPECT_EQ(session.txtExif[9], "+1/3");

    session.SelectPicker(Picker::kCombo3, 9);
    session.SelectPicker(Picker::kCombo4, 17);
    Show({}, {Rational(0x829A, 1, 60)}, order);
    EXPECT_EQ(session.Combo3, 0);
    EXPECT_EQ(session.Combo4, 0);
    EXPECT_EQ(session.txtExif[8], "");
    EXPECT_EQ(session.txtExif[9], "");
  }
}

TEST_F(SessionDisplay, AZeroDenominatorShowsTheStoredFractionAndTheFollowingFieldsAreFilled) {
  Show({Ascii(0x010F, "Canon")},
       {Rational(0x829A, 1, 0), Rational(0x829D, 0, 0), Short(0x8822, 2), Short(0x8827, 100),
        SRational(0x9204, -3, 0), Rational(0x9206, 5, 0), Short(0x9209, 1),
        Undefined(0x9286, std::string("ASCII\0\0\0note", 12)), Short(0x9207, 5),
        Rational(0x920A, 58, 10)});
  EXPECT_EQ(session.txtExif[0], "Canon");
  EXPECT_EQ(session.txtExif[5], "1/0");
  EXPECT_EQ(session.txtExif[6], "0/0");
  EXPECT_EQ(session.Combo1, 2);
  EXPECT_EQ(session.txtExif[8], "100");
  EXPECT_EQ(session.txtExif[9], "-3/0");
  EXPECT_EQ(session.txtExif[10], "5/0");
  EXPECT_EQ(session.OptFlash, 1);
  EXPECT_EQ(session.txtExif[13], "note");
  EXPECT_EQ(session.Combo2, 5);
  EXPECT_EQ(session.txtExif[15], "5.8");
}

TEST_F(SessionDisplay, TheStoredTypeNotTheTextDecidesTheFractionRule) {
  // Fractions stored as text are shown as text ...
  Show({Ascii(0x0132, "2010:01:01 00:00:00")},
       {Ascii(0x829A, "10/1250"), Ascii(0x829D, "28/10"), Ascii(0x9204, "4/6"),
        Ascii(0x9003, "2001:05:12 14:30:00")});
  EXPECT_EQ(session.txtExif[5], "10/1250");
  EXPECT_EQ(session.txtExif[6], "28/10");
  EXPECT_EQ(session.txtExif[9], "4/6");
  EXPECT_EQ(session.txtExif[4], "2001/05/12 14:30:00");

  // ... and rationals stored under text tags are shown as fractions.
  Show({Rational(0x010F, 28, 10), SRational(0x8298, 10, 600)}, {Rational(0x8827, 200, 1)});
  EXPECT_EQ(session.txtExif[0], "2.8");
  EXPECT_EQ(session.txtExif[3], "1/60");
  EXPECT_EQ(session.txtExif[8], "200.0");
}

}  // namespace
}  // namespace tagloom
