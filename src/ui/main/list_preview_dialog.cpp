#include "ui/main/list_preview_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "editor/texts.h"
#include "model/catalogue.h"
#include "model/path_name.h"
#include "ui/main/controls.h"

namespace tagloom::ui {
namespace {

QString Shown(const std::string& value) {
  return value.empty() ? FromUtf8(text::kEmptyValue) : FromUtf8(value);
}

// The program's lines end with CR LF; one item a line.
QStringList Lines(const std::string& text) {
  QString lines = FromUtf8(text);
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return lines.split(u'\n', Qt::SkipEmptyParts);
}

}  // namespace

ListPreviewDialog::ListPreviewDialog(ListPreview& preview, QWidget* parent)
    : QDialog(parent), preview_(preview) {
  Name(this, QStringLiteral("frmListPreview"));
  setWindowTitle(FromUtf8(text::kListPreviewTitle));
  resize(680, 440);
  auto* layout = new QVBoxLayout(this);
  auto* question = new QLabel(FromUtf8(text::kListPreviewQuestion), this);
  layout->addWidget(question);
  table_ = new QTreeWidget(this);
  Name(table_, QStringLiteral("lstPreview"));
  table_->setAccessibleName(FromUtf8(text::kListPreviewTitle));
  table_->setHeaderLabels({QStringLiteral("文件"), QStringLiteral("项目"), QStringLiteral("原值"),
                           QStringLiteral("新值")});
  table_->setRootIsDecorated(false);
  table_->setUniformRowHeights(true);  // a list of thousands is laid out without measuring each
  layout->addWidget(table_);
  question->setBuddy(table_);
  keepAll_ = new QCheckBox(FromUtf8(text::kKeepAllOption), this);
  Name(keepAll_, QStringLiteral("chkKeepAll"));
  keepAll_->setChecked(preview.keepAll);
  layout->addWidget(keepAll_);
  connect(keepAll_, &QCheckBox::toggled, this, [this](bool ticked) {
    preview_.keepAll = ticked;
    Fill();
  });
  Fill();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No, this);
  auto* onlyShown =
      buttons->addButton(FromUtf8(text::kOnlyShownButton), QDialogButtonBox::ActionRole);
  Name(onlyShown, QStringLiteral("cmdOnlyShown"));
  onlyShown->setEnabled(preview.shown >= 0);
  layout->addWidget(buttons);
  auto answer = [this](ListAnswer given) {
    answer_ = given;
    accept();
  };
  connect(buttons->button(QDialogButtonBox::Yes), &QPushButton::clicked, this,
          [answer] { answer(ListAnswer::kAll); });
  connect(buttons->button(QDialogButtonBox::No), &QPushButton::clicked, this, &QDialog::reject);
  connect(onlyShown, &QPushButton::clicked, this, [answer] { answer(ListAnswer::kOnlyShown); });
  buttons->button(QDialogButtonBox::Yes)->setDefault(true);
}

void ListPreviewDialog::Fill() {
  const ListPreview& preview = preview_;
  table_->clear();
  for (const PhotoPlan& photo : preview.photos) {
    // The file's name on its first row; the rows after it are its own.
    QString file = FromPath(std::string(FileNameOf(photo.path)));
    auto row = [&](const QString& item, const QString& before, const QString& after) {
      auto* line = new QTreeWidgetItem(table_, {std::exchange(file, {}), item, before, after});
      line->setToolTip(0, FromPath(photo.path));
      return line;
    };
    if (photo.sameAs >= 0) {
      const std::string& first = preview.photos[static_cast<std::size_t>(photo.sameAs)].path;
      row(FromUtf8(text::kListSkipped), FromUtf8(text::kSameAsListed) + FromPath(first), {});
      continue;
    }
    if (!photo.problem.empty()) {
      row(FromUtf8(text::kListRefused), Lines(photo.problem).join(u' '), {});
      continue;
    }
    if (photo.changes.empty()) row(FromUtf8(text::kNothingToChange), {}, {});
    for (const FieldChange& change : photo.changes) {
      QString caption = FromUtf8(kFields[static_cast<std::size_t>(change.field)].caption);
      row(caption.remove(u':'), Shown(change.before), Shown(change.after));
    }
    if (preview.keepAll) {
      for (const QString& kept : Lines(photo.kept))
        row(FromUtf8(text::kKeptItem), kept.trimmed(), {});
    }
    for (const QString& lost : Lines(preview.keepAll ? photo.notKeptAll : photo.notKept)) {
      row(FromUtf8(text::kNotKeptItem), lost.trimmed(), {});
    }
  }
  table_->header()->setSectionResizeMode(QHeaderView::Interactive);
  for (int column = 0; column < 3; ++column) table_->resizeColumnToContents(column);
}

ListAnswer ListPreviewDialog::Ask() {
  answer_ = ListAnswer::kNone;
  exec();
  return answer_;
}

}  // namespace tagloom::ui
