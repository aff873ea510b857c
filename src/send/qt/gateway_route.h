#pragma once
// The gateway's route: the message's request loaded by a hidden web view, watched for its
// answer (SendWatch). What the load's end says is turned into an outcome here, once.
#include <optional>

#include "common/load_failure.h"
#include "send/qt/send_route.h"

namespace movarek {

class SendWatch;
class TCppWebBrowser;

class GatewayRoute final : public SendRoute {
 public:
  // `name` tells its sends apart in the log.
  GatewayRoute(TCppWebBrowser& browser, const QString& name, QObject* parent);

  std::string_view name() const override { return kGatewayRoute; }
  bool canSendNow() const override;
  void send(const SentRecord& message, quint64 number) override;

 private:
  SendWatch* watch_;
  quint64 number_ = 0;
};

// The outcome of a gateway send that ended with `failure` (none: the gateway answered it).
RouteOutcome gatewayOutcome(const std::optional<LoadFailure>& failure);
// The outcome of one whose answer came late.
RouteOutcome lateGatewayOutcome(const std::optional<LoadFailure>& failure);

}  // namespace movarek
