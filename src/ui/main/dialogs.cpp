#include "ui/main/dialogs.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <memory>

#include "editor/texts.h"
#include "ui/main/controls.h"
#include "ui/main/list_preview_dialog.h"
#include "ui/main/summary_dialog.h"
#include "ui/main/table_preview_dialog.h"

namespace tagloom::ui {
namespace {

QMessageBox::Icon IconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    case MessageIcon::kWarning:
      return QMessageBox::Warning;
    case MessageIcon::kCritical:
      return QMessageBox::Critical;
    case MessageIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

// The program's texts end their lines with CR LF; a label wants LF alone.
QString Lines(const QString& text) {
  QString lines = text;
  return lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

QMessageBox* MakeMessageBox(QWidget* parent, const QString& text, const QString& title,
                            MessageIcon icon, bool question, const QString& details) {
  auto* box =
      new QMessageBox(IconOf(icon), title, Lines(text),
                      question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);
  if (!details.isEmpty()) box->setDetailedText(Lines(details));
  box->setAttribute(Qt::WA_DeleteOnClose, false);
  return box;
}

QMessageBox* MakeQuestionBox(QWidget* parent, const QuestionBox& question) {
  QMessageBox* box =
      MakeMessageBox(parent, question.text, question.title, question.icon, true, question.details);
  // Where Yes may cost the person something, Enter says No.
  box->setDefaultButton(question.defaultNo ? QMessageBox::No : QMessageBox::Yes);
  if (!question.option.isEmpty()) {
    auto* option = new QCheckBox(question.option, box);
    option->setObjectName(QStringLiteral("chkKeepAll"));
    option->setChecked(question.optionTicked);
    box->setCheckBox(option);
    // Ticked, the details tell what the new block keeps.
    const QString plain = Lines(question.details), ticked = Lines(question.detailsTicked);
    box->setDetailedText(question.optionTicked ? ticked : plain);
    QObject::connect(option, &QCheckBox::toggled, box,
                     [box, plain, ticked](bool on) { box->setDetailedText(on ? ticked : plain); });
  }
  return box;
}

bool StandardDialogs::Ask(QWidget* parent, QuestionBox& question) {
  std::unique_ptr<QMessageBox> box(MakeQuestionBox(parent, question));
  const bool yes = box->exec() == QMessageBox::Yes;
  if (box->checkBox() != nullptr) question.optionTicked = box->checkBox()->isChecked();
  return yes;
}

QMessageBox* MakeEditsBox(QWidget* parent, const QString& text) {
  auto* box = new QMessageBox(QMessageBox::Question, FromUtf8(text::kUnwrittenEditsTitle),
                              Lines(text), QMessageBox::NoButton, parent);
  box->setTextFormat(Qt::PlainText);
  box->setAttribute(Qt::WA_DeleteOnClose, false);
  box->addButton(FromUtf8(text::kWriteEditsButton), QMessageBox::AcceptRole);
  box->addButton(FromUtf8(text::kDiscardEditsButton), QMessageBox::DestructiveRole);
  // Escape, the close box and Enter all stay: nothing is lost by staying.
  QPushButton* stay = box->addButton(FromUtf8(text::kStayButton), QMessageBox::RejectRole);
  box->setDefaultButton(stay);
  box->setEscapeButton(stay);
  return box;
}

EditsAnswer EditsAnswerOf(QMessageBox* box) {
  switch (box->buttonRole(box->clickedButton())) {
    case QMessageBox::AcceptRole:
      return EditsAnswer::kWrite;
    case QMessageBox::DestructiveRole:
      return EditsAnswer::kDiscard;
    default:
      return EditsAnswer::kStay;
  }
}

EditsAnswer StandardDialogs::AskAboutEdits(QWidget* parent, const QString& text) {
  std::unique_ptr<QMessageBox> box(MakeEditsBox(parent, text));
  box->exec();
  return EditsAnswerOf(box.get());
}

ListAnswer StandardDialogs::ConfirmTable(QWidget* parent, TablePreview& preview,
                                         const std::function<TablePreview(int)>& slide) {
  TablePreviewDialog dialog(preview, slide, parent);
  return dialog.Ask();
}

QString StandardDialogs::ChooseTable(QWidget* parent, bool save) {
  const QString filters = QStringLiteral(
      "表格 (*.csv *.CSV *.tsv *.TSV *.txt *.TXT);;所有文件 (*)");
  return save ? QFileDialog::getSaveFileName(parent, FromUtf8(text::kExportTable).remove(
                                                         QStringLiteral("...")),
                                             QStringLiteral("相片.csv"), filters)
              : QFileDialog::getOpenFileName(
                    parent, FromUtf8(text::kImportTable).remove(QStringLiteral("...")), {},
                    filters);
}

void StandardDialogs::ShowSummary(QWidget* parent, const RunSummary& summary) {
  SummaryDialog dialog(summary, parent);
  dialog.exec();
}

void StandardDialogs::Tell(QWidget* parent, const QString& text, const QString& title,
                           MessageIcon icon, const QString& details) {
  std::unique_ptr<QMessageBox> box(MakeMessageBox(parent, text, title, icon, false, details));
  box->exec();
}

ListAnswer StandardDialogs::ConfirmList(QWidget* parent, ListPreview& preview) {
  ListPreviewDialog dialog(preview, parent);
  return dialog.Ask();
}

QStringList StandardDialogs::ChooseFiles(QWidget* parent, const QStringList& filters) {
  QFileDialog dialog(parent);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.value(0));
  // The descriptions already name the patterns; the doubled-case lists stay hidden.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles();
}

QStringList OpenDialogFilters() {
  return {
      QStringLiteral("Exif Files(*.jpg, *.jpeg, *.thm) (*.jpg *.JPG *.jpeg *.JPEG *.thm *.THM)"),
      QStringLiteral("JPEG Files(*.jpg, *.jpeg) (*.jpg *.JPG *.jpeg *.JPEG)"),
      QStringLiteral("Canon G1 RAW Files(*.thm) (*.thm *.THM)")};
}

}  // namespace tagloom::ui
