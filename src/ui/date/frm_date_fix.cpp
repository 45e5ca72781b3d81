#include "ui/date/frm_date_fix.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "ui/date/date_time_field.h"
#include "ui/main/controls.h"

namespace tagloom::ui {
namespace {

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
  clock_ = Named(new DateTimeField(this), "dteClock", QStringLiteral("时钟显示的时间"));
  rows->addRow(QStringLiteral("时钟显示:"), clock_);

  std::tie(optSequence_, rows) =
      choice("optSequence", QStringLiteral("依次设置日期(如扫描的胶片)"));
  first_ = Named(new DateTimeField(this), "dteFirst", QStringLiteral("第一张的日期"));
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
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (Chosen()) {
      accept();
    } else {  // the date of the choice is no date: say so, and stay
      QMessageBox::warning(this, QStringLiteral("格式错误!"), QStringLiteral("你的日期格式有误!"));
    }
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  optShift_->setChecked(true);
}

std::optional<DateFix> frmDateFix::Ask(const std::optional<DateTime>& recorded,
                                       const DateTime& now) {
  clock_->SetDate(recorded.value_or(now));
  first_->SetDate(recorded.value_or(now));
  optClock_->setEnabled(recorded.has_value());
  if (!recorded && optClock_->isChecked()) optShift_->setChecked(true);
  if (exec() != QDialog::Accepted) return std::nullopt;
  return Chosen();
}

std::optional<DateFix> frmDateFix::Chosen() const {
  DateFix fix;
  if (optClock_->isChecked()) {
    fix.kind = DateFix::Kind::kClock;
    const std::optional<DateTime> clock = clock_->Date();
    if (!clock) return std::nullopt;
    fix.clock = *clock;
  } else if (optSequence_->isChecked()) {
    fix.kind = DateFix::Kind::kSequence;
    const std::optional<DateTime> first = first_->Date();
    if (!first) return std::nullopt;
    fix.first = *first;
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
