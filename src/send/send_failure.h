#pragma once
// How a send ended, as the user is told it: sent, certainly not sent, or not known, since the
// request left and what became of it cannot be told.
#include <optional>
#include <string>
#include <string_view>

#include "common/load_failure.h"

namespace movarek {

enum class SendOutcome { Sent, NotSent, Unknown };

// Sent for any answer of the gateway that is not an error status; not sent for an error status
// and for a request that certainly never left (refused, no route, name not found, no engine);
// unknown for everything else: no answer in time, a connection broken after the request was
// written, the engine failing after it.
SendOutcome sendOutcome(const std::optional<LoadFailure>& failure);

// A short Czech reason: "server odmítl spojení", "chyba serveru 503" and the like.
std::string failureReason(const LoadFailure& failure);

// The whole message for a send that did not end as sent, with caption "Chyba" and an OK
// button; the text stays in the window in every case.
std::string sendFailureMessage(const LoadFailure& failure);

// What the engine module's absence makes of the program, for a send and for the Eurotel page.
inline constexpr std::string_view kMissingEngine =
    "chybí část programu SMS Movarek, modul webového prohlížeče.\n"
    "Program je poškozený, přeinstalujte ho prosím.";

// A send told as unknown whose answer came later, while the program ran.
inline constexpr std::string_view kLateAnswerMessage =
    "Zpráva, o které nebylo jisté, zda došla, byla přece jen přijata SMS centrem Vertanix.";

}  // namespace movarek
