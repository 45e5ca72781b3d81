// The preview of a write to every photograph of the list: one row for each
// field of each photograph that changes (old and new), what each new block
// will not carry over (or, with everything else kept, what it keeps), the
// photographs with nothing to change or that cannot be written. Yes writes
// the list, No nothing; "只写入这张相片" is the write of the photograph on
// show alone.
#pragma once

#include <QDialog>

#include "editor/list_run.h"

class QCheckBox;
class QTreeWidget;

namespace tagloom::ui {

class ListPreviewDialog : public QDialog {
 public:
  // `preview` must outlive the dialog; its keepAll follows the check box.
  ListPreviewDialog(ListPreview& preview, QWidget* parent);
  // Shows the dialog and waits for the answer (Escape or the close box: none).
  ListAnswer Ask();

 private:
  void Fill();

  ListPreview& preview_;
  QTreeWidget* table_;
  QCheckBox* keepAll_;
  ListAnswer answer_ = ListAnswer::kNone;
};

}  // namespace tagloom::ui
