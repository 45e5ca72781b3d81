// frmDateChoose, the date picker: a month calendar and one button. The main
// window creates it on first use and afterwards only hides it, so that it
// keeps its date.
#pragma once

#include <QDate>
#include <QDialog>

class QCalendarWidget;

namespace tagloom::ui {

class frmDateChoose : public QDialog {
 public:
  explicit frmDateChoose(QWidget* parent);

  void SetDate(const QDate& date);
  QDate Date() const;
  // Whether the dialog was left to fix the dates of the whole list.
  bool FixWanted() const { return fixWanted_; }
  int exec() override;

 private:
  QCalendarWidget* Calendar1_ = nullptr;
  bool fixWanted_ = false;
};

}  // namespace tagloom::ui
