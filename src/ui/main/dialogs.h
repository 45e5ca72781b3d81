// The modal dialogs the main window shows: questions, messages and the open
// dialog, behind one interface, so that tests answer them without a real
// modal box.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "editor/host.h"

class QMessageBox;
class QWidget;

namespace tagloom::ui {

// A question with Yes and No, as the window asks it.
struct QuestionBox {
  QString text, title;
  MessageIcon icon = MessageIcon::kNone;
  QString details;  // shown on request; may be empty
  bool defaultNo = false;
  // A box to tick offered with the question ("" for none): whether it is
  // ticked (as offered, then as left), and the details while it is.
  QString option;
  bool optionTicked = false;
  QString detailsTicked;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // True for Yes; question.optionTicked as the person left the box.
  virtual bool Ask(QWidget* parent, QuestionBox& question) = 0;
  // OK only; `details` (may be empty) is shown on request.
  virtual void Tell(QWidget* parent, const QString& text, const QString& title, MessageIcon icon,
                    const QString& details) = 0;
  // The preview of a write to the whole list, and the answer.
  virtual ListAnswer ConfirmList(QWidget* parent, ListPreview& preview) = 0;
  // The preview of a table applied to the list; `slide` slides its rows.
  virtual ListAnswer ConfirmTable(QWidget* parent, TablePreview& preview,
                                  const std::function<TablePreview(int)>& slide) = 0;
  // The end of a run over the list: its counts and every photograph's outcome.
  virtual void ShowSummary(QWidget* parent, const RunSummary& summary) = 0;
  // Edits not yet written, before the photograph gives way: write, drop, stay.
  virtual EditsAnswer AskAboutEdits(QWidget* parent, const QString& text) = 0;
  // The open dialog with the given filters (the first selected): the full
  // paths chosen (one or several), none for a cancel.
  virtual QStringList ChooseFiles(QWidget* parent, const QStringList& filters) = 0;
  // A table to read, or where to save one (CSV); "" for a cancel.
  virtual QString ChooseTable(QWidget* parent, bool save) = 0;
};

// Qt's message boxes and file dialog.
class StandardDialogs : public Dialogs {
 public:
  bool Ask(QWidget* parent, QuestionBox& question) override;
  void Tell(QWidget* parent, const QString& text, const QString& title, MessageIcon icon,
            const QString& details) override;
  ListAnswer ConfirmList(QWidget* parent, ListPreview& preview) override;
  ListAnswer ConfirmTable(QWidget* parent, TablePreview& preview,
                          const std::function<TablePreview(int)>& slide) override;
  void ShowSummary(QWidget* parent, const RunSummary& summary) override;
  EditsAnswer AskAboutEdits(QWidget* parent, const QString& text) override;
  QStringList ChooseFiles(QWidget* parent, const QStringList& filters) override;
  QString ChooseTable(QWidget* parent, bool save) override;
};

// The open dialog's filters: photographs (JPEG and .thm), JPEG only, .thm
// only. Each names its patterns in both cases, so that a camera's
// IMG_0001.JPG shows also where a file dialog compares case-sensitively.
QStringList OpenDialogFilters();

// The message box of a question or message, not yet shown (the screenshots
// show them without waiting for an answer).
QMessageBox* MakeMessageBox(QWidget* parent, const QString& text, const QString& title,
                            MessageIcon icon, bool question, const QString& details);
QMessageBox* MakeQuestionBox(QWidget* parent, const QuestionBox& question);
// The question about edits not yet written; its buttons' roles give the answer.
QMessageBox* MakeEditsBox(QWidget* parent, const QString& text);
EditsAnswer EditsAnswerOf(QMessageBox* box);

}  // namespace tagloom::ui
