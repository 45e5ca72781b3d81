// The drop target, the clear dialog, the splash and the About box, each
// bound to what it drives: the gathering, its choice, the main window.
#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <ctime>

#include "app/single_instance.h"
#include "editor/texts.h"
#include "ui/about/frm_about.h"
#include "ui/about/frm_splash.h"
#include "ui/date/frm_date_fix.h"
#include "ui/drop/frm_clear.h"
#include "ui/drop/frm_drop.h"
#include "ui/main/frm_tagloom.h"
#include "ui/main/summary_dialog.h"
#include "ui/main/table_preview_dialog.h"
#include "window_test_support.h"

using namespace tagloom;
using namespace tagloom::ui;

namespace {

// Runs `act` on the modal dialog once it is on screen.
void WhenShown(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act] { act(QApplication::activeModalWidget()); });
}

void Click(QWidget* dialog, const char* name) {
  dialog->findChild<QPushButton*>(QString::fromLatin1(name))->click();
}

}  // namespace

class OtherWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void theDropTargetCountsPhotographsAndHandsThemToTheMainWindow() {
    QTemporaryDir dir;
    QStringList paths;
    for (const char* name : {"a.jpg", "b.JPG", "notes.txt", "c.thm"}) {
      const QString path = dir.filePath(QString::fromLatin1(name));
      QFile::copy(PhotoPath("Canon_40D.jpg"), path);
      paths << path;
    }
    ScriptedDialogs dialogs;
    frmTagloom main(dialogs);
    main.show();
    QTest::mouseClick(main.findChild<QWidget*>(QStringLiteral("cmdTarget")), Qt::LeftButton);
    frmDrop* drop = main.DropTargetWindow();
    QVERIFY(drop && drop->isVisible() && main.isHidden());
    QVERIFY(drop->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    auto* counter = drop->findChild<QLabel*>(QStringLiteral("labCounter"));
    QWidget* picture = drop->findChild<QWidget*>(QStringLiteral("Image1"));
    DropFiles(picture, paths);
    QCOMPARE(counter->text(), QStringLiteral("3 Photos"));

    // Dragged by the picture with the left button it moves; with the right, not.
    const QPoint before = drop->pos();
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
      QTest::mousePress(picture, button, {}, QPoint(10, 10));
      QMouseEvent move(QEvent::MouseMove, QPointF(30, 25), picture->mapToGlobal(QPointF(30, 25)),
                       Qt::NoButton, button, Qt::NoModifier);
      QCoreApplication::sendEvent(picture, &move);
      QTest::mouseRelease(picture, button, {}, QPoint(30, 25));
      QCOMPARE(drop->pos(), before + QPoint(20, 15));
    }
    // "<Clear>" and "<Exit>" are reached by Tab and act as buttons do: on
    // Space or Enter, and on a screen reader's press.
    auto* clear = drop->findChild<QAbstractButton*>(QStringLiteral("Label1"));
    auto* exit = drop->findChild<QAbstractButton*>(QStringLiteral("Label2"));
    QVERIFY(clear && exit);
    clear->setFocus();
    QTest::keyClick(clear, Qt::Key_Tab);
    QCOMPARE(drop->focusWidget(), exit);
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
      bool asked = false;
      WhenShown([&](QWidget* d) { asked = true, QTest::keyClick(d, Qt::Key_Escape); });
      QTest::keyClick(clear, key);
      QVERIFY(asked);
    }
    QAccessibleActionInterface* press =
        QAccessible::queryAccessibleInterface(exit)->actionInterface();
    QVERIFY(press && press->actionNames().contains(QAccessibleActionInterface::pressAction()));
    press->doAction(QAccessibleActionInterface::pressAction());  // an animated click
    QTRY_VERIFY(drop->isHidden() && main.isVisible());
    QCOMPARE(main.session().lstDragFiles.Count(), 3);
    QCOMPARE(main.findChild<QLabel*>(QStringLiteral("labNum"))->text(), QStringLiteral("1/3"));
    // The system's close command is "<Exit>" too.
    QTest::mouseClick(main.findChild<QWidget*>(QStringLiteral("cmdTarget")), Qt::LeftButton);
    drop->close();
    QVERIFY(drop->isHidden() && main.isVisible());
  }

  void theClearDialogGivesOnlyTheChoiceOfEachShowing() {
    frmClear clear(nullptr);
    QCOMPARE(clear.windowTitle(), QStringLiteral("清除图像"));
    using Act = void (*)(QWidget*);
    for (const auto& [act, choice] : std::initializer_list<std::pair<Act, ClearChoice>>{
             {[](QWidget* d) { Click(d, "Command2"); }, ClearChoice::kAll},
             {[](QWidget* d) { Click(d, "Command2"); }, ClearChoice::kAll},
             {[](QWidget* d) { Click(d, "Command1"); }, ClearChoice::kLast},
             {[](QWidget* d) { d->close(); }, ClearChoice::kNone},  // the close box
             {[](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }, ClearChoice::kNone}}) {
      WhenShown(act);
      QCOMPARE(clear.Choose(), choice);
    }
  }

  void theSplashClosesOnAKeyOrTheFourthTickAndOnlyOnce() {
    int shown = 0;
    frmSplash splash([&] { ++shown; });
    splash.show();
    QCOMPARE(splash.findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
             QStringLiteral("Version 3.0  Build 3002"));
    auto* timer = splash.findChild<QTimer*>(QStringLiteral("Timer1"));
    QVERIFY(timer->isActive());
    QTest::keyClick(&splash, Qt::Key_Space);
    QVERIFY(shown == 1 && splash.isHidden() && !timer->isActive());
    splash.Timer1_Timer();  // a late tick changes nothing
    QTest::mouseClick(&splash, Qt::LeftButton);
    QCOMPARE(shown, 1);

    frmSplash waited([&] { ++shown; });
    for (int tick = 0; tick < 3; ++tick) waited.Timer1_Timer();
    QCOMPARE(shown, 1);
    waited.Timer1_Timer();
    QCOMPARE(shown, 2);
  }

  void theAboutBoxTellsItsVersionAndWhenNoSystemInformationProgramIsThere() {
    ScriptedDialogs dialogs;
    frmAbout about(dialogs, nullptr);
    QCOMPARE(about.windowTitle(), QStringLiteral("关于Tagloom"));
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
             QStringLiteral("Version 3.0 Build 3002"));
    QCOMPARE(about.findChild<QPushButton*>(QStringLiteral("cmdOK"))->text(),
             QStringLiteral("知道了!"));
    const QByteArray path = qgetenv("PATH");
    test::TempDir bin;
    qputenv("PATH", QByteArray::fromStdString(bin.File("")));
    about.show();
    Click(&about, "cmdSysInfo");
    QCOMPARE(dialogs.shown.size(), std::size_t{1});
    QCOMPARE(dialogs.shown[0].title + dialogs.shown[0].text,
             QStringLiteral("TagloomSystem Information Is Unavailable At This Time"));
    QVERIFY(about.isVisible());
    // One that is installed is started, and nothing is said.
    const std::string marker = bin.File("started");
    bin.Write("kinfocenter", "#!/bin/sh\n: > '" + marker + "'\n");
    QFile::setPermissions(QString::fromStdString(bin.File("kinfocenter")),
                          QFile::ReadOwner | QFile::ExeOwner);
    Click(&about, "cmdSysInfo");
    QTRY_VERIFY(QFile::exists(QString::fromStdString(marker)));
    QCOMPARE(dialogs.shown.size(), std::size_t{1});
    qputenv("PATH", path);
  }

  // The date dialog's dates have no time zone: 02:30 on the nights the
  // clocks skip that hour, in Berlin and in New York, is a time like any
  // other; a whole date typed over the selected one is that date.
  void theDateDialogsDatesAreCalendarDatesWhateverTheTimeZone() {
    const QByteArray zone = qgetenv("TZ");
    for (const char* tz : {"Europe/Berlin", "America/New_York"}) {
      qputenv("TZ", tz);
      ::tzset();
      const DateTime skipped = std::string_view(tz) == "Europe/Berlin"
                                   ? DateTime{2021, 3, 28, 2, 30, 0}
                                   : DateTime{2021, 3, 14, 2, 30, 0};
      frmDateFix dialog(nullptr);
      WhenShown([](QWidget* shown) {
        shown->findChild<QRadioButton*>(QStringLiteral("optClock"))->setChecked(true);
        auto* clock = shown->findChild<QLineEdit*>(QStringLiteral("dteClock"));
        clock->setFocus();
        clock->selectAll();
        QTest::keyClicks(clock, QStringLiteral("1998/07/14 10:00:00"));
        dynamic_cast<QDialog*>(shown)->accept();
      });
      const std::optional<DateFix> fix = dialog.Ask(skipped, {2026, 12, 8, 12, 0, 0});
      QVERIFY(fix && fix->kind == DateFix::Kind::kClock);
      QVERIFY(fix->clock == (DateTime{1998, 7, 14, 10, 0, 0}));
      WhenShown([](QWidget* shown) { dynamic_cast<QDialog*>(shown)->accept(); });
      const std::optional<DateFix> kept = dialog.Ask(skipped, {2026, 12, 8, 12, 0, 0});
      QVERIFY(kept && kept->clock == skipped);
    }
    qputenv("TZ", zone);
    ::tzset();
  }

  // A run's summary: its counts, a row for every photograph, and the whole
  // of it as text to copy, a line each.
  void theSummaryShowsEveryPhotographAndCopiesAsText() {
    RunSummary summary{
        RunKind::kWrite,
        "批量操作结果",
        "批量写入结果:\r\n  共处理文件:2\r\n",
        {{"/p/a.jpg", PhotoResult::kDone, {}, {{3, "", "X"}}},
         {"/p/b\nc.jpg", PhotoResult::kRefused, "不是JPEG图像文件:/p/b\nc.jpg", {}}}};
    SummaryDialog dialog(summary, nullptr);
    auto* table = dialog.findChild<QTreeWidget*>(QStringLiteral("lstOutcomes"));
    QCOMPARE(table->topLevelItemCount(), 2);
    QCOMPARE(table->topLevelItem(0)->text(2), QStringLiteral("版权声明 (空) → X"));
    dialog.findChild<QPushButton*>(QStringLiteral("cmdCopy"))->click();
    const QStringList lines = QApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);  // two counts, two photographs: a line feed in a name splits none
    QVERIFY(lines[3].startsWith(QStringLiteral("/p/b c.jpg: 失败:")));
  }

  // A table's preview: a row per photograph with its picture and name, its
  // table line and a line per change; the rows slide by a button, and the
  // preview answered is the one last shown.
  void theTablePreviewShowsEachPhotographAndItsRowsSlide() {
    auto previewAt = [](int offset) {
      TablePreview preview;
      preview.slides = true;
      preview.offset = offset;
      preview.list.photos.resize(2);
      preview.list.photos[0].path = "/p/a.jpg";
      preview.list.photos[0].changes = {{5, "2008/05/30 15:56:01", "1998/07/14 10:01:00"},
                                        {13, "", "river"}};
      preview.list.photos[1].path = "/p/b.jpg";
      preview.lineOf = {2 + offset, -1};
      return preview;
    };
    TablePreview shown = previewAt(0);
    std::vector<int> asked;
    TablePreviewDialog dialog(
        shown,
        [&](int offset) {
          asked.push_back(offset);
          return previewAt(offset);
        },
        nullptr);
    auto* table = dialog.findChild<QTreeWidget*>(QStringLiteral("lstTablePreview"));
    QCOMPARE(table->topLevelItemCount(), 2);
    const QTreeWidgetItem* a = table->topLevelItem(0);
    QCOMPARE(a->text(0), QStringLiteral("a.jpg"));
    QCOMPARE(a->text(1), QStringLiteral("2"));
    QCOMPARE(a->text(4), QStringLiteral("1998/07/14 10:01:00\nriver"));
    QVERIFY2(table->columnWidth(0) > 64, "no room for the picture beside the name");
    QCOMPARE(table->topLevelItem(1)->text(2),
             QString::fromUtf8(text::kTableNoRow.data(),
                               static_cast<qsizetype>(text::kTableNoRow.size())));
    dialog.findChild<QPushButton*>(QStringLiteral("cmdRowsUp"))->click();
    QCOMPARE(asked, std::vector<int>{1});
    QCOMPARE(table->topLevelItem(0)->text(1), QStringLiteral("3"));
  }

  // A second start hands its photographs over on the session bus: the call
  // is answered before they are taken (a question they raise never holds
  // the caller); only absolute local file URIs name photographs.
  void aHandOverIsAnsweredFirstAndTakesLocalFilesOnly() {
    QStringList taken;
    int deliveries = 0;
    app::ApplicationService service([&](const QStringList& paths) {
      ++deliveries;
      taken = paths;
    });
    service.Open({QStringLiteral("file:///home/ann/a.jpg"), QStringLiteral("file:rel.jpg"),
                  QStringLiteral("file://otherhost/x.jpg"), QStringLiteral("file:///tmp/b%00.jpg"),
                  QStringLiteral("file://localhost/tmp/c%20d.jpg"),
                  QStringLiteral("http://example.com/e.jpg")},
                 {});
    QCOMPARE(deliveries, 0);  // not inside the call
    QTRY_COMPARE(deliveries, 1);
    QCOMPARE(taken,
             (QStringList{QStringLiteral("/home/ann/a.jpg"), QStringLiteral("/tmp/c d.jpg")}));
    service.Activate({});
    QTRY_COMPARE(deliveries, 2);
    QVERIFY(taken.isEmpty());  // a start without photographs: the window comes forward
  }
};

QTEST_MAIN(OtherWindowsTest)
#include "other_windows_test.moc"
