#include "send/qt/routes.h"

#include <algorithm>
#include <utility>

#include "send/qt/gateway_route.h"
#include "send/qt/modem_route.h"

namespace movarek {
namespace {

using RouteMaker = SendRoute* (*)(const RouteMeans&, const QString& logName, QObject* parent);

SendRoute* gateway(const RouteMeans& means, const QString& logName, QObject* parent) {
  return new GatewayRoute(*means.browser, logName, parent);
}

SendRoute* modem(const RouteMeans& means, const QString& logName, QObject* parent) {
  return means.modems ? new ModemRoute(*means.modems, logName, parent) : nullptr;
}

// One line a route.
constexpr std::pair<std::string_view, RouteMaker> kRoutes[] = {
    {kGatewayRoute, &gateway},
    {kModemRoute, &modem},
};

}  // namespace

SendRoute* makeRoute(std::string_view name, const RouteMeans& means, const QString& logName,
                     QObject* parent) {
  const auto found =
      std::ranges::find(kRoutes, name, &std::pair<std::string_view, RouteMaker>::first);
  return found == std::end(kRoutes) ? nullptr : found->second(means, logName, parent);
}

}  // namespace movarek
