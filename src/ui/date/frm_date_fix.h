// frmDateFix: the dates of every photograph of the list at once. A camera's
// clock was wrong (a shift by an offset, or by what a photograph of a clock
// shows), or scans carry the day they were scanned (dates in sequence).
#pragma once

#include <QDialog>
#include <optional>

#include "model/date_shift.h"

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;
class QTimeEdit;

namespace tagloom::ui {

class DateTimeField;

// What the person chose.
struct DateFix {
  enum class Kind { kShift, kClock, kSequence };
  Kind kind = Kind::kShift;
  DateOffset offset = 0;  // kShift
  DateTime clock{};       // kClock: what the clock in the photograph on show reads
  DateTime first{};       // kSequence: the first photograph's date
  DateOffset step = 0;    // kSequence: seconds from one photograph to the next
  bool reversed = false;  // kSequence: the last photograph of the list comes first
};

class frmDateFix : public QDialog {
 public:
  explicit frmDateFix(QWidget* parent);
  // Opens on `recorded`, the date of the photograph on show (none: no clock
  // to read; `now` stands in); nullopt when cancelled.
  std::optional<DateFix> Ask(const std::optional<DateTime>& recorded, const DateTime& now);
  // What is chosen as it stands; nullopt while a date of the choice is no date.
  std::optional<DateFix> Chosen() const;

 private:
  QRadioButton* optShift_;
  QRadioButton* optClock_;
  QRadioButton* optSequence_;
  QComboBox* direction_;
  QSpinBox* days_;
  QTimeEdit* time_;
  DateTimeField* clock_;
  DateTimeField* first_;
  QSpinBox* step_;
  QCheckBox* reversed_;
};

}  // namespace tagloom::ui
