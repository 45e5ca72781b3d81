#include "ui/main/preview_loader.h"

#include <unistd.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMetaObject>
#include <memory>

#include "reader/read_channel.h"
#include "ui/main/controls.h"

namespace tagloom::ui {
namespace {

// The photograph on show and the two beside it, and a few more for going back.
constexpr int kCached = 6;

// A picture file up to this size is read whole before it is decoded.
constexpr qint64 kWholeFileLimit = 64 << 20;

// The picture file, opened as photographs are: never waiting on a FIFO named
// like a photograph, never anything but a regular file.
std::unique_ptr<QFile> OpenPicture(const QString& path) {
  const int fd = OpenRegularFile(ToPath(path));
  if (fd < 0) return nullptr;
  auto file = std::make_unique<QFile>();
  if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return nullptr;
  }
  return file;
}

bool TurnsSideways(const QImageReader& reader) {
  return reader.transformation() & QImageIOHandler::TransformationRotate90;
}

void Prepare(QImageReader& reader) {
  reader.setDecideFormatFromContent(true);  // a .thm is a JPEG by its content
  reader.setAutoTransform(true);
}

// The picture's upright size from its header; nullopt when it is no picture
// that can be shown.
std::optional<QSize> UprightSize(const QImageReader& reader) {
  const QSize size = reader.size();
  if (!reader.canRead() || !size.isValid() || size.isEmpty()) return std::nullopt;
  return TurnsSideways(reader) ? size.transposed() : size;
}

}  // namespace

PreviewLoader::PreviewLoader(SizeFor sizeFor, QObject* parent)
    : QObject(parent), sizeFor_(std::move(sizeFor)) {
  pool_.setMaxThreadCount(2);
}

PreviewLoader::~PreviewLoader() {
  pool_.clear();
  pool_.waitForDone();
}

std::optional<QSize> PreviewLoader::Probe(const QString& path) {
  const std::unique_ptr<QFile> file = OpenPicture(path);
  if (!file) return std::nullopt;
  QImageReader reader(file.get());
  Prepare(reader);
  return UprightSize(reader);
}

QImage PreviewLoader::Decode(const QString& path, const SizeFor& sizeFor) {
  const std::unique_ptr<QFile> file = OpenPicture(path);
  if (!file) return {};
  // A camera's photograph is decoded from memory: the JPEG decoder then keeps
  // to its fast path all through it, where the pieces of 4 KiB a file hands
  // it slow it down at the end of each (a tenth of a scaled decode's time).
  QByteArray bytes;
  QBuffer memory(&bytes);
  QIODevice* device = file.get();
  if (file->size() <= kWholeFileLimit) {
    bytes = file->readAll();
    memory.open(QIODevice::ReadOnly);
    device = &memory;
  }
  QImageReader reader(device);  // one reader: the header is read once
  Prepare(reader);
  const std::optional<QSize> upright = UprightSize(reader);
  if (!upright) return {};
  // The decoder scales the picture as stored; the turn comes after.
  const QSize shown = sizeFor(*upright);
  const QSize wanted = TurnsSideways(reader) ? shown.transposed() : shown;
  if (wanted.isValid() && wanted.width() < reader.size().width()) reader.setScaledSize(wanted);
  return reader.read();
}

qint64 PreviewLoader::StampOf(const QString& path) {
  const QFileInfo info(path);
  return info.lastModified().toMSecsSinceEpoch() * 1000003 + info.size();
}

void PreviewLoader::Request(const QString& path) {
  auto found = cache_.find(path);
  if (found != cache_.end() && found->stamp == StampOf(path)) {
    found->used = ++clock_;
    emit ready(path, found->image);
    return;
  }
  Start(path, true);
}

void PreviewLoader::Prefetch(const QStringList& paths) {
  for (const QString& path : paths) {
    auto found = cache_.constFind(path);
    if (found == cache_.constEnd() || found->stamp != StampOf(path)) Start(path, false);
  }
}

void PreviewLoader::Start(const QString& path, bool wanted) {
  if (running_.contains(path)) {
    running_[path] = running_[path] || wanted;
    return;
  }
  running_.insert(path, wanted);
  const SizeFor sizeFor = sizeFor_;
  pool_.start([this, path, sizeFor] {
    const qint64 stamp = StampOf(path);
    const QImage image = Decode(path, sizeFor);
    QMetaObject::invokeMethod(
        this, [this, path, stamp, image] { Store(path, stamp, image); }, Qt::QueuedConnection);
  });
}

void PreviewLoader::Store(const QString& path, qint64 stamp, const QImage& image) {
  const bool wanted = running_.take(path);
  if (image.isNull()) {
    if (wanted) emit failed(path);
    return;
  }
  if (cache_.size() >= kCached && !cache_.contains(path)) {
    auto oldest = cache_.begin();
    for (auto it = cache_.begin(); it != cache_.end(); ++it) {
      if (it->used < oldest->used) oldest = it;
    }
    cache_.erase(oldest);
  }
  cache_.insert(path, {image, stamp, ++clock_});
  if (wanted) emit ready(path, image);
}

}  // namespace tagloom::ui
