#pragma once
// The web engine's requests to the gatekeeper, as bytes: the head read whole and checked
// before anything goes on, the body measured by its own framing, and the head rebuilt for the
// gateway from what was checked, so that nothing the engine wrote about where it goes reaches
// the gateway or the user's proxy as written.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace movarek {

// A head longer than this is refused: the engine's own are a few hundred bytes.
inline constexpr std::size_t kLongestRequestHead = 64 * 1024;

// A host (in lower case, an IPv6 address without its brackets) and a port.
struct HostPort {
  std::string host;
  std::uint16_t port = 0;

  // "host", "host:port" or "[v6]:port", the port left out when it is `defaultPort`.
  std::string authority(std::uint16_t defaultPort = 0) const;
};

// A request's body as its framing says: so many bytes, or chunks up to the last one.
class RequestBody {
 public:
  static RequestBody ofLength(std::uint64_t length);
  static RequestBody chunked();

  // How many of `bytes`, which come next on the connection, belong to the body; those after
  // them come past its end.
  std::size_t take(std::string_view bytes);
  bool complete() const { return state_ == State::Done; }
  bool broken() const { return state_ == State::Broken; }

 private:
  enum class State {
    Data,
    Size,
    Extension,
    SizeEnd,
    DataEnd,
    DataLineEnd,
    Trailer,
    TrailerLine,
    TrailerEnd,
    Done,
    Broken
  };
  // Takes one byte of the chunks' framing.
  void frame(char byte);
  void lineByte();

  State state_ = State::Done;
  bool chunked_ = false;
  std::uint64_t left_ = 0;  // of the body, or of the chunk under way
  int digits_ = 0;
  std::size_t lineLength_ = 0;
};

struct RequestHead {
  std::string method;
  std::string version;     // "HTTP/1.1"
  HostPort place;          // where it asks to go
  std::string originForm;  // the path and query byte for byte, "/" when none; empty for a tunnel
  std::vector<std::string> headers;  // the lines about the request itself, as they came
  std::string mark;                  // the value of the marking header, when it came
  RequestBody body = RequestBody::ofLength(0);

  bool tunnel() const { return method == "CONNECT"; }
};

// How far the head at the start of `bytes` reaches, its blank line included; none while it has
// not come whole.
std::optional<std::size_t> requestHeadLength(std::string_view bytes);

// A head read: the status it is refused with (0 when it may go on), and what of it could be
// read (its place, for the log, also when it is refused).
struct ReadRequest {
  RequestHead head;
  int refusal = 0;
};

// `head` up to its blank line. `markName` (lower case) names the header that marks a send's
// request; it never goes on.
ReadRequest readRequestHead(std::string_view head, std::string_view markName);

// The head as it goes on to `gateway`: in origin form to the gateway itself, in absolute form to
// a proxy (`toProxy`), the Host header made from `gateway`, `extra` ("Name: value\r\n" lines)
// added, and the connection closed after the answer.
std::string headToPassOn(const RequestHead& head, const HostPort& gateway, bool toProxy,
                         std::string_view extra);

}  // namespace movarek
