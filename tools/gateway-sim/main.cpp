// movarek-gateway-sim: a local stand-in for the Vertanix SMS gateway. It answers the gateway's
// pages on 127.0.0.1 and tells about every request it gets, so that a person or a test can see
// exactly what the program sent.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "answers.h"
#include "query.h"
#include "request_log.h"

namespace movarek::gatewaysim {
namespace {

const char* const kUsage = R"(Usage: movarek-gateway-sim [options]
Answers the SMS gateway's pages on 127.0.0.1 and prints one line for every request.

  --port N                 listen on port N; 0 (the default) picks a free port. The first
                           line printed is "listening on ADDRESS:PORT".
  --address A              listen on the loopback address A (127.0.0.1 unless told), e.g.
                           127.0.0.2 for a second host
  --log FILE               also append every request to FILE as one JSON line: time_ms, path,
                           query (as received), values (decoded), addresses (when adr is given)
  --status CODE            answer sends with HTTP status CODE (e.g. 500, or 204: no content)
  --redirect URL           answer sends with a redirect (302) to URL
  --download               answer sends with a file to save instead of a page
  --refresh URL            answer sends with a page that refreshes to URL at once, by its
                           Refresh header and by its own meta element
  --close-without-answer   read a send's request, then close the connection without answering
  --delay-ms N             wait N milliseconds before answering a send
  --startup-delay-ms N     wait N milliseconds before answering the start-up request
                           (/send_sms.php?go=pricti113)
  --hang TARGET            read every request whose path and query begin with TARGET (e.g.
                           /send_sms.php?go=pricti113) and never answer it; may be repeated
  --eurotel-page FILE      serve FILE (UTF-8 HTML) as the Eurotel page instead of its form
  --eurotel-header HEADER  send "Name: value" with the Eurotel page as well
  --serve PATH FILE        answer PATH with FILE's bytes (a script for .js); may be repeated
  --redirect-path PATH URL answer PATH with a redirect (302) to URL; may be repeated
  --log-connections        also log every connection taken, as {"connection":"accepted"}, before
                           anything comes on it
  --endless PATH           answer PATH with a body without end, sent as fast as the browser
                           takes it; a second in which it takes nothing is logged once, as
                           {"held":BYTES}; may be repeated
  --bare-line-feeds        end the lines of the sends' answers with a line feed alone
  --help                   show this text

A request in absolute form ("GET http://host:port/path"), as a browser asks a proxy, is answered
as the gateway's own, its host logged as "proxied_for": the simulator can stand in for a proxy.

--status, --redirect, --download, --refresh, --close-without-answer and --delay-ms act on the two sends
only (/send_sms.php?go=sms2 and /send_oskar.php); the start-up request and the Eurotel page are
answered at once unless told otherwise. /download is always answered with a file to save;
every other path is logged and answered 404.
)";

constexpr std::size_t kMaxRequestHead = 64 * 1024;
constexpr int kLongestDelayMs = 24 * 60 * 60 * 1000;

struct Options {
  std::string address = "127.0.0.1";
  int port = 0;
  std::string logPath;
  bool logConnections = false;
  Faults faults;
};

std::optional<int> number(std::string_view text, int low, int high) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::string> fileText(std::string_view path) {
  std::ifstream file{std::string(path), std::ios::binary};
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// Exits on --help and on anything it does not understand.
Options parseOptions(int argc, char** argv) {
  Options options;
  auto fail = [](const std::string& why) {
    std::cerr << "movarek-gateway-sim: " << why << "\n\n" << kUsage;
    std::exit(2);
  };
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    auto argument = [&]() -> std::string_view {
      if (i + 1 >= argc) fail(std::string(option) + " needs a value");
      return argv[++i];
    };
    auto numberArgument = [&](int low, int high) {
      const auto text = argument();
      const auto value = number(text, low, high);
      if (!value) {
        fail(std::string(option) + ": not a number from " + std::to_string(low) + " to " +
             std::to_string(high) + ": " + std::string(text));
      }
      return *value;
    };
    if (option == "--help") {
      std::cout << kUsage;
      std::exit(0);
    } else if (option == "--port") {
      options.port = numberArgument(0, 65535);
    } else if (option == "--address") {
      options.address = argument();
    } else if (option == "--redirect") {
      options.faults.redirectTo = argument();
    } else if (option == "--refresh") {
      options.faults.refreshTo = argument();
    } else if (option == "--download") {
      options.faults.download = true;
    } else if (option == "--eurotel-page") {
      const auto path = argument();
      const auto text = fileText(path);
      if (!text) fail("cannot read " + std::string(path));
      options.faults.eurotelPage = *text;
    } else if (option == "--log") {
      options.logPath = argument();
    } else if (option == "--status") {
      options.faults.status = numberArgument(100, 599);
    } else if (option == "--close-without-answer") {
      options.faults.closeWithoutAnswer = true;
    } else if (option == "--delay-ms") {
      options.faults.delayMs = numberArgument(0, kLongestDelayMs);
    } else if (option == "--startup-delay-ms") {
      options.faults.startUpDelayMs = numberArgument(0, kLongestDelayMs);
    } else if (option == "--hang") {
      options.faults.hung.emplace_back(argument());
    } else if (option == "--eurotel-header") {
      options.faults.eurotelHeader = argument();
    } else if (option == "--serve") {
      const std::string path(argument());
      const auto file = argument();
      const auto text = fileText(file);
      if (!text) fail("cannot read " + std::string(file));
      options.faults.served.emplace_back(path, *text);
    } else if (option == "--redirect-path") {
      const std::string path(argument());
      options.faults.redirected.emplace_back(path, std::string(argument()));
    } else if (option == "--endless") {
      options.faults.endless.emplace_back(argument());
    } else if (option == "--bare-line-feeds") {
      options.faults.bareLineFeeds = true;
    } else if (option == "--log-connections") {
      options.logConnections = true;
    } else {
      fail("unknown option " + std::string(option));
    }
  }
  return options;
}

double nowMs() {
  const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration<double, std::milli>(sinceEpoch).count();
}

// "14:02:11.532" in local time.
std::string clockTime(double timeMs) {
  const auto seconds = static_cast<std::time_t>(timeMs / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<int>(timeMs - seconds * 1000.0));
  return text;
}

// Tells about each request on the terminal and in the log file.
class Reporter {
 public:
  explicit Reporter(const std::string& logPath) {
    if (logPath.empty()) return;
    log_.open(logPath, std::ios::app);
    if (!log_) {
      std::cerr << "movarek-gateway-sim: cannot write to " << logPath << "\n";
      std::exit(1);
    }
  }

