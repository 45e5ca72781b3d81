// The Session's field editors: the change handling of every field (the two
// access texts of the inspector), the date check, the two halves of the date
// picker, and the inspector's line selection.
#include <cstdio>

#include "editor/session.h"
#include "editor/texts.h"
#include "model/edit_back.h"
#include "model/number_text.h"

namespace tagloom {
namespace {

constexpr std::string_view kShowInspector = "Copper Heron";
constexpr std::string_view kHexInspector = "Copper Heron Hex";

// Whether a row still holds a decimal number (not yet display text such as 00A2 or n/a).
bool IsDecimal(const std::string& text) {
  std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
  if (i == text.size()) return false;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

// A 32-bit number in upper-case hexadecimal, padded to four digits.
std::string Hex4(double value) {
  char out[16];
  std::snprintf(out, sizeof out, "%04X",
                static_cast<std::uint32_t>(static_cast<std::int32_t>(value)));
  return out;
}

}  // namespace

void Session::SetFieldText(int field, std::string_view text) {
  if (field < 0 || field >= kFieldCount) return;
  std::string& current = txtExif[static_cast<std::size_t>(field)];
  if (current == text) return;  // no change, no change handling
  current.assign(text);         // the field's buffer is kept from photograph to photograph
  txtExif_Change(field);
}

void Session::txtExif_Change(int /*field*/) {
  const std::string& copyright = txtExif[field::kCopyright];
  if (copyright == kShowInspector) {
    Frame_Exif.visible = true;
    WindowHeight = kTallWindowHeight;
  }
  if (copyright == kHexInspector) {
    SetFieldText(field::kCopyright, "");
    ShowPositionsInHex();
  }
}

void Session::ShowPositionsInHex() {
  // Rows turned into display text by an earlier conversion stay as they are.
  for (int k = 0; k < store.lstPosition.Count(); ++k) {
    const std::string& position = store.lstPosition.Row(k);
    if (!IsDecimal(position)) continue;
    std::string shown = Hex4(store.lstPosition.Number(k));
    if (shown == "0000") shown = "n/a";
    store.lstPosition.Set(k, shown);
    const std::string& valuePosition = store.lstValuePos.Row(k);
    if (shown == "n/a") {
      store.lstValuePos.Set(k, "n/a");
    } else if (IsDecimal(valuePosition)) {
      store.lstValuePos.Set(k, Hex4(store.lstValuePos.Number(k)));
    }
  }
  ++storeVersion;
}

bool Session::txtExif_LostFocus(int field) {
  if (field != field::kDate) return false;
  const std::string& date = txtExif[field::kDate];
  if (date.empty() || ConvDate(date) != kDefaultDate) return false;
  host_.Tell(text::kDateFormatWrong, text::kDateFormatWrongTitle, MessageIcon::kNone);
  return true;
}

std::optional<DateTime> Session::DateForCalendar() const {
  // The date part alone is enough: noon stands in for a missing time.
  const std::string& text = txtExif[field::kDate];
  return ReadDate(text.substr(0, text.find(' ')) + " 12:00");
}

void Session::SetChosenDate(const DateTime& day) {
  // Year/month/day with a four-digit year, whatever the person's locale: a
  // short date such as 12/5/01 could not be read back.
  SetFieldText(field::kDate, FieldDateText({day.year, day.month, day.day, 12, 0, 0}));
}

void Session::SetKeep(int area, bool ticked) {
  if (area >= 0 && area < kAreaCount) chkKeep[static_cast<std::size_t>(area)] = ticked;
}

bool Session::HasUnwrittenEdits() const {
  if (!photoFound_) return false;
  for (int i = 0; i < kFieldCount; ++i) {
    const auto f = static_cast<std::size_t>(i);
    if (chkKeep[kFields[f].area]) continue;  // carried to the next photograph
    const std::string& read = asRead_[f].set ? asRead_[f].Text() : std::string();
    if (txtExif[f] != read) return true;
  }
  return false;
}

bool Session::MayLeavePhoto() {
  if (!HasUnwrittenEdits()) return true;
  switch (host_.AskAboutEdits(text::kUnwrittenEdits)) {
    case EditsAnswer::kWrite:
      return WriteShown() == Outcome::kDone;
    case EditsAnswer::kDiscard:
      return true;
    case EditsAnswer::kStay:
      break;
  }
  return false;
}

namespace {

// The companions of each source list, in the order they are selected.
struct Companions {
  StoreList source;
  std::array<StoreList, 6> lists;
  int count;
};
constexpr std::array<Companions, 3> kCompanions = {{
    {StoreList::kTag,
     {StoreList::kPosition, StoreList::kCount, StoreList::kType, StoreList::kValuePos,
      StoreList::kTitle, StoreList::kValue},
     6},
    {StoreList::kTitle,
     {StoreList::kPosition, StoreList::kCount, StoreList::kType, StoreList::kValuePos,
      StoreList::kTag, StoreList::kValue},
     6},
    {StoreList::kUnuseTag,
     {StoreList::kUnusePos, StoreList::kUnuseValuePos, StoreList::kUnuseValue},
     3},
}};

}  // namespace

const TextList& Session::ListOf(StoreList list) const {
  const RecordStore& s = store;
  const std::array<const TextList*, kStoreListCount> lists = {
      &s.lstTag,      &s.lstPosition,      &s.lstCount,     &s.lstType,
      &s.lstValuePos, &s.lstTitle,         &s.lstValue,     &s.lstUnuseTag,
      &s.lstUnusePos, &s.lstUnuseValuePos, &s.lstUnuseValue};
  return *lists[static_cast<std::size_t>(list)];
}

void Session::SelectRow(StoreList list, int row) {
  if (row < -1 || row >= ListOf(list).Count()) return;
  int& selected = selectedRow[static_cast<std::size_t>(list)];
  if (selected == row) return;  // settles at once: the same row again triggers nothing
  selected = row;
  for (const Companions& group : kCompanions) {
    if (group.source != list || row < 0) continue;
    for (int i = 0; i < group.count; ++i) SelectRow(group.lists[static_cast<std::size_t>(i)], row);
  }
}

void Session::List_MouseMove(StoreList list, int row, bool leftButton) {
  if (leftButton) SelectRow(list, row);
}

}  // namespace tagloom
