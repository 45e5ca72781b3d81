// A date and a time of day typed as the date field shows them
// (2001/05/12 14:30:00), carried as Tagloom's own date type: no time zone,
// no clock change (02:30 on the night the clocks skip it is a time like any
// other), and a whole date typed over a selected one is that date.
#pragma once

#include <QLineEdit>
#include <optional>

#include "model/exif_date.h"

namespace tagloom::ui {

class DateTimeField : public QLineEdit {
 public:
  explicit DateTimeField(QWidget* parent);
  void SetDate(const DateTime& date);
  // The date typed; nullopt while it is no date.
  std::optional<DateTime> Date() const;
};

}  // namespace tagloom::ui
