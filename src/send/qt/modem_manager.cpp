#include "send/qt/modem_manager.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>

#include "common/qt/log.h"
#include "common/qt/program_clock.h"
#include "send/qt/modem_bus.h"

namespace movarek {

using namespace modem_bus;

namespace {

// More than any machine has: what goes beyond is not the modems' or their messages'.
constexpr int kMostModems = 16;
constexpr int kMostMessages = 1000;
// A number as a report writes it is at most 20 digits and a sign.
constexpr int kLongestNumber = 24;

QString latin1(const char* name) { return QString::fromLatin1(name); }

bool validState(int state) { return state >= kFirstModemState && state <= kLastModemState; }

}  // namespace

// No bus until started: a connection of no name is never connected.
ModemManager::ModemManager(QObject* parent) : QObject(parent), bus_(QString()) {}

void ModemManager::start(const QDBusConnection& bus) {
  if (watcher_) return;
  bus_ = bus;
  qRegisterMetaType<QDBusObjectPath>();
  watcher_ = new QDBusServiceWatcher(latin1(kService), bus_,
                                     QDBusServiceWatcher::WatchForOwnerChange, this);
  if (!bus_.isConnected()) return;
  connect(watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
          [this](const QString&, const QString& oldOwner, const QString& newOwner) {
            ownerChanged(oldOwner, newOwner);
          });
  watchSignal(latin1(kManagerPath), kObjectManager, "InterfacesAdded",
              SLOT(interfacesAdded(QDBusMessage)), true);
  watchSignal(latin1(kManagerPath), kObjectManager, "InterfacesRemoved",
              SLOT(interfacesRemoved(QDBusMessage)), true);
  lookForModems();
}

QStringList ModemManager::modems() const {
  QStringList listed;
  for (auto modem = modems_.cbegin(); modem != modems_.cend(); ++modem) {
    if (modem->messaging) listed << modem.key();
  }
  return listed;
}

bool ModemManager::registered(const QString& modem) const {
  const auto found = modems_.constFind(modem);
  return found != modems_.cend() && found->messaging && found->state >= kRegistered;
}

quint64 ModemManager::send(const QString& modem, const ModemMessage& message) {
  const quint64 number = ++lastSend_;
  auto* send = new ModemSend(bus_, modem, message, this);
  sends_.insert(number, send);
  connect(send, &ModemSend::ended, this,
          [this, number](const ModemSendEnd& end) { emit sendEnded(number, end); });
  connect(send, &ModemSend::answeredLate, this,
          [this, number](const ModemSendEnd& end) { emit sendAnsweredLate(number, end); });
  connect(send, &ModemSend::done, this, [this, number, send] {
    sends_.remove(number);
    send->deleteLater();
  });
  send->start();
  return number;
}

int ModemManager::sendsUnderWay() const {
  int underWay = 0;
  for (const ModemSend* send : sends_) underWay += send->underWay() ? 1 : 0;
  return underWay;
}

void ModemManager::deleteMessage(const QString& modem, const QString& message) {
  QDBusMessage remove = call(modem, kMessaging, "Delete");
  remove << QVariant::fromValue(QDBusObjectPath(message));
  ask(bus_, remove, kCallTimeoutMs, this, [this, message](const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ErrorMessage) {
      seenMessages_.remove(message);
      return;
    }
    qCWarning(movarekLog).noquote()
        << "cannot delete the message" << message << "from the modem:" << reply.errorMessage();
  });
}

void ModemManager::ownerChanged(const QString& oldOwner, const QString& newOwner) {
  if (!oldOwner.isEmpty()) serviceLeft();
  if (!newOwner.isEmpty()) lookForModems();
}

void ModemManager::lookForModems() {
  const int generation = ++generation_;
  ask(bus_, call(latin1(kManagerPath), kObjectManager, "GetManagedObjects"), kCallTimeoutMs, this,
      [this, generation](const QDBusMessage& reply) {
        if (generation == generation_) modemsFound(reply);
      });
}

void ModemManager::modemsFound(const QDBusMessage& reply) {
  if (reply.type() == QDBusMessage::ErrorMessage) {
    // Most machines have no ModemManager: that is no fault.
    qCInfo(movarekLog).noquote() << "no modems:" << reply.errorName();
    return;
  }
  const auto objects = onlyArgument(reply, "a{oa{sa{sv}}}");
  if (!objects) {
    qCWarning(movarekLog) << "ModemManager listed its modems in the wrong type";
    return;
  }
  QMap<QDBusObjectPath, Interfaces> found;
  objects->value<QDBusArgument>() >> found;
  const QStringList before = modems();
  for (auto object = found.cbegin(); object != found.cend(); ++object) {
    addInterfaces(object.key().path(), *object);
  }
  if (modems() != before) emit modemsChanged();
}

void ModemManager::interfacesAdded(const QDBusMessage& signal) {
  if (signal.signature() != QLatin1String("oa{sa{sv}}")) return;
  Interfaces interfaces;
  signal.arguments().at(1).value<QDBusArgument>() >> interfaces;
  const QStringList before = modems();
  addInterfaces(signal.arguments().at(0).value<QDBusObjectPath>().path(), interfaces);
  if (modems() != before) emit modemsChanged();
}

