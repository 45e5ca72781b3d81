// The main window's controls, made at their documented places in the order
// of the layout, which is also the tab order; and its keys.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QShortcut>
#include <QToolButton>
#include <climits>

#include "editor/texts.h"
#include "model/catalogue.h"
#include "model/pickers.h"
#include "ui/inspector/inspector.h"
#include "ui/main/controls.h"
#include "ui/main/frm_tagloom.h"
#include "ui/main/pictures.h"
#include "ui/main/select_all_on_focus.h"
#include "ui/main/twips.h"

namespace tagloom::ui {
namespace {

const QColor kFieldYellow(255, 255, 192);
const QColor kNameGreen(192, 255, 192);
const QColor kCounterCyan(192, 255, 255);
// The lamps' labels are drawn dark: they stand on a light plate of their own.
const QColor kLampPlate(236, 236, 236);

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

QString CaptionOf(int field) {
  return FromUtf8(kFields[static_cast<std::size_t>(field)].caption);
}

// Where a text field stands: its frame, box, and caption (left, width).
struct Spot {
  int field;
  int frame;  // 0: the window, 2: Frame2, 3: Frame3
  int left, top, width;
  int captionLeft, captionWidth;
};
constexpr int kBoxHeight = 285;
constexpr std::array<Spot, 13> kSpots = {{
    {0, 2, 1380, 240, 3855, 60, 1260},
    {1, 2, 1380, 540, 3855, 60, 1260},
    {2, 2, 1380, 960, 3855, 60, 1260},
    {12, 2, 1380, 1320, 3855, 60, 1260},
    {4, 3, 1380, 240, 1935, 60, 1260},
    {5, 3, 1380, 600, 900, 60, 1260},
    {6, 3, 3060, 600, 900, 2340, 660},
    {15, 3, 4620, 600, 855, 4020, 540},
    {8, 3, 1380, 1320, 615, 60, 1260},
    {9, 3, 3780, 1320, 615, 2985, 735},
    {10, 3, 1380, 1680, 855, 60, 1260},
    {13, 3, 1380, 2040, 4035, 60, 1260},
    {3, 0, 5160, 4440, 4275, 3840, 975},
}};

const Spot& SpotOf(int field) {
  for (const Spot& spot : kSpots) {
    if (spot.field == field) return spot;
  }
  return kSpots.front();
}

// The caption array index of a field: its own, but 27 for the focal length.
int CaptionIndex(int field) {
  return field == 15 ? 27 : field;
}

}  // namespace

void frmTagloom::Build() {
  Name(this, QStringLiteral("frmTagloom"));
  setWindowTitle(FromUtf8(text::WindowTitle()));
  setWindowIcon(ProgramIcon());
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  QFont font = this->font();
  font.setPixelSize(12);  // the size the layout's twips were measured with
  setFont(font);
  selectAll_ = new SelectAllOnFocus(this);
  BuildFileArea();
  BuildPictureArea();
  BuildFields();
  BuildButtons();
  Frame_Exif_ = Place(new Inspector(session_, this), QStringLiteral("Frame_Exif"),
                      TwipsRect(240, 5520, 9195, 4635));
  Frame_Exif_->hide();
  panel_ = std::make_unique<ProgressPanel>(this);
  AddKeys();
}

void frmTagloom::BuildFileArea() {
  auto* fileCaption = Place(new QLabel(QStringLiteral("文 件 名"), this), Indexed("Label1", 0),
                            TwipsRect(180, 120, 735, 255));
  Text1_ = Place(new QLineEdit(this), QStringLiteral("Text1"), TwipsRect(960, 60, 2235, 315));
  Text1_->setReadOnly(true);
  Paint(Text1_, kNameGreen);
  fileCaption->setBuddy(Text1_);
  cmdOpen_ = Place(new QToolButton(this), QStringLiteral("cmdOpen"), TwipsRect(3240, 60, 375, 315));
  cmdOpen_->setIcon(FolderIcon());
  cmdOpen_->setIconSize(QSize(16, 16));
  cmdOpen_->setAccessibleName(QStringLiteral("打开"));

  const QString read = QStringLiteral("Exif Read from"), backup = QStringLiteral("Backup File");
  lamps_ = {{{LampPicture(read, backup, false), LampPicture(read, backup, true)},
             {LampPicture(backup, QStringLiteral("Exists"), false),
              LampPicture(backup, QStringLiteral("Exists"), true)}}};
  imgRead_ = Place(new QLabel(this), QStringLiteral("imgRead"), TwipsRect(180, 420, 1770, 570));
  imgBackup_ =
      Place(new QLabel(this), QStringLiteral("imgBackup"), TwipsRect(1920, 420, 1770, 570));
  imgRead_->setAccessibleName(QStringLiteral("Exif Read from Backup File"));
  imgBackup_->setAccessibleName(QStringLiteral("Backup File Exists"));
  for (QLabel* lamp : {imgRead_, imgBackup_}) Paint(lamp, kLampPlate);
}

void frmTagloom::BuildPictureArea() {
  Frame1_ =
      Place(new PictureFrame(this), QStringLiteral("Frame1"), TwipsRect(120, 1080, 3495, 3495));
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
  Paint(labNoExif_, Qt::red, Qt::yellow);
  QFont arial(QStringLiteral("Arial"));
  arial.setBold(true);
  labNoExif_->setFont(arial);

  // First, previous, the counter, next, last.
  struct Step {
    const char* caption;
    const char* accessibleName;
    int left;
  };
  constexpr std::array<Step, 4> kSteps = {{{"| <<", "第一张", 60},
                                           {"<<", "上一张", 660},
                                           {">>", "下一张", 2520},
                                           {">> |", "最后一张", 3120}}};
  for (int i = 0; i < 4; ++i) {
    if (i == 2) {
      labNum_ = Place(new QLabel(this), QStringLiteral("labNum"), TwipsRect(1320, 4620, 1095, 315));
      labNum_->setAlignment(Qt::AlignCenter);
      Paint(labNum_, kCounterCyan);
    }
    const Step& step = kSteps[static_cast<std::size_t>(i)];
    cmdNavigate_[static_cast<std::size_t>(i)] =
        Place(new QPushButton(QLatin1String(step.caption), this), Indexed("cmdNavigate", i),
              TwipsRect(step.left, 4620, 555, 315));
    cmdNavigate_[static_cast<std::size_t>(i)]->setAccessibleName(
        QString::fromUtf8(step.accessibleName));
  }
  chkBatch_ = Place(new QCheckBox(QStringLiteral("批量处理"), this), QStringLiteral("chkBatch"),
                    TwipsRect(120, 5100, 1035, 315));
  cmdBackup_ = Place(new QPushButton(QStringLiteral("备份 Exif 信息"), this),
                     QStringLiteral("cmdBackup"), TwipsRect(1200, 5040, 1215, 375));
  cmdRestore_ = Place(new QPushButton(QStringLiteral("保存 Exif 信息"), this),
                      QStringLiteral("cmdRestore"), TwipsRect(2460, 5040, 1215, 375));
}

QLineEdit* frmTagloom::AddField(int field, QWidget* frame, const QRect& box) {
  auto* edit = Place(new QLineEdit(frame), Indexed("txtExif", field), box);
  // A maker note runs to 110,000 hexadecimal digits: no field may cut it.
  edit->setMaxLength(INT_MAX);
  Paint(edit, kFieldYellow);
  selectAll_->Watch(edit);
  txtExif_[static_cast<std::size_t>(field)] = edit;
  return edit;
}

void frmTagloom::AddBoxField(int field) {
  const Spot& spot = SpotOf(field);
  QWidget* frame = spot.frame == 2   ? static_cast<QWidget*>(Frame2_)
                   : spot.frame == 3 ? static_cast<QWidget*>(Frame3_)
                                     : this;
  QLabel* caption =
      Caption(frame, CaptionIndex(field), CaptionOf(field),
              TwipsRect(spot.captionLeft, spot.top + 15, spot.captionWidth - 60, 255));
  caption->setBuddy(AddField(field, frame, TwipsRect(spot.left, spot.top, spot.width, kBoxHeight)));
}

QComboBox* frmTagloom::AddCombo(Picker picker, const QRect& rect) {
  auto* box = Place(new QComboBox(Frame3_),
                    QStringLiteral("Combo%1").arg(static_cast<int>(picker) + 1), rect);
  for (std::string_view item : InfoOf(picker).items) box->addItem(FromUtf8(item));
  Combo_[static_cast<std::size_t>(picker)] = box;
  return box;
}

void frmTagloom::BuildFields() {
  Frame2_ = Place(new QGroupBox(QStringLiteral("相机基本信息"), this), QStringLiteral("Frame2"),
                  TwipsRect(3840, 60, 5595, 1755));
  chkKeep_[kAreaCamera] =
      Place(new QCheckBox(Frame2_), Indexed("chkKeep", 0), TwipsRect(1260, 0, 255, 195));
  Frame3_ = Place(new QGroupBox(QStringLiteral("相片信息"), this), QStringLiteral("Frame3"),
                  TwipsRect(3840, 1860, 5595, 2535));
  chkKeep_[kAreaPhoto] =
      Place(new QCheckBox(Frame3_), Indexed("chkKeep", 1), TwipsRect(960, 0, 255, 195));
  for (int area : {kAreaCamera, kAreaPhoto}) {
    chkKeep_[static_cast<std::size_t>(area)]->setToolTip(QStringLiteral("保留本区信息"));
  }
  auto pickerCaption = [&](int field, int left, int width, int top, QWidget* buddy) {
    Caption(Frame3_, CaptionIndex(field), CaptionOf(field),
            TwipsRect(left, top + 15, width - 60, 255))
        ->setBuddy(buddy);
  };

  for (int i : {0, 1, 2, 12, 4}) AddBoxField(i);
  cmdDateChoose_ = Place(new QPushButton(QStringLiteral("选择日期"), Frame3_),
                         QStringLiteral("cmdDateChoose"), TwipsRect(3360, 240, 975, 300));
  // A click does not take the focus from the date field: leaving the field
  // with a date it cannot read would raise the date check, and its message
  // would swallow the click that was to open the picker.
  cmdDateChoose_->setFocusPolicy(Qt::TabFocus);
  for (int i : {5, 6, 15}) AddBoxField(i);
  pickerCaption(7, 60, 1260, 960, AddCombo(Picker::kCombo1, TwipsRect(1380, 960, 1395, 300)));
  pickerCaption(14, 2790, 990, 960, AddCombo(Picker::kCombo2, TwipsRect(3780, 960, 1695, 300)));
  AddBoxField(8);
  AddCombo(Picker::kCombo3, TwipsRect(2025, 1320, 900, 300));
  AddBoxField(9);
  AddCombo(Picker::kCombo4, TwipsRect(4425, 1320, 1050, 300));
  AddBoxField(10);
  Caption(Frame3_, 15, QStringLiteral("米"), TwipsRect(2265, 1695, 300, 255))
      ->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int i = 0; i < 2; ++i) {
    OptFlash_[static_cast<std::size_t>(i)] =
        Place(new QRadioButton(FromUtf8(kFlashItems[static_cast<std::size_t>(i)]), Frame3_),
              Indexed("OptFlash", i), TwipsRect(3780 + 540 * i, 1740, 495, 255));
  }
  pickerCaption(11, 2985, 735, 1725, OptFlash_[0]);
  AddBoxField(13);

