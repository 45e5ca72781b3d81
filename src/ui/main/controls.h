// Small helpers every window of Tagloom uses to set up its controls.
#pragma once

#include <QColor>
#include <QFile>
#include <QMimeData>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <string>
#include <string_view>

namespace tagloom::ui {

// Gives a control its documented name ("txtExif(4)") as object name and as
// accessible description, so that tests and accessibility tools find it.
inline void Name(QWidget* widget, const QString& name) {
  widget->setObjectName(name);
  widget->setAccessibleDescription(name);
}
inline QString Indexed(const char* name, int index) {
  return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// A solid background colour, and a text colour that reads on it whatever
// the desktop's theme (a dark theme's light text would not on a light field).
inline void Paint(QWidget* widget, const QColor& background, const QColor& text = Qt::black) {
  QPalette palette = widget->palette();
  for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base}) {
    palette.setColor(role, background);
  }
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    palette.setColor(role, text);
  }
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

// A text colour.
inline void Ink(QWidget* widget, const QColor& text) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::Text, text);
  widget->setPalette(palette);
}

inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string ToUtf8(const QString& text) {
  return text.toUtf8().toStdString();
}
// A file path as the system spells it (bytes), and back, losing nothing: a
// byte that is not part of valid UTF-8 (a name written by an old camera or
// another system) stands for itself as the lone surrogate U+DC80 + byte, as
// Python's file names do, and goes back to the same byte.
std::string ToPath(const QString& path);
QString FromPath(std::string_view path);

// The path of a local file URL, its bytes as the URL encodes them (a name
// that is not UTF-8 keeps its bytes).
inline QString LocalPathOfUrl(const QUrl& url) {
  return FromPath(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())
                      .toStdString());
}

inline std::vector<std::string> ToPaths(const QStringList& paths) {
  std::vector<std::string> out;
  for (const QString& path : paths) out.push_back(ToPath(path));
  return out;
}

// The local files of a drop, in its order (what any file manager drags is a
// list of URLs; other kinds of URL are left out).
inline QStringList LocalFiles(const QMimeData* data) {
  QStringList paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths << LocalPathOfUrl(url);
  }
  return paths;
}

}  // namespace tagloom::ui
