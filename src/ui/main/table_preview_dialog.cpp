#include "ui/main/table_preview_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "editor/texts.h"
#include "model/catalogue.h"
#include "model/path_name.h"
#include "ui/main/controls.h"

namespace tagloom::ui {
namespace {

constexpr QSize kPicture(64, 48);

QString Shown(const std::string& value) {
  return value.empty() ? FromUtf8(text::kEmptyValue) : FromUtf8(value);
}

QString OneLine(const std::string& text) {
  return FromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral(" ")).trimmed();
}

}  // namespace

TablePreviewDialog::TablePreviewDialog(TablePreview& preview, Slide slide, QWidget* parent)
    : QDialog(parent),
      preview_(preview),
      slide_(std::move(slide)),
      pictures_([](QSize upright) { return upright.scaled(kPicture, Qt::KeepAspectRatio); }) {
  Name(this, QStringLiteral("frmTablePreview"));
  setWindowTitle(FromUtf8(text::kImportTable).remove(QStringLiteral("...")));
  resize(820, 520);
  auto* layout = new QVBoxLayout(this);
  auto* question = new QLabel(QStringLiteral("将把表格中的各行写入对应的相片,是否继续?"), this);
  layout->addWidget(question);
  notes_ = new QLabel(this);
  Name(notes_, QStringLiteral("labTableNotes"));
  notes_->setWordWrap(true);
  notes_->setTextFormat(Qt::PlainText);
  layout->addWidget(notes_);
  table_ = new QTreeWidget(this);
  Name(table_, QStringLiteral("lstTablePreview"));
  table_->setAccessibleName(QStringLiteral("表格与相片"));
  table_->setHeaderLabels({QStringLiteral("相片"), QStringLiteral("表格行"), QStringLiteral("项目"),
                           QStringLiteral("原值"), QStringLiteral("新值")});
  table_->setRootIsDecorated(false);
  table_->setIconSize(kPicture);
  layout->addWidget(table_);
  question->setBuddy(table_);

  auto* rows = new QHBoxLayout;
  up_ = new QPushButton(QStringLiteral("表格上移一行"), this);
  Name(up_, QStringLiteral("cmdRowsUp"));
  up_->setToolTip(QStringLiteral("每张相片取下一行(表格多了一行时)"));
  down_ = new QPushButton(QStringLiteral("表格下移一行"), this);
  Name(down_, QStringLiteral("cmdRowsDown"));
  down_->setToolTip(QStringLiteral("每张相片取上一行(表格少了一行时)"));
  keepAll_ = new QCheckBox(FromUtf8(text::kKeepAllOption), this);
  Name(keepAll_, QStringLiteral("chkKeepAll"));
  keepAll_->setChecked(preview.list.keepAll);
  rows->addWidget(up_);
  rows->addWidget(down_);
  rows->addStretch();
  rows->addWidget(keepAll_);
  layout->addLayout(rows);
  connect(up_, &QPushButton::clicked, this, [this] { SlideBy(1); });
  connect(down_, &QPushButton::clicked, this, [this] { SlideBy(-1); });
  connect(keepAll_, &QCheckBox::toggled, this, [this](bool ticked) {
    preview_.list.keepAll = ticked;
    Fill();
  });
  connect(&pictures_, &PreviewLoader::ready, this, &TablePreviewDialog::ShowPicture);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No, this);
  layout->addWidget(buttons);
  connect(buttons->button(QDialogButtonBox::Yes), &QPushButton::clicked, this, [this] {
    answer_ = ListAnswer::kAll;
    accept();
  });
  connect(buttons->button(QDialogButtonBox::No), &QPushButton::clicked, this, &QDialog::reject);
  buttons->button(QDialogButtonBox::Yes)->setDefault(true);
  Fill();
}

void TablePreviewDialog::SlideBy(int rows) {
  const bool keepAll = preview_.list.keepAll;
  preview_ = slide_(preview_.offset + rows);
  preview_.list.keepAll = keepAll;
  Fill();
}

void TablePreviewDialog::Fill() {
  table_->clear();
  itemOf_.clear();
  QStringList notes;
  for (const std::string& column : preview_.unusedColumns) {
    notes << FromUtf8(text::kTableColumnsUnused) + FromUtf8(column);
  }
  for (const std::string& row : preview_.leftRows) notes << FromUtf8(row);
  notes_->setText(notes.join(u'\n'));
  notes_->setVisible(!notes.isEmpty());
  up_->setEnabled(preview_.slides);
  down_->setEnabled(preview_.slides);

  const ListPreview& list = preview_.list;
  // Room for the picture from the start, so that the name beside it is not
  // cut short when the picture arrives.
  QPixmap blank(kPicture);
  blank.fill(Qt::transparent);
  for (std::size_t i = 0; i < list.photos.size(); ++i) {
    const PhotoPlan& photo = list.photos[i];
    const QString path = FromPath(photo.path);
    const int line = i < preview_.lineOf.size() ? preview_.lineOf[i] : -1;
    // One row per photograph: its picture and name, its table line, and a
    // line for each field it changes.
    QStringList items, before, after;
    auto add = [&](const QString& item, const QString& was, const QString& becomes) {
      items << item;
      before << was;
      after << becomes;
    };
    if (line < 0) {
      add(FromUtf8(text::kTableNoRow), {}, {});
    } else if (!photo.problem.empty()) {
      add(FromUtf8(text::kListRefused), OneLine(photo.problem), {});
    } else if (photo.changes.empty()) {
      add(FromUtf8(text::kNothingToChange), {}, {});
    }
    if (line >= 0 && photo.problem.empty()) {
      for (const FieldChange& change : photo.changes) {
        QString caption = FromUtf8(kFields[static_cast<std::size_t>(change.field)].caption);
        add(caption.remove(u':'), Shown(change.before), Shown(change.after));
      }
    }
    auto* item =
        new QTreeWidgetItem(table_, {FromPath(std::string(FileNameOf(photo.path))),
                                     line < 0 ? QString() : QString::number(line),
                                     items.join(u'\n'), before.join(u'\n'), after.join(u'\n')});
    item->setToolTip(0, path);
    item->setIcon(0, QIcon(blank));
    for (int column = 1; column < 5; ++column) {
      item->setTextAlignment(column, Qt::AlignLeft | Qt::AlignTop);
    }
    itemOf_.insert(path, item);
    pictures_.Request(path);
  }
  for (int column = 0; column < 4; ++column) table_->resizeColumnToContents(column);
}

void TablePreviewDialog::ShowPicture(const QString& path, const QImage& image) {
  if (QTreeWidgetItem* item = itemOf_.value(path); item != nullptr && !image.isNull()) {
    item->setIcon(0, QIcon(QPixmap::fromImage(image)));
  }
}

ListAnswer TablePreviewDialog::Ask() {
  answer_ = ListAnswer::kNone;
  exec();
  return answer_;
}

}  // namespace tagloom::ui
