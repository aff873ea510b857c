#include "send/qt/modem_route.h"

#include "common/qt/log.h"
#include "common/qt/qt_text.h"
#include "send/modem_counter.h"
#include "send/modem_failure.h"
#include "send/qt/modem_manager.h"

namespace movarek {
namespace {

RouteOutcome outcomeOf(const ModemSendEnd& end, std::string told) {
  RouteOutcome outcome;
  outcome.state = stateOf(end.outcome);
  outcome.reason = end.reason;
  outcome.why = modemReason(end.reason);
  outcome.told = std::move(told);
  outcome.retry = outcome.state == SentState::NotSent && modemWorthRetrying(end.reason);
  outcome.reportReference = end.reference;
  return outcome;
}

// The end of a send that never reached the modem.
ModemSendEnd notSent(std::string_view reason) {
  ModemSendEnd end;
  end.outcome = SendOutcome::NotSent;
  end.reason = reason;
  return end;
}

}  // namespace

RouteOutcome modemRouteOutcome(const ModemSendEnd& end, std::string_view number) {
  if (end.outcome == SendOutcome::Sent) return outcomeOf(end, std::string(kModemSentQuestion));
  return outcomeOf(end, modemFailureMessage(number, end.outcome, end.reason));
}

RouteOutcome lateModemRouteOutcome(const ModemSendEnd& end, std::string_view number) {
  return outcomeOf(end,
                   lateModemAnswerMessage(number, end.outcome == SendOutcome::Sent, end.reason));
}

ModemRoute::ModemRoute(ModemManager& modems, const QString& name, QObject* parent)
    : SendRoute(parent), modems_(modems), logName_(name) {
  connect(&modems_, &ModemManager::sendEnded, this, &ModemRoute::sendEnded);
  connect(&modems_, &ModemManager::sendAnsweredLate, this, &ModemRoute::sendAnsweredLate);
  connect(&modems_, &ModemManager::modemsChanged, this, &ModemRoute::modemsChanged);
  modemsChanged();
}

// The first modem that can send takes the message; one on no network is not asked at all.
void ModemRoute::send(const SentRecord& message, quint64 number) {
  number_ = number;
  addressee_ = message.addressees;
  const QStringList modems = modems_.modems();
  const auto refuse = [this, number](std::string_view reason) {
    qCWarning(movarekLog).noquote() << logName_ << "send not made:" << qtFromUtf8(reason);
    emit ended(number, modemRouteOutcome(notSent(reason), addressee_));
  };
  if (modems.isEmpty()) return refuse(kModemNone);
  if (!modems_.registered(modems.first())) return refuse(kModemUnregistered);
  modem_ = modems.first();
  underWay_ = true;
  const ModemCount count = countForModem(message.text);
  modemSend_ = modems_.send(modem_, {qtFromUtf8(message.addressees),
                                     qtFromUtf8(textForModem(message.text)), count.parts});
}

void ModemRoute::sendEnded(quint64 send, const ModemSendEnd& end) {
  if (!underWay_ || send != modemSend_) return;
  underWay_ = false;
  if (end.final) {
    removeMade(modem_, end);
  } else {
    late_.insert(send, {number_, addressee_, modem_});
  }
  emit ended(number_, modemRouteOutcome(end, addressee_));
}

void ModemRoute::sendAnsweredLate(quint64 send, const ModemSendEnd& end) {
  const auto found = late_.constFind(send);
  if (found == late_.cend()) return;
  const Late late = *found;
  late_.erase(found);
  removeMade(late.modem, end);
  emit answeredLate(late.number, lateModemRouteOutcome(end, late.addressee));
}

void ModemRoute::removeMade(const QString& modem, const ModemSendEnd& end) {
  if (!end.message.isEmpty()) modems_.deleteMessage(modem, end.message);
}

void ModemRoute::modemsChanged() {
  const QStringList modems = modems_.modems();
  const bool reachable = !modems.isEmpty() && modems_.registered(modems.first());
  if (reachable && !wasReachable_) emit cameBack();
  wasReachable_ = reachable;
}

}  // namespace movarek
