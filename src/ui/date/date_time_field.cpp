#include "ui/date/date_time_field.h"

#include <QValidator>

#include "ui/main/controls.h"

namespace tagloom::ui {
namespace {

// Acceptable once the text reads as a date; anything on the way there is
// left to the person to finish.
class DateValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    return ReadDate(ToUtf8(input)) ? Acceptable : Intermediate;
  }
};

}  // namespace

DateTimeField::DateTimeField(QWidget* parent) : QLineEdit(parent) {
  // Each digit has its place; typed separators step over the mask's own.
  setInputMask(QStringLiteral("0000/00/00 00:00:00;_"));
  setValidator(new DateValidator(this));
  setPlaceholderText(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

void DateTimeField::SetDate(const DateTime& date) {
  setText(FromUtf8(FieldDateText(date)));
}

std::optional<DateTime> DateTimeField::Date() const {
  return ReadDate(ToUtf8(text()));
}

}  // namespace tagloom::ui
