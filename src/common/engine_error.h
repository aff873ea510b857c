#pragma once
// The web engine's network error codes that the program tells apart, and how each is said to
// the user. Header only: the web engine's module, which is not linked with the program's code,
// uses it too.
#include <string>

namespace movarek::engine_error {

inline constexpr int kTimedOut = -7;
inline constexpr int kBlockedByClient = -20;
inline constexpr int kConnectionClosed = -100;
inline constexpr int kConnectionReset = -101;
inline constexpr int kConnectionRefused = -102;
inline constexpr int kConnectionFailed = -104;
inline constexpr int kNameNotResolved = -105;
inline constexpr int kInternetDisconnected = -106;
inline constexpr int kAddressInvalid = -108;
inline constexpr int kAddressUnreachable = -109;
inline constexpr int kConnectionTimedOut = -118;
inline constexpr int kProxyConnectionFailed = -130;
inline constexpr int kNameResolutionFailed = -137;
inline constexpr int kInvalidUrl = -300;
inline constexpr int kDisallowedScheme = -301;
inline constexpr int kUnsafePort = -312;
inline constexpr int kEmptyResponse = -324;
inline constexpr int kResponseHeadersTooBig = -325;

// Why a request failed, in the words of the program's messages ("server odmítl spojení").
inline std::string networkReason(int code) {
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
    case kProxyConnectionFailed:
      return "proxy server nelze zastihnout";
    case kResponseHeadersTooBig:
      return "server poslal příliš dlouhou hlavičku odpovědi";
    default:
      return "chyba sítě " + std::to_string(code);
  }
}

}  // namespace movarek::engine_error
