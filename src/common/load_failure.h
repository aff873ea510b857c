#pragma once
// How a load of a web view ended without the gateway's page: what the engine reports, before
// the send turns it into words for the user.
namespace movarek {

// An HTTP status of 400 or above; one of the web engine's network error codes (negative
// numbers); no answer within the time a caller gave the load; the engine module missing, so
// that nothing could be loaded; the engine's process for the load ended before it did.
struct LoadFailure {
  enum class Kind { HttpStatus, NetworkError, NoAnswer, NoEngine, EngineFailed };
  Kind kind;
  int code = 0;
};

}  // namespace movarek
