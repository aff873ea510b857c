#include "send/qt/modem_bus.h"

#include <QDBusArgument>
#include <QDBusPendingCallWatcher>

namespace movarek::modem_bus {
namespace {

template <typename Value>
std::optional<Value> valueIn(const QVariantMap& properties, const char* name,
                             QMetaType::Type type) {
  const auto found = properties.constFind(QString::fromLatin1(name));
  if (found == properties.constEnd() || found->metaType().id() != type) return std::nullopt;
  return found->value<Value>();
}

}  // namespace

QDBusMessage call(const QString& path, const char* interface, const char* method) {
  QDBusMessage message =
      QDBusMessage::createMethodCall(QString::fromLatin1(kService), path,
                                     QString::fromLatin1(interface), QString::fromLatin1(method));
  message.setAutoStartService(false);
  return message;
}

void ask(QDBusConnection& bus, const QDBusMessage& call, int timeoutMs, QObject* context,
         std::function<void(const QDBusMessage& reply)> answered) {
  // A connection that never was gives no pending call to watch.
  if (!bus.isConnected()) {
    QMetaObject::invokeMethod(
        context,
        [call, answered = std::move(answered)] {
          answered(call.createErrorReply(QDBusError::Disconnected, QStringLiteral("no bus")));
        },
        Qt::QueuedConnection);
    return;
  }
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, timeoutMs), context);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                   [watcher, answered = std::move(answered)] {
                     watcher->deleteLater();
                     answered(watcher->reply());
                   });
}

std::optional<QVariant> onlyArgument(const QDBusMessage& reply, const char* signature) {
  if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != QLatin1String(signature))
    return std::nullopt;
  return reply.arguments().value(0);
}

QVariantMap propertiesIn(const QVariant& argument) {
  QVariantMap properties;
  if (argument.metaType() != QMetaType::fromType<QDBusArgument>()) return properties;
  const auto dictionary = argument.value<QDBusArgument>();
  if (dictionary.currentSignature() == QLatin1String("a{sv}")) dictionary >> properties;
  return properties;
}

std::optional<QVariantMap> allProperties(const QDBusMessage& reply) {
  const auto argument = onlyArgument(reply, "a{sv}");
  if (!argument) return std::nullopt;
  return propertiesIn(*argument);
}

std::optional<int> intIn(const QVariantMap& properties, const char* name) {
  return valueIn<int>(properties, name, QMetaType::Int);
}

std::optional<uint> unsignedIn(const QVariantMap& properties, const char* name) {
  return valueIn<uint>(properties, name, QMetaType::UInt);
}

std::optional<QString> stringIn(const QVariantMap& properties, const char* name) {
  return valueIn<QString>(properties, name, QMetaType::QString);
}

}  // namespace movarek::modem_bus
