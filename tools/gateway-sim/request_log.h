#pragma once
// How the simulator tells about a request: one JSON line for the log file that tests read,
// one readable line for the person watching the terminal.
#include <string>
#include <string_view>

namespace movarek::gatewaysim {

struct Request {
  double timeMs = 0;  // when it arrived, in milliseconds since the epoch
  std::string path;
  std::string query;  // as it came, still encoded
  // "host:port" of a request asked in absolute form, as of a proxy; empty for the gateway's own
  std::string proxiedFor{};
};

// {"time_ms":..,"connection":"accepted"}: a connection taken, whatever comes on it.
std::string connectionLine(double timeMs);

// `utf8` as a quoted JSON string.
std::string jsonString(std::string_view utf8);

// {"time_ms":..,"path":..,"query":..,"values":{key:decoded value,..}} with "addresses":[..]
// added when the query has "adr"; no line break at the end.
std::string jsonLine(const Request& request);

// The path and each decoded value, e.g. /send_sms.php go="sms2" adr="a@x.cz~" -> a@x.cz
std::string readableLine(const Request& request);

}  // namespace movarek::gatewaysim
