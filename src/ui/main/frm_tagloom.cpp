#include "ui/main/frm_tagloom.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QListView>
#include <QTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QToolButton>
#include <QUrl>
#include <climits>

#include "editor/preview_geometry.h"
#include "editor/texts.h"
#include "model/catalogue.h"
#include "model/pickers.h"
#include "ui/about/frm_about.h"
#include "ui/date/frm_date_choose.h"
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

const QColor kFieldYellow(255, 255, 192);

template <typename Widget>
Widget* Place(Widget* widget, const QString& name, const QRect& rect) {
  Name(widget, name);
  widget->setGeometry(rect);
  return widget;
}

QLabel* Caption(QWidget* parent, int index, const QString& text, const QRect& rect) {
  auto* label = Place(new QLabel(text, parent), Indexed("Label3", index), rect);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

// The pixel size a picture is shown at, on this screen.
QSize ShownPixels(QSize upright, qreal ratio) {
  const PreviewPlacement place = PlacePreview(upright.width(), upright.height());
  return QSize(Px(place.width), Px(place.height)) * ratio;
}

}  // namespace

void WrappingButton::paintEvent(QPaintEvent*) {
  // The button without its text, then the text wrapped to the button's width.
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::ButtonText));
  painter.drawText(rect().adjusted(3, 2, -3, -2), Qt::AlignCenter | Qt::TextWordWrap, caption);
}

void PictureFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void PictureFrame::dropEvent(QDropEvent* event) {
  event->acceptProposedAction();
  emit filesDropped(LocalFiles(event->mimeData()));
}

void PictureFrame::mouseDoubleClickEvent(QMouseEvent* event) {
  emit doubleClicked();
  QFrame::mouseDoubleClickEvent(event);
}

