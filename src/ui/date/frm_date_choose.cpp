#include "ui/date/frm_date_choose.h"

#include <QCalendarWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/main/controls.h"

namespace tagloom::ui {

frmDateChoose::frmDateChoose(QWidget* parent) : QDialog(parent) {
  Name(this, QStringLiteral("frmDateChoose"));
  setWindowTitle(QStringLiteral("日期选择"));
  setModal(true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  Calendar1_ = new QCalendarWidget(this);
  Name(Calendar1_, QStringLiteral("Calendar1"));
  Calendar1_->setGridVisible(true);
  // Month and day names in the language of the rest of the window.
  Calendar1_->setLocale(QLocale(QLocale::Chinese, QLocale::China));
  auto* ok = new QPushButton(QStringLiteral("确定"), this);
  Name(ok, QStringLiteral("OKButton"));
  ok->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Calendar1_);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  // Below the documented controls: the dates of every photograph of the list.
  auto* fix = new QPushButton(QStringLiteral("调整列表中所有相片的日期..."), this);
  Name(fix, QStringLiteral("cmdDateFix"));
  fix->setAutoDefault(false);
  layout->addWidget(fix, 0, Qt::AlignHCenter);
  connect(fix, &QPushButton::clicked, this, [this] {
    fixWanted_ = true;
    reject();
  });
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // The button only hides the dialog; a double click on a day is the same.
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(Calendar1_, &QCalendarWidget::activated, this, &QDialog::accept);
}

int frmDateChoose::exec() {
  fixWanted_ = false;
  return QDialog::exec();
}

void frmDateChoose::SetDate(const QDate& date) {
  Calendar1_->setSelectedDate(date);
}

QDate frmDateChoose::Date() const {
  return Calendar1_->selectedDate();
}

}  // namespace tagloom::ui
