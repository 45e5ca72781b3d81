#include "ui/main/window_widgets.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "ui/main/controls.h"

namespace tagloom::ui {

void WrappingButton::paintEvent(QPaintEvent*) {
  // The button without its text, then the text wrapped to the button's width.
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  painter.drawText(rect().adjusted(3, 2, -3, -2), Qt::AlignCenter | Qt::TextWordWrap, caption);
}

void PictureFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void PictureFrame::dropEvent(QDropEvent* event) {
  event->acceptProposedAction();
  emit filesDropped(LocalFiles(event->mimeData()));
}

void PictureFrame::mouseDoubleClickEvent(QMouseEvent* event) {
  emit doubleClicked();
  QFrame::mouseDoubleClickEvent(event);
}

}  // namespace tagloom::ui
