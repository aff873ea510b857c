#pragma once
// How a send ended, as the user is told it: sent, certainly not sent, or not known, since the
// request left and what became of it cannot be told.
#include <optional>
#include <string>
#include <string_view>

#include "common/load_failure.h"
#include "send/sent_messages.h"

namespace movarek {

enum class SendOutcome { Sent, NotSent, Unknown };

// Sent only when the gateway itself answered with a status below 400 (its host and port, no
// redirect away from it); not sent when it refused (a 4xx status, or 503: not taken now) and for
// a request that certainly never left (refused, no route, name not found, no engine); unknown
// for everything else: no answer in time, a connection broken after the request was written,
// another 5xx status (a server took the request and may have passed it on), an answer from
// another server, the engine failing after it.
SendOutcome sendOutcome(const std::optional<LoadFailure>& failure);

// The state a record keeps for a send that ended so.
SentState stateOf(SendOutcome outcome);
// The state a send's record keeps for how it ended.
SentState stateAfter(const std::optional<LoadFailure>& failure);

// A short Czech reason: "server odmítl spojení", "chyba serveru 503" and the like.
std::string failureReason(const LoadFailure& failure);

// The reason as the sent messages keep it: a code that stays whatever words the program shows
// ("http 503", "network -102", "no-answer", "foreign login.hotel.cz" and the like).
std::string reasonCode(const LoadFailure& failure);
// The failure a kept code stands for; nothing for one that names none.
std::optional<LoadFailure> failureOfCode(std::string_view code);
// A send still under way when the program ended, found so at the next start.
inline constexpr std::string_view kEndedEarly = "program-ended";
// The words the user reads for a kept reason; empty for none.
std::string shownReason(std::string_view code);

// The whole message for a send that did not end as sent, with caption "Chyba" and an OK
// button; the text stays in the window in every case.
std::string sendFailureMessage(const LoadFailure& failure);

// A send told as unknown whose answer came later, while the program ran: the gateway took it,
// or it certainly refused it (`failure`).
std::string lateAnswerMessage(const std::optional<LoadFailure>& failure);

// What the engine module's absence makes of the program, for a send and for the Eurotel page.
inline constexpr std::string_view kMissingEngine =
    "chybí část programu SMS Movarek, modul webového prohlížeče.\n"
    "Program je poškozený, přeinstalujte ho prosím.";

}  // namespace movarek
