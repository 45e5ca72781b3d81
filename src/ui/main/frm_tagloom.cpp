#include "ui/main/frm_tagloom.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include "editor/preview_geometry.h"
#include "editor/texts.h"
#include "model/catalogue.h"
#include "model/pickers.h"
#include "ui/about/frm_about.h"
#include "ui/date/frm_date_choose.h"
#include "ui/date/frm_date_fix.h"
#include "ui/drop/frm_drop.h"
#include "ui/inspector/inspector.h"
#include "ui/main/controls.h"
#include "ui/main/pictures.h"
#include "ui/main/select_all_on_focus.h"
#include "ui/main/twips.h"

namespace tagloom::ui {
namespace {

// The window's outer height counts its title bar and borders, which the
// window system draws; this is their height in twips (23 pixels), so that
// the tall window shows the inspector down to its lower edge.
constexpr int kFrameTwips = 345;
constexpr int kClientWidth = 9510;

// The pixel size a picture is shown at, on this screen.
QSize ShownPixels(QSize upright, qreal ratio) {
  const PreviewPlacement place = PlacePreview(upright.width(), upright.height());
  return QSize(Px(place.width), Px(place.height)) * ratio;
}

}  // namespace

frmTagloom::frmTagloom(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      session_(*this),
      preview_([ratio = qApp->devicePixelRatio()](QSize upright) {
        return ShownPixels(upright, ratio);
      }) {
  Build();
  setFixedSize(Px(kClientWidth), Px(kWindowHeight - kFrameTwips));
  Connect();
  Render();
}

frmTagloom::~frmTagloom() = default;

frmDrop* frmTagloom::DropTargetWindow() const {
  return drop_.get();
}

template <typename Action>
void frmTagloom::Do(Action action) {
  action();
  Render();
}

void frmTagloom::Connect() {
  connect(cmdOpen_, &QToolButton::clicked, this, [this] {
    const std::vector<std::string> chosen =
        ToPaths(dialogs_.ChooseFiles(this, OpenDialogFilters()));
    Do([&] { session_.cmdOpen_Click(chosen); });
  });
  for (int i = 0; i < 4; ++i) {
    connect(cmdNavigate_[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
            [this, i] { Do([&] { session_.cmdNavigate_Click(i); }); });
  }
  connect(Frame1_, &PictureFrame::filesDropped, this,
          [this](const QStringList& paths) { OpenPaths(paths); });
  connect(Frame1_, &PictureFrame::doubleClicked, this, [this] { session_.Image1_DblClick(); });
  // Every route that ticks a box (a click, the space key, a screen reader's
  // toggle action) reaches the Session; Render's own ticking changes nothing.
  connect(chkBatch_, &QCheckBox::toggled, this, [this](bool ticked) {
    if (ticked != session_.chkBatch) Do([&] { session_.SetBatch(ticked); });
  });
  for (int area = 0; area < kAreaCount; ++area) {
    connect(chkKeep_[static_cast<std::size_t>(area)], &QCheckBox::toggled, this,
            [this, area](bool ticked) {
              if (ticked != session_.chkKeep[static_cast<std::size_t>(area)]) {
                Do([&] { session_.SetKeep(area, ticked); });
              }
            });
  }
  connect(cmdBackup_, &QPushButton::clicked, this,
          [this] { Do([&] { session_.cmdBackup_Click(); }); });
  connect(cmdRestore_, &QPushButton::clicked, this,
          [this] { Do([&] { session_.cmdRestore_Click(); }); });
  connect(cmdExifWrite_, &QPushButton::clicked, this,
          [this] { Do([&] { session_.cmdExifWrite_Click(); }); });
  connect(cmdExit_, &QPushButton::clicked, this, &QWidget::close);
  connect(cmdExportTable_, &QPushButton::clicked, this, [this] {
    const QString path = dialogs_.ChooseTable(this, true);
    if (!path.isEmpty()) Do([&] { session_.ExportTable(ToPath(path)); });
  });
  connect(cmdImportTable_, &QPushButton::clicked, this, [this] {
    const QString path = dialogs_.ChooseTable(this, false);
    if (!path.isEmpty()) {
      Do([&] { session_.ApplyTable(ToPath(path), session_.ListOrShown()); });
    }
  });
  for (int i = 0; i < kFieldCount; ++i) {
    connect(
        txtExif_[static_cast<std::size_t>(i)], &QLineEdit::textEdited, this,
        [this, i](const QString& text) { Do([&] { session_.SetFieldText(i, ToUtf8(text)); }); });
  }
  for (int p = 0; p < 4; ++p) {
    connect(
        Combo_[static_cast<std::size_t>(p)], qOverload<int>(&QComboBox::activated), this,
        [this, p](int item) { Do([&] { session_.SelectPicker(static_cast<Picker>(p), item); }); });
  }
  for (int i = 0; i < 2; ++i) {
    connect(OptFlash_[static_cast<std::size_t>(i)], &QRadioButton::clicked, this,
            [this, i] { Do([&] { session_.SelectPicker(Picker::kOptFlash, i); }); });
  }
  connect(cmdDateChoose_, &QPushButton::clicked, this, &frmTagloom::ChooseDate);
  connect(cmdTarget_, &QToolButton::clicked, this, &frmTagloom::ShowDropTarget);
  connect(cmdAbout_, &QPushButton::clicked, this, [this] {
    frmAbout about(dialogs_, this);
    about.exec();
  });
  connect(Frame_Exif_, &Inspector::rowPressed, this,
          [this](StoreList list, int row) { Do([&] { session_.SelectRow(list, row); }); });
  connect(Frame_Exif_, &Inspector::rowDragged, this, [this](StoreList list, int row, bool left) {
    Do([&] { session_.List_MouseMove(list, row, left); });
  });
  connect(&preview_, &PreviewLoader::ready, this, &frmTagloom::ShowPicture);
  connect(panel_->cmdStop(), &QPushButton::clicked, this, [this] { stopRequested_ = true; });
}

bool frmTagloom::eventFilter(QObject* watched, QEvent* event) {
  if (stopOffered_ && FilterDuringRun(watched, event)) return true;
  // Leaving the date field runs the date check, once the focus has settled.
  // Losing it to another window (a message box among them) is no leaving.
  if (watched == txtExif_[field::kDate] && event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      QTimer::singleShot(0, this, [this] {
        bool back = false;
        Do([&] { back = session_.txtExif_LostFocus(field::kDate); });
        if (back) txtExif_[field::kDate]->setFocus(Qt::OtherFocusReason);
      });
    }
  }
  return QWidget::eventFilter(watched, event);
}

void frmTagloom::ShowDropTarget() {
  if (!drop_) {
    // "<Exit>": this window comes back with everything gathered as its list.
    drop_ = std::make_unique<frmDrop>([this] {
      show();
      Do([&] { drop_->Target().Exit(session_); });
    });
  }
  // The drop target takes this window's place.
  hide();
  drop_->show();
  drop_->raise();
}

void frmTagloom::ChooseDate() {
  if (!dateChoose_) dateChoose_ = new frmDateChoose(this);
  if (std::optional<DateTime> day = session_.DateForCalendar()) {
    dateChoose_->SetDate(QDate(day->year, day->month, day->day));
  }
  // Closed by its frame or Escape: the field keeps its text.
  if (dateChoose_->exec() != QDialog::Accepted) {
    if (dateChoose_->FixWanted()) FixDates();
    return;
  }
  const QDate chosen = dateChoose_->Date();
  Do([&] { session_.SetChosenDate({chosen.year(), chosen.month(), chosen.day(), 12, 0, 0}); });
}

void frmTagloom::FixDates() {
  frmDateFix dialog(this);
  // The clock on the wall, read as a plain date and time.
  const QDateTime now = QDateTime::currentDateTime();
  const std::optional<DateFix> fix = dialog.Ask(
      session_.RecordedDate(), {now.date().year(), now.date().month(), now.date().day(),
                                now.time().hour(), now.time().minute(), now.time().second()});
  if (!fix) return;
  Do([&] {
    switch (fix->kind) {
      case DateFix::Kind::kShift:
        session_.ShiftDates(fix->offset);
        break;
      case DateFix::Kind::kClock:
        session_.ShiftDatesByClock(fix->clock);
        break;
      case DateFix::Kind::kSequence:
        session_.NumberDates(fix->first, fix->step, fix->reversed);
        break;
    }
  });
}

void frmTagloom::OpenPaths(const QStringList& paths) {
  Do([&] { session_.Image1_DropFiles(ToPaths(paths)); });
}

void frmTagloom::HandOver(const QStringList& paths) {
  if (paths.isEmpty()) {  // a start without photographs: this window comes forward
    ComeForward();
    return;
  }
  session_.HandOver(ToPaths(paths));
  TakeHandOver();
}

void frmTagloom::ComeForward() {
  // The drop target steps aside; what it gathered stays with it.
  if (drop_) drop_->hide();
  showNormal();
  raise();
  activateWindow();
}

void frmTagloom::TakeHandOver() {
  // Not inside another action, nor behind a question, the About box or the
  // date picker: the photographs wait until the person is done there.
  if (QApplication::activeModalWidget() != nullptr || !session_.TakeHandOver()) {
    if (!session_.HandOverWaiting()) return;
    QTimer::singleShot(200, this, &frmTagloom::TakeHandOver);
    return;
  }
  Render();
  ComeForward();
}

void frmTagloom::Render() {
  const Session& s = session_;
  auto show = [](QWidget* widget, const ControlState& state) {
    widget->setVisible(state.visible);
    widget->setEnabled(state.enabled);
  };
  const QString name = FromPath(s.Text1);
  if (Text1_->text() != name) Text1_->setText(name);
  imgRead_->setPixmap(lamps_[0][s.imgReadLit ? 1 : 0]);
  imgBackup_->setPixmap(lamps_[1][s.imgBackupLit ? 1 : 0]);
  labNoExif_->setVisible(s.labNoExif.visible);
  for (std::size_t i = 0; i < cmdNavigate_.size(); ++i) show(cmdNavigate_[i], s.cmdNavigate[i]);
  labNum_->setVisible(s.labNum.visible);
  labNum_->setText(FromUtf8(s.labNum.text));
  chkBatch_->setChecked(s.chkBatch);
  chkBatch_->setEnabled(s.chkBatchControl.enabled);
  show(cmdBackup_, s.cmdBackup);
  show(cmdRestore_, s.cmdRestore);
  show(cmdExifWrite_, s.cmdExifWrite);
  const bool listed = s.lstDragFiles.Count() > 0 || s.PhotoFound();
  cmdExportTable_->setEnabled(listed);
  cmdImportTable_->setEnabled(listed);
  for (std::size_t i = 0; i < txtExif_.size(); ++i) {
    const QString text = FromUtf8(s.txtExif[i]);
    if (txtExif_[i]->text() != text) {
      txtExif_[i]->setText(text);
      txtExif_[i]->setCursorPosition(0);
    }
  }
  for (std::size_t p = 0; p < Combo_.size(); ++p) {
    Combo_[p]->setCurrentIndex(s.Selected(static_cast<Picker>(p)));
  }
  const int flash = s.Selected(Picker::kOptFlash);
  // Radio buttons of a group cannot all be unchecked one by one.
  for (QRadioButton* option : OptFlash_) option->setAutoExclusive(false);
  for (int i = 0; i < 2; ++i) OptFlash_[static_cast<std::size_t>(i)]->setChecked(flash == i);
  for (QRadioButton* option : OptFlash_) option->setAutoExclusive(true);
  for (std::size_t area = 0; area < chkKeep_.size(); ++area) {
    chkKeep_[area]->setChecked(s.chkKeep[area]);
  }
  panel_->Show(s.Bar.visible);
  if (Frame_Exif_->isHidden() == s.Frame_Exif.visible)
    Frame_Exif_->setVisible(s.Frame_Exif.visible);
  if (s.Frame_Exif.visible) Frame_Exif_->Render();
  const QSize size(Px(kClientWidth), Px(s.WindowHeight - kFrameTwips));
  if (this->size() != size) setFixedSize(size);
  RenderPicture();
}

void frmTagloom::RenderPicture() {
  const Session::Picture& picture = session_.Image1;
  Image1_->setGeometry(Px(picture.place.left), Px(picture.place.top), Px(picture.place.width),
                       Px(picture.place.height));
  const QString path = FromPath(picture.path);
  if (!picture.visible) {
    pictureShown_.clear();
    Image1_->clear();
    Image1_->hide();
    return;
  }
  Image1_->show();
  if (path == pictureShown_) return;
  pictureShown_ = path;
  Image1_->clear();
  preview_.Request(path);
  if (!decodeAhead_) return;
  // The photographs before and after it in the list, decoded ahead.
  QStringList neighbours;
  const int index = session_.FileIndex;  // 1-based
  for (int i : {index, index - 2}) {
    if (i >= 0 && i < session_.lstDragFiles.Count()) {
      neighbours << FromPath(session_.lstDragFiles.Row(i));
    }
  }
  preview_.Prefetch(neighbours);
}

void frmTagloom::ShowPicture(const QString& path, const QImage& image) {
  if (path != pictureShown_) return;  // a late picture of a photograph no longer shown
  QPixmap pixmap = QPixmap::fromImage(image);
  pixmap.setDevicePixelRatio(devicePixelRatioF());
  Image1_->setPixmap(pixmap);
}

void frmTagloom::closeEvent(QCloseEvent* event) {
  // The window's close box ends the program, as the exit button does; not
  // in the middle of a write, and not with typed edits lost unasked.
  bool leave = false;
  if (!session_.Working()) Do([&] { leave = session_.MayLeavePhoto(); });
  if (!leave) {
    event->ignore();
    return;
  }
  event->accept();
  drop_.reset();
  QApplication::closeAllWindows();
}

}  // namespace tagloom::ui
