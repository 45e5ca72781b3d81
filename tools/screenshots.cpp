// Drives the real Tagloom window through its states and saves a picture of
// the screen for each, as a person would see them: scripts/screenshot runs it
// under Xvfb. Questions are shown as the real message boxes, photographed,
// then answered No, so nothing is ever written to the photographs given.
//
//   tagloom-screenshots OUTPUT_FOLDER PHOTOS_FOLDER
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <cstdio>
#include <functional>
#include <utility>

#include "ui/about/frm_splash.h"
#include "ui/drop/frm_drop.h"
#include "ui/main/dialogs.h"
#include "ui/main/frm_tagloom.h"
#include "ui/main/list_preview_dialog.h"
#include "ui/main/summary_dialog.h"
#include "ui/main/table_preview_dialog.h"
#include "ui/main/theme.h"

using namespace tagloom;
using namespace tagloom::ui;

namespace {

QString output;

void Settle(int milliseconds = 300) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
}

void Snap(const QString& name) {
  Settle();
  const QString path = QDir(output).filePath(name + QStringLiteral(".png"));
  if (!QGuiApplication::primaryScreen()->grabWindow(0).save(path)) {
    std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
    std::exit(1);
  }
  std::printf("%s\n", qPrintable(path));
}

// Shows every question and message as the real box, photographs the first of
// each name it is given, and answers No.
class PhotographedDialogs : public Dialogs {
 public:
  QString nextName;         // the picture the next box goes into; empty: not photographed
  bool answerYes = false;   // for the next question only
  bool tickOption = false;  // the next question's box ticked before its picture

  bool Ask(QWidget* parent, QuestionBox& question) override {
    Photograph(MakeQuestionBox(parent, question));
    return std::exchange(answerYes, false);
  }
  QString summaryName;  // the picture of the next summary, when the boxes before are not taken
  void ShowSummary(QWidget* parent, const RunSummary& summary) override {
    SummaryDialog dialog(summary, parent);
    QString name = std::exchange(summaryName, {});
    if (name.isEmpty()) name = std::exchange(nextName, {});
    if (!name.isEmpty()) {
      dialog.show();
      Snap(name);
    }
  }
  EditsAnswer AskAboutEdits(QWidget* parent, const QString& text) override {
    Photograph(MakeEditsBox(parent, text));
    return EditsAnswer::kDiscard;
  }
  void Tell(QWidget* parent, const QString& text, const QString& title, MessageIcon icon,
            const QString& details) override {
    Photograph(MakeMessageBox(parent, text, title, icon, false, details));
  }
  ListAnswer listAnswer = ListAnswer::kNone;  // for the next preview only
  QString thenName;  // the picture of the box that follows a preview photographed
  ListAnswer ConfirmList(QWidget* parent, ListPreview& preview) override {
    ListPreviewDialog dialog(preview, parent);
    if (const QString name = std::exchange(nextName, {}); !name.isEmpty()) {
      dialog.show();
      Snap(name);
      nextName = std::exchange(thenName, {});
    }
    return std::exchange(listAnswer, ListAnswer::kNone);
  }
  QStringList ChooseFiles(QWidget*, const QStringList&) override { return {}; }
  QString table;
  QString ChooseTable(QWidget*, bool) override { return table; }
  ListAnswer ConfirmTable(QWidget* parent, TablePreview& preview,
                          const std::function<TablePreview(int)>& slide) override {
    TablePreviewDialog dialog(preview, slide, parent);
    if (const QString name = std::exchange(nextName, {}); !name.isEmpty()) {
      dialog.show();
      Settle(1500);  // the small pictures arrive from their workers
      Snap(name);
    }
    return ListAnswer::kNone;
  }

 private:
  void Photograph(QMessageBox* box) {
    std::unique_ptr<QMessageBox> owned(box);
    if (nextName.isEmpty()) return;
    box->show();
    if (auto* option = box->findChild<QCheckBox*>(QStringLiteral("chkKeepAll"));
        option != nullptr && std::exchange(tickOption, false)) {
      option->click();
    }
    // Open the details, as a careful person would before answering.
    for (QAbstractButton* button : box->buttons()) {
      if (box->buttonRole(button) == QMessageBox::ActionRole) button->click();
    }
    Snap(nextName);
    nextName.clear();
  }
};

