#include "common/qt/desktop_notification.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

#include "common/qt/log.h"

namespace movarek {
namespace {

// A service that takes longer is as good as none: the user would hear of it too late.
constexpr int kAnswerWaitMs = 3000;

}  // namespace

void notifyOnDesktop(const QString& body, QObject* context, std::function<void()> unheard) {
  QDBusMessage notify = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"),
      QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  const QString desktopEntry = QStringLiteral("cz.vertanix.SmsMovarek");
  notify << QStringLiteral("SMS Movarek") << 0u << desktopEntry << QStringLiteral("SMS Movarek")
         << body << QStringList() << QVariantMap{{QStringLiteral("desktop-entry"), desktopEntry}}
         << -1;
  auto* watcher = new QDBusPendingCallWatcher(
      QDBusConnection::sessionBus().asyncCall(notify, kAnswerWaitMs), context);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                   [watcher, unheard = std::move(unheard)] {
                     watcher->deleteLater();
                     if (!watcher->isError()) return;
                     qCWarning(movarekLog).noquote()
                         << "no desktop notification:" << watcher->error().message();
                     unheard();
                   });
}

}  // namespace movarek
