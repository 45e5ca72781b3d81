// The main window's binding to its Session: clicks, drops and typing reach the
// Session, and the Session's state reaches the widgets. The rules themselves
// are the Session's tests; here every message box is answered by a script.
#include "ui/main/frm_tagloom.h"

#include <sys/stat.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <filesystem>

#include "editor/texts.h"
#include "support/differences.h"
#include "support/oracle.h"
#include "ui/date/frm_date_choose.h"
#include "ui/main/controls.h"
#include "window_test_support.h"

using namespace tagloom;
using namespace tagloom::ui;

class FrmTagloomTest : public QObject {
  Q_OBJECT

 private:
  template <typename T = QWidget>
  T* Control(const QString& name) {
    T* found = window->findChild<T*>(name);
    if (!found) qFatal("no control %s", qPrintable(name));
    return found;
  }
  template <typename T = QWidget>
  T* Control(const char* name) {
    return Control<T>(QString::fromLatin1(name));
  }
  QString Field(int i) { return Control<QLineEdit>(QStringLiteral("txtExif(%1)").arg(i))->text(); }
  void Click(const char* name) { QTest::mouseClick(Control(name), Qt::LeftButton); }
  QString Copy(const char* name) {
    const QString target = dir->filePath(QString::fromLatin1(name));
    QFile::copy(PhotoPath(name), target);
    QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return target;
  }
  void Drop(const QStringList& paths) { DropFiles(Control("Frame1"), paths); }

  // A mouse event on a row of an inspector list, as the list's viewport gets it.
  void MouseOnRow(const char* list, QEvent::Type type, int row, Qt::MouseButton button) {
    auto* view = Control<QListView>(list);
    const QPointF at = view->visualRect(view->model()->index(row, 0)).center();
    QMouseEvent event(type, at, view->viewport()->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &event);
  }
  int CurrentRow(const char* list) { return Control<QListView>(list)->currentIndex().row(); }
  QString Row(const char* list, int row) {
    return Control<QListView>(list)->model()->index(row, 0).data().toString();
  }

  std::unique_ptr<QTemporaryDir> dir;
  std::unique_ptr<ScriptedDialogs> dialogs;
  std::unique_ptr<frmTagloom> window;

 private slots:
  void init() {
    dir = std::make_unique<QTemporaryDir>();
    dialogs = std::make_unique<ScriptedDialogs>();
    window = std::make_unique<frmTagloom>(*dialogs);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
  }
  void cleanup() { window.reset(); }

  void everyDocumentedControlIsFoundByItsNameAndCaption() {
    QStringList names = QStringLiteral(
                            "Label1(0) Text1 cmdOpen imgRead imgBackup Frame1 Image1 labNoExif "
                            "Label2 labNum chkBatch cmdBackup cmdRestore Frame2 Frame3 "
                            "cmdDateChoose Combo1 Combo2 Combo3 Combo4 OptFlash(0) OptFlash(1) "
                            "cmdExifWrite cmdTarget cmdAbout cmdExit Frame_Exif frmBar frmShadow "
                            "Bar Label4 Label3(15) Label3(27)")
                            .split(u' ');
    for (int i = 0; i < 4; ++i) names << QStringLiteral("cmdNavigate(%1)").arg(i);
    for (int i = 0; i < 3; ++i) names << QStringLiteral("chkKeep(%1)").arg(i);
    for (int i = 0; i < kFieldCount; ++i) names << QStringLiteral("txtExif(%1)").arg(i);
    for (const QString& name : names) QCOMPARE(Control(name)->accessibleDescription(), name);
    // A screen reader announces each visible field by its caption.
    for (int i = 0; i < kFieldCount; ++i) {
      if (i == 7 || i == 11 || i == 14) continue;  // the hidden carriers of the pickers
      auto* caption = Control<QLabel>(QStringLiteral("Label3(%1)").arg(i == 15 ? 27 : i));
      QCOMPARE(caption->buddy(), Control(QStringLiteral("txtExif(%1)").arg(i)));
      QCOMPARE(caption->text(), QString::fromUtf8(kFields[static_cast<std::size_t>(i)].caption));
    }
    QCOMPARE(window->windowTitle(),
             QStringLiteral("Tagloom Version 3.0 Build 3002 - Vantoro Studio."));
    QVERIFY(!Control("Frame_Exif")->isVisible());
    QVERIFY(!Control("cmdExifWrite")->isEnabled());
    QCOMPARE(Control<QPushButton>("cmdExit")->shortcut(), QKeySequence("Alt+X"));
  }