frmTagloom::frmTagloom(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      session_(*this),
      preview_([ratio = qApp->devicePixelRatio()](QSize upright) {
        return ShownPixels(upright, ratio);
      }) {
  Build();
  Connect();
  Render();
}

frmTagloom::~frmTagloom() = default;

frmDrop* frmTagloom::DropTargetWindow() const {
  return drop_.get();
}

void frmTagloom::Build() {
  Name(this, QStringLiteral("frmTagloom"));
  setWindowTitle(FromUtf8(text::WindowTitle()));
  setWindowIcon(ProgramIcon());
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(Px(kClientWidth), Px(kWindowHeight - kFrameTwips));
  QFont font = this->font();
  font.setPixelSize(12);  // the size the layout's twips were measured with
  setFont(font);

  selectAll_ = new SelectAllOnFocus(this);
  // Created in the order of the layout, which is also the tab order.
  auto* fileCaption = Place(new QLabel(QStringLiteral("文 件 名"), this), Indexed("Label1", 0),
                            TwipsRect(180, 120, 735, 255));
  Text1_ = Place(new QLineEdit(this), QStringLiteral("Text1"), TwipsRect(960, 60, 2235, 315));
  Text1_->setReadOnly(true);
  Paint(Text1_, QColor(192, 255, 192));
  fileCaption->setBuddy(Text1_);
  cmdOpen_ = Place(new QToolButton(this), QStringLiteral("cmdOpen"), TwipsRect(3240, 60, 375, 315));
  cmdOpen_->setIcon(FolderIcon());
  cmdOpen_->setIconSize(QSize(16, 16));
  cmdOpen_->setAccessibleName(QStringLiteral("打开"));

  lamps_ = {{{LampPicture(QStringLiteral("Exif Read from"), QStringLiteral("Backup File"), false),
              LampPicture(QStringLiteral("Exif Read from"), QStringLiteral("Backup File"), true)},
             {LampPicture(QStringLiteral("Backup File"), QStringLiteral("Exists"), false),
              LampPicture(QStringLiteral("Backup File"), QStringLiteral("Exists"), true)}}};
  imgRead_ = Place(new QLabel(this), QStringLiteral("imgRead"), TwipsRect(180, 420, 1770, 570));
  imgBackup_ =
      Place(new QLabel(this), QStringLiteral("imgBackup"), TwipsRect(1920, 420, 1770, 570));
  imgRead_->setAccessibleName(QStringLiteral("Exif Read from Backup File"));
  imgBackup_->setAccessibleName(QStringLiteral("Backup File Exists"));

  Frame1_ = Place(new PictureFrame(this), QStringLiteral("Frame1"),
                  TwipsRect(120, 1080, 3495, 3495));
  Frame1_->setFrameShape(QFrame::StyledPanel);
  Frame1_->setAcceptDrops(true);
  auto* hint = Place(new QLabel(QStringLiteral("可以直接将文件拖到这里"), Frame1_),
                     QStringLiteral("Label2"), TwipsRect(660, 1680, 2235, 255));
  hint->setAlignment(Qt::AlignCenter);
  Image1_ = Place(new QLabel(Frame1_), QStringLiteral("Image1"), TwipsRect(120, 180, 3195, 3195));
  Image1_->setScaledContents(true);
  Image1_->setAccessibleName(QStringLiteral("预览"));
  labNoExif_ = Place(new QLabel(QStringLiteral("No Exif Information"), Frame1_),
                     QStringLiteral("labNoExif"), TwipsRect(720, 0, 2115, 315));
  labNoExif_->setAlignment(Qt::AlignCenter);
  Paint(labNoExif_, Qt::red);
  Ink(labNoExif_, Qt::yellow);
  QFont arial(QStringLiteral("Arial"));
  arial.setBold(true);
  labNoExif_->setFont(arial);

  const std::array<int, 4> lefts = {60, 660, 2520, 3120};
  const std::array<const char*, 4> captions = {"| <<", "<<", ">>", ">> |"};
  for (int i = 0; i < 4; ++i) {
    if (i == 2) {
      labNum_ = Place(new QLabel(this), QStringLiteral("labNum"), TwipsRect(1320, 4620, 1095, 315));
      labNum_->setAlignment(Qt::AlignCenter);
      Paint(labNum_, QColor(192, 255, 255));
    }
    cmdNavigate_[i] = Place(new QPushButton(QLatin1String(captions[i]), this),
                            Indexed("cmdNavigate", i), TwipsRect(lefts[i], 4620, 555, 315));
  }
  cmdNavigate_[0]->setAccessibleName(QStringLiteral("第一张"));
  cmdNavigate_[1]->setAccessibleName(QStringLiteral("上一张"));
  cmdNavigate_[2]->setAccessibleName(QStringLiteral("下一张"));
  cmdNavigate_[3]->setAccessibleName(QStringLiteral("最后一张"));
  chkBatch_ = Place(new QCheckBox(QStringLiteral("批量处理"), this), QStringLiteral("chkBatch"),
                    TwipsRect(120, 5100, 1035, 315));
  cmdBackup_ = Place(new QPushButton(QStringLiteral("备份 Exif 信息"), this),
                     QStringLiteral("cmdBackup"), TwipsRect(1200, 5040, 1215, 375));
  cmdRestore_ = Place(new QPushButton(QStringLiteral("保存 Exif 信息"), this),
                      QStringLiteral("cmdRestore"), TwipsRect(2460, 5040, 1215, 375));

  BuildFields();

  cmdExifWrite_ = Place(new QPushButton(QStringLiteral("写入 Exif 信息"), this),
                        QStringLiteral("cmdExifWrite"), TwipsRect(3840, 4860, 1575, 555));
  cmdTarget_ = Place(new QToolButton(this), QStringLiteral("cmdTarget"),
                     TwipsRect(6540, 4860, 1095, 555));
  cmdTarget_->setText(QStringLiteral("拖曳中心"));
  cmdTarget_->setIcon(CameraIcon());
  cmdTarget_->setIconSize(QSize(18, 18));
  cmdTarget_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  cmdAbout_ = Place(new WrappingButton(QStringLiteral("    关于 Tagloom"), this),
                    QStringLiteral("cmdAbout"), TwipsRect(7680, 4860, 915, 555));
  cmdExit_ = Place(new QPushButton(QStringLiteral("退出(&X)"), this), QStringLiteral("cmdExit"),
                   TwipsRect(8640, 4860, 855, 555));

  Frame_Exif_ = Place(new Inspector(session_, this), QStringLiteral("Frame_Exif"),
                      TwipsRect(240, 5520, 9195, 4635));
  Frame_Exif_->hide();
  panel_ = std::make_unique<ProgressPanel>(this);
}

void frmTagloom::BuildFields() {
  // Camera basics.
  Frame2_ = Place(new QGroupBox(QStringLiteral("相机基本信息"), this), QStringLiteral("Frame2"),
                  TwipsRect(3840, 60, 5595, 1755));
  chkKeep_[kAreaCamera] = Place(new QCheckBox(Frame2_), Indexed("chkKeep", 0),
                                TwipsRect(1260, 0, 255, 195));
  // Photo information.
  Frame3_ = Place(new QGroupBox(QStringLiteral("相片信息"), this), QStringLiteral("Frame3"),
                  TwipsRect(3840, 1860, 5595, 2535));
  chkKeep_[kAreaPhoto] = Place(new QCheckBox(Frame3_), Indexed("chkKeep", 1),
                               TwipsRect(960, 0, 255, 195));
  for (int area : {kAreaCamera, kAreaPhoto}) {
    chkKeep_[static_cast<std::size_t>(area)]->setToolTip(QStringLiteral("保留本区信息"));
  }

  // Where each field stands: its frame, box and caption (caption left, width).
  struct Spot {
    int field;
    QWidget* frame;
    QRect box;
    int captionLeft, captionWidth;
  };
  QWidget* camera = Frame2_;
  QWidget* photo = Frame3_;
  const int kBox = 285;
  const std::array<Spot, 13> spots = {{
      {0, camera, TwipsRect(1380, 240, 3855, kBox), 60, 1260},
      {1, camera, TwipsRect(1380, 540, 3855, kBox), 60, 1260},
      {2, camera, TwipsRect(1380, 960, 3855, kBox), 60, 1260},
      {12, camera, TwipsRect(1380, 1320, 3855, kBox), 60, 1260},
      {4, photo, TwipsRect(1380, 240, 1935, kBox), 60, 1260},
      {5, photo, TwipsRect(1380, 600, 900, kBox), 60, 1260},
      {6, photo, TwipsRect(3060, 600, 900, kBox), 2340, 660},
      {15, photo, TwipsRect(4620, 600, 855, kBox), 4020, 540},
      {8, photo, TwipsRect(1380, 1320, 615, kBox), 60, 1260},
      {9, photo, TwipsRect(3780, 1320, 615, kBox), 2985, 735},
      {10, photo, TwipsRect(1380, 1680, 855, kBox), 60, 1260},
      {13, photo, TwipsRect(1380, 2040, 4035, kBox), 60, 1260},
      {3, this, TwipsRect(5160, 4440, 4275, 315), 3840, 975},
  }};
  auto field = [&](int i, QWidget* frame, const QRect& box) {
    auto* edit = Place(new QLineEdit(frame), Indexed("txtExif", i), box);
    // A maker note runs to 110,000 hexadecimal digits: no field may cut it.
    edit->setMaxLength(INT_MAX);
    Paint(edit, kFieldYellow);
    selectAll_->Watch(edit);
    txtExif_[static_cast<std::size_t>(i)] = edit;
    return edit;
  };
  auto captionOf = [](int i) { return i == 15 ? 27 : i; };
  auto spotOf = [&](int i) -> const Spot* {
    for (const Spot& spot : spots) {
      if (spot.field == i) return &spot;
    }
    return nullptr;
  };
  auto boxField = [&](int i) {
    const Spot& spot = *spotOf(i);
    const int top = spot.box.top() * kTwipsPerPixel;
    QLabel* caption = Caption(spot.frame, captionOf(i), FromUtf8(kFields[static_cast<std::size_t>(i)].caption),
                              TwipsRect(spot.captionLeft, top + 15, spot.captionWidth - 60, 255));
    caption->setBuddy(field(i, spot.frame, spot.box));
  };
  auto pickerCaption = [&](int i, int left, int width, int top, QWidget* buddy) {
    Caption(photo, captionOf(i), FromUtf8(kFields[static_cast<std::size_t>(i)].caption),
            TwipsRect(left, top + 15, width - 60, 255))
        ->setBuddy(buddy);
  };
  auto combo = [&](Picker picker, const QRect& rect) {
    const PickerInfo& info = InfoOf(picker);
    auto* box = Place(new QComboBox(photo),
                      QStringLiteral("Combo%1").arg(static_cast<int>(picker) + 1), rect);
    for (std::string_view item : info.items) box->addItem(FromUtf8(item));
    Combo_[static_cast<std::size_t>(picker)] = box;
    return box;
  };

  for (int i : {0, 1, 2, 12}) boxField(i);
  boxField(4);
  cmdDateChoose_ = Place(new QPushButton(QStringLiteral("选择日期"), photo),
                         QStringLiteral("cmdDateChoose"), TwipsRect(3360, 240, 975, 300));
  // A click does not take the focus from the date field: leaving the field
  // with a date it cannot read would raise the date check, and its message
  // would swallow the click that was to open the picker.
  cmdDateChoose_->setFocusPolicy(Qt::TabFocus);
  for (int i : {5, 6, 15}) boxField(i);
  pickerCaption(7, 60, 1260, 960, combo(Picker::kCombo1, TwipsRect(1380, 960, 1395, 300)));
  pickerCaption(14, 2790, 990, 960, combo(Picker::kCombo2, TwipsRect(3780, 960, 1695, 300)));
  boxField(8);
  combo(Picker::kCombo3, TwipsRect(2025, 1320, 900, 300));
  boxField(9);
  combo(Picker::kCombo4, TwipsRect(4425, 1320, 1050, 300));
  boxField(10);
  Caption(photo, 15, QStringLiteral("米"), TwipsRect(2265, 1695, 300, 255))
      ->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int i = 0; i < 2; ++i) {
    OptFlash_[static_cast<std::size_t>(i)] =
        Place(new QRadioButton(FromUtf8(kFlashItems[static_cast<std::size_t>(i)]), photo),
              Indexed("OptFlash", i), TwipsRect(3780 + 540 * i, 1740, 495, 255));
  }
  pickerCaption(11, 2985, 735, 1725, OptFlash_[0]);
  boxField(13);

  // The carriers of the coded pickers: hidden, holding the number.
  for (int i : {7, 11, 14}) field(i, photo, {})->hide();
  // One entry per line.
  txtExif_[7]->setToolTip(QStringLiteral("1.手动  2.正常  3.光圈  4.快门  5.创意  6.运动  7.人像  8.风景")
                              .replace(QStringLiteral("  "), QStringLiteral("\n")));
  txtExif_[14]->setToolTip(
      QStringLiteral("1. 平均测光  2.中央重点测光  3.点测光  4.多点式测光  5.矩阵测光  6.部份测光"));

  // The copyright statement, an area of its own.
  auto* copyrightCaption = Caption(this, 3, FromUtf8(kFields[3].caption), TwipsRect(3840, 4500, 975, 255));
  copyrightCaption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  chkKeep_[kAreaCopyright] = Place(new QCheckBox(this), Indexed("chkKeep", 2),
                                   TwipsRect(4860, 4500, 255, 195));
  chkKeep_[kAreaCopyright]->setToolTip(QStringLiteral("版权保留声明信息"));
  copyrightCaption->setBuddy(field(3, this, spotOf(3)->box));
  txtExif_[field::kDate]->installEventFilter(this);
  for (QCheckBox* keep : chkKeep_) keep->setAccessibleName(keep->toolTip());
}

