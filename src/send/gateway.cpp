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

std::string pathAndQueryOf(std::string_view url) {
  const auto scheme = url.find("://");
  const auto path = url.find('/', scheme == std::string_view::npos ? 0 : scheme + 3);
  return path == std::string_view::npos ? "/" : std::string(url.substr(path));
}

}  // namespace movarek