void ModemManager::addInterfaces(const QString& path, const Interfaces& interfaces) {
  const bool modemInterface = interfaces.contains(latin1(kModem));
  const bool messaging = interfaces.contains(latin1(kMessaging));
  if (!modems_.contains(path)) {
    if (!modemInterface && !messaging) return;  // a message, or another object
    if (modems_.size() >= kMostModems) return;
    modems_.insert(path, {});
    watchSignal(path, kModem, "StateChanged", SLOT(stateChanged(QDBusMessage)), true);
  }
  Modem& modem = modems_[path];
  if (modemInterface) {
    const std::optional<int> state = intIn(interfaces.value(latin1(kModem)), "State");
    if (state && validState(*state)) modem.state = *state;
  }
  if (messaging && !modem.messaging) {
    modem.messaging = true;
    watchSignal(path, kMessaging, "Added", SLOT(messageAdded(QDBusMessage)), true);
    listMessages(path);
  }
}

void ModemManager::interfacesRemoved(const QDBusMessage& signal) {
  if (signal.signature() != QLatin1String("oas")) return;
  const QString path = signal.arguments().at(0).value<QDBusObjectPath>().path();
  const auto found = modems_.find(path);
  if (found == modems_.end()) return;
  const QStringList removed = signal.arguments().at(1).toStringList();
  if (removed.contains(latin1(kModem))) {
    forget(path);
  } else if (removed.contains(latin1(kMessaging)) && found->messaging) {
    found->messaging = false;
    watchSignal(path, kMessaging, "Added", SLOT(messageAdded(QDBusMessage)), false);
  } else {
    return;
  }
  emit modemsChanged();
}

void ModemManager::forget(const QString& path) {
  if (modems_.value(path).messaging) {
    watchSignal(path, kMessaging, "Added", SLOT(messageAdded(QDBusMessage)), false);
  }
  watchSignal(path, kModem, "StateChanged", SLOT(stateChanged(QDBusMessage)), false);
  modems_.remove(path);
}

void ModemManager::stateChanged(const QDBusMessage& signal) {
  const auto found = modems_.find(signal.path());
  if (found == modems_.end() || signal.signature() != QLatin1String("iiu")) return;
  const int state = signal.arguments().at(1).toInt();
  if (!validState(state) || state == found->state) return;
  found->state = state;
  if (found->messaging) emit modemsChanged();
}

// ModemManager went (or was restarted): its modems, messages and answers with it.
void ModemManager::serviceLeft() {
  ++generation_;
  const bool hadModems = !modems().isEmpty();
  for (const QString& path : modems_.keys()) forget(path);
  seenMessages_.clear();
  for (ModemSend* send : sends_.values()) send->serviceGone();
  if (hadModems) emit modemsChanged();
}

void ModemManager::watchSignal(const QString& path, const char* interface, const char* name,
                               const char* slot, bool on) {
  if (on) {
    bus_.connect(latin1(kService), path, latin1(interface), latin1(name), this, slot);
  } else {
    bus_.disconnect(latin1(kService), path, latin1(interface), latin1(name), this, slot);
  }
}

void ModemManager::messageAdded(const QDBusMessage& signal) {
  if (!modems_.value(signal.path()).messaging || signal.signature() != QLatin1String("ob")) return;
  if (signal.arguments().at(1).toBool()) {
    readMessage(signal.path(), signal.arguments().at(0).value<QDBusObjectPath>().path());
  }
}

// Reports that came while the program did not run wait on the modem.
void ModemManager::listMessages(const QString& modem) {
  const int generation = generation_;
  ask(bus_, call(modem, kMessaging, "List"), kCallTimeoutMs, this,
      [this, modem, generation](const QDBusMessage& reply) {
        const auto listed = onlyArgument(reply, "ao");
        if (!listed || generation != generation_) return;
        const auto messages = qdbus_cast<QList<QDBusObjectPath>>(*listed);
        for (const QDBusObjectPath& message : messages.mid(0, kMostMessages)) {
          readMessage(modem, message.path());
        }
      });
}

void ModemManager::readMessage(const QString& modem, const QString& message) {
  if (seenMessages_.contains(message) || seenMessages_.size() >= kMostMessages) return;
  seenMessages_.insert(message);
  QDBusMessage read = call(message, kProperties, "GetAll");
  read << latin1(kSms);
  const int generation = generation_;
  ask(bus_, read, kCallTimeoutMs, this,
      [this, modem, message, generation](const QDBusMessage& reply) {
        if (generation == generation_) messageRead(modem, message, reply);
      });
}

void ModemManager::messageRead(const QString& modem, const QString& message,
                               const QDBusMessage& reply) {
  const auto properties = allProperties(reply);
  if (!properties || unsignedIn(*properties, "PduType") != kStatusReport) return;
  const auto reference = unsignedIn(*properties, "MessageReference");
  const auto number = stringIn(*properties, "Number");
  const auto state = unsignedIn(*properties, "DeliveryState");
  if (!reference || *reference > kHighestReference || !number || number->size() > kLongestNumber ||
      !state) {
    qCWarning(movarekLog).noquote() << "the modem's report" << message << "makes no sense";
    return;
  }
  emit reportReceived(modem, message,
                      {*reference, number->toStdString(), ProgramClock::instance().now(), *state});
}

}  // namespace movarek
