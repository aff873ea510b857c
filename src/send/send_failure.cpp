#include "send/send_failure.h"

#include <algorithm>
#include <array>

namespace movarek {
namespace {

// The web engine's network error codes that a user can do something about.
constexpr int kTimedOut = -7;
constexpr int kBlockedByClient = -20;
constexpr int kConnectionClosed = -100;
constexpr int kConnectionReset = -101;
constexpr int kConnectionRefused = -102;
constexpr int kConnectionFailed = -104;
constexpr int kNameNotResolved = -105;
constexpr int kInternetDisconnected = -106;
constexpr int kAddressInvalid = -108;
constexpr int kAddressUnreachable = -109;
constexpr int kConnectionTimedOut = -118;
constexpr int kProxyConnectionFailed = -130;
constexpr int kNameResolutionFailed = -137;
constexpr int kInvalidUrl = -300;
constexpr int kDisallowedScheme = -301;
constexpr int kUnsafePort = -312;
constexpr int kEmptyResponse = -324;

// The errors the engine reports before a request could go out: no connection was ever made.
constexpr std::array kNeverLeft{kBlockedByClient,
                                kConnectionRefused,
                                kConnectionFailed,
                                kNameNotResolved,
                                kInternetDisconnected,
                                kAddressInvalid,
                                kAddressUnreachable,
                                kConnectionTimedOut,
                                kProxyConnectionFailed,
                                kNameResolutionFailed,
                                kInvalidUrl,
                                kDisallowedScheme,
                                kUnsafePort};

std::string networkReason(int code) {
  switch (code) {
    case kInternetDisconnected:
      return "bez připojení k síti";
    case kNameNotResolved:
    case kNameResolutionFailed:
      return "server nenalezen";
    case kConnectionRefused:
      return "server odmítl spojení";
    case kConnectionClosed:
    case kConnectionReset:
    case kEmptyResponse:
      return "server přerušil spojení";
    case kAddressUnreachable:
      return "server je nedostupný";
    case kTimedOut:
    case kConnectionTimedOut:
      return "server neodpověděl";
    default:
      return "chyba sítě " + std::to_string(code);
  }
}

}  // namespace

SendOutcome sendOutcome(const std::optional<LoadFailure>& failure) {
  if (!failure) return SendOutcome::Sent;
  switch (failure->kind) {
    case LoadFailure::Kind::HttpStatus:
    case LoadFailure::Kind::NoEngine:
      return SendOutcome::NotSent;
    case LoadFailure::Kind::NetworkError:
      return std::ranges::find(kNeverLeft, failure->code) != kNeverLeft.end()
                 ? SendOutcome::NotSent
                 : SendOutcome::Unknown;
    case LoadFailure::Kind::NoAnswer:
    case LoadFailure::Kind::EngineFailed:
      break;
  }
  return SendOutcome::Unknown;
}

std::string failureReason(const LoadFailure& failure) {
  switch (failure.kind) {
    case LoadFailure::Kind::HttpStatus:
      return "chyba serveru " + std::to_string(failure.code);
    case LoadFailure::Kind::NoAnswer:
      return "server neodpověděl";
    case LoadFailure::Kind::NoEngine:
      return "chybí modul webového prohlížeče";
    case LoadFailure::Kind::EngineFailed:
      return "webový prohlížeč programu selhal";
    case LoadFailure::Kind::NetworkError:
      break;
  }
  return networkReason(failure.code);
}

std::string sendFailureMessage(const LoadFailure& failure) {
  if (failure.kind == LoadFailure::Kind::NoEngine) {
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

}  // namespace movarek