template <typename Action>
void frmTagloom::Do(Action action) {
  action();
  Render();
}

void frmTagloom::Connect() {
  connect(cmdOpen_, &QToolButton::clicked, this, [this] {
    std::optional<QString> chosen = dialogs_.ChooseFile(this, OpenDialogFilters());
    Do([&] {
      session_.cmdOpen_Click(chosen ? std::optional<std::string>(ToPath(*chosen)) : std::nullopt);
    });
  });
  for (int i = 0; i < 4; ++i) {
    connect(cmdNavigate_[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
            [this, i] { Do([&] { session_.cmdNavigate_Click(i); }); });
  }
  connect(Frame1_, &PictureFrame::filesDropped, this, [this](const QStringList& paths) {
    std::vector<std::string> dropped;
    for (const QString& path : paths) dropped.push_back(ToPath(path));
    Do([&] { session_.Image1_DropFiles(dropped); });
  });
  connect(Frame1_, &PictureFrame::doubleClicked, this, [this] { session_.Image1_DblClick(); });
  connect(chkBatch_, &QCheckBox::clicked, this,
          [this](bool ticked) { Do([&] { session_.SetBatch(ticked); }); });
  for (int area = 0; area < kAreaCount; ++area) {
    connect(chkKeep_[static_cast<std::size_t>(area)], &QCheckBox::clicked, this,
            [this, area](bool ticked) { session_.chkKeep[static_cast<std::size_t>(area)] = ticked; });
  }
  connect(cmdBackup_, &QPushButton::clicked, this, [this] { Do([&] { session_.cmdBackup_Click(); }); });
  connect(cmdRestore_, &QPushButton::clicked, this,
          [this] { Do([&] { session_.cmdRestore_Click(); }); });
  connect(cmdExifWrite_, &QPushButton::clicked, this,
          [this] { Do([&] { session_.cmdExifWrite_Click(); }); });
  connect(cmdExit_, &QPushButton::clicked, this, &QWidget::close);
  for (int i = 0; i < kFieldCount; ++i) {
    connect(txtExif_[static_cast<std::size_t>(i)], &QLineEdit::textEdited, this,
            [this, i](const QString& text) { Do([&] { session_.SetFieldText(i, ToUtf8(text)); }); });
  }
  for (int p = 0; p < 4; ++p) {
    connect(Combo_[static_cast<std::size_t>(p)], qOverload<int>(&QComboBox::activated), this,
            [this, p](int item) {
              Do([&] { session_.SelectPicker(static_cast<Picker>(p), item); });
            });
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
}

bool frmTagloom::eventFilter(QObject* watched, QEvent* event) {
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
  if (std::optional<CalendarDate> day = session_.DateForCalendar()) {
    dateChoose_->SetDate(QDate(day->year, day->month, day->day));
  }
  // Closed by its frame or Escape: the field keeps its text.
  if (dateChoose_->exec() != QDialog::Accepted) return;
  const QDate chosen = dateChoose_->Date();
  Do([&] { session_.SetChosenDate({chosen.year(), chosen.month(), chosen.day()}); });
}

void frmTagloom::OpenPaths(const QStringList& paths) {
  std::vector<std::string> given;
  for (const QString& path : paths) given.push_back(ToPath(path));
  Do([&] { session_.Image1_DropFiles(given); });
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
  if (Frame_Exif_->isHidden() == s.Frame_Exif.visible) Frame_Exif_->setVisible(s.Frame_Exif.visible);
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
  // The window's close box ends the program, as the exit button does.
  event->accept();
  drop_.reset();
  QApplication::closeAllWindows();
}

bool frmTagloom::AskYesNo(std::string_view text, std::string_view title, MessageIcon icon,
                          std::string_view details) {
  return dialogs_.AskYesNo(this, FromUtf8(text), FromUtf8(title), icon, FromUtf8(details));
}

void frmTagloom::Tell(std::string_view text, std::string_view title, MessageIcon icon) {
  dialogs_.Tell(this, FromUtf8(text), FromUtf8(title), icon);
}

void frmTagloom::ShowBar(bool visible) {
  panel_->Show(visible);
}

void frmTagloom::InitBar(std::int64_t min, std::int64_t max) {
  panel_->SetRange(min, max);
}

void frmTagloom::SetBar(std::int64_t value) {
  panel_->SetValue(value);
}

void frmTagloom::Yield() {
  // A batch refills the fields file by file: show them as they go.
  Render();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmTagloom::SetBusy(bool busy) {
  if (busy && busyDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
  if (!busy && busyDepth_ > 0 && --busyDepth_ == 0) QApplication::restoreOverrideCursor();
}

std::optional<PictureSize> frmTagloom::LoadPreview(const std::string& path) {
  // The decode starts at once, beside the reading of the fields; the picture
  // is asked for once they are on show.
  const QString file = FromPath(path);
  preview_.Prefetch({file});
  std::optional<QSize> size = PreviewLoader::Probe(file);
  if (!size) return std::nullopt;
  return PictureSize{size->width(), size->height()};
}

void frmTagloom::OpenExternally(const std::string& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(FromPath(path)));
}

}  // namespace tagloom::ui
