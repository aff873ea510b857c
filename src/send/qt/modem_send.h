#pragma once
// One message sent through the user's modem, from ModemManager's Create to the reading of its
// state after Send. Its outcome is told within a minute: a Send still unanswered then is told
// as not known, and its real answer, which may take parts × 300 s, is told when it comes.
#include <QDBusConnection>
#include <QObject>
#include <cstdint>
#include <optional>
#include <string>

#include "common/qt/clock_deadline.h"
#include "send/modem_failure.h"

namespace movarek {

struct ModemMessage {
  QString number;      // in international form
  QString text;        // each line break one LF
  unsigned parts = 1;  // as countForModem counts them
};

struct ModemSendEnd {
  SendOutcome outcome = SendOutcome::Unknown;
  std::string reason;  // a reason's code (modemReason gives its words); empty when sent
  ModemStep step = ModemStep::Create;  // the call it ended at
  QString message;                    // the message's object on the modem; empty when none was made
  std::optional<unsigned> reference;  // of a sent message's last part, which its report names
  // False for an end told at the bound while Send still runs: its real end follows.
  bool final = true;
};

class ModemSend : public QObject {
  Q_OBJECT

 public:
  // How long the user waits at most to hear the outcome.
  static constexpr std::int64_t kBoundSeconds = 60;
  // How long ModemManager may take for each part, and for the call besides.
  static constexpr int kPartSeconds = 300;
  static constexpr int kSendSpareSeconds = 30;

  ModemSend(QDBusConnection bus, QString modem, ModemMessage message, QObject* parent);

  void start();
  // ModemManager left the bus: no answer will come.
  void serviceGone();
  // Nothing has been told yet.
  bool underWay() const { return !told_; }

 signals:
  // Once; a non-final end is followed by answeredLate.
  void ended(const movarek::ModemSendEnd& end);
  void answeredLate(const movarek::ModemSendEnd& end);
  // The final end is told and no call is waited for: nothing more comes from this send.
  void done();

 private:
  // Calls `answered` with the reply of `call`.
  void expect(const QDBusMessage& call, int timeoutMs,
              void (ModemSend::*answered)(const QDBusMessage&));
  void created(const QDBusMessage& reply);
  void sendAnswered(const QDBusMessage& reply);
  void stateRead(const QDBusMessage& reply);
  void boundReached();
  void fail(std::string_view reason);
  ModemSendEnd endOf(SendOutcome outcome, std::string_view reason) const;
  void end(const ModemSendEnd& end);
  void doneWhenIdle();
  void removeAbandoned(const QDBusMessage& created);

  QDBusConnection bus_;
  QString modem_;
  ModemMessage message_;
  QString path_;
  ModemStep step_ = ModemStep::Create;
  ClockDeadline bound_;
  bool told_ = false;
  bool finished_ = false;
  bool calling_ = false;
  bool doneTold_ = false;
};

}  // namespace movarek
