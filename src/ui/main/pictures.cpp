#include "ui/main/pictures.h"

#include <QFont>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

namespace tagloom::ui {
namespace {

// Drawn at twice the size and shown at half, so that it stays sharp on
// high-dpi screens too.
constexpr qreal kScale = 2;

QPixmap Canvas(int width, int height) {
  QPixmap pixmap(static_cast<int>(width * kScale), static_cast<int>(height * kScale));
  pixmap.setDevicePixelRatio(kScale);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

void DrawFolder(QPainter& p, const QRectF& r) {
  const QColor edge(150, 105, 20), back(232, 180, 60), front(250, 206, 92);
  QPainterPath tab;
  tab.moveTo(r.left(), r.top() + r.height() * 0.2);
  tab.lineTo(r.left() + r.width() * 0.38, r.top() + r.height() * 0.2);
  tab.lineTo(r.left() + r.width() * 0.46, r.top() + r.height() * 0.32);
  tab.lineTo(r.right(), r.top() + r.height() * 0.32);
  tab.lineTo(r.right(), r.bottom());
  tab.lineTo(r.left(), r.bottom());
  tab.closeSubpath();
  p.setPen(QPen(edge, 1));
  p.setBrush(back);
  p.drawPath(tab);
  QPainterPath flap;
  flap.moveTo(r.left() + r.width() * 0.08, r.top() + r.height() * 0.45);
  flap.lineTo(r.right(), r.top() + r.height() * 0.45);
  flap.lineTo(r.right() - r.width() * 0.08, r.bottom());
  flap.lineTo(r.left(), r.bottom());
  flap.closeSubpath();
  p.setBrush(front);
  p.drawPath(flap);
}

void DrawCamera(QPainter& p, const QRectF& r) {
  const QColor body(60, 64, 72), top(90, 96, 108), lens(30, 34, 40), glass(110, 170, 230);
  const QRectF box(r.left(), r.top() + r.height() * 0.25, r.width(), r.height() * 0.7);
  p.setPen(Qt::NoPen);
  p.setBrush(top);
  p.drawRoundedRect(QRectF(r.left() + r.width() * 0.3, r.top() + r.height() * 0.08,
                           r.width() * 0.36, r.height() * 0.25),
                    2, 2);
  p.setBrush(body);
  p.drawRoundedRect(box, r.width() * 0.1, r.width() * 0.1);
  const QPointF centre = box.center();
  const qreal radius = box.height() * 0.38;
  p.setBrush(lens);
  p.drawEllipse(centre, radius, radius);
  QRadialGradient shine(centre - QPointF(radius * 0.3, radius * 0.3), radius * 0.8);
  shine.setColorAt(0, glass.lighter(150));
  shine.setColorAt(1, glass.darker(160));
  p.setBrush(shine);
  p.drawEllipse(centre, radius * 0.62, radius * 0.62);
  p.setBrush(QColor(250, 90, 60));
  p.drawEllipse(QPointF(box.right() - box.width() * 0.12, box.top() + box.height() * 0.18),
                r.width() * 0.04, r.width() * 0.04);
}

QIcon IconOf(void (*draw)(QPainter&, const QRectF&)) {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, QRectF(1, 1, size - 2, size - 2));
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

QPixmap LampPicture(const QString& line1, const QString& line2, bool lit) {
  constexpr int kWidth = 118, kHeight = 38;
  QPixmap pixmap = Canvas(kWidth, kHeight);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor darkGreen(0, 90, 30), brightGreen(60, 255, 90), red(220, 0, 0);
  const QPointF centre(17, kHeight / 2.0);
  const qreal radius = 12;
  QRadialGradient glow(centre - QPointF(4, 4), radius * 1.3);
  glow.setColorAt(0, lit ? QColor(220, 255, 220) : darkGreen.lighter(150));
  glow.setColorAt(0.5, lit ? brightGreen : darkGreen);
  glow.setColorAt(1, lit ? brightGreen.darker(140) : darkGreen.darker(180));
  p.setPen(QPen(QColor(40, 40, 40), 1.2));
  p.setBrush(glow);
  p.drawEllipse(centre, radius, radius);
  QFont font = QGuiApplication::font();
  font.setPixelSize(10);
  font.setBold(true);
  p.setFont(font);
  p.setPen(lit ? red : darkGreen);
  const QRectF text(33, 2, kWidth - 34, kHeight - 4);
  p.drawText(QRectF(text.left(), text.top(), text.width(), text.height() / 2),
             Qt::AlignLeft | Qt::AlignVCenter, line1);
  p.drawText(QRectF(text.left(), text.center().y(), text.width(), text.height() / 2),
             Qt::AlignLeft | Qt::AlignVCenter, line2);
  return pixmap;
}

QPixmap CameraPicture(int width, int height) {
  QPixmap pixmap = Canvas(width, height);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal side = std::min<qreal>(width, height * 1.25) * 0.9;
  DrawCamera(p, QRectF((width - side) / 2, (height - side * 0.8) / 2 - side * 0.1, side, side));
  return pixmap;
}

QPixmap SplashPicture(int width, int height) {
  QPixmap pixmap = Canvas(width, height);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height);
  sky.setColorAt(0, QColor(16, 30, 72));
  sky.setColorAt(1, QColor(4, 8, 24));
  p.fillRect(QRectF(0, 0, width, height), sky);
  // A lens seen from the front, its rings fading towards the edge.
  const QPointF centre(width * 0.78, height * 0.42);
  for (int ring = 6; ring >= 1; --ring) {
    const qreal radius = height * 0.09 * ring;
    p.setPen(QPen(QColor(120, 170, 255, 18 + 10 * (6 - ring)), 2));
    p.setBrush(QColor(40, 80, 160, 10 + 6 * (6 - ring)));
    p.drawEllipse(centre, radius, radius);
  }
  QRadialGradient glass(centre - QPointF(height * 0.05, height * 0.05), height * 0.14);
  glass.setColorAt(0, QColor(200, 230, 255));
  glass.setColorAt(1, QColor(30, 60, 140));
  p.setPen(Qt::NoPen);
  p.setBrush(glass);
  p.drawEllipse(centre, height * 0.12, height * 0.12);
  return pixmap;
}

QIcon FolderIcon() {
  return IconOf(DrawFolder);
}

QIcon CameraIcon() {
  return IconOf(DrawCamera);
}

QIcon ProgramIcon() {
  return IconOf([](QPainter& p, const QRectF& r) {
    // A camera on a warm tile: the editor of what a camera writes.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 132, 36));
    p.drawRoundedRect(r, r.width() * 0.2, r.width() * 0.2);
    DrawCamera(
        p, r.adjusted(r.width() * 0.14, r.height() * 0.14, -r.width() * 0.14, -r.height() * 0.1));
  });
}

}  // namespace tagloom::ui
