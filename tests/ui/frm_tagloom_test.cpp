// The main window's binding to its Session: clicks, drops and typing reach the
// Session, and the Session's state reaches the widgets. The rules themselves
// are the Session's tests; here every message box is answered by a script.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QCalendarWidget>
#include <QClipboard>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <deque>

#include "editor/texts.h"
#include "support/fixture_builder.h"
#include "support/temp_dir.h"
#include "ui/date/frm_date_choose.h"
#include "ui/main/frm_tagloom.h"

using namespace tagloom;
using namespace tagloom::ui;

namespace {

class ScriptedDialogs : public Dialogs {
 public:
  struct Shown {
    QString text, title, details;
    bool question;
  };
  std::vector<Shown> shown;
  std::deque<bool> answers;  // then Yes
  std::optional<QString> chosen;
  QStringList filters;
  std::function<void()> whileAsked;  // runs while a question is on screen

  bool AskYesNo(QWidget*, const QString& text, const QString& title, MessageIcon,
                const QString& details) override {
    shown.push_back({text, title, details, true});
    if (whileAsked) whileAsked();
    const bool answer = answers.empty() || answers.front();
    if (!answers.empty()) answers.pop_front();
    return answer;
  }
  void Tell(QWidget*, const QString& text, const QString& title, MessageIcon) override {
    shown.push_back({text, title, {}, false});
  }
  std::optional<QString> ChooseFile(QWidget*, const QStringList& offered) override {
    filters = offered;
    return chosen;
  }
};

QString Photo(const char* name) {
  return QString::fromStdString((test::PhotosDir() / name).string());
}

}  // namespace

class FrmTagloomTest : public QObject {
  Q_OBJECT

