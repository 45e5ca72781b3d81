#include "ui/main/theme.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace tagloom::ui {

void UseFixedLayoutStyle() {
  if (QApplication::style()->name().compare(QStringLiteral("fusion"), Qt::CaseInsensitive) == 0) {
    return;
  }
  // Every colour set by hand: a palette taken over as it is counts as
  // nothing set, and would give way to Fusion's own.
  const QPalette desktop = QApplication::palette();
  QPalette chosen;
  for (int group = 0; group < QPalette::NColorGroups; ++group) {
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
      const auto g = static_cast<QPalette::ColorGroup>(group);
      const auto r = static_cast<QPalette::ColorRole>(role);
      chosen.setBrush(g, r, desktop.brush(g, r));
    }
  }
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
    QApplication::setStyle(fusion);
    QApplication::setPalette(chosen);
  }
}

}  // namespace tagloom::ui
