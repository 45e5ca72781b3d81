// tagloom: the desktop program. Photographs and folders given as arguments
// (as a file manager's "Open With" passes them) open at once as a drop of
// them does; without them the splash comes first. A second start hands its
// photographs to the running Tagloom.
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <iostream>
#include <string_view>

#include "app/single_instance.h"
#include "editor/texts.h"
#include "ui/about/frm_splash.h"
#include "ui/main/controls.h"
#include "ui/main/dialogs.h"
#include "ui/main/frm_tagloom.h"
#include "ui/main/theme.h"
#include "writer/interrupt_cleanup.h"

namespace {

// For the benchmark of the start-up: ends the program at the first paint of
// the main window (or of the splash, when it comes first).
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

// --help and --version, answered before any window system is needed.
// Returns true when the program is to end.
bool AnsweredAtOnce(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") break;
    if (arg == "--version") {
      std::cout << "tagloom " << tagloom::text::VersionText(1) << "\n";
      return true;
    }
    if (arg == "--help" || arg == "-h") {
      std::cout << "Usage: tagloom [PHOTO|FOLDER...]\n\n"
                   "Tagloom EXIF editor: shows and edits the EXIF block of JPEG and .thm\n"
                   "photographs, backs it up and restores it. Photographs and folders given\n"
                   "open as the list; a running Tagloom takes them instead.\n\n"
                   "  --help     print this help and exit\n"
                   "  --version  print the version and exit\n"
                   "  --         what follows is a photograph, even if it starts with -\n";
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (AnsweredAtOnce(argc, argv)) return 0;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tagloom"));
  QApplication::setApplicationVersion(QString::fromStdString(tagloom::text::VersionText(1)));
  QApplication::setDesktopFileName(QString::fromLatin1(tagloom::app::kApplicationId));
  // The arguments as given, bytes and all (QApplication's copy decodes them,
  // losing a name that is not UTF-8).
  QStringList photos;
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) != "--") photos << tagloom::ui::FromPath(argv[i]);
  }
  if (tagloom::app::ClaimOrHandOn(photos) == tagloom::app::Instance::kHandedOn) return 0;

  // The program speaks Simplified Chinese, and so shall Qt's own buttons and dialogs.
  QTranslator qtTexts;
  if (qtTexts.load(QStringLiteral("qtbase_zh_CN"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }
  tagloom::RemoveTemporaryFilesOnInterrupt();
  tagloom::ui::UseFixedLayoutStyle();

  tagloom::ui::StandardDialogs dialogs;
  tagloom::ui::frmTagloom window(dialogs);
  tagloom::ui::frmSplash splash([&] { window.show(); });
  tagloom::app::ApplicationService service([&](const QStringList& handed) {
    splash.CloseSplash();  // the main window comes at once
    window.HandOver(handed);
  });
  tagloom::app::Serve(&service);
  if (qEnvironmentVariableIsSet("TAGLOOM_EXIT_ON_FIRST_PAINT")) {
    app.installEventFilter(new FirstPaintQuits(&app));
  }
  if (photos.isEmpty()) {
    splash.show();
  } else {
    // Opened before it is shown: its first paint has the fields filled.
    window.OpenPaths(photos);
    splash.CloseSplash();
  }
  return QApplication::exec();
}
