// Frame_Exif, the record-store inspector: the store's lists side by side,
// one line per entry, under their headings. It shows the Session's store and
// selections; a click or a left-button drag on a row is handed to the
// Session as a row selection, and the Session decides which rows follow.
#pragma once

#include <QFrame>
#include <array>

#include "editor/session.h"

class QListView;

namespace tagloom::ui {

class StoreListModel;

class Inspector : public QFrame {
  Q_OBJECT
 public:
  Inspector(const Session& session, QWidget* parent);

  // Shows the store's rows (again, when they changed) and the selections.
  void Render();

 signals:
  // The left button went down on a row, or the pointer moved over a row
  // (`leftButton`: with the left button held); the keyboard moved to a row.
  void rowPressed(tagloom::StoreList list, int row);
  void rowDragged(tagloom::StoreList list, int row, bool leftButton);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const Session& session_;
  std::array<QListView*, kStoreListCount> lists_{};
  std::array<StoreListModel*, kStoreListCount> models_{};
  int shownVersion_ = -1;
  bool rendering_ = false;
};

}  // namespace tagloom::ui
