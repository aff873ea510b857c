#pragma once
// How a load of a web view ended without the page it asked for: what the engine reports, before
// the send turns it into words for the user.
#include <string>

namespace movarek {

// An HTTP status of 400 or above; one of the web engine's network error codes (negative
// numbers); no answer within the time a caller gave the load; the engine module missing, so
// that nothing could be loaded; the engine's process for the load ended before it did; an
// answer that came from another server than the one asked (a redirect away from it), `host`
// naming that server.
struct LoadFailure {
  enum class Kind { HttpStatus, NetworkError, NoAnswer, NoEngine, EngineFailed, ForeignAnswer };
  Kind kind;
  int code = 0;
  std::string host = {};
};

}  // namespace movarek
