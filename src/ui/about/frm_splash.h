// frmSplash, the start-up screen: the product's name on a picture, for four
// ticks of a second or until a click or a key, then the main window.
#pragma once

#include <QWidget>

class QTimer;
#include <functional>

namespace tagloom::ui {

class frmSplash : public QWidget {
 public:
  // `closed` runs once, when the splash has gone.
  explicit frmSplash(std::function<void()> closed, QWidget* parent = nullptr);

  // One tick of Timer1; the fourth closes the splash.
  void Timer1_Timer();
  void CloseSplash();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::function<void()> closed_;
  QTimer* Timer1_ = nullptr;
  int ticks_ = 0;
};

}  // namespace tagloom::ui
