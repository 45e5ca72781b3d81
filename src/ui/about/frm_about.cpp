#include "ui/about/frm_about.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "editor/texts.h"
#include "ui/about/system_info.h"
#include "ui/main/controls.h"
#include "ui/main/dialogs.h"
#include "ui/main/pictures.h"

namespace tagloom::ui {
namespace {

QFrame* Separator(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

frmAbout::frmAbout(Dialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
  const QString title = FromUtf8(text::kAppTitle);
  Name(this, QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("关于") + title);
  setModal(true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* icon = new QLabel(this);
  Name(icon, QStringLiteral("picIcon"));
  icon->setPixmap(ProgramIcon().pixmap(64, 64));
  auto label = [this](const char* name, const QString& text) {
    auto* shown = new QLabel(text, this);
    Name(shown, QString::fromLatin1(name));
    shown->setWordWrap(true);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return shown;
  };
  QLabel* name = label("lblTitle", title);
  QFont big = name->font();
  big.setPixelSize(20);
  big.setBold(true);
  name->setFont(big);
  QLabel* version = label("lblVersion", QString::fromStdString(text::VersionText(1)));
  QLabel* description = label(
      "lblDescription",
      QStringLiteral("Tagloom 是为摄影师写的 EXIF 编辑器：查看和修改相片中相机写下的拍摄信息，"
                     "把每张相片的 EXIF 信息备份在相片旁边，需要时再恢复回去；"
                     "也可以一次处理从多个文件夹收集来的一批相片。\n"
                     "Vantoro Studio 制作。"));
  QLabel* disclaimer =
      label("lblDisclaimer",
            QStringLiteral("本软件按“现状”提供，不附带任何明示或暗示的担保。修改重要相片之前，"
                           "请先备份它的 EXIF 信息或保留一份副本。"));
  QFont smallPrint = disclaimer->font();
  smallPrint.setPixelSize(11);
  disclaimer->setFont(smallPrint);

  auto* ok = new QPushButton(QStringLiteral("知道了!"), this);
  Name(ok, QStringLiteral("cmdOK"));
  ok->setDefault(true);
  auto* sysInfo = new QPushButton(QStringLiteral("系统信息(&S)"), this);
  Name(sysInfo, QStringLiteral("cmdSysInfo"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(sysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);

  auto* grid = new QGridLayout(this);
  grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
  grid->addWidget(name, 0, 1);
  grid->addWidget(version, 1, 1);
  grid->addWidget(description, 2, 1);
  grid->addWidget(Separator(this), 3, 0, 1, 2);
  grid->addWidget(disclaimer, 4, 0, 1, 2);
  grid->addWidget(Separator(this), 5, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(sysInfo);
  grid->addLayout(buttons, 6, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  setFixedWidth(420);
  grid->setSizeConstraint(QLayout::SetFixedSize);
}

void frmAbout::StartSysInfo() {
  if (StartSystemInfoProgram()) return;
  const QString title = FromUtf8(text::kAppTitle);
  dialogs_.Tell(this, FromUtf8(text::kNoSystemInfo), title, MessageIcon::kNone, {});
}

}  // namespace tagloom::ui
