// Fields select their whole text when they receive the focus, so that typing
// replaces it, however the focus came: by the keyboard, by code, or by a
// mouse click (QLineEdit places the cursor on the press, and would undo a
// selection made before the release).
#pragma once

#include <QObject>

class QLineEdit;

namespace tagloom::ui {

class SelectAllOnFocus : public QObject {
 public:
  using QObject::QObject;
  void Watch(QLineEdit* field);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* selectOnRelease_ = nullptr;  // the field a mouse click gave the focus to
};

}  // namespace tagloom::ui