 private:
  template <typename T = QWidget>
  T* Control(const QString& name) {
    T* found = window->findChild<T*>(name);
    if (!found) qFatal("no control %s", qPrintable(name));
    return found;
  }
  QString Field(int i) { return Control<QLineEdit>(QStringLiteral("txtExif(%1)").arg(i))->text(); }
  QString Copy(const char* name, const QString& as = {}) {
    const QString target = dir->filePath(as.isEmpty() ? QString::fromLatin1(name) : as);
    QFile::copy(Photo(name), target);
    QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return target;
  }
  void Drop(const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QWidget* frame = Control(QStringLiteral("Frame1"));
    // As a file manager's drag arrives: it enters the frame, then drops.
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &enter);
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &drop);
  }

  // A mouse event on a row of an inspector list, as the list's viewport gets it.
  void MouseOnRow(const char* list, QEvent::Type type, int row, Qt::MouseButton button) {
    auto* view = Control<QListView>(QString::fromLatin1(list));
    const QPointF at = view->visualRect(view->model()->index(row, 0)).center();
    QMouseEvent event(type, at, view->viewport()->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &event);
  }
  int CurrentRow(const char* list) {
    return Control<QListView>(QString::fromLatin1(list))->currentIndex().row();
  }
  QString Row(const char* list, int row) {
    auto* view = Control<QListView>(QString::fromLatin1(list));
    return view->model()->index(row, 0).data().toString();
  }
  int Told(const char* title) {
    return static_cast<int>(std::count_if(dialogs->shown.begin(), dialogs->shown.end(),
                                          [&](const auto& box) { return box.title == QString::fromUtf8(title); }));
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
    QStringList names = {"Label1(0)", "Text1", "cmdOpen", "imgRead", "imgBackup", "Frame1",
                         "Image1", "labNoExif", "Label2", "labNum", "chkBatch", "cmdBackup",
                         "cmdRestore", "Frame2", "Frame3", "cmdDateChoose", "Combo1", "Combo2",
                         "Combo3", "Combo4", "OptFlash(0)", "OptFlash(1)", "cmdExifWrite",
                         "cmdTarget", "cmdAbout", "cmdExit", "Frame_Exif", "frmBar", "frmShadow",
                         "Bar", "Label4", "Label3(15)", "Label3(27)"};
    for (int i = 0; i < 4; ++i) names << QStringLiteral("cmdNavigate(%1)").arg(i);
    for (int i = 0; i < 3; ++i) names << QStringLiteral("chkKeep(%1)").arg(i);
    for (int i = 0; i < kFieldCount; ++i) names << QStringLiteral("txtExif(%1)").arg(i);
    for (const QString& name : names) {
      QCOMPARE(Control(name)->accessibleDescription(), name);
    }
    // A screen reader announces each visible field by its caption.
    for (int i = 0; i < kFieldCount; ++i) {
      if (i == 7 || i == 11 || i == 14) continue;  // the hidden carriers of the pickers
      auto* caption = Control<QLabel>(QStringLiteral("Label3(%1)").arg(i == 15 ? 27 : i));
      QCOMPARE(caption->buddy(), Control(QStringLiteral("txtExif(%1)").arg(i)));
      QCOMPARE(caption->text(), QString::fromUtf8(kFields[static_cast<std::size_t>(i)].caption));
    }
    QCOMPARE(window->windowTitle(), QStringLiteral("Tagloom Version 3.0 Build 3002 - Vantoro Studio."));
    QVERIFY(!Control(QStringLiteral("Frame_Exif"))->isVisible());
    QVERIFY(!Control(QStringLiteral("cmdExifWrite"))->isEnabled());
    QCOMPARE(Control<QPushButton>(QStringLiteral("cmdExit"))->shortcut(), QKeySequence("Alt+X"));
  }

  void theOpenDialogsFiltersMatchCameraNames() {
    dialogs->chosen = std::nullopt;
    QTest::mouseClick(Control(QStringLiteral("cmdOpen")), Qt::LeftButton);
    QCOMPARE(dialogs->filters.size(), 3);
    // Each filter's patterns, matched as a case-sensitive file dialog matches them.
    auto matches = [&](int filter, const QString& name) {
      const QString list = QRegularExpression(QStringLiteral("\\(([^()]*)\\)$"))
                               .match(dialogs->filters[filter])
                               .captured(1);
      for (const QString& pattern : list.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern))
                .match(name)
                .hasMatch())
          return true;
      }
      return false;
    };
    for (const char* name : {"IMG_0001.JPG", "photo.jpeg", "IMG_0001.THM", "a.jpg"}) {
      QVERIFY2(matches(0, QLatin1String(name)), name);
    }
    QVERIFY(matches(1, QStringLiteral("IMG_0001.JPG")) && !matches(1, QStringLiteral("IMG.THM")));
    QVERIFY(matches(2, QStringLiteral("IMG_0001.THM")) && !matches(2, QStringLiteral("a.JPG")));
    QVERIFY(!matches(0, QStringLiteral("notes.txt")));
    QVERIFY(!Control<QCheckBox>(QStringLiteral("chkBatch"))->isEnabled());
  }

  void aDropOfFiveFilesWithTwoPhotographsGivesOneOfTwo() {
    const QString first = Copy("Canon_40D.jpg"), second = Copy("HTC Desire.jpg");
    QFile text(dir->filePath(QStringLiteral("notes.txt")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    Drop({text.fileName(), first, dir->filePath(QStringLiteral("x.png")), second,
          dir->path()});
    QCOMPARE(Control<QLabel>(QStringLiteral("labNum"))->text(), QStringLiteral("1/2"));
    QVERIFY(Control(QStringLiteral("labNum"))->isVisible());
    QVERIFY(Control<QCheckBox>(QStringLiteral("chkBatch"))->isEnabled());
    QCOMPARE(Control<QLineEdit>(QStringLiteral("Text1"))->text(), QStringLiteral("Canon_40D.jpg"));
    QCOMPARE(Field(0), QStringLiteral("Canon"));
    QVERIFY(!Control(QStringLiteral("cmdNavigate(1)"))->isEnabled());

    QTest::mouseClick(Control(QStringLiteral("cmdNavigate(2)")), Qt::LeftButton);
    QCOMPARE(Control<QLabel>(QStringLiteral("labNum"))->text(), QStringLiteral("2/2"));
    QCOMPARE(Field(0), QStringLiteral("HTC"));
    QVERIFY(!Control(QStringLiteral("cmdNavigate(2)"))->isEnabled());
    // The picture arrives from its decoder, upright and placed by the Session.
    auto* image = Control<QLabel>(QStringLiteral("Image1"));
    QTRY_VERIFY(!image->pixmap().isNull());
    QVERIFY(dialogs->shown.empty());
  }

  void aPortraitPhotographIsShownUpright() {
    Drop({Copy("portrait_6.jpg")});
    auto* image = Control<QLabel>(QStringLiteral("Image1"));
    QVERIFY(image->height() > image->width());
    QTRY_VERIFY(!image->pixmap().isNull());
    QVERIFY(image->pixmap().height() > image->pixmap().width());
  }

  void theWriteConfirmationTellsWhatIsLostAndNoChangesNothing() {
    const QString photo = Copy("Canon_40D.jpg");
    Drop({photo});
    QFile file(photo);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    auto* make = Control<QLineEdit>(QStringLiteral("txtExif(0)"));
    make->selectAll();
    QTest::keyClicks(make, QStringLiteral("Nikon"));
    QCOMPARE(window->session().txtExif[0], std::string("Nikon"));
    dialogs->answers = {false};
    QTest::mouseClick(Control(QStringLiteral("cmdExifWrite")), Qt::LeftButton);
    QCOMPARE(dialogs->shown.size(), std::size_t{1});
    const ScriptedDialogs::Shown& asked = dialogs->shown[0];
    QCOMPARE(asked.text, QString::fromUtf8(text::kConfirmRewriteExif.data(),
                                           static_cast<qsizetype>(text::kConfirmRewriteExif.size())));
    QVERIFY2(asked.details.contains(QStringLiteral("GPS")), qPrintable(asked.details));
    QVERIFY2(asked.details.contains(QStringLiteral("缩略图")), qPrintable(asked.details));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
  }

  void theProgressPanelShowsWhileACopyYields() {
    const QString photo = Copy("Canon_40D.jpg");
    Drop({photo});
    bool panelSeen = false;
    QTimer probe;
    connect(&probe, &QTimer::timeout, this,
            [&] { panelSeen |= Control(QStringLiteral("frmBar"))->isVisible(); });
    probe.start(0);
    QTest::mouseClick(Control(QStringLiteral("chkBatch")), Qt::LeftButton);  // disabled: one file
    QTest::mouseClick(Control(QStringLiteral("cmdBackup")), Qt::LeftButton);
    QVERIFY(panelSeen);
    QVERIFY(!Control(QStringLiteral("frmBar"))->isVisible());
    QCOMPARE(dialogs->shown.back().title, QStringLiteral("备份成功"));
  }

  void aMakerNoteLongerThanALineEditHoldsSurvivesAWrite() {
    const QString photo = Copy("Konica_Minolta_DiMAGE_Z3.jpg");
    Drop({photo});
    const std::string note = window->session().txtExif[12];
    QVERIFY(note.size() > 32767);
    QCOMPARE(Field(12).size(), static_cast<qsizetype>(note.size()));
    auto* model = Control<QLineEdit>(QStringLiteral("txtExif(1)"));
    model->selectAll();
    QTest::keyClicks(model, QStringLiteral("Z3"));
    QTest::mouseClick(Control(QStringLiteral("cmdExifWrite")), Qt::LeftButton);
    QCOMPARE(dialogs->shown.back().title, QStringLiteral("保存成功"));
    QCOMPARE(window->session().txtExif[12], note);  // read again from the new file
    QCOMPARE(Field(1), QStringLiteral("Z3"));
  }

  void pickersAndBoxesReachTheSession() {
    Drop({Copy("Canon_40D.jpg")});
    auto* iso = Control<QComboBox>(QStringLiteral("Combo3"));
    iso->setCurrentIndex(7);
    emit iso->activated(7);
    QCOMPARE(Field(8), QStringLiteral("400"));
    QTest::mouseClick(Control(QStringLiteral("OptFlash(1)")), Qt::LeftButton);
    QCOMPARE(window->session().txtExif[11], std::string("1"));
    QTest::mouseClick(Control(QStringLiteral("chkKeep(2)")), Qt::LeftButton);
    QVERIFY(window->session().chkKeep[2]);
  }

  void theAccessTextsConvertWhenPastedAndShowTheInspectorWhenTyped() {
    Drop({Copy("Canon_40D.jpg")});
    auto* copyright = Control<QLineEdit>(QStringLiteral("txtExif(3)"));
    QWidget* inspector = Control(QStringLiteral("Frame_Exif"));
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
    QCOMPARE(Row("lstPosition", 9), QStringLiteral("010F"));  // 271, the exposure program's entry
    QCOMPARE(Row("lstPosition", 14), QStringLiteral("n/a"));  // no maker note
    QCOMPARE(Row("lstUnusePos", 0), QStringLiteral("77"));  // the other side stays decimal
  }

  void aLeftDragMovesTheGroupsLineAndARightDragDoesNot() {
    Drop({Copy("Canon_40D.jpg")});
    window->session().SetFieldText(3, "Copper Heron");
    window->Render();
    MouseOnRow("lstTag", QEvent::MouseButtonPress, 2, Qt::LeftButton);
    MouseOnRow("lstTag", QEvent::MouseMove, 5, Qt::LeftButton);
    MouseOnRow("lstTag", QEvent::MouseButtonRelease, 5, Qt::LeftButton);
    for (const char* list : {"lstTag", "lstPosition", "lstCount", "lstType", "lstValuePos",
                             "lstTitle", "lstValue"}) {
      QCOMPARE(CurrentRow(list), 5);
    }
    QCOMPARE(CurrentRow("lstUnuseTag"), -1);
    MouseOnRow("lstTag", QEvent::MouseButtonPress, 8, Qt::RightButton);
    MouseOnRow("lstTag", QEvent::MouseMove, 9, Qt::RightButton);
    QCOMPARE(CurrentRow("lstPosition"), 5);
    // A click in a value column selects there alone.
    MouseOnRow("lstValue", QEvent::MouseButtonPress, 7, Qt::LeftButton);
    QCOMPARE(CurrentRow("lstValue"), 7);
    QCOMPARE(CurrentRow("lstTag"), 5);
    // Another photograph: the selections go with the old store.
    Drop({Copy("portrait_6.jpg")});
    QCOMPARE(CurrentRow("lstTag"), -1);
  }

  void theDateCheckSpeaksOncePerLeavingAndGivesTheFocusBack() {
    Drop({Copy("Canon_40D.jpg")});
    auto* date = Control<QLineEdit>(QStringLiteral("txtExif(4)"));
    auto* shutter = Control<QLineEdit>(QStringLiteral("txtExif(5)"));
    // A mouse click gives the focus and selects the whole text.
    QTest::mouseClick(date, Qt::LeftButton, {}, date->rect().center());
    QTRY_COMPARE(date->selectedText(), date->text());
    QTest::keyClicks(date, QStringLiteral("2001/05/12"));  // no time: not a date the write reads
    shutter->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(date->hasFocus());
    QTest::qWait(50);
    QCOMPARE(Told("格式错误!"), 1);
    QCOMPARE(date->text(), QStringLiteral("2001/05/12"));  // left as typed
    shutter->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(Told("格式错误!"), 2);
    QTRY_COMPARE(date->selectedText(), date->text());
    QTest::keyClicks(date, QStringLiteral("2001/05/12 14:30"));
    shutter->setFocus(Qt::TabFocusReason);
    QTest::qWait(50);
    QCOMPARE(Told("格式错误!"), 2);
    QVERIFY(shutter->hasFocus());
  }

  void theDatePickerOpensOnTheFieldsDayKeepsItAndWritesNoon() {
    Drop({Copy("Canon_40D.jpg")});
    window->session().SetFieldText(4, "2001/05/12 14:30:00");
    window->Render();
    auto* button = Control<QPushButton>(QStringLiteral("cmdDateChoose"));
    auto answer = [](std::function<void(frmDateChoose*)> act) {
      QTimer::singleShot(0, [act] {
        act(dynamic_cast<frmDateChoose*>(QApplication::activeModalWidget()));
      });
    };
    answer([](frmDateChoose* picker) {
      auto* calendar = picker->findChild<QCalendarWidget*>(QStringLiteral("Calendar1"));
      QCOMPARE(calendar->selectedDate(), QDate(2001, 5, 12));
      calendar->setSelectedDate(QDate(2001, 5, 20));
      picker->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    });
    button->click();
    QCOMPARE(Field(4), QStringLiteral("2001/05/20 12:00:00"));
    // Closed by its frame: the field keeps its text, the picker its date.
    window->session().SetFieldText(4, "");
    window->Render();
    answer([](frmDateChoose* picker) {
      QCOMPARE(picker->findChild<QCalendarWidget*>()->selectedDate(), QDate(2001, 5, 20));
      picker->reject();
    });
    button->click();
    QCOMPARE(Field(4), QString());
    QCOMPARE(window->findChildren<frmDateChoose*>().size(), 1);
  }
};

QTEST_MAIN(FrmTagloomTest)
#include "frm_tagloom_test.moc"
