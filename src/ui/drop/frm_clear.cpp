#include "ui/drop/frm_clear.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/main/controls.h"
#include "ui/main/twips.h"

namespace tagloom::ui {

frmClear::frmClear(QWidget* parent) : QDialog(parent) {
  Name(this, QStringLiteral("frmClear"));
  setWindowTitle(QStringLiteral("清除图像"));
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(Px(2955), Px(945));
  auto* prompt = new QLabel(QStringLiteral("清除方式: "), this);
  Name(prompt, QStringLiteral("Label1"));
  prompt->setGeometry(TwipsRect(315, 135, 990, 240));
  // Created in their tab order: the last drop first.
  auto* last = new QPushButton(QStringLiteral("前一次的拖曳"), this);
  Name(last, QStringLiteral("Command1"));
  last->setGeometry(TwipsRect(105, 495, 1410, 360));
  auto* all = new QPushButton(QStringLiteral("全部图像"), this);
  Name(all, QStringLiteral("Command2"));
  all->setGeometry(TwipsRect(1620, 495, 1290, 360));
  Text1_ = new QLineEdit(this);
  Name(Text1_, QStringLiteral("Text1"));
  Text1_->setGeometry(TwipsRect(1425, 90, 1140, 285));
  Text1_->hide();
  last->setDefault(true);
  auto choose = [this](const char* result) {
    Text1_->setText(QString::fromLatin1(result));
    accept();
  };
  connect(last, &QPushButton::clicked, this, [choose] { choose("Last"); });
  connect(all, &QPushButton::clicked, this, [choose] { choose("All"); });
}

ClearChoice frmClear::Choose() {
  Text1_->clear();
  if (exec() != QDialog::Accepted) return ClearChoice::kNone;
  const QString result = Text1_->text();
  return result == QLatin1String("Last") ? ClearChoice::kLast
         : result.isEmpty()              ? ClearChoice::kNone
                                         : ClearChoice::kAll;
}

}  // namespace tagloom::ui
