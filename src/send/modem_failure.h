#pragma once
// How a send through the user's modem ended when ModemManager answered it with an error, or did
// not answer it: certainly not sent, or not known; with its reason as the sent messages keep it.
#include <string>
#include <string_view>

#include "send/send_failure.h"

namespace movarek {

// The call that failed. Create only makes the message on the modem; Send hands it to the
// network part after part.
enum class ModemStep { Create, Send };

// The reasons the program gives itself, where ModemManager named no error.
inline constexpr std::string_view kModemNoAnswer = "modem no-answer";  // not within its bound
inline constexpr std::string_view kModemGone = "modem gone";           // ModemManager left the bus
// Send returned, but the message was not read back as sent.
inline constexpr std::string_view kModemUnconfirmed = "modem unconfirmed";
inline constexpr std::string_view kModemBadAnswer = "modem bad-answer";  // not of its type
// No modem could take the message, or the one there was on no network: nothing was asked of it.
inline constexpr std::string_view kModemNone = "modem none";
inline constexpr std::string_view kModemUnregistered = "modem unregistered";

// The kept code of a D-Bus error: "modem Core.WrongState" for ModemManager's own,
// "modem no-reply" for a call that was never answered, "modem gone" for a service no longer
// there, "modem " and the whole name for any other.
std::string modemReasonCode(std::string_view errorName);

// Not sent for any failure of Create, which sends nothing, and for those failures of a Send of
// one part that leave nothing sent: refused by the system, no SIM or a locked one, no network,
// a modem not ready. Unknown for everything else: a failure of a longer Send may follow parts
// already gone.
SendOutcome modemOutcome(std::string_view code, ModemStep step, unsigned parts);

// A short Czech reason for a kept code ("v modemu není SIM karta"); empty for a code that is
// not a modem's.
std::string modemReason(std::string_view code);

// A message that certainly did not go for want of a network, or of a modem on one, goes once
// the modem is back on it.
bool modemWorthRetrying(std::string_view code);

// The question a send through the modem asks once the network's message centre has the message.
inline constexpr std::string_view kModemSentQuestion =
    "Zpráva byla úspěšně odeslána modemem.\nChcete vymazat text odeslané zprávy?";
// The whole message for a send to `number` that did not end as sent (`outcome`), with caption
// "Chyba"; the text stays in the window in every case.
std::string modemFailureMessage(std::string_view number, SendOutcome outcome,
                                std::string_view code);
// A send to `number` told as not known whose real end came later: sent, or certainly not
// (`code` says why).
std::string lateModemAnswerMessage(std::string_view number, bool sent, std::string_view code);

}  // namespace movarek
