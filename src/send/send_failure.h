#pragma once
// What the user is told when a send's request did not reach the gateway.
#include <string>

#include "webview/load_failure.h"

namespace movarek {

// A short Czech reason: "server odmítl spojení", "chyba serveru 503" and the like.
std::string failureReason(const LoadFailure& failure);

// The whole message, with caption "Chyba" and an OK button.
std::string sendFailureMessage(const LoadFailure& failure);

}  // namespace movarek
