#pragma once
// Loopback TCP as the tests drive it: plain sockets with bounded waits, so that a test sees
// exactly the bytes that cross.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <utility>

namespace movarek::testing {

constexpr int kWaitMs = 10000;

class RawSocket {
 public:
  explicit RawSocket(int fd = -1) : fd_(fd) {}
  RawSocket(RawSocket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  ~RawSocket() {
    if (fd_ >= 0) ::close(fd_);
  }

  // Bound to 127.0.0.1 and `port`: connected to it, or (`listening`) taking connections there.
  static RawSocket at(int port, bool listening = false) {
    RawSocket made(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{
        AF_INET, htons(static_cast<std::uint16_t>(port)), {htonl(INADDR_LOOPBACK)}, {}};
    auto* place = reinterpret_cast<sockaddr*>(&address);
    if (listening) {
      ::bind(made.fd_, place, sizeof address);
      ::listen(made.fd_, 1024);
    } else {
      ::connect(made.fd_, place, sizeof address);
    }
    return made;
  }

  int fd() const { return fd_; }
  void send(std::string_view bytes) const {
    while (!bytes.empty() && waitFor(POLLOUT)) bytes.remove_prefix(sendSome(bytes));
  }
  // As much as it takes now, without waiting.
  std::size_t sendSome(std::string_view bytes) const {
    const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    return std::max<ssize_t>(sent, 0);
  }
  bool waitFor(short events, int ms = kWaitMs) const {
    pollfd polled{fd_, events, 0};
    return ::poll(&polled, 1, ms) > 0 && !(polled.revents & (POLLERR | POLLNVAL));
  }

  // What comes until the other end closes, `count` bytes have come, or nothing comes for the
  // whole wait.
  std::string read(std::size_t count = std::string::npos) const {
    std::string got;
    char buffer[65536];
    ssize_t length = 0;
    while (got.size() < count && waitFor(POLLIN) &&
           (length = ::recv(fd_, buffer, std::min(sizeof buffer, count - got.size()), 0)) > 0) {
      got.append(buffer, static_cast<std::size_t>(length));
    }
    return got;
  }

  // Whether anything came, or the connection ended, by now.
  bool stirred() const {
    pollfd polled{fd_, POLLIN, 0};
    return ::poll(&polled, 1, 0) > 0;
  }

  // A connection made to this listening socket by now, or within `ms`.
  RawSocket accept(int ms = kWaitMs) const {
    return RawSocket(waitFor(POLLIN, ms) ? ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC) : -1);
  }

  int port() const {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
  }

 private:
  int fd_;
};

}  // namespace movarek::testing