  void theOpenDialogsFiltersMatchCameraNames() {
    dialogs->chosen = {};
    Click("cmdOpen");
    QCOMPARE(dialogs->filters.size(), 3);
    // Each filter's patterns, matched as a case-sensitive file dialog matches them.
    auto matches = [&](int filter, const char* name) {
      const QStringList patterns =
          dialogs->filters[filter].section(u'(', -1).chopped(1).split(u' ');
      return std::any_of(patterns.begin(), patterns.end(), [&](const QString& pattern) {
        return QRegularExpression::fromWildcard(pattern, Qt::CaseSensitive)
            .match(QLatin1String(name))
            .hasMatch();
      });
    };
    QVERIFY(matches(0, "IMG_0001.JPG") && matches(0, "photo.jpeg") && matches(0, "IMG_0001.THM"));
    QVERIFY(matches(1, "IMG_0001.JPG") && !matches(1, "IMG.THM") && !matches(0, "notes.txt"));
    QVERIFY(matches(2, "IMG_0001.THM") && !matches(2, "a.JPG"));
  }

  // Two photographs and their folder, which brings them again, among others.
  void aDropOfFiveFilesWithTwoPhotographsAndTheirFolderGivesOneOfFour() {
    const QString first = Copy("Canon_40D.jpg"), second = Copy("HTC Desire.jpg");
    const QString text = dir->filePath(QStringLiteral("notes.txt"));
    QVERIFY(QFile(text).open(QIODevice::WriteOnly));
    Drop({text, first, dir->filePath(QStringLiteral("x.png")), second, dir->path()});
    QCOMPARE(Control<QLabel>("labNum")->text() + Control<QLineEdit>("Text1")->text() + Field(0),
             QStringLiteral("1/4Canon_40D.jpgCanon"));
    QVERIFY(Control("labNum")->isVisible() && Control("chkBatch")->isEnabled());
    QVERIFY(!Control("cmdNavigate(1)")->isEnabled());
    Click("cmdNavigate(3)");
    QCOMPARE(Control<QLabel>("labNum")->text() + Field(0), QStringLiteral("4/4HTC"));
    QVERIFY(!Control("cmdNavigate(2)")->isEnabled());
    // The picture arrives from its decoder, upright and placed by the Session.
    auto* image = Control<QLabel>("Image1");
    QTRY_VERIFY(!image->pixmap().isNull());
    Drop({Copy("portrait_6.jpg")});
    QVERIFY(image->height() > image->width());
    QTRY_VERIFY(image->pixmap().height() > image->pixmap().width());
    QVERIFY(dialogs->shown.empty());
    // A FIFO named like a photograph is refused at once, not waited on for ever.
    const QString fifo = dir->filePath(QStringLiteral("pipe.jpg"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    Drop({fifo});
    QCOMPARE(dialogs->shown.size(), 1u);
    QVERIFY(dialogs->shown[0].text.startsWith(QString::fromUtf8(text::kNotRegularFile.data())));
  }

  // From inside a field, the keys step through the list and write as the
  // enabled buttons do; the buttons' tooltips name them.
  void keysActFromInsideAFieldAsTheButtonsDo() {
    Drop({Copy("Canon_40D.jpg"), Copy("HTC Desire.jpg"), Copy("portrait_6.jpg")});
    auto* make = Control<QLineEdit>("txtExif(0)");
    make->setFocus();
    using Press = std::tuple<Qt::Key, Qt::KeyboardModifiers, const char*>;
    for (const auto& [key, modifiers, shown] :
         std::initializer_list<Press>{{Qt::Key_PageDown, {}, "2/3"},
                                      {Qt::Key_End, Qt::AltModifier, "3/3"},
                                      {Qt::Key_PageDown, {}, "3/3"},
                                      {Qt::Key_Home, Qt::AltModifier, "1/3"},
                                      {Qt::Key_PageUp, {}, "1/3"}}) {
      QTest::keyClick(make, key, modifiers);
      QCOMPARE(Control<QLabel>("labNum")->text(), QLatin1String(shown));
    }
    dialogs->answers = {false};
    QTest::keyClick(make, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(dialogs->shown.size(), std::size_t{1});
    QCOMPARE(dialogs->shown[0].text.toStdString(), text::kConfirmRewriteExif);
    QCOMPARE(Control("cmdNavigate(2)")->toolTip(),
             QStringLiteral("下一张 (%1)")
                 .arg(QKeySequence(Qt::Key_PageDown).toString(QKeySequence::NativeText)));
  }

  // In batch mode with the copyright kept, the write goes to the whole list
  // after its preview; from the date picker, the dates of the whole list move.
  void theListWriteAndTheDatesOfTheListReachTheSession() {
    const QString canon = Copy("Canon_40D.jpg"), htc = Copy("HTC Desire.jpg");
    Drop({canon, htc});
    Click("chkBatch");
    Click("chkKeep(2)");
    auto* copyright = Control<QLineEdit>("txtExif(3)");
    copyright->setFocus();
    QTest::keyClicks(copyright, QStringLiteral("Roll 7"));
    Click("cmdExifWrite");
    QCOMPARE(dialogs->previewed.size(), std::size_t{1});
    QCOMPARE(dialogs->previewed[0].photos.size(), std::size_t{2});
    QCOMPARE(dialogs->summaries.size(), std::size_t{1});
    QCOMPARE(dialogs->summaries[0].outcomes.size(), std::size_t{2});
    QCOMPARE(dialogs->summaries[0].outcomes[1].result, PhotoResult::kDone);
    QCOMPARE(Field(3), QStringLiteral("Roll 7"));  // the photograph on show, read afresh

    QTimer::singleShot(0, [] {
      QApplication::activeModalWidget()
          ->findChild<QPushButton*>(QStringLiteral("cmdDateFix"))
          ->click();
      QTimer::singleShot(0, [] {
        QWidget* fix = QApplication::activeModalWidget();
        QCOMPARE(fix->objectName(), QStringLiteral("frmDateFix"));
        fix->findChild<QSpinBox*>(QStringLiteral("spnDays"))->setValue(1);
        dynamic_cast<QDialog*>(fix)->accept();
      });
    });
    const QString before = Field(4);
    Click("cmdDateChoose");
    QCOMPARE(dialogs->previewed.size(), std::size_t{2});
    QCOMPARE(QString::fromStdString(dialogs->previewed[1].photos[0].changes[0].before), before);
    QCOMPARE(Field(4), QStringLiteral("2008/05/31 15:56:01"));
  }

  // Typing reaches the Session, the confirmation tells what the new block
  // leaves out, and a maker note longer than a line edit holds survives.
  void theWriteIsConfirmedAndKeepsALongMakerNote() {
    const QString photo = Copy("Konica_Minolta_DiMAGE_Z3.jpg");
    Drop({photo});
    const std::string note = window->session().txtExif[12];
    QVERIFY(note.size() > 32767);
    QCOMPARE(Field(12).size(), static_cast<qsizetype>(note.size()));
    auto* model = Control<QLineEdit>("txtExif(1)");
    model->selectAll();
    QTest::keyClicks(model, QStringLiteral("Z3"));
    QCOMPARE(window->session().txtExif[1], std::string("Z3"));
    Click("cmdExifWrite");
    QCOMPARE(dialogs->shown.size(), std::size_t{2});
    QCOMPARE(dialogs->shown[0].text.toStdString(), text::kConfirmRewriteExif);
    QVERIFY(!dialogs->shown[0].details.isEmpty());
    QCOMPARE(dialogs->shown[1].title, QStringLiteral("保存成功"));
    QCOMPARE(window->session().txtExif[12], note);  // read again from the new file
    QCOMPARE(Field(1), QStringLiteral("Z3"));
  }

  // The write's question offers to keep everything else; ticked, the GPS
  // position and the thumbnail are still there after the write, and the
  // choice holds for the next write.
  void theKeepAllBoxOfTheWriteKeepsGpsAndThumbnail() {
    const QString photo = Copy("DSCN0010.jpg");
    const std::string gpsAndThumbnail =
        "exiftool -s -s -s -n -GPSLatitude -ThumbnailLength " + test::ShellQuoted(ToPath(photo));
    const std::string before = test::RunCommand(gpsAndThumbnail).output;
    QVERIFY2(before.size() > 4, before.c_str());
    Drop({photo});
    QVERIFY(!window->session().keepAll);
    auto* make = Control<QLineEdit>("txtExif(0)");
    make->selectAll();
    QTest::keyClicks(make, QStringLiteral("Kept"));
    dialogs->ticks = {true};
    Click("cmdExifWrite");
    QVERIFY(window->session().keepAll);
    QCOMPARE(dialogs->shown.back().title, QStringLiteral("保存成功"));
    QCOMPARE(Field(0), QStringLiteral("Kept"));
    QCOMPARE(QString::fromStdString(test::RunCommand(gpsAndThumbnail).output),
             QString::fromStdString(before));
  }

  // The list goes out as a table and comes back: the rows a spreadsheet
  // changed are previewed against the photographs, then written.
  void theListGoesOutAsATableAndComesBack() {
    const QString canon = Copy("Canon_40D.jpg"), htc = Copy("HTC Desire.jpg");
    Drop({canon, htc});
    dialogs->table = dir->filePath(QStringLiteral("list.csv"));
    Click("cmdExportTable");
    QFile exported(dialogs->table);
    QVERIFY(exported.open(QIODevice::ReadOnly));
    const QString csv = QString::fromUtf8(exported.readAll());
    QVERIFY2(csv.contains(QStringLiteral("Canon_40D.jpg")) && csv.contains(QStringLiteral("HTC")),
             qPrintable(csv));
    exported.close();
    QVERIFY(exported.open(QIODevice::WriteOnly | QIODevice::Truncate));
    exported.write("file,rights\nHTC Desire.jpg,Roll 9\n");
    exported.close();
    Click("cmdImportTable");
    QCOMPARE(dialogs->tablesPreviewed.size(), std::size_t{1});
    QCOMPARE(dialogs->summaries.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(test::ResultWords(dialogs->summaries[0].outcomes)),
             QStringLiteral("unchanged written"));
    Drop({htc});
    QCOMPARE(Field(3), QStringLiteral("Roll 9"));
  }

  void theProgressPanelShowsWhileACopyYields() {
    const QString photo = Copy("Canon_40D.jpg");
    Drop({photo});
    bool panelSeen = false;
    QTimer probe;
    connect(&probe, &QTimer::timeout, this, [&] { panelSeen |= Control("frmBar")->isVisible(); });
    probe.start(0);
    Click("chkBatch");  // disabled: one file
    Click("cmdBackup");
    QVERIFY(panelSeen);
    QVERIFY(!Control("frmBar")->isVisible());
    QCOMPARE(dialogs->shown.back().title, QStringLiteral("备份成功"));
  }

  // The pickers and keep boxes reach the Session; the access texts convert
  // when pasted and show the inspector when typed; a left drag moves the
  // inspector's line, a right drag does not.
  void pickersAccessTextsAndTheInspectorReachTheSession() {
    Drop({Copy("Canon_40D.jpg")});
    auto* iso = Control<QComboBox>("Combo3");
    iso->setCurrentIndex(7);
    emit iso->activated(7);
    QCOMPARE(Field(8), QStringLiteral("400"));
    Click("OptFlash(1)");
    Click("chkKeep(2)");
    QVERIFY(window->session().txtExif[11] == "1" && window->session().chkKeep[2]);
    auto* copyright = Control<QLineEdit>("txtExif(3)");
    QWidget* inspector = Control("Frame_Exif");
    const int shortHeight = window->height();
    // Pasted in one piece: the position columns turn hexadecimal, unseen.
    copyright->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("Copper Heron Hex"));
    QTest::keyClick(copyright, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(copyright->text().isEmpty());
    QVERIFY(inspector->isHidden());
    QCOMPARE(window->height(), shortHeight);
    // Typed one key at a time: the inspector opens below the fields.
    QTest::keyClicks(copyright, QStringLiteral("Copper Heron"));
    QVERIFY(inspector->isVisible());
    QVERIFY(window->height() > shortHeight + 250);
    QVERIFY(window->geometry().contains(inspector->geometry()));
    QCOMPARE(Row("lstPosition", 9), QStringLiteral("010F"));  // the lists show the store: 271
    MouseOnRow("lstTag", QEvent::MouseButtonPress, 2, Qt::LeftButton);
    MouseOnRow("lstTag", QEvent::MouseMove, 5, Qt::LeftButton);
    MouseOnRow("lstTag", QEvent::MouseButtonRelease, 5, Qt::LeftButton);
    QVERIFY(CurrentRow("lstTag") == 5 && CurrentRow("lstValue") == 5);    // the group follows
    MouseOnRow("lstValue", QEvent::MouseButtonPress, 7, Qt::LeftButton);  // a value row: alone
    QVERIFY(CurrentRow("lstValue") == 7 && CurrentRow("lstTag") == 5);
    MouseOnRow("lstTag", QEvent::MouseButtonPress, 8, Qt::RightButton);
    MouseOnRow("lstTag", QEvent::MouseMove, 9, Qt::RightButton);
    QCOMPARE(CurrentRow("lstPosition"), 5);
  }

  // Leaving the date field with a date the write cannot read is told once
  // per leaving and gives the focus back; the picker opens on the field's day
  // and writes noon, and closed by its frame keeps the field's text.
  void theDateFieldIsCheckedOnLeavingAndItsPickerWritesNoon() {
    Drop({Copy("Canon_40D.jpg")});
    auto* date = Control<QLineEdit>("txtExif(4)");
    auto* shutter = Control<QLineEdit>("txtExif(5)");
    QTest::mouseClick(date, Qt::LeftButton, {}, date->rect().center());
    QTRY_COMPARE(date->selectedText(), date->text());      // a click selects the whole text
    QTest::keyClicks(date, QStringLiteral("2001/05/12"));  // no time: not a date the write reads
    for (int told : {1, 2}) {
      shutter->setFocus(Qt::TabFocusReason);
      QTRY_COMPARE(dialogs->shown.size(), std::size_t(told));
      QCOMPARE(dialogs->shown.back().title, QStringLiteral("格式错误!"));
      QTRY_VERIFY(date->hasFocus());
      QCOMPARE(date->text(), QStringLiteral("2001/05/12"));  // left as typed
    }
    QTRY_COMPARE(date->selectedText(), date->text());
    QTest::keyClicks(date, QStringLiteral("2001/05/12 14:30"));
    shutter->setFocus(Qt::TabFocusReason);
    QTest::qWait(50);
    QVERIFY(dialogs->shown.size() == 2 && shutter->hasFocus());

    auto answer = [](std::function<void(frmDateChoose*)> act) {
      QTimer::singleShot(
          0, [act] { act(dynamic_cast<frmDateChoose*>(QApplication::activeModalWidget())); });
    };
    answer([](frmDateChoose* picker) {
      auto* calendar = picker->findChild<QCalendarWidget*>(QStringLiteral("Calendar1"));
      QCOMPARE(calendar->selectedDate(), QDate(2001, 5, 12));
      calendar->setSelectedDate(QDate(2001, 5, 20));
      picker->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    });
    Click("cmdDateChoose");
    QCOMPARE(Field(4), QStringLiteral("2001/05/20 12:00:00"));
    answer([](frmDateChoose* picker) {
      picker->findChild<QCalendarWidget*>()->setSelectedDate(QDate(2001, 5, 21));
      picker->reject();
    });
    Click("cmdDateChoose");
    QCOMPARE(Field(4), QStringLiteral("2001/05/20 12:00:00"));
    QCOMPARE(window->findChildren<frmDateChoose*>().size(), 1);
  }

  // Ctrl+S from inside the date field with a date nobody can read: refused
  // with the date field's message, nothing written.
  void aDateNobodyCanReadIsRefusedByCtrlSFromInsideTheField() {
    Drop({Copy("Canon_40D.jpg")});
    auto* date = Control<QLineEdit>("txtExif(4)");
    const auto bytes = [&] {
      QFile photo(dir->filePath(QStringLiteral("Canon_40D.jpg")));
      return photo.open(QIODevice::ReadOnly) ? photo.readAll() : QByteArray();
    };
    const QByteArray before = bytes();
    date->setFocus();
    date->selectAll();
    QTest::keyClicks(date, QStringLiteral("2001/02/30 10:00:00"));
    dialogs->shown.clear();
    QTest::keyClick(date, Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY(!dialogs->shown.empty());
    QCOMPARE(dialogs->shown[0].text, QStringLiteral("你的日期格式有误!"));
    QCOMPARE(bytes(), before);
  }

  // A screen reader's toggle action (or voice control's) on a check box
  // reaches the Session, as a click does; the next redraw keeps it ticked.
  void checkBoxesReachTheSessionByEveryRoute() {
    Drop({Copy("Canon_40D.jpg"), Copy("HTC Desire.jpg")});
    for (const char* name : {"chkBatch", "chkKeep(1)"}) {
      QAccessibleInterface* box = QAccessible::queryAccessibleInterface(Control(name));
      QVERIFY(box && box->actionInterface());
      box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    }
    QVERIFY(window->session().chkBatch);
    QVERIFY(window->session().chkKeep[kAreaPhoto]);
    window->Render();
    QVERIFY(Control<QCheckBox>("chkBatch")->isChecked());
  }

  // Closing the window with edits not written asks first; staying keeps the
  // window and the edits.
  void closingWithUnwrittenEditsAsksFirst() {
    Drop({Copy("Canon_40D.jpg")});
    auto* model = Control<QLineEdit>("txtExif(1)");
    model->setFocus();
    model->end(false);
    QTest::keyClicks(model, QStringLiteral(" II"));
    dialogs->editsAnswers = {EditsAnswer::kStay};
    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    QCOMPARE(Field(1), QStringLiteral("Canon EOS 40D II"));
    dialogs->editsAnswers = {EditsAnswer::kDiscard};
    QVERIFY(window->close());
  }

  // During a run the panel's stop button takes a click of the mouse (and
  // Escape stops too), and the panel says how far the run is.
  void theStopButtonTakesAClickAndThePanelSaysWhereTheRunIs() {
    QStringList list;
    for (int i = 0; i < 6; ++i) {
      const QString path = dir->filePath(QStringLiteral("roll_%1.jpg").arg(i));
      QFile::copy(PhotoPath("Canon_40D.jpg"), path);
      QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
      list << path;
    }
    Drop(list);
    Click("chkBatch");
    Click("chkKeep(2)");
    window->session().SetFieldText(field::kCopyright, "Stopped");
    QStringList seen;
    QTimer* clicker = new QTimer(window.get());
    connect(clicker, &QTimer::timeout, this, [&] {
      auto* where = Control<QLabel>("labRun");
      if (where->isVisible() && !where->text().isEmpty()) seen << where->accessibleName();
      auto* stop = Control<QPushButton>("cmdStop");
      // As the window system delivers a click: to the window, then the button under it.
      if (stop->isVisible() && seen.size() >= 2) {
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                          stop->mapTo(window.get(), stop->rect().center()));
      }
    });
    clicker->start(0);
    Click("cmdExifWrite");
    clicker->stop();
    QVERIFY(!seen.isEmpty());
    QVERIFY2(seen.first().startsWith(QStringLiteral("1 / 6  roll_0.jpg")),
             qPrintable(seen.first()));
    QCOMPARE(dialogs->summaries.size(), std::size_t{1});
    QVERIFY(CountOf(dialogs->summaries[0].outcomes, {PhotoResult::kNotReached}) > 0);
  }

  // A photograph whose name is not UTF-8 (an old camera's, another system's)
  // is shown: its picture and its fields.
  void aNameThatIsNotUtf8ShowsItsPicture() {
    const std::string odd = dir->filePath(QStringLiteral("odd")).toStdString() + "\xFF.jpg";
    std::filesystem::copy_file(PhotoPath("Canon_40D.jpg").toStdString(), odd);
    QMimeData data;
    data.setUrls(
        {QUrl::fromEncoded("file://" + QByteArray::fromStdString(odd).toPercentEncoding("/"))});
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Control("Frame1"), &enter);
    QCoreApplication::sendEvent(Control("Frame1"), &drop);
    QCOMPARE(QString::fromStdString(window->session().ImageFileName), QString::fromStdString(odd));
    QVERIFY(window->session().PhotoFound());
    QTRY_VERIFY(!Control<QLabel>("Image1")->pixmap().isNull());
    std::filesystem::remove(odd);  // a name the temporary folder cannot spell
  }
};

QTEST_MAIN(FrmTagloomTest)
#include "frm_tagloom_test.moc"