  void report(const Request& request, const Answer& answer) {
    std::cout << clockTime(request.timeMs) << " " << readableLine(request) << " => "
              << describe(answer) << std::endl;
    if (log_.is_open()) log_ << jsonLine(request) << std::endl;
  }

  void reportConnection(double timeMs) {
    if (log_.is_open()) log_ << connectionLine(timeMs) << std::endl;
  }

  void reportHeld(std::size_t bytes) {
    std::cout << "an endless answer held after " << bytes << " bytes" << std::endl;
    if (log_.is_open()) log_ << "{\"held\":" << bytes << "}" << std::endl;
  }

 private:
  std::ofstream log_;
};

// "GET /path?query HTTP/1.1" gives "/path?query".
std::string_view requestTarget(std::string_view head) {
  const auto start = head.find(' ');
  if (start == std::string_view::npos) return {};
  const auto end = head.find_first_of(" \r\n", start + 1);
  return head.substr(start + 1, end == std::string_view::npos ? end : end - start - 1);
}

// "http://host:port/path?query" gives "host:port" and "/path?query"; a target in origin form
// stays as it is.
std::pair<std::string, std::string_view> absoluteForm(std::string_view target) {
  constexpr std::string_view kScheme = "http://";
  if (!target.starts_with(kScheme)) return {{}, target};
  const auto rest = target.substr(kScheme.size());
  const auto slash = rest.find('/');
  if (slash == std::string_view::npos) return {std::string(rest), "/"};
  return {std::string(rest.substr(0, slash)), rest.substr(slash)};
}

void sendAll(int connection, std::string_view bytes) {
  while (!bytes.empty()) {
    // MSG_NOSIGNAL: a browser that gave up on a slow answer must not end the simulator.
    const ssize_t sent = send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
}

using Clock = std::chrono::steady_clock;

// One browser connection: its request head as it comes in, then the answer it waits for.
struct Connection {
  int socket;
  std::string head;
  std::optional<Answer> answer;  // set once the whole head has arrived
  Clock::time_point answerAt;
  bool feeding = false;  // an endless answer under way
  std::size_t fed = 0;
  Clock::time_point lastTaken{};
  bool heldTold = false;
};

// Serves every connection from this one thread, in the order they came, so that the log
// lists requests in the order the browser sent them; a delayed answer only sets a time.
class Server {
 public:
  Server(int listener, const Options& options, Reporter& reporter)
      : listener_(listener),
        faults_(options.faults),
        logConnections_(options.logConnections),
        reporter_(reporter) {}

  [[noreturn]] void run() {
    for (;;) {
      auto polled = pollList();
      poll(polled.data(), polled.size(), msUntilNextAnswer());
      if (polled[0].revents & POLLIN) acceptWaiting();
      for (std::size_t i = 1; i < polled.size(); ++i) {
        Connection& connection = connections_[i - 1];
        if (connection.feeding) {
          feed(connection, polled[i].revents);
          continue;
        }
        if (!polled[i].revents) continue;
        if (connection.answer) {
          finish(connection);  // the browser went away while its answer waited
        } else {
          readFrom(connection);
        }
      }
      answerDue();
    }
  }

 private:
  // The listener first, then every connection in their order.
  std::vector<pollfd> pollList() const {
    std::vector<pollfd> polled{{listener_, POLLIN, 0}};
    for (const auto& connection : connections_) {
      const short events = connection.feeding  ? short{POLLOUT}
                           : connection.answer ? short{0}
                                               : short{POLLIN};
      polled.push_back({connection.socket, events, 0});
    }
    return polled;
  }

  int msUntilNextAnswer() const {
    // An endless answer is looked at now and then, to tell when the browser stopped taking it.
    int wait = std::any_of(connections_.begin(), connections_.end(),
                           [](const Connection& c) { return c.feeding; })
                   ? 100
                   : -1;
    for (const auto& connection : connections_) {
      if (!connection.answer || connection.answer->hangs) continue;
      const auto left =
          std::chrono::ceil<std::chrono::milliseconds>(connection.answerAt - Clock::now());
      wait = std::max(0, wait < 0 ? int(left.count()) : std::min(wait, int(left.count())));
    }
    return wait;
  }

  void acceptWaiting() {
    for (;;) {
      const int socket = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (socket < 0) return;  // none left (the listener does not block)
      if (logConnections_) reporter_.reportConnection(nowMs());
      connections_.push_back({socket, {}, std::nullopt, {}});
    }
  }

  void readFrom(Connection& connection) {
    char buffer[4096];
    const ssize_t received = recv(connection.socket, buffer, sizeof buffer, MSG_DONTWAIT);
    if (received == 0 || (received < 0 && errno != EAGAIN)) {
      finish(connection);  // the browser gave up before the whole request came
      return;
    }
    if (received < 0) return;
    connection.head.append(buffer, static_cast<std::size_t>(received));
    if (connection.head.find("\r\n\r\n") == std::string::npos &&
        connection.head.size() < kMaxRequestHead) {
      return;
    }
    const auto [proxiedFor, originForm] = absoluteForm(requestTarget(connection.head));
    const Target target = splitTarget(originForm);
    const Request request{nowMs(), target.path, target.query, proxiedFor};
    connection.answer = answerFor(request, faults_);
    connection.answerAt = Clock::now() + std::chrono::milliseconds(connection.answer->delayMs);
    reporter_.report(request, *connection.answer);
  }

  void answerDue() {
    const auto now = Clock::now();
    for (auto& connection : connections_) {
      if (!connection.answer || connection.answer->hangs || connection.feeding ||
          connection.answerAt > now) {
        continue;
      }
      if (!connection.answer->closeWithoutAnswer) {
        sendAll(connection.socket, httpResponse(*connection.answer));
      }
      if (connection.answer->endless) {
        connection.feeding = true;
        connection.lastTaken = now;
        continue;
      }
      finish(connection);
    }
    std::erase_if(connections_, [](const Connection& c) { return c.socket < 0; });
  }

  // As much of an endless body as the browser takes now; none taken for a second is told once.
  void feed(Connection& connection, short events) {
    static const std::string kPiece(64 * 1024, 'x');
    const auto now = Clock::now();
    if (events & (POLLERR | POLLHUP)) return finish(connection);
    if (events & POLLOUT) {
      const ssize_t sent =
          send(connection.socket, kPiece.data(), kPiece.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
      if (sent < 0 && errno != EAGAIN) return finish(connection);
      if (sent > 0) {
        connection.fed += static_cast<std::size_t>(sent);
        connection.lastTaken = now;
      }
    }
    if (!connection.heldTold && now - connection.lastTaken >= std::chrono::seconds(1)) {
      connection.heldTold = true;
      reporter_.reportHeld(connection.fed);
    }
  }

  static void finish(Connection& connection) {
    close(connection.socket);
    connection.socket = -1;
    connection.answer.reset();
    connection.feeding = false;
  }

  int listener_;
  Faults faults_;
  bool logConnections_;
  Reporter& reporter_;
  std::vector<Connection> connections_;
};

// A socket listening on a loopback address (127.x.x.x: the simulator is never reachable from
// outside); `port` 0 is replaced by the port the system picked.
int listenOnLoopback(const std::string& loopback, int& port) {
  sockaddr_in address{};
  if (inet_pton(AF_INET, loopback.c_str(), &address.sin_addr) != 1 ||
      (ntohl(address.sin_addr.s_addr) >> 24) != 127) {
    std::cerr << "movarek-gateway-sim: not a loopback address: " << loopback << "\n";
    std::exit(2);
  }
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  const int yes = 1;
  setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  socklen_t length = sizeof address;
  if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      listen(listener, SOMAXCONN) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    std::perror("movarek-gateway-sim: cannot listen");
    std::exit(1);
  }
  port = ntohs(address.sin_port);
  return listener;
}

}  // namespace
}  // namespace movarek::gatewaysim

int main(int argc, char** argv) {
  using namespace movarek::gatewaysim;
  Options options = parseOptions(argc, argv);
  Reporter reporter(options.logPath);
  const int listener = listenOnLoopback(options.address, options.port);
  std::cout << "listening on " << options.address << ":" << options.port << std::endl;
  Server(listener, options, reporter).run();
}
