#include "ui/main/summary_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "editor/run_summary.h"
#include "editor/texts.h"
#include "model/path_name.h"
#include "ui/main/controls.h"

namespace tagloom::ui {
namespace {

// The program's lines end with CR LF; a label wants LF alone.
QString Lines(const std::string& text) {
  return FromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).trimmed();
}

}  // namespace

SummaryDialog::SummaryDialog(const RunSummary& summary, QWidget* parent) : QDialog(parent) {
  Name(this, QStringLiteral("frmSummary"));
  setWindowTitle(FromUtf8(summary.title));
  resize(720, 440);
  auto* layout = new QVBoxLayout(this);
  auto* counts = new QLabel(Lines(summary.text), this);
  Name(counts, QStringLiteral("labSummary"));
  counts->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(counts);
  table_ = new QTreeWidget(this);
  Name(table_, QStringLiteral("lstOutcomes"));
  table_->setAccessibleName(QStringLiteral("每张相片的结果"));
  table_->setHeaderLabels(
      {QStringLiteral("文件"), QStringLiteral("结果"), QStringLiteral("改变或原因")});
  table_->setRootIsDecorated(false);
  table_->setUniformRowHeights(true);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  layout->addWidget(table_);
  counts->setBuddy(table_);
  Fill(summary);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  QPushButton* copy = buttons->addButton(QStringLiteral("复制"), QDialogButtonBox::ActionRole);
  Name(copy, QStringLiteral("cmdCopy"));
  QPushButton* save =
      buttons->addButton(QStringLiteral("保存为文本..."), QDialogButtonBox::ActionRole);
  Name(save, QStringLiteral("cmdSave"));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(copy, &QPushButton::clicked, this,
          [this] { QApplication::clipboard()->setText(AsText()); });
  connect(save, &QPushButton::clicked, this, &SummaryDialog::SaveAsText);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
}

void SummaryDialog::Fill(const RunSummary& summary) {
  text_ = Lines(summary.text) + u'\n';
  for (const PhotoOutcome& outcome : summary.outcomes) {
    std::string why = outcome.reason;
    if (outcome.result == PhotoResult::kDone) why = ChangesText(outcome.changes);
    auto* row = new QTreeWidgetItem(
        table_, {FromPath(std::string(FileNameOf(outcome.path))),
                 FromUtf8(ResultText(outcome.result, summary.kind)).remove(u':'), Lines(why)});
    row->setToolTip(0, FromPath(outcome.path));
    row->setToolTip(2, Lines(why));
    // A line feed in a file's name must not split its line.
    QString line = FromPath(OutcomeLine(outcome, summary.kind));
    for (QChar& c : line) {
      if (c.unicode() < 0x20) c = u' ';
    }
    text_ += line + u'\n';
  }
  table_->header()->setSectionResizeMode(QHeaderView::Interactive);
  for (int column = 0; column < 2; ++column) table_->resizeColumnToContents(column);
}

QString SummaryDialog::AsText() const {
  return text_;
}

void SummaryDialog::SaveAsText() {
  const QString path =
      QFileDialog::getSaveFileName(this, QStringLiteral("保存为文本"), QStringLiteral("结果.txt"),
                                   QStringLiteral("文本文件 (*.txt)"));
  if (path.isEmpty()) return;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(AsText().toUtf8()) < 0 ||
      !file.commit()) {
    QMessageBox::critical(this, QStringLiteral("保存失败"),
                          QStringLiteral("无法保存到 %1: %2").arg(path, file.errorString()));
  }
}

}  // namespace tagloom::ui