// Photographs the screen the first time the window's control `name` shows
// while an action runs (timers fire while it lets the window breathe), then
// does `then` with that control.
class SnapWhenShown {
 public:
  SnapWhenShown(QWidget& window, const char* name, QString picture,
                std::function<void(QWidget*)> then = {}, int interval = 20) {
    QObject::connect(&timer_, &QTimer::timeout, [&window, name, picture, then, this] {
      if (seen_) return;
      auto* control = window.findChild<QWidget*>(QString::fromLatin1(name));
      if (!control->isVisible()) return;
      seen_ = true;
      Snap(picture);
      if (then) then(control);
    });
    timer_.start(interval);
  }
  bool Seen() const { return seen_; }

 private:
  QTimer timer_;
  bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: tagloom-screenshots OUTPUT_FOLDER PHOTOS_FOLDER\n");
    return 2;
  }
  UseFixedLayoutStyle();
  output = QString::fromLocal8Bit(argv[1]);
  const QDir photos(QString::fromLocal8Bit(argv[2]));
  QDir().mkpath(output);
  QTranslator qtTexts;
  if (qtTexts.load(QStringLiteral("qtbase_zh_CN"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }
  QTemporaryDir scratch;
  auto copy = [&](const char* name) {
    const QString to = scratch.filePath(QString::fromLatin1(name));
    QFile::copy(photos.filePath(QString::fromLatin1(name)), to);
    QFile(to).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return to;
  };

  {
    frmSplash splash([] {});
    splash.move(200, 200);
    splash.show();
    Snap(QStringLiteral("00-splash"));
    splash.CloseSplash();
  }

  PhotographedDialogs dialogs;
  frmTagloom window(dialogs);
  window.move(40, 40);
  window.show();
  Snap(QStringLiteral("01-empty"));

  const QString canon = copy("Canon_40D.jpg"), bare = copy("olympus-d320l.jpg");
  window.OpenPaths({canon, copy("portrait_6.jpg"), bare});
  Snap(QStringLiteral("02-photograph"));
  window.session().cmdNavigate_Click(3);
  window.Render();
  Snap(QStringLiteral("03-without-exif"));

  window.session().cmdNavigate_Click(0);
  window.session().SetFieldText(0, "Nikon");
  window.Render();
  dialogs.nextName = QStringLiteral("04-write-confirmation");
  window.session().cmdExifWrite_Click();
  dialogs.nextName = QStringLiteral("04b-write-confirmation-keep-all");
  dialogs.tickOption = true;
  window.session().cmdExifWrite_Click();

  // A long copy: a large photograph backed up, photographed while it yields.
  const QString large = scratch.filePath(QStringLiteral("large.jpg"));
  {
    QFile in(canon), out(large);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) return 1;
    QByteArray bytes = in.readAll();
    bytes.insert(bytes.size() - 2, QByteArray(80 << 20, '\0'));
    out.write(bytes);
  }
  // The copyright written to the whole list (scratch copies and the large
  // photograph): its preview, the panel with its stop button, the summary.
  window.OpenPaths({canon, large, bare});
  window.session().SetBatch(true);
  window.session().chkKeep[kAreaCopyright] = true;
  window.session().SetFieldText(3, "© 2026 张三");
  window.Render();
  dialogs.nextName = QStringLiteral("13-list-preview");
  dialogs.listAnswer = ListAnswer::kAll;
  dialogs.thenName = QStringLiteral("15-list-summary");
  {
    SnapWhenShown running(window, "cmdStop", QStringLiteral("14-list-progress"));
    window.session().cmdExifWrite_Click();
  }
  window.session().chkKeep[kAreaCopyright] = false;
  window.session().SetBatch(false);

  window.OpenPaths({large});
  SnapWhenShown during(window, "frmBar", QStringLiteral("05-progress"));
  window.session().SetFieldText(1, "A long copy");
  dialogs.answerYes = true;  // writes only the scratch copy
  window.session().cmdExifWrite_Click();
  if (!during.Seen()) {
    std::fprintf(stderr, "the progress panel was never seen\n");
    return 1;
  }

  // A batch backup of the list, stopped while the large photograph is
  // copied: the panel, then the summary with what was not reached.
  window.OpenPaths({canon, large, bare, copy("DSCN0010.jpg")});
  window.session().SetBatch(true);
  window.Render();
  {
    SnapWhenShown backingUp(  // at the first breath of the run
        window, "cmdStop", QStringLiteral("18-backup-progress"),
        [](QWidget* stop) { dynamic_cast<QPushButton*>(stop)->click(); }, 0);
    dialogs.answerYes = true;  // backs up the scratch copies
    dialogs.summaryName = QStringLiteral("19-backup-summary");
    window.session().cmdBackup_Click();
  }
  window.session().SetBatch(false);

  // A shot log applied in order to three photographs: the preview with each
  // photograph's picture beside its row.
  const QString log = scratch.filePath(QStringLiteral("roll 12.csv"));
  {
    QFile file(log);
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write(
        "Frame,Date taken,Shutter speed,Aperture,Notes\n"
        "1,1998-07-14T10:01:00,1/125s,f/8,第一张 river\n"
        "2,1998-07-14T10:04:00,1/60s,f/5.6,bridge\n"
        "3,1998-07-14T10:09:00,1/250s,f/11,market\n");
  }
  window.OpenPaths({canon, copy("DSCN0010.jpg"), copy("HTC Desire.jpg")});
  dialogs.table = log;
  dialogs.nextName = QStringLiteral("20-table-preview");
  window.findChild<QPushButton*>(QStringLiteral("cmdImportTable"))->click();

  // The inspector, revealed by its access text, with a line selected; then
  // its position columns in hexadecimal.
  window.OpenPaths({canon});
  window.session().SetFieldText(3, "Copper Heron");
  window.session().SelectRow(StoreList::kTitle, 14);
  window.session().SelectRow(StoreList::kUnuseTag, 3);
  window.Render();
  Snap(QStringLiteral("06-inspector"));
  window.session().SetFieldText(3, "Copper Heron Hex");
  window.Render();
  Snap(QStringLiteral("07-inspector-hex"));

  // The date picker, opened on the field's date, then closed with its button.
  QTimer::singleShot(0, [&] {
    Snap(QStringLiteral("08-date-picker"));
    if (auto* ok = window.findChild<QPushButton*>(QStringLiteral("OKButton"))) ok->click();
  });
  window.findChild<QPushButton*>(QStringLiteral("cmdDateChoose"))->click();

  // From the picker, the dates of the whole list: the dialog, then the
  // preview of a shift by two hours (answered No).
  window.OpenPaths({canon, copy("DSCN0010.jpg"), copy("HTC Desire.jpg")});
  QTimer::singleShot(0, [&] {
    QApplication::activeModalWidget()
        ->findChild<QPushButton*>(QStringLiteral("cmdDateFix"))
        ->click();
    QTimer::singleShot(0, [&] {
      QWidget* fix = QApplication::activeModalWidget();
      fix->findChild<QTimeEdit*>(QStringLiteral("tmeOffset"))->setTime(QTime(2, 0));
      Snap(QStringLiteral("16-date-fix"));
      dialogs.nextName = QStringLiteral("17-date-preview");
      dynamic_cast<QDialog*>(fix)->accept();
    });
  });
  window.findChild<QPushButton*>(QStringLiteral("cmdDateChoose"))->click();

  // A picker's list, open.
  auto* iso = window.findChild<QComboBox*>(QStringLiteral("Combo3"));
  iso->showPopup();
  Snap(QStringLiteral("09-picker-list"));
  iso->hidePopup();

  // The drop target with a gathering, its clear dialog, then back.
  window.findChild<QToolButton*>(QStringLiteral("cmdTarget"))->click();
  frmDrop* drop = window.DropTargetWindow();
  drop->move(500, 200);
  drop->DropFiles({canon, bare});
  drop->DropFiles({canon});
  Snap(QStringLiteral("10-drop-target"));
  QTimer::singleShot(0, [] {
    Snap(QStringLiteral("11-clear-dialog"));
    QApplication::activeModalWidget()->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
  });
  drop->Clear();
  drop->Exit();

  // The About box.
  QTimer::singleShot(0, [] {
    Snap(QStringLiteral("12-about"));
    QApplication::activeModalWidget()->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
  });
  window.findChild<QPushButton*>(QStringLiteral("cmdAbout"))->click();
  return 0;
}
