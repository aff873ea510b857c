#include "send/qt/gateway_route.h"

#include "send/gateway.h"
#include "send/outbox.h"
#include "send/qt/send_watch.h"
#include "send/send_failure.h"

namespace movarek {
namespace {

RouteOutcome outcomeOf(const std::optional<LoadFailure>& failure, std::string told) {
  if (!failure) return {SentState::Sent, {}, {}, std::move(told), false};
  return {stateAfter(failure), reasonCode(*failure), failureReason(*failure), std::move(told),
          worthRetrying(*failure)};
}

}  // namespace

RouteOutcome gatewayOutcome(const std::optional<LoadFailure>& failure) {
  return outcomeOf(failure, failure ? sendFailureMessage(*failure) : std::string());
}

RouteOutcome lateGatewayOutcome(const std::optional<LoadFailure>& failure) {
  return outcomeOf(failure, lateAnswerMessage(failure));
}

GatewayRoute::GatewayRoute(TCppWebBrowser& browser, const QString& name, QObject* parent)
    : SendRoute(parent), watch_(new SendWatch(browser, name, this)) {
  connect(watch_, &SendWatch::delivered, this,
          [this] { emit ended(number_, gatewayOutcome(std::nullopt)); });
  connect(watch_, &SendWatch::failed, this,
          [this](const LoadFailure& failure) { emit ended(number_, gatewayOutcome(failure)); });
  connect(watch_, &SendWatch::answeredLate, this,
          [this](quint64 number, const std::optional<LoadFailure>& failure) {
            emit answeredLate(number, lateGatewayOutcome(failure));
          });
}

bool GatewayRoute::canSendNow() const { return !watch_->busy(); }

void GatewayRoute::send(const SentRecord& message, quint64 number) {
  number_ = number;
  watch_->send(gatewayUrl(message.request), number);
}

}  // namespace movarek
