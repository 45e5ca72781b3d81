// frmDrop, the drop target: a small window above all others that gathers
// photographs dropped on its picture from any number of folders, then hands
// them to the main window. The gathering itself is the core's DropTarget.
#pragma once

#include <QWidget>
#include <functional>

#include "editor/drop_target.h"

class QLabel;

namespace tagloom::ui {

class frmClear;

class frmDrop : public QWidget {
 public:
  // `exited` runs after "<Exit>" (or the system's close command) hid the window.
  frmDrop(std::function<void()> exited, QWidget* parent = nullptr);

  DropTarget& Target() { return target_; }
  // Files dropped on the picture, in the order of the drop.
  void DropFiles(const QStringList& paths);
  void Clear();  // "<Clear>"
  void Exit();   // "<Exit>"

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Render();

  DropTarget target_;
  std::function<void()> exited_;
  QLabel* labCounter_ = nullptr;
  frmClear* clear_ = nullptr;  // created on first use
};

}  // namespace tagloom::ui
