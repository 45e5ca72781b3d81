// The field editors: the inspector's access texts, the date check and the
// Session's half of the date picker. Typing, the picker's dialog and the
// inspector's line selection are the window's test.

#include "editor/editor_support.h"
#include "model/edit_back.h"

namespace tagloom {
namespace {

using namespace test;
using SessionFields = SessionTest;

TEST_F(SessionFields, AccessTextsTurnPositionsHexadecimalOnlyOnce) {
  session.Reset();
  TextList& pos = session.store.lstPosition;
  TextList& vpos = session.store.lstValuePos;
  pos.SetNumber(2, 162);
  vpos.SetNumber(2, 10);
  pos.SetNumber(3, 70000);
  vpos.SetNumber(3, 0x12345);
  session.store.AppendUncatalogued(0xA000, 300, 400, 1, 7);
  session.SetFieldText(field::kCopyright, "Copper Heron Hex");
  EXPECT_EQ(pos.Row(2) + " " + vpos.Row(2), "00A2 000A");
  EXPECT_EQ(pos.Row(3) + " " + vpos.Row(3), "11170 12345");  // no zeros added to long numbers
  EXPECT_EQ(pos.Row(0) + " " + vpos.Row(0), "n/a n/a");      // not found
  EXPECT_EQ(session.store.lstUnusePos.Row(0), "300");        // the other side stays decimal
  // Again: rows already converted stay as they are.
  pos.SetNumber(4, 255);
  session.SetFieldText(field::kCopyright, "Copper Heron Hex");
  EXPECT_EQ(pos.Row(2) + " " + pos.Row(4) + " " + pos.Row(0), "00A2 00FF n/a");
  session.Reset();  // decimal numbers again
  EXPECT_EQ(pos.Row(2), "0");
}

// Leaving the date field with a date the write cannot read is told (the
// default date too), a blank one is not; a day chosen in the picker is written
// at noon. The window's test has a date without its time and one with it.
TEST_F(SessionFields, TheDateCheckSpeaksOnLeavingAndThePickerWritesAFourDigitYearAtNoon) {
  for (const auto& [text, told] :
       std::initializer_list<std::pair<const char*, bool>>{{"1999/01/01 01:01:01", true},
                                                           {" 2001/05/12 14:30", true},
                                                           {"2001:05:12 14:30:00", false},
                                                           {"", false}}) {
    host.messages.clear();
    session.SetFieldText(field::kDate, text);
    EXPECT_EQ(session.txtExif_LostFocus(field::kDate), told) << text;
    EXPECT_EQ(host.messages.size(), told ? 1u : 0u) << text;
  }
  session.SetFieldText(field::kCopyright, "1999/01/01 01:01:01");  // other fields are not checked
  EXPECT_FALSE(session.txtExif_LostFocus(field::kCopyright));
  session.SetFieldText(field::kDate, "sometime");  // the picker opens on today
  EXPECT_FALSE(session.DateForCalendar());
  session.SetChosenDate({2001, 5, 2});
  EXPECT_EQ(ConvDate(session.txtExif[field::kDate]), "2001:05:02 12:00:00");
}

}  // namespace
}  // namespace tagloom
