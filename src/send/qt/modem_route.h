#pragma once
// The route through the user's own modem: one message object made by ModemManager for each
// record (one addressee), sent, and deleted from the modem once its outcome is known. A record
// carries its number in international form and its text as the modem sends it.
#include <QHash>
#include <QString>

#include "send/qt/send_route.h"

namespace movarek {

class ModemManager;
struct ModemSendEnd;

class ModemRoute final : public SendRoute {
 public:
  // `name` tells its sends apart in the log.
  ModemRoute(ModemManager& modems, const QString& name, QObject* parent);

  std::string_view name() const override { return kModemRoute; }
  bool canSendNow() const override { return !underWay_; }
  void send(const SentRecord& message, quint64 number) override;

 private:
  void sendEnded(quint64 send, const ModemSendEnd& end);
  void sendAnsweredLate(quint64 send, const ModemSendEnd& end);
  void modemsChanged();
  // The modem's message object is no longer needed once its outcome is final.
  void removeMade(const QString& modem, const ModemSendEnd& end);

  ModemManager& modems_;
  QString logName_;
  QString modem_;          // the modem the message went through
  quint64 modemSend_ = 0;  // ModemManager's number of the send under way or awaiting its end
  quint64 number_ = 0;
  std::string addressee_;
  bool underWay_ = false;
  bool wasReachable_ = false;
  // The sends told as not known, whose real end is still listened to, by ModemManager's number.
  struct Late {
    quint64 number;  // the route's
    std::string addressee;
    QString modem;
  };
  QHash<quint64, Late> late_;
};

// What a modem send's end is made into once, with `number` the addressee.
RouteOutcome modemRouteOutcome(const ModemSendEnd& end, std::string_view number);
RouteOutcome lateModemRouteOutcome(const ModemSendEnd& end, std::string_view number);

}  // namespace movarek
