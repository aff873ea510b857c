#pragma once
// The gateway every request goes to: one host, plain HTTP.
#include <string>
#include <string_view>

namespace movarek {

// The compiled-in host (host or host:port) unless a test pointed the program elsewhere.
const std::string& gatewayHost();
void setGatewayHost(std::string host);

// "http://" + host + path and query, e.g. gatewayUrl("/eurotel_nova2.php").
std::string gatewayUrl(std::string_view pathAndQuery);

}  // namespace movarek
