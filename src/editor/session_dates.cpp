// The Session's dates for the whole list: a shift by an offset, a shift that
// a photograph of a clock tells, and dates in sequence. Each is a write to
// the list (preview, outcomes, originals kept) whose date field, from which
// a write takes all three dates, is computed for each photograph.
#include "editor/session.h"
#include "editor/texts.h"
#include "model/display_conversion.h"

namespace tagloom {
namespace {

// An edit that gives the date field `date`, as the field shows a date.
ListEdit DateEdit(const std::optional<DateTime>& date) {
  ListEdit edit;
  if (!date) {
    edit.problem = text::kDateOutOfRange;
    return edit;
  }
  edit.texts[field::kDate] = DateForDisplay(ExifDateText(*date));
  return edit;
}

}  // namespace

std::optional<DateTime> Session::RecordedDate() const {
  return ParseExifDate(store.lstValue.Row(row::kDateTimeOriginal));
}

ListEditor Session::DateShift(DateOffset seconds) {
  return [seconds](const Session& photo, std::size_t) {
    const std::optional<DateTime> date = photo.RecordedDate();
    if (!date) return ListEdit{{}, std::string(text::kNoDateToShift)};
    return DateEdit(Shifted(*date, seconds));
  };
}

ListEditor Session::DateSequence(const DateTime& first, DateOffset step, bool reversed,
                                 std::size_t count) {
  return [=](const Session&, std::size_t index) {
    const std::size_t place = reversed ? count - 1 - index : index;
    return DateEdit(Shifted(first, step * static_cast<DateOffset>(place)));
  };
}

Outcome Session::ShiftDates(DateOffset seconds) {
  return WriteList(ListOrShown(), DateShift(seconds), OnlyShown::kItsEdit);
}

Outcome Session::ShiftDatesByClock(const DateTime& clock) {
  const std::optional<DateTime> recorded = RecordedDate();
  if (!recorded || !photoFound_) {
    host_.Tell(text::kNoDateToShift, text::kDateFormatWrongTitle, MessageIcon::kWarning);
    return Outcome::kFailed;
  }
  return ShiftDates(SecondsBetween(*recorded, clock));
}

Outcome Session::NumberDates(const DateTime& first, DateOffset step, bool reversed) {
  const std::vector<std::string> photos = ListOrShown();
  return WriteList(photos, DateSequence(first, step, reversed, photos.size()), OnlyShown::kItsEdit);
}

}  // namespace tagloom
