#pragma once
// How a load of the web view ended without the page: what the engine reports, before anyone
// turns it into words for the user.
namespace movarek {

// An HTTP status of 400 or above, one of the web engine's network error codes (negative
// numbers), or no answer within the time a caller gave the load.
struct LoadFailure {
  enum class Kind { HttpStatus, NetworkError, NoAnswer };
  Kind kind;
  int code = 0;
};

}  // namespace movarek
