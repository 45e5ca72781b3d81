#include "ui/drop/frm_drop.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <QWindow>

#include "ui/drop/frm_clear.h"
#include "ui/main/controls.h"
#include "ui/main/pictures.h"
#include "ui/main/twips.h"

namespace tagloom::ui {
namespace {

// "<Clear>" and "<Exit>": coloured words on the window's blue, that act as
// buttons do: on a click, on Space and Enter, and through the press action
// that screen readers offer; Tab reaches them.
class LinkButton : public QAbstractButton {
 public:
  LinkButton(const QString& text, std::function<void()> clicked, QWidget* parent)
      : QAbstractButton(parent) {
    setText(text);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::clicked, this, std::move(clicked));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter, text());
    if (hasFocus()) {
      // The focus shows as a dotted frame in the word's own colour.
      painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
      painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      click();
      return;
    }
    QAbstractButton::keyPressEvent(event);  // Space
  }
};

// The camera picture: takes dropped files, and moves its window when it is
// dragged with the left button (the window has no title bar to drag).
class DropPicture : public QLabel {
 public:
  DropPicture(std::function<void(const QStringList&)> dropped, QWidget* parent)
      : QLabel(parent), dropped_(std::move(dropped)) {
    setAcceptDrops(true);
  }

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
  }
  void dropEvent(QDropEvent* event) override {
    event->acceptProposedAction();
    dropped_(LocalFiles(event->mimeData()));
  }
  void mousePressEvent(QMouseEvent* event) override {
    dragging_ = false;
    if (event->button() != Qt::LeftButton) return;
    // The window system moves the window where it can (on Wayland a program
    // cannot place its own window); elsewhere the window follows the pointer.
    QWindow* handle = window()->windowHandle();
    if (handle != nullptr && handle->startSystemMove()) return;
    dragging_ = true;
    grabbed_ = event->position().toPoint();
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (!dragging_ || event->buttons() != Qt::LeftButton) return;
    window()->move(window()->pos() + event->position().toPoint() - grabbed_);
  }
  void mouseReleaseEvent(QMouseEvent*) override { dragging_ = false; }

 private:
  std::function<void(const QStringList&)> dropped_;
  bool dragging_ = false;
  QPoint grabbed_;
};

}  // namespace

frmDrop::frmDrop(std::function<void()> exited, QWidget* parent)
    : QWidget(parent), exited_(std::move(exited)) {
  Name(this, QStringLiteral("frmDrop"));
  setWindowTitle(QStringLiteral("Tagloom Drop Target"));
  setWindowIcon(ProgramIcon());
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  setFixedSize(Px(975), Px(1485));
  Paint(this, QColor(0, 0, 192));
  QFont small = font();
  small.setPixelSize(11);
  setFont(small);

  labCounter_ = new QLabel(this);
  Name(labCounter_, QStringLiteral("labCounter"));
  labCounter_->setGeometry(TwipsRect(30, 30, 915, 195));
  labCounter_->setAlignment(Qt::AlignCenter);
  labCounter_->setToolTip(QStringLiteral("目前容器内的文件数"));
  Paint(labCounter_, QColor(255, 255, 128));

  auto* picture = new DropPicture([this](const QStringList& paths) { DropFiles(paths); }, this);
  Name(picture, QStringLiteral("Image1"));
  picture->setGeometry(TwipsRect(30, 255, 915, 750));
  picture->setPixmap(CameraPicture(picture->width(), picture->height()));
  picture->setCursor(Qt::SizeAllCursor);
  picture->setToolTip(QStringLiteral("可以将文件拖曳到这里，供 Tagloom 使用"));
  picture->setAccessibleName(picture->toolTip());

  auto link = [this](const char* name, const QString& text, const QColor& ink, const QString& tip,
                     int top, std::function<void()> clicked) {
    auto* label = new LinkButton(text, std::move(clicked), this);
    Name(label, QString::fromLatin1(name));
    label->setGeometry(TwipsRect(75, top, 825, 225));
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip(tip);
    Ink(label, ink);
  };
  link("Label1", QStringLiteral("<Clear>"), QColor(255, 255, 0),
       QStringLiteral("清除上一次拖曳或全部容器之内的文件"), 1020, [this] { Clear(); });
  link("Label2", QStringLiteral("<Exit>"), QColor(255, 128, 128),
       QStringLiteral("关闭拖曳中心，回到主画面"), 1260, [this] { Exit(); });
  Render();
}

void frmDrop::Render() {
  labCounter_->setText(QString::fromStdString(target_.labCounter));
}

void frmDrop::DropFiles(const QStringList& paths) {
  target_.DropFiles(ToPaths(paths));
  Render();
}

void frmDrop::Clear() {
  if (clear_ == nullptr) clear_ = new frmClear(this);
  target_.Clear(clear_->Choose());
  Render();
}

void frmDrop::Exit() {
  hide();
  exited_();
}

void frmDrop::closeEvent(QCloseEvent* event) {
  // The system's close command is "<Exit>": the main window comes back.
  event->ignore();
  Exit();
}

}  // namespace tagloom::ui
