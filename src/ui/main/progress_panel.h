// The progress panel of long copies: a light cyan frame with its caption and
// bar, over a grey frame of the same size that is its drop shadow. Parked
// hidden below the visible part of the window while not in use.
#pragma once

#include <QFrame>
#include <cstdint>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tagloom::ui {

class ProgressPanel {
 public:
  explicit ProgressPanel(QWidget* window);

  // Moves the panel over the photo area and shows or hides it.
  void Show(bool visible);
  void SetRange(std::int64_t min, std::int64_t max);
  void SetValue(std::int64_t value);
  // A run that may be stopped shows a stop button below the bar, and beside
  // it where the run is ("3 / 200  IMG_0003.JPG").
  void OfferStop(bool offered);
  void SetText(const QString& text);

  QFrame* frmBar() const { return bar_; }
  QFrame* frmShadow() const { return shadow_; }
  QProgressBar* Bar() const { return progress_; }
  QPushButton* cmdStop() const { return stop_; }
  QLabel* labRun() const { return where_; }

 private:
  QFrame* bar_;
  QFrame* shadow_;
  QProgressBar* progress_;
  QPushButton* stop_;
  QLabel* where_;
  std::int64_t min_ = 0, max_ = 100;
};

}  // namespace tagloom::ui
