#pragma once
// The user's modems as ModemManager shows them on the system bus: those that can send messages
// (they have the Messaging interface, which ModemManager gives a modem once it is enabled and
// its SIM unlocked), whether each is on a network, the messages sent through them and the
// delivery reports they receive. It asks the bus nothing until started, and never starts
// ModemManager; without it, it costs nothing and says nothing. Every call is asynchronous and
// bounded.
#include <QDBusConnection>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QSet>

#include "send/modem_delivery.h"
#include "send/qt/modem_send.h"

class QDBusServiceWatcher;

namespace movarek {

class ModemManager : public QObject {
  Q_OBJECT

 public:
  explicit ModemManager(QObject* parent = nullptr);

  // Looks for ModemManager on `bus`, the system bus (a test gives its own), now and whenever it
  // comes onto it. Connecting to the bus takes a while: the window is shown first.
  void start(const QDBusConnection& bus);

  // The object paths of the modems that can send messages, in order.
  QStringList modems() const;
  // Whether `modem` is on a network, so that a message can go now.
  bool registered(const QString& modem) const;

  // Sends `message` through `modem`: its number for sendEnded and sendAnsweredLate.
  quint64 send(const QString& modem, const ModemMessage& message);
  // The sends whose outcome is not told yet.
  int sendsUnderWay() const;

  // Deletes the message object `message` from `modem`: one the program made, or a report it
  // matched. A failure is logged.
  void deleteMessage(const QString& modem, const QString& message);

 signals:
  // A modem came or went, or went on or off a network.
  void modemsChanged();
  // How send `number` ended; when not final, sendAnsweredLate follows with its real end.
  void sendEnded(quint64 number, const movarek::ModemSendEnd& end);
  void sendAnsweredLate(quint64 number, const movarek::ModemSendEnd& end);
  // A delivery report on `modem`, the object `message`: one that came now, or one the modem
  // kept from before. Each object once while the program runs.
  void reportReceived(const QString& modem, const QString& message,
                      const movarek::DeliveryReport& report);

 private slots:
  // The bus's signals, read from their messages: their types are checked, not trusted.
  void interfacesAdded(const QDBusMessage& signal);
  void interfacesRemoved(const QDBusMessage& signal);
  void stateChanged(const QDBusMessage& signal);
  void messageAdded(const QDBusMessage& signal);

 private:
  struct Modem {
    int state = 0;  // UNKNOWN
    bool messaging = false;
  };
  using Interfaces = QMap<QString, QVariantMap>;

  void ownerChanged(const QString& oldOwner, const QString& newOwner);
  void lookForModems();
  void modemsFound(const QDBusMessage& reply);
  void addInterfaces(const QString& path, const Interfaces& interfaces);
  void forget(const QString& path);
  void serviceLeft();
  void watchSignal(const QString& path, const char* interface, const char* name, const char* slot,
                   bool on);
  void listMessages(const QString& modem);
  void readMessage(const QString& modem, const QString& message);
  void messageRead(const QString& modem, const QString& message, const QDBusMessage& reply);

  QDBusConnection bus_;
  QDBusServiceWatcher* watcher_ = nullptr;
  QMap<QString, Modem> modems_;
  QHash<quint64, ModemSend*> sends_;
  QSet<QString> seenMessages_;
  quint64 lastSend_ = 0;
  int generation_ = 0;  // replies of an earlier ModemManager are ignored
};

}  // namespace movarek
