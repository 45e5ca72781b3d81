// The field editors: the inspector's access texts, the date check, the two
// halves of the date picker, and the inspector's line selection.

#include "editor/editor_support.h"
#include "model/edit_back.h"

namespace tagloom {
namespace {

using namespace test;

class SessionFields : public SessionTest {
 protected:
  // Types a text into a field one key at a time, as a person does.
  void Type(int field, std::string_view text) {
    for (std::size_t n = 1; n <= text.size(); ++n) {
      session.SetFieldText(field, std::string(text.substr(0, n)));
    }
  }
  int Selected(StoreList list) const { return session.selectedRow[static_cast<std::size_t>(list)]; }
};

TEST_F(SessionFields, AccessTextsShowTheInspectorAndTurnPositionsHexadecimal) {
  session.Reset();
  TextList& pos = session.store.lstPosition;
  TextList& vpos = session.store.lstValuePos;
  pos.SetNumber(2, 162);
  vpos.SetNumber(2, 10);
  pos.SetNumber(3, 70000);
  vpos.SetNumber(3, 0x12345);
  session.store.AppendUncatalogued(0xA000, 300, 400, 1, 7);

  // Pasted in one piece: converted, the inspector still hidden.
  session.SetFieldText(field::kCopyright, "Copper Heron Hex");
  EXPECT_EQ(session.txtExif[field::kCopyright], "");
  EXPECT_TRUE(!session.Frame_Exif.visible && session.WindowHeight == kWindowHeight);
  EXPECT_EQ(pos.Row(2) + " " + vpos.Row(2), "00A2 000A");
  EXPECT_EQ(pos.Row(3) + " " + vpos.Row(3), "11170 12345");  // no zeros added to long numbers
  EXPECT_EQ(pos.Row(0) + " " + vpos.Row(0), "n/a n/a");       // not found
  EXPECT_EQ(session.store.lstUnusePos.Row(0), "300");         // the other side stays decimal

  // Typed: "Copper Heron" on the way shows the inspector and keeps the text;
  // the second conversion leaves rows already converted as they are.
  Type(field::kCopyright, "Copper Heron");
  EXPECT_TRUE(session.Frame_Exif.visible && session.WindowHeight == kTallWindowHeight);
  EXPECT_EQ(session.txtExif[field::kCopyright], "Copper Heron");
  pos.SetNumber(4, 255);
  Type(field::kCopyright, "Copper Heron Hex");
  EXPECT_EQ(pos.Row(2) + " " + pos.Row(4) + " " + pos.Row(0), "00A2 00FF n/a");
  // A reset brings decimal numbers back; the inspector stays.
  session.Reset();
  EXPECT_TRUE(pos.Row(2) == "0" && session.Frame_Exif.visible);
}

// Leaving the date field with a date the write cannot read is told, and the
// text left as typed; the picker opens on the field's day and writes noon.
TEST_F(SessionFields, TheDateCheckSpeaksOnLeavingAndThePickerWritesAFourDigitYearAtNoon) {
  for (const auto& [text, told] : std::initializer_list<std::pair<const char*, bool>>{
           {"1999/01/01 01:01:01", true},  // the default date itself
           {"2001/05/12", true},
           {" 2001/05/12 14:30", true},
           {"2001/05/12 14:30", false},
           {"2001:05:12 14:30:00", false},
           {"", false}}) {
    host.messages.clear();
    session.SetFieldText(field::kDate, text);
    EXPECT_EQ(session.txtExif_LostFocus(field::kDate), told) << text;
    EXPECT_EQ(host.messages.size(), told ? 1u : 0u) << text;
    EXPECT_TRUE(!told || host.messages[0].text == text::kDateFormatWrong);
    EXPECT_EQ(session.txtExif[field::kDate], text);
  }
  session.SetFieldText(field::kCopyright, "1999/01/01 01:01:01");  // other fields are not checked
  EXPECT_FALSE(session.txtExif_LostFocus(field::kCopyright));

  // The picker opens on the field's day (the window's test), or on today.
  session.SetFieldText(field::kDate, "sometime");
  EXPECT_FALSE(session.DateForCalendar());
  session.SetChosenDate({2001, 5, 2});
  EXPECT_EQ(session.txtExif[field::kDate], "2001/05/02 12:00:00");
  EXPECT_EQ(ConvDate(session.txtExif[field::kDate]), "2001:05:02 12:00:00");
}

TEST_F(SessionFields, ALineIsSelectedAcrossItsGroupFromTheTagAndNameListsOnly) {
  session.GetExifData((PhotosDir() / "Canon_40D.jpg").string());
  session.SelectRow(StoreList::kTitle, 14);
  for (StoreList list : {StoreList::kTag, StoreList::kPosition, StoreList::kValue}) {
    EXPECT_EQ(Selected(list), 14);
  }
  EXPECT_EQ(Selected(StoreList::kUnuseTag), -1);

  // From a value list: that list alone.
  session.SelectRow(StoreList::kValue, 3);
  EXPECT_EQ(Selected(StoreList::kTag), 14);

  // The uncatalogued group follows its tag list; an empty group selects nothing.
  const int unused = session.store.lstUnuseTag.Count();
  ASSERT_GT(unused, 0);
  session.SelectRow(StoreList::kUnuseTag, unused - 1);
  EXPECT_TRUE(Selected(StoreList::kUnuseValue) == unused - 1 && Selected(StoreList::kTag) == 14);
  session.Reset();
  session.SelectRow(StoreList::kUnuseTag, 0);
  for (int row : session.selectedRow) EXPECT_EQ(row, -1);
}

}  // namespace
}  // namespace tagloom
