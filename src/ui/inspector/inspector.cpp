#include "ui/inspector/inspector.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QScrollBar>

#include "ui/inspector/store_list_model.h"
#include "ui/main/controls.h"
#include "ui/main/twips.h"

namespace tagloom::ui {
namespace {

// Where each list stands in the frame (twips) and its heading.
struct Column {
  StoreList list;
  const char* name;     // the list's documented name
  const char* heading;  // its column heading
  int headingIndex;     // the heading's index in the label array Label3
  int left, width;
};

constexpr int kCataloguedHeadingTop = 120, kCataloguedTop = 360, kCataloguedHeight = 4155;
constexpr int kUnusedHeadingTop = 360, kUnusedTop = 600, kUnusedHeight = 3765;

constexpr std::array<Column, kStoreListCount> kColumns = {{
    {StoreList::kTag, "lstTag", "Tag", 16, 60, 615},
    {StoreList::kPosition, "lstPosition", "Pos", 17, 720, 675},
    {StoreList::kCount, "lstCount", "Count", 18, 1440, 435},
    {StoreList::kType, "lstType", "Type", 19, 1920, 255},
    {StoreList::kValuePos, "lstValuePos", "VPos", 20, 2220, 675},
    {StoreList::kTitle, "lstTitle", "Name", 21, 2940, 1095},
    {StoreList::kValue, "lstValue", "Value", 22, 4080, 1395},
    {StoreList::kUnuseTag, "lstUnuseTag", "Tag", 23, 5520, 855},
    {StoreList::kUnusePos, "lstUnusePos", "Pos", 24, 6360, 675},
    {StoreList::kUnuseValuePos, "lstUnuseValuePos", "VPos", 25, 7020, 735},
    {StoreList::kUnuseValue, "lstUnuseValue", "Value", 26, 7740, 1395},
}};

bool IsUnused(StoreList list) {
  return static_cast<int>(list) >= static_cast<int>(StoreList::kUnuseTag);
}

}  // namespace

Inspector::Inspector(const Session& session, QWidget* parent) : QFrame(parent), session_(session) {
  // Small print, so that the twenty catalogued lines fit their lists' height.
  QFont small = font();
  small.setPixelSize(10);
  setFont(small);
  for (const Column& column : kColumns) {
    const bool unused = IsUnused(column.list);
    auto* heading = new QLabel(QString::fromLatin1(column.heading), this);
    Name(heading, Indexed("Label3", column.headingIndex));
    heading->setGeometry(TwipsRect(column.left, unused ? kUnusedHeadingTop : kCataloguedHeadingTop,
                                   column.width, 240));
    auto* view = new QListView(this);
    Name(view, QString::fromLatin1(column.name));
    view->setGeometry(TwipsRect(column.left, unused ? kUnusedTop : kCataloguedTop, column.width,
                                unused ? kUnusedHeight : kCataloguedHeight));
    heading->setBuddy(view);
    view->setAccessibleName(heading->text());
    view->setUniformItemSizes(true);  // 32,767 rows are laid out without measuring each
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The lists of a group scroll together, so that a line stays a line; the
    // value column carries the group's one scroll bar.
    if (column.list != StoreList::kValue && column.list != StoreList::kUnuseValue) {
      view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    auto* model = new StoreListModel(session.ListOf(column.list), this);
    view->setModel(model);
    view->viewport()->installEventFilter(this);
    const StoreList list = column.list;
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, list](const QModelIndex& current) {
              if (!rendering_ && current.isValid()) emit rowPressed(list, current.row());
            });
    const auto i = static_cast<std::size_t>(column.list);
    lists_[i] = view;
    models_[i] = model;
  }
  for (std::size_t i = 0; i < lists_.size(); ++i) {
    for (std::size_t j = 0; j < lists_.size(); ++j) {
      if (i == j || IsUnused(static_cast<StoreList>(i)) != IsUnused(static_cast<StoreList>(j))) {
        continue;
      }
      connect(lists_[i]->verticalScrollBar(), &QScrollBar::valueChanged,
              lists_[j]->verticalScrollBar(), &QScrollBar::setValue);
    }
  }
  auto* title = new QLabel(QStringLiteral("Un Used"), this);
  Name(title, Indexed("Label3", 28));
  title->setGeometry(TwipsRect(6900, 60, 1095, 240));
}

bool Inspector::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
      type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick) {
    return QFrame::eventFilter(watched, event);
  }
  for (std::size_t i = 0; i < lists_.size(); ++i) {
    if (lists_[i]->viewport() != watched) continue;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int row = lists_[i]->indexAt(mouse->position().toPoint()).row();
    const auto list = static_cast<StoreList>(i);
    const bool left = mouse->buttons().testFlag(Qt::LeftButton);
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton && row >= 0) {
      lists_[i]->setFocus(Qt::MouseFocusReason);
      emit rowPressed(list, row);
    } else if (type == QEvent::MouseMove && row >= 0) {
      emit rowDragged(list, row, left);
    }
    // The Session holds the selections: the list's own mouse handling, which
    // would also select on a right click, is left out.
    return true;
  }
  return QFrame::eventFilter(watched, event);
}

void Inspector::Render() {
  rendering_ = true;
  if (shownVersion_ != session_.storeVersion) {
    shownVersion_ = session_.storeVersion;
    for (StoreListModel* model : models_) model->Refresh();
  }
  for (std::size_t i = 0; i < lists_.size(); ++i) {
    QListView* view = lists_[i];
    const int row = session_.selectedRow[i];
    const QModelIndex index = view->model()->index(row, 0);
    if (!index.isValid()) {
      view->selectionModel()->clear();
      continue;
    }
    if (view->selectionModel()->isSelected(index)) continue;
    view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    view->scrollTo(index);
  }
  rendering_ = false;
}

}  // namespace tagloom::ui
