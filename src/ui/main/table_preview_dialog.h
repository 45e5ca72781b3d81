// The preview of a table applied to the list: each photograph's small
// picture and name beside the row it gets (old -> new for each field it
// changes, or why not), the photographs without a row and the rows without a
// photograph shown as such; the rows slide up or down against the
// photographs by whole rows, as a shot log that skipped a frame needs.
#pragma once

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <functional>

#include "editor/list_run.h"
#include "ui/main/preview_loader.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tagloom::ui {

class TablePreviewDialog : public QDialog {
 public:
  using Slide = std::function<TablePreview(int offset)>;
  // `preview` must outlive the dialog; it is replaced as the rows slide, and
  // its keep-all choice follows the check box.
  TablePreviewDialog(TablePreview& preview, Slide slide, QWidget* parent);
  // Shows the dialog and waits for the answer: all, or none.
  ListAnswer Ask();

 private:
  void Fill();
  void SlideBy(int rows);
  void ShowPicture(const QString& path, const QImage& image);

  TablePreview& preview_;
  Slide slide_;
  QLabel* notes_;
  QTreeWidget* table_;
  QPushButton* up_;
  QPushButton* down_;
  QCheckBox* keepAll_;
  PreviewLoader pictures_;
  QHash<QString, QTreeWidgetItem*> itemOf_;  // each photograph's first row, for its picture
  ListAnswer answer_ = ListAnswer::kNone;
};

}  // namespace tagloom::ui
