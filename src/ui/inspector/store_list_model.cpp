#include "ui/inspector/store_list_model.h"

#include "model/value_text.h"

namespace tagloom::ui {

int StoreListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : list_.Count();
}

QVariant StoreListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  // Rows hold the block's bytes: shown decoded as the fields show them.
  const std::string text = BytesToText(list_.Row(index.row()));
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void StoreListModel::Refresh() {
  beginResetModel();
  endResetModel();
}

}  // namespace tagloom::ui
