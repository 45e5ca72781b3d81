// One list of the record store as a Qt model: the rows are read from the
// store when they are drawn, never copied, so a block with 32,767 entries
// opens at once.
#pragma once

#include <QAbstractListModel>

#include "model/record_store.h"

namespace tagloom::ui {

class StoreListModel : public QAbstractListModel {
 public:
  StoreListModel(const TextList& list, QObject* parent) : QAbstractListModel(parent), list_(list) {}

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // The store's rows changed (a reset, a read, a conversion): views redraw.
  void Refresh();

 private:
  const TextList& list_;
};

}  // namespace tagloom::ui
