#include "ui/main/progress_panel.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "ui/main/controls.h"
#include "ui/main/twips.h"

namespace tagloom::ui {
namespace {

constexpr int kWidth = 4815, kHeight = 735;
constexpr int kStopHeight = 405;  // what a stop button adds below the bar
// A copy of a file over 2 GB does not fit the bar's int range: it runs in steps.
constexpr int kSteps = 10000;

}  // namespace

ProgressPanel::ProgressPanel(QWidget* window) {
  shadow_ = new QFrame(window);
  Name(shadow_, "frmShadow");
  shadow_->setGeometry(TwipsRect(1320, 6660, kWidth, kHeight));
  Paint(shadow_, QColor(128, 128, 128));
  shadow_->hide();

  bar_ = new QFrame(window);
  Name(bar_, "frmBar");
  bar_->setGeometry(TwipsRect(1200, 6540, kWidth, kHeight));
  bar_->setFrameShape(QFrame::Box);
  Paint(bar_, QColor(192, 255, 255));
  auto* caption = new QLabel(QStringLiteral("处理进度"), bar_);
  Name(caption, "Label4");
  caption->setGeometry(TwipsRect(300, 240, 795, 255));
  progress_ = new QProgressBar(bar_);
  Name(progress_, "Bar");
  progress_->setGeometry(TwipsRect(1080, 180, 3615, 375));
  progress_->setRange(0, kSteps);
  progress_->setAccessibleName(QStringLiteral("处理进度"));
  stop_ = new QPushButton(QStringLiteral("停止"), bar_);
  Name(stop_, "cmdStop");
  stop_->setGeometry(TwipsRect(kWidth - 1155, kHeight - 60, 1035, 345));
  stop_->setToolTip(QStringLiteral("处理完当前这张相片后停止 (Esc)"));
  stop_->hide();
  where_ = new QLabel(bar_);
  Name(where_, QStringLiteral("labRun"));
  where_->setGeometry(TwipsRect(300, kHeight - 30, kWidth - 1155 - 360, 285));
  where_->setTextFormat(Qt::PlainText);
  where_->hide();
  bar_->hide();
}

void ProgressPanel::Show(bool visible) {
  bar_->move(Px(1920), Px(1500));
  shadow_->move(Px(2040), Px(1620));
  bar_->setVisible(visible);
  shadow_->setVisible(visible);
  if (visible) {
    shadow_->raise();
    bar_->raise();
  }
}

void ProgressPanel::OfferStop(bool offered) {
  const int height = offered ? kHeight + kStopHeight : kHeight;
  bar_->resize(bar_->width(), Px(height));
  shadow_->resize(shadow_->width(), Px(height));
  stop_->setVisible(offered);
  where_->setVisible(offered);
  if (!offered) where_->clear();
}

void ProgressPanel::SetText(const QString& text) {
  // A long name is cut in its middle, where it says least.
  where_->setText(where_->fontMetrics().elidedText(text, Qt::ElideMiddle, where_->width()));
  where_->setAccessibleName(text);
}

void ProgressPanel::SetRange(std::int64_t min, std::int64_t max) {
  min_ = min;
  max_ = max;
  SetValue(min);
}

void ProgressPanel::SetValue(std::int64_t value) {
  const double span = static_cast<double>(max_ - min_);
  const double done = span > 0 ? static_cast<double>(value - min_) / span : 1.0;
  progress_->setValue(static_cast<int>(std::clamp(done, 0.0, 1.0) * kSteps));
}

}  // namespace tagloom::ui