  // The carriers of the coded pickers: hidden, holding the number.
  for (int i : {7, 11, 14}) AddField(i, Frame3_, {})->hide();
  // One entry per line.
  txtExif_[7]->setToolTip(
      QStringLiteral("1.手动  2.正常  3.光圈  4.快门  5.创意  6.运动  7.人像  8.风景")
          .replace(QStringLiteral("  "), QStringLiteral("\n")));
  txtExif_[14]->setToolTip(QStringLiteral(
      "1. 平均测光  2.中央重点测光  3.点测光  4.多点式测光  5.矩阵测光  6.部份测光"));

  // The copyright statement, an area of its own: caption, keep box, field.
  const Spot& copyright = SpotOf(field::kCopyright);
  auto* copyrightCaption =
      Caption(this, 3, CaptionOf(field::kCopyright),
              TwipsRect(copyright.captionLeft, 4500, copyright.captionWidth, 255));
  copyrightCaption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  chkKeep_[kAreaCopyright] =
      Place(new QCheckBox(this), Indexed("chkKeep", 2), TwipsRect(4860, 4500, 255, 195));
  chkKeep_[kAreaCopyright]->setToolTip(QStringLiteral("版权保留声明信息"));
  copyrightCaption->setBuddy(AddField(
      field::kCopyright, this, TwipsRect(copyright.left, copyright.top, copyright.width, 315)));
  txtExif_[field::kDate]->installEventFilter(this);
  for (QCheckBox* keep : chkKeep_) keep->setAccessibleName(keep->toolTip());
}

