// One Tagloom per desktop session, the desktop's own way: the first start
// owns the application's name on the session bus and serves the
// org.freedesktop.Application interface there; a later start ("Open With"
// while Tagloom runs) hands its photographs to it and ends. Without a
// session bus every start is a program of its own.
#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <functional>

namespace tagloom::app {

inline constexpr char kApplicationId[] = "com.vantoro.Tagloom";

class ApplicationService : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

 public:
  // `opened` receives the local paths of an Open (none for an Activate).
  explicit ApplicationService(std::function<void(const QStringList&)> opened)
      : opened_(std::move(opened)) {}

 public slots:
  Q_SCRIPTABLE void Activate(const QVariantMap& platformData);
  Q_SCRIPTABLE void Open(const QStringList& uris, const QVariantMap& platformData);
  Q_SCRIPTABLE void ActivateAction(const QString& name, const QVariantList& parameter,
                                   const QVariantMap& platformData);

 private:
  void Deliver(const QStringList& paths);

  std::function<void(const QStringList&)> opened_;
};

enum class Instance {
  kFirst,     // this start serves the others (or there is no session bus)
  kHandedOn,  // a running Tagloom took the photographs: this start ends
};

// The local path of an absolute local file URI ("file:///home/ann/a.jpg");
// empty for anything else: a relative one, another host's, a NUL inside.
QString LocalPathOf(const QString& uri);

// Either takes the application's name for this process, or hands `photos`
// (paths as given) to the process that has it.
Instance ClaimOrHandOn(const QStringList& photos);

// Serves the interface for this process (after ClaimOrHandOn gave kFirst).
void Serve(ApplicationService* service);

}  // namespace tagloom::app
