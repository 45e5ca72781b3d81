#include "app/single_instance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "ui/main/controls.h"

namespace tagloom::app {
namespace {

constexpr char kInterface[] = "org.freedesktop.Application";
// The object path is the application's id with "/" for ".".
constexpr char kObjectPath[] = "/com/vantoro/Tagloom";
// A running Tagloom answers at once (it takes the photographs later); one
// that does not is hung, and this start goes on as a program of its own.
constexpr int kAnswerMs = 3000;

}  // namespace

QString LocalPathOf(const QString& uri) {
  const QUrl url(uri, QUrl::StrictMode);
  if (!url.isValid() || url.scheme() != QLatin1String("file")) return {};
  if (!url.host().isEmpty() && url.host() != QLatin1String("localhost")) return {};
  const QString path = ui::LocalPathOfUrl(url);
  if (!path.startsWith(u'/') || path.contains(QChar(u'\0'))) return {};
  return path;
}

void ApplicationService::Deliver(const QStringList& paths) {
  // The call is answered first; the photographs are taken after, so that a
  // question they raise (a missing photograph) never holds the caller.
  QMetaObject::invokeMethod(
      this, [this, paths] { opened_(paths); }, Qt::QueuedConnection);
}

void ApplicationService::Activate(const QVariantMap&) {
  Deliver({});
}

void ApplicationService::Open(const QStringList& uris, const QVariantMap&) {
  QStringList paths;
  for (const QString& uri : uris) {
    const QString path = LocalPathOf(uri);
    if (!path.isEmpty()) paths << path;
  }
  // Only names this machine can open: none at all is only a call to come forward.
  Deliver(paths);
}

void ApplicationService::ActivateAction(const QString&, const QVariantList&, const QVariantMap&) {
  Deliver({});  // Tagloom has no actions of its own: its window comes forward
}

Instance ClaimOrHandOn(const QStringList& photos) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || bus.interface() == nullptr) return Instance::kFirst;
  if (bus.interface()
          ->registerService(QString::fromLatin1(kApplicationId),
                            QDBusConnectionInterface::DontQueueService,
                            QDBusConnectionInterface::DontAllowReplacement)
          .value() == QDBusConnectionInterface::ServiceRegistered) {
    return Instance::kFirst;
  }
  // Paths as URIs: the running Tagloom has a working folder of its own.
  QStringList uris;
  for (const QString& photo : photos) {
    // The bytes of the name, percent-encoded: a name that is not UTF-8 survives.
    const QString absolute = QFileInfo(photo).absoluteFilePath();
    uris << QStringLiteral("file://") +
                QString::fromLatin1(
                    QByteArray::fromStdString(ui::ToPath(absolute)).toPercentEncoding("/"));
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      QString::fromLatin1(kApplicationId), QString::fromLatin1(kObjectPath),
      QString::fromLatin1(kInterface),
      uris.isEmpty() ? QStringLiteral("Activate") : QStringLiteral("Open"));
  if (!uris.isEmpty()) call << uris;
  call << QVariantMap();
  const QDBusMessage reply = bus.call(call, QDBus::Block, kAnswerMs);
  return reply.type() == QDBusMessage::ReplyMessage ? Instance::kHandedOn : Instance::kFirst;
}

void Serve(ApplicationService* service) {
  QDBusConnection::sessionBus().registerObject(QString::fromLatin1(kObjectPath), service,
                                               QDBusConnection::ExportScriptableSlots);
}

}  // namespace tagloom::app
