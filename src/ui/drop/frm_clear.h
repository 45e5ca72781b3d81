// frmClear, the drop target's clear dialog: the last drop, or everything.
// Every showing gives the choice made in it, or none when it was left by
// its close box or Escape.
#pragma once

#include <QDialog>

#include "editor/drop_target.h"

class QLineEdit;

namespace tagloom::ui {

class frmClear : public QDialog {
 public:
  explicit frmClear(QWidget* parent);

  // Shows the dialog modally and gives what was chosen in this showing.
  ClearChoice Choose();

 private:
  QLineEdit* Text1_ = nullptr;  // hidden: "Last", "All" or "" once the dialog has closed
};

}  // namespace tagloom::ui
