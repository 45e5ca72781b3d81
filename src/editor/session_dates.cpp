// The Session's dates for the whole list: a shift by an offset, a shift that
// a photograph of a clock tells, and dates in sequence. Each is a write to
// the list (preview, outcomes, originals kept) whose date field, from which
// a write takes all three dates, is computed for each photograph.
#include "editor/session.h"
#include "editor/texts.h"

namespace tagloom {
namespace {

// Edits that give the date field `date`, as the field shows a date.
PhotoEdits DateEdit(const std::optional<DateTime>& date) {
  PhotoEdits edits;
  if (!date) {
    edits.problem = text::kDateOutOfRange;
    return edits;
  }
  edits.texts[field::kDate] = FieldDateText(*date);
  return edits;
}

}  // namespace

std::optional<DateTime> Session::RecordedDate() const {
  return ReadDate(store.lstValue.Row(row::kDateTimeOriginal));
}

EditsFor Session::DateShift(DateOffset seconds) {
  return [seconds](const Session& photo, std::size_t) {
    const std::optional<DateTime> date = photo.RecordedDate();
    if (!date) return PhotoEdits{{}, std::string(text::kNoDateToShift)};
    return DateEdit(Shifted(*date, seconds));
  };
}

EditsFor Session::DateSequence(const DateTime& first, DateOffset step, bool reversed,
                               std::size_t count) {
  return [=](const Session&, std::size_t index) {
    const std::size_t place = reversed ? count - 1 - index : index;
    return DateEdit(Stepped(first, step, static_cast<std::int64_t>(place)));
  };
}

Outcome Session::ShiftDates(DateOffset seconds) {
  return WriteToList(ListOrShown(), DateShift(seconds));
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
  return WriteToList(photos, DateSequence(first, step, reversed, photos.size()));
}

}  // namespace tagloom