void frmTagloom::BuildButtons() {
  cmdExifWrite_ = Place(new QPushButton(QStringLiteral("写入 Exif 信息"), this),
                        QStringLiteral("cmdExifWrite"), TwipsRect(3840, 4860, 1575, 555));
  cmdExifWrite_->setAccessibleName(cmdExifWrite_->text());
  cmdTarget_ =
      Place(new QToolButton(this), QStringLiteral("cmdTarget"), TwipsRect(6540, 4860, 1095, 555));
  cmdTarget_->setText(QStringLiteral("拖曳中心"));
  cmdTarget_->setIcon(CameraIcon());
  cmdTarget_->setIconSize(QSize(18, 18));
  cmdTarget_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  cmdAbout_ = Place(new WrappingButton(QStringLiteral("    关于 Tagloom"), this),
                    QStringLiteral("cmdAbout"), TwipsRect(7680, 4860, 915, 555));
  cmdExit_ = Place(new QPushButton(QStringLiteral("退出(&X)"), this), QStringLiteral("cmdExit"),
                   TwipsRect(8640, 4860, 855, 555));
  // The list as a table, for a spreadsheet, and back: two small buttons in
  // the gap between the write button and the drop target's.
  QFont small = font();
  small.setPixelSize(11);
  cmdExportTable_ = Place(new QPushButton(FromUtf8(text::kExportTable), this),
                          QStringLiteral("cmdExportTable"), TwipsRect(5460, 4860, 1035, 270));
  cmdImportTable_ = Place(new QPushButton(FromUtf8(text::kImportTable), this),
                          QStringLiteral("cmdImportTable"), TwipsRect(5460, 5145, 1035, 270));
  for (QPushButton* table : {cmdExportTable_, cmdImportTable_}) {
    table->setFont(small);
    table->setAccessibleName(table->text());
  }
}

