// The preview's pictures: what a photograph's header says at once (can it be
// shown, how large is it upright), and its pixels decoded at the size shown,
// on worker threads, with the photographs next to it in the list decoded
// ahead so that stepping through a folder never waits for a decode.
#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <functional>
#include <optional>

namespace tagloom::ui {

class PreviewLoader : public QObject {
  Q_OBJECT
 public:
  // The pixel size a picture of the given upright size is shown at.
  using SizeFor = std::function<QSize(QSize upright)>;

  explicit PreviewLoader(SizeFor sizeFor, QObject* parent = nullptr);
  ~PreviewLoader() override;

  // The upright size of the picture (EXIF orientation applied) from its
  // header alone; nullopt when it is no picture that can be shown.
  static std::optional<QSize> Probe(const QString& path);
  // Decodes a picture at the size `sizeFor` gives for it, scaled while it is
  // decoded; a null image when it cannot be shown.
  static QImage Decode(const QString& path, const SizeFor& sizeFor);

  // The picture of `path`: `ready` comes at once from the cache, else from a
  // worker when it is decoded.
  void Request(const QString& path);
  // Decodes these pictures into the cache, in the background.
  void Prefetch(const QStringList& paths);

 signals:
  void ready(const QString& path, const QImage& image);
  void failed(const QString& path);

 private:
  struct Entry {
    QImage image;
    qint64 stamp = 0;  // the file's modification time and size: a changed file is decoded anew
    quint64 used = 0;
  };
  static qint64 StampOf(const QString& path);
  void Start(const QString& path, bool wanted);
  void Store(const QString& path, qint64 stamp, const QImage& image);

  SizeFor sizeFor_;
  QThreadPool pool_;
  QHash<QString, Entry> cache_;
  QHash<QString, bool> running_;  // decodes under way, and whether their result is awaited
  quint64 clock_ = 0;
};

}  // namespace tagloom::ui
