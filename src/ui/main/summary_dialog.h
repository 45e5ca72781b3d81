// The end of a run over the list: its counts, then a table of every
// photograph (file, what became of it, what changed or why not), which can
// be copied or saved as text.
#pragma once

#include <QDialog>

#include "editor/list_run.h"

class QTreeWidget;

namespace tagloom::ui {

class SummaryDialog : public QDialog {
 public:
  SummaryDialog(const RunSummary& summary, QWidget* parent);
  // The whole summary as text: the counts, then a line per photograph.
  QString AsText() const;

 private:
  void Fill(const RunSummary& summary);
  void SaveAsText();

  QString text_;
  QTreeWidget* table_;
};

}  // namespace tagloom::ui
