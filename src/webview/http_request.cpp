#include "webview/http_request.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace movarek {
namespace {

constexpr std::size_t kLongestFramingLine = 4096;
constexpr int kMostSizeDigits = 15;
constexpr std::uint16_t kHttpPort = 80;

std::string lower(std::string_view text) {
  std::string made(text);
  std::transform(made.begin(), made.end(), made.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return made;
}

bool isTokenChar(unsigned char c) {
  return std::isalnum(c) ||
         std::string_view("!#$%&'*+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos;
}

bool isToken(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), isTokenChar);
}

// What a request target and a header's value may hold: no control character, no space.
bool isPrintable(std::string_view text, bool spaces) {
  return std::none_of(text.begin(), text.end(), [spaces](unsigned char c) {
    return c == 0x7F || (c < 0x20 && c != '\t') || (!spaces && (c == ' ' || c == '\t'));
  });
}

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<std::uint64_t> decimal(std::string_view digits) {
  std::uint64_t value = 0;
  if (digits.empty() || digits.size() > 18 || digits.front() == '+') return std::nullopt;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

// "host", "host:port", "[v6]:port"; none with a user's name before "@", a port out of range or
// a character no host name holds.
std::optional<HostPort> parseAuthority(std::string_view authority, bool portRequired) {
  HostPort place{{}, kHttpPort};
  std::string_view host = authority;
  std::string_view port;
  if (authority.starts_with('[')) {
    const auto close = authority.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    host = authority.substr(1, close - 1);
    const auto rest = authority.substr(close + 1);
    if (!rest.empty() && !rest.starts_with(':')) return std::nullopt;
    if (!rest.empty()) port = rest.substr(1);
    if (host.find_first_not_of("0123456789abcdefABCDEF:.") != std::string_view::npos) {
      return std::nullopt;
    }
  } else {
    const auto colon = authority.rfind(':');
    if (colon != std::string_view::npos) {
      port = authority.substr(colon + 1);
      host = authority.substr(0, colon);
    }
    const bool hostChars = std::all_of(host.begin(), host.end(), [](unsigned char c) {
      return std::isalnum(c) || std::string_view("-._~!$&'()*+,;=%").find(static_cast<char>(c)) !=
                                    std::string_view::npos;
    });
    if (!hostChars) return std::nullopt;
  }
  if (host.empty() || (portRequired && port.empty())) return std::nullopt;
  if (!port.empty()) {
    const auto number = decimal(port);
    if (!number || *number == 0 || *number > 65535 || port.size() > 5) return std::nullopt;
    place.port = static_cast<std::uint16_t>(*number);
  }
  place.host = lower(host);
  return place;
}

// The lines of a head that are about the connection they came on, or that the gatekeeper
// writes itself.
bool aboutTheConnection(std::string_view name) {
  for (const char* own : {"host", "connection", "proxy-connection", "keep-alive",
                          "proxy-authorization", "te", "upgrade"}) {
    if (name == own) return true;
  }
  return false;
}

// What the request line says; none when it is not one.
bool readRequestLine(std::string_view line, ReadRequest& read) {
  const auto first = line.find(' ');
  const auto second = line.find(' ', first + 1);
  if (first == std::string_view::npos || second == std::string_view::npos ||
      line.find(' ', second + 1) != std::string_view::npos) {
    return false;
  }
  RequestHead& head = read.head;
  head.method = std::string(line.substr(0, first));
  const std::string_view target = line.substr(first + 1, second - first - 1);
  head.version = std::string(line.substr(second + 1));
  if (!isToken(head.method) || (head.version != "HTTP/1.1" && head.version != "HTTP/1.0") ||
      target.empty() || !isPrintable(target, false)) {
    return false;
  }
  if (head.tunnel()) {
    const auto place = parseAuthority(target, true);
    if (!place) return false;
    head.place = *place;
    return true;
  }
  const auto schemeEnd = target.find("://");
  if (schemeEnd == std::string_view::npos) return false;
  const auto authorityEnd = target.find_first_of("/?#", schemeEnd + 3);
  const auto authority = target.substr(schemeEnd + 3, authorityEnd - schemeEnd - 3);
  const auto place = parseAuthority(authority, false);
  if (!place || authority.find('@') != std::string_view::npos) return false;
  head.place = *place;
  // Any other scheme is refused as another place would be.
  if (lower(target.substr(0, schemeEnd)) != "http") read.refusal = 403;
  const std::string_view rest =
      authorityEnd == std::string_view::npos ? "" : target.substr(authorityEnd);
  if (rest.starts_with('#')) return false;
  head.originForm = rest.starts_with('/') ? std::string(rest) : "/" + std::string(rest);
  return true;
}

// The framing headers' word on the body: none when they disagree or say what is not a body.
bool readFraming(const std::vector<std::string>& lengths, const std::vector<std::string>& codings,
                 RequestHead& head) {
  if (!codings.empty()) {
    if (codings.size() > 1 || !lengths.empty() || lower(codings.front()) != "chunked") {
      return false;
    }
    head.body = RequestBody::chunked();
  } else if (!lengths.empty()) {
    const auto length = decimal(lengths.front());
    if (!length || std::any_of(lengths.begin(), lengths.end(), [&](const std::string& other) {
          return other != lengths.front();
        })) {
      return false;
    }
    head.body = RequestBody::ofLength(*length);
  }
  return !head.tunnel() || (lengths.empty() && codings.empty());
}

}  // namespace

std::string HostPort::authority(std::uint16_t defaultPort) const {
  const std::string named = host.find(':') == std::string::npos ? host : "[" + host + "]";
  return port == defaultPort ? named : named + ":" + std::to_string(port);
}

RequestBody RequestBody::ofLength(std::uint64_t length) {
  RequestBody body;
  body.left_ = length;
  body.state_ = length == 0 ? State::Done : State::Data;
  return body;
}

RequestBody RequestBody::chunked() {
  RequestBody body;
  body.chunked_ = true;
  body.state_ = State::Size;
  return body;
}

std::size_t RequestBody::take(std::string_view bytes) {
  std::size_t taken = 0;
  while (taken < bytes.size() && state_ != State::Done && state_ != State::Broken) {
    if (state_ == State::Data) {
      const auto data =
          static_cast<std::size_t>(std::min<std::uint64_t>(left_, bytes.size() - taken));
      taken += data;
      left_ -= data;
      if (left_ == 0) state_ = chunked_ ? State::DataEnd : State::Done;
    } else {
      frame(bytes[taken++]);
    }
  }
  return taken;
}

void RequestBody::lineByte() {
  if (++lineLength_ > kLongestFramingLine) state_ = State::Broken;
}

// A chunk's size line ("1A;name=value\r\n"), the line end after its data, and the trailer's
// lines after the last chunk.
void RequestBody::frame(char byte) {
  const auto broken = [this] { state_ = State::Broken; };
  switch (state_) {
    case State::Size:
      if (std::isxdigit(static_cast<unsigned char>(byte)) && digits_ < kMostSizeDigits) {
        const char digit = static_cast<char>(std::tolower(static_cast<unsigned char>(byte)));
        left_ =
            left_ * 16 + static_cast<std::uint64_t>(digit <= '9' ? digit - '0' : digit - 'a' + 10);
        ++digits_;
      } else if (digits_ > 0 && (byte == ';' || byte == '\r')) {
        lineLength_ = 0;
        state_ = byte == ';' ? State::Extension : State::SizeEnd;
      } else {
        broken();
      }
      return;
    case State::Extension:
      if (byte == '\r') state_ = State::SizeEnd;
      lineByte();
      return;
    case State::SizeEnd:
      if (byte != '\n') return broken();
      digits_ = 0;
      state_ = left_ == 0 ? State::Trailer : State::Data;
      return;
    case State::DataEnd:
      state_ = byte == '\r' ? State::DataLineEnd : State::Broken;
      return;
    case State::DataLineEnd:
      state_ = byte == '\n' ? State::Size : State::Broken;
      return;
    case State::Trailer:
      lineLength_ = 0;
      state_ = byte == '\r' ? State::TrailerEnd : State::TrailerLine;
      return;
    case State::TrailerLine:
      if (byte == '\n') state_ = State::Trailer;
      lineByte();
      return;
    case State::TrailerEnd:
      state_ = byte == '\n' ? State::Done : State::Broken;
      return;
    case State::Data:
    case State::Done:
    case State::Broken:
      return;
  }
}

std::optional<std::size_t> requestHeadLength(std::string_view bytes) {
  const auto end = bytes.find("\r\n\r\n");
  if (end == std::string_view::npos) return std::nullopt;
  return end + 4;
}

ReadRequest readRequestHead(std::string_view head, std::string_view markName) {
  ReadRequest read;
  const auto bad = [&read] {
    read.refusal = 400;
    return read;
  };
  if (!head.ends_with("\r\n\r\n")) return bad();
  head.remove_suffix(2);
  const auto lineEnd = head.find("\r\n");
  if (!readRequestLine(head.substr(0, lineEnd), read)) return bad();
  std::vector<std::string> lengths;
  std::vector<std::string> codings;
  for (auto start = lineEnd + 2; start < head.size();) {
    const auto end = head.find("\r\n", start);
    const std::string_view line = head.substr(start, end - start);
    start = end + 2;
    const auto colon = line.find(':');
    // No folded line, no bare CR, no space before the colon: read as the gateway might read it
    // otherwise, such a head could say two things at once.
    if (colon == std::string_view::npos || !isToken(line.substr(0, colon)) ||
        line.find('\r') != std::string_view::npos || !isPrintable(line, true)) {
      return bad();
    }
    const std::string name = lower(line.substr(0, colon));
    const std::string_view value = trimmed(line.substr(colon + 1));
    if (name == markName) {
      read.head.mark = std::string(value);
    } else if (!aboutTheConnection(name)) {
      if (name == "content-length") lengths.emplace_back(value);
      if (name == "transfer-encoding") codings.emplace_back(value);
      read.head.headers.emplace_back(line);
    }
  }
  if (!readFraming(lengths, codings, read.head)) return bad();
  return read;
}

std::string headToPassOn(const RequestHead& head, const HostPort& gateway, bool toProxy,
                         std::string_view extra) {
  const std::string authority = gateway.authority(head.tunnel() ? 0 : kHttpPort);
  const std::string target = head.tunnel() ? authority
                             : toProxy     ? "http://" + authority + head.originForm
                                           : head.originForm;
  std::string made =
      head.method + " " + target + " " + head.version + "\r\nHost: " + authority + "\r\n";
  for (const std::string& line : head.headers) made += line + "\r\n";
  made += extra;
  // A tunnel stays open for as long as its two ends use it.
  if (!head.tunnel()) made += "Connection: close\r\n";
  return made + "\r\n";
}

}  // namespace movarek
