#include "ui/date/frm_date_fix.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "ui/main/controls.h"

namespace tagloom::ui {
namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd HH:mm:ss");

QDateTime ToQt(const DateTime& d) {
  return QDateTime(QDate(d.year, d.month, d.day), QTime(d.hour, d.minute, d.second));
}
DateTime FromQt(const QDateTime& t) {
  return {t.date().year(), t.date().month(),  t.date().day(),
          t.time().hour(), t.time().minute(), t.time().second()};
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name, const QString& accessible) {
  Name(widget, QString::fromLatin1(name));
  widget->setAccessibleName(accessible);
  return widget;
}

}  // namespace

frmDateFix::frmDateFix(QWidget* parent) : QDialog(parent) {
  Name(this, QStringLiteral("frmDateFix"));
  setWindowTitle(QStringLiteral("调整日期"));
  auto* layout = new QVBoxLayout(this);
  auto* choices = new QButtonGroup(this);
  auto choice = [&](const char* name, const QString& caption) {
    auto* option = Named(new QRadioButton(caption, this), name, caption);
    choices->addButton(option);
    layout->addWidget(option);
    auto* rows = new QFormLayout;
    rows->setContentsMargins(24, 0, 0, 8);
    layout->addLayout(rows);
    return std::pair(option, rows);
  };

  QFormLayout* rows = nullptr;
  std::tie(optShift_, rows) = choice("optShift", QStringLiteral("所有相片的日期平移一段时间"));
  direction_ = Named(new QComboBox(this), "cboDirection", QStringLiteral("方向"));
  direction_->addItems({QStringLiteral("推后 (+)"), QStringLiteral("提前 (-)")});
  days_ = Named(new QSpinBox(this), "spnDays", QStringLiteral("天数"));
  days_->setRange(0, 3650000);
  days_->setSuffix(QStringLiteral(" 天"));
  time_ = Named(new QTimeEdit(this), "tmeOffset", QStringLiteral("时分秒"));
  time_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  rows->addRow(QStringLiteral("方向:"), direction_);
  rows->addRow(QStringLiteral("天数:"), days_);
  rows->addRow(QStringLiteral("时分秒:"), time_);

  std::tie(optClock_, rows) =
      choice("optClock", QStringLiteral("按这张相片中时钟显示的时间校正所有相片"));
  clock_ = Named(new QDateTimeEdit(this), "dteClock", QStringLiteral("时钟显示的时间"));
  clock_->setDisplayFormat(kDateFormat);
  rows->addRow(QStringLiteral("时钟显示:"), clock_);

  std::tie(optSequence_, rows) =
      choice("optSequence", QStringLiteral("依次设置日期(如扫描的胶片)"));
  first_ = Named(new QDateTimeEdit(this), "dteFirst", QStringLiteral("第一张的日期"));
  first_->setDisplayFormat(kDateFormat);
  step_ = Named(new QSpinBox(this), "spnStep", QStringLiteral("每张相隔秒数"));
  step_->setRange(0, 86400 * 366);
  step_->setSuffix(QStringLiteral(" 秒"));
  reversed_ = Named(new QCheckBox(QStringLiteral("从列表的最后一张开始"), this), "chkReversed",
                    QStringLiteral("从列表的最后一张开始"));
  rows->addRow(QStringLiteral("第一张:"), first_);
  rows->addRow(QStringLiteral("相隔:"), step_);
  rows->addRow(QString(), reversed_);

  // Each choice's own controls are usable while it is chosen.
  const std::vector<std::pair<QRadioButton*, std::vector<QWidget*>>> parts = {
      {optShift_, {direction_, days_, time_}},
      {optClock_, {clock_}},
      {optSequence_, {first_, step_, reversed_}}};
  connect(choices, &QButtonGroup::buttonToggled, this, [parts] {
    for (const auto& [option, controls] : parts) {
      for (QWidget* control : controls) control->setEnabled(option->isChecked());
    }
  });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  optShift_->setChecked(true);
}

std::optional<DateFix> frmDateFix::Ask(const std::optional<DateTime>& recorded) {
  const QDateTime start = recorded ? ToQt(*recorded) : QDateTime::currentDateTime();
  clock_->setDateTime(start);
  first_->setDateTime(start);
  optClock_->setEnabled(recorded.has_value());
  if (!recorded && optClock_->isChecked()) optShift_->setChecked(true);
  if (exec() != QDialog::Accepted) return std::nullopt;
  DateFix fix;
  if (optClock_->isChecked()) {
    fix.kind = DateFix::Kind::kClock;
    fix.clock = FromQt(clock_->dateTime());
  } else if (optSequence_->isChecked()) {
    fix.kind = DateFix::Kind::kSequence;
    fix.first = FromQt(first_->dateTime());
    fix.step = step_->value();
    fix.reversed = reversed_->isChecked();
  } else {
    const QTime t = time_->time();
    const DateOffset size = static_cast<DateOffset>(days_->value()) * 86400 + t.hour() * 3600 +
                            t.minute() * 60 + t.second();
    fix.offset = direction_->currentIndex() == 1 ? -size : size;
  }
  return fix;
}

}  // namespace tagloom::ui
