#pragma once
// ModemManager's names on the system bus, and the reading of its answers, which the program
// takes as untrusted as the network's: a value of the wrong type is no value.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>
#include <functional>
#include <optional>

namespace movarek::modem_bus {

inline constexpr char kService[] = "org.freedesktop.ModemManager1";
inline constexpr char kManagerPath[] = "/org/freedesktop/ModemManager1";
inline constexpr char kObjectManager[] = "org.freedesktop.DBus.ObjectManager";
inline constexpr char kProperties[] = "org.freedesktop.DBus.Properties";
inline constexpr char kModem[] = "org.freedesktop.ModemManager1.Modem";
inline constexpr char kMessaging[] = "org.freedesktop.ModemManager1.Modem.Messaging";
inline constexpr char kSms[] = "org.freedesktop.ModemManager1.Sms";

// The modem's State: from REGISTERED to CONNECTED it is on a network and can send.
inline constexpr int kFirstModemState = -1;  // FAILED
inline constexpr int kRegistered = 8;
inline constexpr int kLastModemState = 11;  // CONNECTED
// A message's State once the network took it, and a report's PduType.
inline constexpr uint kSmsSent = 5;
inline constexpr uint kStatusReport = 3;
// The highest reference a message can have: it is one byte on the air.
inline constexpr uint kHighestReference = 255;

// The bound of every call that is answered at once: listing, reading, creating, deleting.
inline constexpr int kCallTimeoutMs = 30'000;

// A call of `method` on `path`, which never starts ModemManager when it is not running.
QDBusMessage call(const QString& path, const char* interface, const char* method);

// Sends `call` bounded by `timeoutMs`; `answered` gets the reply or the error (bound passed
// included) on the interface thread, unless `context` is gone by then.
void ask(QDBusConnection& bus, const QDBusMessage& call, int timeoutMs, QObject* context,
         std::function<void(const QDBusMessage& reply)> answered);

// The reply's only argument when the reply is one of `signature`; none for an error.
std::optional<QVariant> onlyArgument(const QDBusMessage& reply, const char* signature);
// A dictionary of properties (a{sv}) as it came in `argument`.
QVariantMap propertiesIn(const QVariant& argument);
// The reply of a Properties.GetAll.
std::optional<QVariantMap> allProperties(const QDBusMessage& reply);

// A property of the type asked for; none when missing or of another type.
std::optional<int> intIn(const QVariantMap& properties, const char* name);
std::optional<uint> unsignedIn(const QVariantMap& properties, const char* name);
std::optional<QString> stringIn(const QVariantMap& properties, const char* name);

}  // namespace movarek::modem_bus
