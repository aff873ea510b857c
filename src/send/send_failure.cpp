#include "send/send_failure.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "common/engine_error.h"
#include "send/modem_failure.h"

namespace movarek {
namespace {

using Kind = LoadFailure::Kind;

using namespace engine_error;

constexpr int kAnyCode = 0;

// A failure of `kind` whose code is `code` (any, for kAnyCode) up to `highest` ends the send as
// `outcome`. The first rule that matches holds; a failure that no rule names is unknown.
struct OutcomeRule {
  Kind kind;
  int code;
  int highest;
  SendOutcome outcome;
};

constexpr OutcomeRule rule(Kind kind, int code, SendOutcome outcome) {
  return {kind, code, code, outcome};
}

constexpr std::array kOutcomeTable{
    // The gateway refused the request, or is not taking any now.
    OutcomeRule{Kind::HttpStatus, 400, 499, SendOutcome::NotSent},
    rule(Kind::HttpStatus, 503, SendOutcome::NotSent),
    // A server took the request and may have passed it on before it failed (504 among them).
    OutcomeRule{Kind::HttpStatus, 500, 599, SendOutcome::Unknown},
    rule(Kind::NoEngine, kAnyCode, SendOutcome::NotSent),
    // A network where plain HTTP is answered by a login page: the gateway never saw the
    // request, but nothing tells it for certain.
    rule(Kind::ForeignAnswer, kAnyCode, SendOutcome::Unknown),
    // The errors the engine reports before a request could go out: no connection was made.
    rule(Kind::NetworkError, kBlockedByClient, SendOutcome::NotSent),
    rule(Kind::NetworkError, kConnectionRefused, SendOutcome::NotSent),
    rule(Kind::NetworkError, kConnectionFailed, SendOutcome::NotSent),
    rule(Kind::NetworkError, kNameNotResolved, SendOutcome::NotSent),
    rule(Kind::NetworkError, kInternetDisconnected, SendOutcome::NotSent),
    rule(Kind::NetworkError, kAddressInvalid, SendOutcome::NotSent),
    rule(Kind::NetworkError, kAddressUnreachable, SendOutcome::NotSent),
    rule(Kind::NetworkError, kConnectionTimedOut, SendOutcome::NotSent),
    rule(Kind::NetworkError, kProxyConnectionFailed, SendOutcome::NotSent),
    rule(Kind::NetworkError, kNameResolutionFailed, SendOutcome::NotSent),
    rule(Kind::NetworkError, kInvalidUrl, SendOutcome::NotSent),
    rule(Kind::NetworkError, kDisallowedScheme, SendOutcome::NotSent),
    rule(Kind::NetworkError, kUnsafePort, SendOutcome::NotSent),
};

bool matches(const OutcomeRule& rule, const LoadFailure& failure) {
  return rule.kind == failure.kind &&
         (rule.code == kAnyCode || (failure.code >= rule.code && failure.code <= rule.highest));
}

}  // namespace

SendOutcome sendOutcome(const std::optional<LoadFailure>& failure) {
  if (!failure) return SendOutcome::Sent;
  const auto found = std::ranges::find_if(
      kOutcomeTable, [&](const OutcomeRule& rule) { return matches(rule, *failure); });
  return found == kOutcomeTable.end() ? SendOutcome::Unknown : found->outcome;
}

SentState stateAfter(const std::optional<LoadFailure>& failure) {
  return stateOf(sendOutcome(failure));
}

SentState stateOf(SendOutcome outcome) {
  switch (outcome) {
    case SendOutcome::Sent:
      return SentState::Sent;
    case SendOutcome::NotSent:
      return SentState::NotSent;
    case SendOutcome::Unknown:
      break;
  }
  return SentState::Uncertain;
}

std::string failureReason(const LoadFailure& failure) {
  switch (failure.kind) {
    case Kind::HttpStatus:
      return "chyba serveru " + std::to_string(failure.code);
    case Kind::NoAnswer:
      return "server neodpověděl";
    case Kind::NoEngine:
      return "chybí modul webového prohlížeče";
    case Kind::EngineFailed:
      return "webový prohlížeč programu selhal";
    case Kind::ForeignAnswer:
      return "odpověď nepřišla od brány, ale od jiného serveru (" + failure.host +
             "); síť vás možná přesměrovala na přihlašovací stránku";
    case Kind::NetworkError:
      break;
  }
  return networkReason(failure.code);
}

std::string reasonCode(const LoadFailure& failure) {
  switch (failure.kind) {
    case Kind::HttpStatus:
      return "http " + std::to_string(failure.code);
    case Kind::NetworkError:
      return "network " + std::to_string(failure.code);
    case Kind::NoAnswer:
      return "no-answer";
    case Kind::NoEngine:
      return "no-engine";
    case Kind::EngineFailed:
      return "engine-failed";
    case Kind::ForeignAnswer:
      return "foreign " + failure.host;
  }
  return {};
}

std::optional<LoadFailure> failureOfCode(std::string_view code) {
  const auto numbered = [&](std::string_view prefix, Kind kind) -> std::optional<LoadFailure> {
    if (!code.starts_with(prefix)) return std::nullopt;
    int number = 0;
    const auto digits = code.substr(prefix.size());
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    return LoadFailure{kind, number};
  };
  if (auto http = numbered("http ", Kind::HttpStatus)) return http;
  if (auto network = numbered("network ", Kind::NetworkError)) return network;
  if (code == "no-answer") return LoadFailure{Kind::NoAnswer};
  if (code == "no-engine") return LoadFailure{Kind::NoEngine};
  if (code == "engine-failed") return LoadFailure{Kind::EngineFailed};
  if (code.starts_with("foreign ")) {
    return LoadFailure{Kind::ForeignAnswer, 0, std::string(code.substr(8))};
  }
  return std::nullopt;
}

std::string shownReason(std::string_view code) {
  if (code == kEndedEarly) return "program skončil dřív, než přišla odpověď";
  if (std::string modem = modemReason(code); !modem.empty()) return modem;
  const auto failure = failureOfCode(code);
  return failure ? failureReason(*failure) : std::string(code);
}

std::string sendFailureMessage(const LoadFailure& failure) {
  if (failure.kind == Kind::NoEngine) {
    return "Zprávu nelze odeslat: " + std::string(kMissingEngine);
  }
  if (sendOutcome(failure) == SendOutcome::Unknown) {
    return "Není jisté, zda zpráva došla na SMS centrum Vertanix (" + failureReason(failure) +
           ").\nZpráva mohla dorazit: než ji pošlete znovu, ověřte si, zda nepřišla.\n"
           "Text zprávy zůstává v okně.";
  }
  return "Zprávu se nepodařilo odeslat na SMS centrum Vertanix (" + failureReason(failure) +
         ").\nText zprávy zůstává v okně, můžete ji zkusit odeslat znovu.";
}

std::string lateAnswerMessage(const std::optional<LoadFailure>& failure) {
  if (!failure) {
    return "Zpráva, o které nebylo jisté, zda došla, byla přece jen přijata SMS centrem "
           "Vertanix.";
  }
  return "Zpráva, o které nebylo jisté, zda došla, nakonec SMS centrem Vertanix přijata nebyla (" +
         failureReason(*failure) + ").\nMůžete ji zkusit odeslat znovu.";
}

}  // namespace movarek
