// tagloom: the desktop program. Photographs given as arguments (as a file
// manager's "Open With" passes them) open as a drop of them does.
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "editor/texts.h"
#include "ui/about/frm_splash.h"
#include "ui/main/dialogs.h"
#include "ui/main/frm_tagloom.h"
#include "writer/interrupt_cleanup.h"

namespace {

class FirstPaintQuits : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tagloom"));
  QApplication::setApplicationVersion(QString::fromStdString(tagloom::text::VersionText(1)));
  QApplication::setDesktopFileName(QStringLiteral("com.vantoro.Tagloom"));
  // The program speaks Simplified Chinese, and so shall Qt's own buttons and dialogs.
  QTranslator qtTexts;
  if (qtTexts.load(QStringLiteral("qtbase_zh_CN"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }
  tagloom::RemoveTemporaryFilesOnInterrupt();

  tagloom::ui::StandardDialogs dialogs;
  tagloom::ui::frmTagloom window(dialogs);
  QStringList photos = QApplication::arguments();
  photos.removeFirst();
  // The splash first; then the main window, with the photographs given.
  tagloom::ui::frmSplash splash([&] {
    window.show();
    if (!photos.isEmpty()) window.OpenPaths(photos);
  });
  // For the benchmark of the start-up: end as soon as the program is on screen,
  // which may be while the splash is shown.
  if (qEnvironmentVariableIsSet("TAGLOOM_EXIT_ON_FIRST_PAINT")) {
    app.installEventFilter(new FirstPaintQuits(&app));
  }
  splash.show();
  return QApplication::exec();
}
