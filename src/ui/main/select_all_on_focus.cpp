#include "ui/main/select_all_on_focus.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

namespace tagloom::ui {

void SelectAllOnFocus::Watch(QLineEdit* field) {
  field->installEventFilter(this);
}

bool SelectAllOnFocus::eventFilter(QObject* watched, QEvent* event) {
  auto* field = static_cast<QLineEdit*>(watched);
  switch (event->type()) {
    case QEvent::FocusIn:
      if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason) {
        selectOnRelease_ = field;
      } else {
        // After QLineEdit's own focus handling, which may move the cursor.
        QTimer::singleShot(0, field, [field] {
          if (field->hasFocus()) field->selectAll();
        });
      }
      break;
    case QEvent::MouseButtonRelease:
      if (selectOnRelease_ == field) {
        selectOnRelease_ = nullptr;
        // A drag that selected part of the text is what the person wanted.
        if (!field->hasSelectedText()) {
          QTimer::singleShot(0, field, [field] { field->selectAll(); });
        }
      }
      break;
    case QEvent::FocusOut:
      if (selectOnRelease_ == field) selectOnRelease_ = nullptr;
      break;
    default:
      break;
  }
  return false;
}

}  // namespace tagloom::ui