void frmTagloom::AddKeys() {
  // From anywhere in the window, inside a field too, as the buttons do: a
  // key does nothing where its button is hidden or disabled.
  struct Key {
    QKeySequence keys;
    QAbstractButton* button;
  };
  const std::array<Key, 6> keys = {{{QKeySequence(Qt::ALT | Qt::Key_Home), cmdNavigate_[0]},
                                    {QKeySequence(Qt::Key_PageUp), cmdNavigate_[1]},
                                    {QKeySequence(Qt::Key_PageDown), cmdNavigate_[2]},
                                    {QKeySequence(Qt::ALT | Qt::Key_End), cmdNavigate_[3]},
                                    {QKeySequence(Qt::CTRL | Qt::Key_S), cmdExifWrite_},
                                    {QKeySequence(Qt::CTRL | Qt::Key_O), cmdOpen_}}};
  for (const Key& key : keys) {
    auto* shortcut = new QShortcut(key.keys, this);
    QAbstractButton* button = key.button;
    connect(shortcut, &QShortcut::activated, button, [button] {
      if (button->isVisible() && button->isEnabled()) button->click();
    });
    const QString name = button->accessibleName();
    button->setToolTip(
        QStringLiteral("%1 (%2)").arg(name, key.keys.toString(QKeySequence::NativeText)));
  }
}

}  // namespace tagloom::ui
