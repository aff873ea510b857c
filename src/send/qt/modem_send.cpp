#include "send/qt/modem_send.h"

#include <QDBusObjectPath>
#include <algorithm>

#include "common/qt/log.h"
#include "send/qt/modem_bus.h"

namespace movarek {

using namespace modem_bus;

ModemSend::ModemSend(QDBusConnection bus, QString modem, ModemMessage message, QObject* parent)
    : QObject(parent),
      bus_(std::move(bus)),
      modem_(std::move(modem)),
      message_(std::move(message)),
      bound_(kBoundSeconds) {
  connect(&bound_, &ClockDeadline::timeout, this, &ModemSend::boundReached);
}

void ModemSend::start() {
  bound_.start();
  QDBusMessage create = call(modem_, kMessaging, "Create");
  create << QVariantMap{{QStringLiteral("number"), message_.number},
                        {QStringLiteral("text"), message_.text},
                        {QStringLiteral("delivery-report-request"), true}};
  expect(create, kCallTimeoutMs, &ModemSend::created);
}

void ModemSend::expect(const QDBusMessage& call, int timeoutMs,
                       void (ModemSend::*answered)(const QDBusMessage&)) {
  calling_ = true;
  ask(bus_, call, timeoutMs, this, [this, answered](const QDBusMessage& reply) {
    calling_ = false;
    (this->*answered)(reply);
    doneWhenIdle();
  });
}

void ModemSend::created(const QDBusMessage& reply) {
  if (finished_) return removeAbandoned(reply);
  if (reply.type() == QDBusMessage::ErrorMessage)
    return fail(modemReasonCode(reply.errorName().toStdString()));
  const auto path = onlyArgument(reply, "o");
  if (!path) return fail(kModemBadAnswer);
  path_ = path->value<QDBusObjectPath>().path();
  step_ = ModemStep::Send;
  const int timeoutMs =
      (static_cast<int>(std::min(message_.parts, 255u)) * kPartSeconds + kSendSpareSeconds) * 1000;
  expect(call(path_, kSms, "Send"), timeoutMs, &ModemSend::sendAnswered);
}

void ModemSend::sendAnswered(const QDBusMessage& reply) {
  if (finished_) return;
  if (reply.type() == QDBusMessage::ErrorMessage)
    return fail(modemReasonCode(reply.errorName().toStdString()));
  // The change of State may be signalled after Send returns: it is read once more.
  QDBusMessage read = call(path_, kProperties, "GetAll");
  read << QString::fromLatin1(kSms);
  expect(read, kCallTimeoutMs, &ModemSend::stateRead);
}

void ModemSend::stateRead(const QDBusMessage& reply) {
  if (finished_) return;
  const auto properties = allProperties(reply);
  if (!properties || unsignedIn(*properties, "State") != kSmsSent) return fail(kModemUnconfirmed);
  std::optional<unsigned> reference = unsignedIn(*properties, "MessageReference");
  if (reference > kHighestReference) {
    qCWarning(movarekLog) << "the modem gave a sent message the reference" << *reference;
    reference.reset();
  }
  ModemSendEnd sent = endOf(SendOutcome::Sent, {});
  sent.reference = reference;
  end(sent);
}

// Create sends nothing, so a send still at Create is abandoned as not sent; one past it may
// have gone, and its answer is waited for.
void ModemSend::boundReached() {
  qCWarning(movarekLog).noquote() << "the modem did not answer a send within a minute at"
                                  << (step_ == ModemStep::Create ? "Create" : "Send");
  if (step_ == ModemStep::Create) return fail(kModemNoAnswer);
  ModemSendEnd unknown = endOf(SendOutcome::Unknown, kModemNoAnswer);
  unknown.final = false;
  told_ = true;
  emit ended(unknown);
}

void ModemSend::serviceGone() {
  if (!finished_) fail(kModemGone);
}

void ModemSend::fail(std::string_view reason) {
  qCWarning(movarekLog).noquote() << "a send through the modem failed:"
                                  << QString::fromUtf8(reason.data(),
                                                       static_cast<qsizetype>(reason.size()));
  end(endOf(modemOutcome(reason, step_, message_.parts), reason));
}

ModemSendEnd ModemSend::endOf(SendOutcome outcome, std::string_view reason) const {
  ModemSendEnd end;
  end.outcome = outcome;
  end.reason = reason;
  end.step = step_;
  end.message = path_;
  return end;
}

void ModemSend::end(const ModemSendEnd& end) {
  finished_ = true;
  bound_.stop();
  if (told_) {
    emit answeredLate(end);
  } else {
    told_ = true;
    emit ended(end);
  }
  doneWhenIdle();
}

void ModemSend::doneWhenIdle() {
  if (!finished_ || calling_ || doneTold_) return;
  doneTold_ = true;
  emit done();
}

// A message made after its send was given up is not left on the modem.
void ModemSend::removeAbandoned(const QDBusMessage& created) {
  const auto path = onlyArgument(created, "o");
  if (!path) return;
  QDBusMessage remove = call(modem_, kMessaging, "Delete");
  remove << *path;
  ask(bus_, remove, kCallTimeoutMs, parent(), [](const QDBusMessage& reply) {
    if (reply.type() == QDBusMessage::ErrorMessage) {
      qCWarning(movarekLog).noquote()
          << "cannot delete a message from the modem:" << reply.errorMessage();
    }
  });
}

}  // namespace movarek
