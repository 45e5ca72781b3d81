// tagloom: the desktop program. Photographs given as arguments (as a file
// manager's "Open With" passes them) open as a drop of them does.
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "editor/texts.h"
#include "ui/main/dialogs.h"
#include "ui/main/frm_tagloom.h"
#include "writer/interrupt_cleanup.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tagloom"));
  QApplication::setApplicationVersion(QString::fromStdString(tagloom::text::VersionText(1)));
  QApplication::setDesktopFileName(QStringLiteral("tagloom"));
  // The program speaks Simplified Chinese, and so shall Qt's own buttons and dialogs.
  QTranslator qtTexts;
  if (qtTexts.load(QStringLiteral("qtbase_zh_CN"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }
  tagloom::RemoveTemporaryFilesOnInterrupt();

  tagloom::ui::StandardDialogs dialogs;
  tagloom::ui::frmTagloom window(dialogs);
  window.show();
  QStringList photos = QApplication::arguments();
  photos.removeFirst();
  if (!photos.isEmpty()) window.OpenPaths(photos);
  return QApplication::exec();
}
