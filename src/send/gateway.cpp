#include "send/gateway.h"

namespace movarek {
namespace {

std::string& hostSlot() {
  static std::string host = MOVAREK_GATEWAY_HOST;
  return host;
}

}  // namespace

const std::string& gatewayHost() { return hostSlot(); }

void setGatewayHost(std::string host) { hostSlot() = std::move(host); }

std::string gatewayUrl(std::string_view pathAndQuery) {
  return "http://" + gatewayHost() + std::string(pathAndQuery);
}

}  // namespace movarek
