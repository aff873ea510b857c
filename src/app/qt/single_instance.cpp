#include "app/qt/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>

#include "common/diagnostics.h"

namespace movarek {
namespace {

using Clock = std::chrono::steady_clock;

// However the other side behaves, neither copy waits longer than this for it.
constexpr auto kAnswerWait = std::chrono::milliseconds(3000);
constexpr int kAskingWaitMs = 2000;
// "raise\n" and "raised\n" are all that is ever said: anything longer is not one of ours.
constexpr std::size_t kLongestLine = 16;
constexpr std::string_view kRaise = "raise\n";
constexpr std::string_view kRaised = "raised\n";

std::optional<sockaddr_un> socketAddress(const std::string& path) {
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return std::nullopt;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return address;
}

// The other end of a connection is a process of this user.
bool peerIsMine(int connection) {
  ucred peer{};
  socklen_t length = sizeof peer;
  return ::getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
         peer.uid == ::geteuid();
}

// Waits until `fd` is ready for `events` or the deadline has passed.
bool waitFor(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd polled{fd, events, 0};
    const int ready = ::poll(&polled, 1, static_cast<int>(left));
    if (ready > 0) return true;
    if (ready < 0 && errno != EINTR) return false;
  }
}

bool connectBefore(int fd, const sockaddr_un& address, Clock::time_point deadline) {
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return true;
  if (errno != EINPROGRESS && errno != EAGAIN) return false;
  int error = 0;
  socklen_t length = sizeof error;
  return waitFor(fd, POLLOUT, deadline) &&
         ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

// The line the other side sends, up to its line break, if it comes in time and is short.
std::optional<std::string> readLine(int fd, Clock::time_point deadline) {
  std::string line;
  while (line.size() < kLongestLine && !line.ends_with('\n')) {
    if (!waitFor(fd, POLLIN, deadline)) return std::nullopt;
    char buffer[kLongestLine];
    const ssize_t got = ::recv(fd, buffer, kLongestLine - line.size(), MSG_DONTWAIT);
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (got <= 0) return std::nullopt;
    line.append(buffer, static_cast<std::size_t>(got));
  }
  return line;
}

// A connection that says "raise" in time is answered; any other is closed.
class Asking : public QObject {
 public:
  Asking(int fd, std::function<void()> raise, QObject* parent)
      : QObject(parent), fd_(fd), raise_(std::move(raise)), readable_(fd, QSocketNotifier::Read) {
    connect(&readable_, &QSocketNotifier::activated, this, &Asking::read);
    QTimer::singleShot(kAskingWaitMs, this, &QObject::deleteLater);
  }
  ~Asking() override { ::close(fd_); }

 private:
  void read() {
    char buffer[kLongestLine];
    const ssize_t got = ::recv(fd_, buffer, kLongestLine - said_.size(), MSG_DONTWAIT);
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (got > 0) said_.append(buffer, static_cast<std::size_t>(got));
    const bool moreToCome = got > 0 && !said_.ends_with('\n') && said_.size() < kLongestLine;
    if (moreToCome) return;
    readable_.setEnabled(false);
    if (said_ == kRaise) {
      if (raise_) raise_();
      ::send(fd_, kRaised.data(), kRaised.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    }
    deleteLater();
  }

  int fd_;
  std::function<void()> raise_;
  QSocketNotifier readable_;
  std::string said_;
};

}  // namespace

SingleInstance::SingleInstance(const std::string& dataFolder, QObject* parent) : QObject(parent) {
  const auto runtime = privateRuntimeFolder([](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  });
  if (!runtime) {
    logFault(
        "no private folder for the one-copy endpoint: copies of the program are not kept apart");
    return;
  }
  endpoint_ = instanceEndpoint(*runtime, dataFolder);
  lock_ = ::open(endpoint_.lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lock_ < 0) {
    logFault("cannot open the lock " + endpoint_.lock + ": " + systemReason(errno));
    return;
  }
  if (::flock(lock_, LOCK_EX | LOCK_NB) != 0) {
    heldByAnother_ = errno == EWOULDBLOCK;
    if (!heldByAnother_) logFault("cannot lock " + endpoint_.lock + ": " + systemReason(errno));
    return;
  }
  holdsFolder_ = true;
  listen();
}

SingleInstance::~SingleInstance() {
  if (listener_ >= 0) {
    ::close(listener_);
    ::unlink(endpoint_.socket.c_str());
  }
  if (lock_ >= 0) ::close(lock_);
}

// The lock is this copy's: a socket left by a copy that was killed is its own to replace.
void SingleInstance::listen() {
  const auto address = socketAddress(endpoint_.socket);
  if (!address) return;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  ::unlink(endpoint_.socket.c_str());
  if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
      ::listen(fd, 4) != 0) {
    logFault("cannot listen on " + endpoint_.socket + ": " + systemReason(errno));
    if (fd >= 0) ::close(fd);
    return;
  }
  listener_ = fd;
  auto* incoming = new QSocketNotifier(listener_, QSocketNotifier::Read, this);
  connect(incoming, &QSocketNotifier::activated, this, &SingleInstance::acceptAsking);
}

void SingleInstance::acceptAsking() {
  for (;;) {
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (connection < 0) return;
    if (peerIsMine(connection)) {
      new Asking(connection, raise_, this);
    } else {
      ::close(connection);
    }
  }
}

bool SingleInstance::raiseRunningCopy() const {
  const auto address = socketAddress(endpoint_.socket);
  if (!heldByAnother_ || !address) return false;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  const auto deadline = Clock::now() + kAnswerWait;
  const bool raised = connectBefore(fd, *address, deadline) && peerIsMine(fd) &&
                      ::send(fd, kRaise.data(), kRaise.size(), MSG_NOSIGNAL) ==
                          static_cast<ssize_t>(kRaise.size()) &&
                      readLine(fd, deadline) == kRaised;
  ::close(fd);
  if (!raised) logFault("the running copy did not answer on " + endpoint_.socket);
  return raised;
}

}  // namespace movarek
