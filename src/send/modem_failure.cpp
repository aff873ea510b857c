#include "send/modem_failure.h"

#include <algorithm>
#include <array>

namespace movarek {
namespace {

constexpr std::string_view kCodePrefix = "modem ";
constexpr std::string_view kModemManagerErrors = "org.freedesktop.ModemManager1.Error.";
constexpr std::string_view kNoReply = "no-reply";
constexpr std::size_t kLongestErrorName = 255;  // the bus allows no longer name

// A known reason: its code after "modem ", its words, and whether a Send of one part that fails
// so has certainly sent nothing.
struct KnownReason {
  std::string_view code;
  std::string_view words;
  bool nothingSent = false;
};

constexpr std::array kKnownReasons{
    KnownReason{"Core.Unauthorized",
                "systém programu nedovolil zprávu odeslat; posílat zprávy modemem smí jen "
                "aktivní místní relace (uživatel přihlášený přímo u počítače)",
                true},
    KnownReason{"Core.WrongState", "modem není připraven (není zapnutý nebo přihlášený do sítě)",
                true},
    KnownReason{"MobileEquipment.SimNotInserted", "v modemu není SIM karta", true},
    KnownReason{"MobileEquipment.SimPin", "SIM karta čeká na zadání PIN", true},
    KnownReason{"MobileEquipment.SimPuk", "SIM karta je zablokovaná a čeká na zadání PUK", true},
    KnownReason{"MobileEquipment.SimFailure", "SIM karta selhala", true},
    KnownReason{"MobileEquipment.SimBusy", "SIM karta je zaneprázdněná", true},
    KnownReason{"MobileEquipment.SimWrong", "modem SIM kartu nepřijal", true},
    KnownReason{"Message.NoNetwork", "modem není připojen k mobilní síti", true},
    KnownReason{"Core.InvalidArgs", "modem odmítl číslo nebo text zprávy"},
    KnownReason{"Core.TooMany", "zpráva má pro modem příliš mnoho částí"},
    KnownReason{"Core.Unsupported", "modem posílání zpráv nepodporuje"},
    KnownReason{"Message.NetworkTimeout", "mobilní síť neodpověděla včas"},
    KnownReason{"Message.SmscAddressUnknown", "modem nezná číslo SMS centra"},
    KnownReason{kNoReply, "modem neodpověděl"},
    KnownReason{kModemNoAnswer.substr(kCodePrefix.size()), "modem do minuty neodpověděl"},
    KnownReason{kModemGone.substr(kCodePrefix.size()),
                "spojení se službou ModemManager se přerušilo"},
    KnownReason{kModemUnconfirmed.substr(kCodePrefix.size()),
                "modem nepotvrdil, že zprávu odeslal"},
    KnownReason{kModemBadAnswer.substr(kCodePrefix.size()), "modem odpověděl nesrozumitelně"},
    KnownReason{kModemNone.substr(kCodePrefix.size()),
                "není připojen žádný modem, který umí posílat zprávy"},
    KnownReason{kModemUnregistered.substr(kCodePrefix.size()),
                "modem není přihlášený do mobilní sítě"},
};

// The D-Bus errors of a call that never got its answer, and of a service that is not there.
constexpr std::array<std::string_view, 2> kUnanswered{"org.freedesktop.DBus.Error.NoReply",
                                                      "org.freedesktop.DBus.Error.Timeout"};
constexpr std::array<std::string_view, 3> kAbsent{"org.freedesktop.DBus.Error.ServiceUnknown",
                                                  "org.freedesktop.DBus.Error.NameHasNoOwner",
                                                  "org.freedesktop.DBus.Error.Disconnected"};

// What the bus calls an error's name: dotted words of letters, digits and underscores.
bool wellFormedErrorName(std::string_view name) {
  return !name.empty() && name.size() <= kLongestErrorName && std::ranges::all_of(name, [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '.';
  });
}

const KnownReason* knownReason(std::string_view code) {
  if (!code.starts_with(kCodePrefix)) return nullptr;
  const auto found =
      std::ranges::find(kKnownReasons, code.substr(kCodePrefix.size()), &KnownReason::code);
  return found == kKnownReasons.end() ? nullptr : &*found;
}

}  // namespace

std::string modemReasonCode(std::string_view errorName) {
  if (!wellFormedErrorName(errorName)) return std::string(kModemBadAnswer);
  if (std::ranges::find(kUnanswered, errorName) != kUnanswered.end()) {
    return std::string(kCodePrefix).append(kNoReply);
  }
  if (std::ranges::find(kAbsent, errorName) != kAbsent.end()) return std::string(kModemGone);
  if (errorName.starts_with(kModemManagerErrors)) {
    errorName.remove_prefix(kModemManagerErrors.size());
  }
  return std::string(kCodePrefix).append(errorName);
}

SendOutcome modemOutcome(std::string_view code, ModemStep step, unsigned parts) {
  if (step == ModemStep::Create) return SendOutcome::NotSent;
  const KnownReason* known = knownReason(code);
  return parts == 1 && known && known->nothingSent ? SendOutcome::NotSent : SendOutcome::Unknown;
}

std::string modemReason(std::string_view code) {
  if (!code.starts_with(kCodePrefix)) return {};
  if (const KnownReason* known = knownReason(code)) return std::string(known->words);
  return "chyba modemu " + std::string(code.substr(kCodePrefix.size()));
}

bool modemWorthRetrying(std::string_view code) {
  return code == kModemNone || code == kModemUnregistered ||
         code == std::string(kCodePrefix).append("Message.NoNetwork");
}

std::string modemFailureMessage(std::string_view number, SendOutcome outcome,
                                std::string_view code) {
  const std::string to(number);
  if (outcome == SendOutcome::Unknown) {
    return "Není jisté, zda zpráva pro " + to + " odešla z modemu (" + modemReason(code) +
           ").\nZpráva mohla dorazit: než ji pošlete znovu, ověřte si, zda nepřišla.\n"
           "Text zprávy zůstává v okně.";
  }
  return "Zprávu pro " + to + " se nepodařilo odeslat modemem (" + modemReason(code) +
         ").\nText zprávy zůstává v okně, můžete ji zkusit odeslat znovu.";
}

std::string lateModemAnswerMessage(std::string_view number, bool sent, std::string_view code) {
  const std::string to(number);
  if (sent)
    return "Zpráva pro " + to +
           ", o které nebylo jisté, zda odešla, byla přece jen odeslána modemem.";
  return "Zpráva pro " + to +
         ", o které nebylo jisté, zda odešla, nakonec modemem odeslána "
         "nebyla (" +
         modemReason(code) + ").\nMůžete ji zkusit odeslat znovu.";
}

}  // namespace movarek
