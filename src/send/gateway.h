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

// The path and query of a URL gatewayUrl made: what a message kept to be sent later keeps, so
// that it goes to the gateway the program sends to then.
std::string pathAndQueryOf(std::string_view url);

}  // namespace movarek
