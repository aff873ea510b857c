#pragma once
// What the user is told when a send's request did not reach the gateway.
#include <string>

namespace movarek {

// Why a request failed, from what the web view reports: an HTTP status of 400 or above, or
// one of the network error codes of the web engine (negative numbers).
struct LoadFailure {
  enum class Kind { HttpStatus, NetworkError, NoAnswer };
  Kind kind;
  int code = 0;
};

// A short Czech reason: "server odmítl spojení", "chyba serveru 503" and the like.
std::string failureReason(const LoadFailure& failure);

// The whole message, with caption "Chyba" and an OK button.
std::string sendFailureMessage(const LoadFailure& failure);

}  // namespace movarek
