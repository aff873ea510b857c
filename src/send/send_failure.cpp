#include "send/send_failure.h"

namespace movarek {
namespace {

// The web engine's network error codes that a user can do something about.
constexpr int kTimedOut = -7;
constexpr int kConnectionClosed = -100;
constexpr int kConnectionReset = -101;
constexpr int kConnectionRefused = -102;
constexpr int kNameNotResolved = -105;
constexpr int kInternetDisconnected = -106;
constexpr int kAddressUnreachable = -109;
constexpr int kConnectionTimedOut = -118;
constexpr int kNameResolutionFailed = -137;
constexpr int kEmptyResponse = -324;

std::string networkReason(int code) {
  switch (code) {
    case kInternetDisconnected: return "bez připojení k síti";
    case kNameNotResolved:
    case kNameResolutionFailed: return "server nenalezen";
    case kConnectionRefused: return "server odmítl spojení";
    case kConnectionClosed:
    case kConnectionReset:
    case kEmptyResponse: return "server přerušil spojení";
    case kAddressUnreachable: return "server je nedostupný";
    case kTimedOut:
    case kConnectionTimedOut: return "server neodpověděl";
    default: return "chyba sítě " + std::to_string(code);
  }
}

}  // namespace

std::string failureReason(const LoadFailure& failure) {
  switch (failure.kind) {
    case LoadFailure::Kind::HttpStatus: return "chyba serveru " + std::to_string(failure.code);
    case LoadFailure::Kind::NoAnswer: return "server neodpověděl";
    case LoadFailure::Kind::NetworkError: break;
  }
  return networkReason(failure.code);
}

std::string sendFailureMessage(const LoadFailure& failure) {
  return "Zprávu se nepodařilo odeslat na SMS centrum Vertanix (" + failureReason(failure) +
         ").\nText zprávy zůstává v okně, můžete ji zkusit odeslat znovu.";
}

}  // namespace movarek
