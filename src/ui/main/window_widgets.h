// The main window's own kinds of control: a button whose caption wraps, and
// the picture frame that takes drops and double clicks.
#pragma once

#include <QFrame>
#include <QPushButton>
#include <QStringList>

namespace tagloom::ui {

// A button whose caption wraps to its width, as narrow buttons of the
// layout need.
class WrappingButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// The picture frame: takes file lists dropped from any file manager and
// double clicks, anywhere over the preview.
class PictureFrame : public QFrame {
  Q_OBJECT
 public:
  using QFrame::QFrame;
 signals:
  void filesDropped(const QStringList& paths);  // local files, in the order of the drop
  void doubleClicked();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace tagloom::ui
