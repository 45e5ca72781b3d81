#include "ui/about/system_info.h"

#include <QProcess>
#include <QStandardPaths>

namespace tagloom::ui {

bool StartSystemInfoProgram() {
  for (const SystemInfoProgram& program : kSystemInfoPrograms) {
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(program.name));
    if (path.isEmpty()) continue;
    QStringList arguments;
    if (program.argument != nullptr) arguments << QString::fromLatin1(program.argument);
    if (QProcess::startDetached(path, arguments)) return true;
  }
  return false;
}

}  // namespace tagloom::ui
