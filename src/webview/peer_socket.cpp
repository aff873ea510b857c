#include "webview/peer_socket.h"

#include <dirent.h>
#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>

namespace movarek {
namespace {

struct Owner {
  unsigned uid = 0;
  unsigned long inode = 0;
};

// The socket whose own end is `own` and whose other end is `other`, as the kernel's socket
// diagnostics find it; none when they cannot be asked or do not know it.
std::optional<Owner> diagnosedOwner(const sockaddr_in& own, const sockaddr_in& other) {
  const int diagnostics = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
  if (diagnostics < 0) return std::nullopt;
  struct {
    nlmsghdr header;
    inet_diag_req_v2 request;
  } asked{};
  asked.header.nlmsg_len = sizeof asked;
  asked.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
  asked.header.nlmsg_flags = NLM_F_REQUEST;
  asked.request.sdiag_family = AF_INET;
  asked.request.sdiag_protocol = IPPROTO_TCP;
  asked.request.idiag_states = ~0U;
  asked.request.id.idiag_sport = own.sin_port;
  asked.request.id.idiag_dport = other.sin_port;
  asked.request.id.idiag_src[0] = own.sin_addr.s_addr;
  asked.request.id.idiag_dst[0] = other.sin_addr.s_addr;
  asked.request.id.idiag_cookie[0] = asked.request.id.idiag_cookie[1] = INET_DIAG_NOCOOKIE;
  sockaddr_nl kernel{};
  kernel.nl_family = AF_NETLINK;
  std::optional<Owner> owner;
  alignas(nlmsghdr) char answer[8192];
  if (::sendto(diagnostics, &asked, sizeof asked, 0, reinterpret_cast<sockaddr*>(&kernel),
               sizeof kernel) == static_cast<ssize_t>(sizeof asked)) {
    const ssize_t length = ::recv(diagnostics, answer, sizeof answer, 0);
    const auto* header = reinterpret_cast<const nlmsghdr*>(answer);
    if (length >= static_cast<ssize_t>(NLMSG_LENGTH(sizeof(inet_diag_msg))) &&
        header->nlmsg_type == SOCK_DIAG_BY_FAMILY) {
      const auto* found = static_cast<const inet_diag_msg*>(NLMSG_DATA(header));
      owner = Owner{found->idiag_uid, found->idiag_inode};
    }
  }
  ::close(diagnostics);
  return owner;
}

// The same socket found in /proc/net/tcp: "sl local rem st queues tr retrnsmt uid timeout
// inode", the addresses as the hexadecimal of their bytes in memory and the ports' numbers.
std::optional<Owner> listedOwner(const sockaddr_in& own, const sockaddr_in& other) {
  const auto place = [](const sockaddr_in& end) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X:%04X", end.sin_addr.s_addr, ntohs(end.sin_port));
    return std::string(text);
  };
  std::ifstream table("/proc/net/tcp");
  std::string line;
  std::getline(table, line);
  while (std::getline(table, line)) {
    char local[32], remote[32];
    unsigned uid = 0;
    unsigned long inode = 0;
    if (std::sscanf(line.c_str(), "%*s %31s %31s %*s %*s %*s %*s %u %*s %lu", local, remote, &uid,
                    &inode) == 4 &&
        local == place(own) && remote == place(other)) {
      return Owner{uid, inode};
    }
  }
  return std::nullopt;
}

// Whether a file this process has open is the socket `inode`; none when that cannot be read.
std::optional<bool> openHere(unsigned long inode) {
  DIR* files = ::opendir("/proc/self/fd");
  if (!files) return std::nullopt;
  const std::string wanted = "socket:[" + std::to_string(inode) + "]";
  bool found = false;
  while (const dirent* entry = ::readdir(files)) {
    char target[64];
    const ssize_t length = ::readlinkat(::dirfd(files), entry->d_name, target, sizeof target);
    if (length > 0 && std::string(target, static_cast<std::size_t>(length)) == wanted) {
      found = true;
      break;
    }
  }
  ::closedir(files);
  return found;
}

}  // namespace

PeerSocket peerSocketOf(int connection) {
  sockaddr_in here{};
  sockaddr_in peer{};
  socklen_t hereLength = sizeof here;
  socklen_t peerLength = sizeof peer;
  if (::getsockname(connection, reinterpret_cast<sockaddr*>(&here), &hereLength) != 0 ||
      ::getpeername(connection, reinterpret_cast<sockaddr*>(&peer), &peerLength) != 0 ||
      here.sin_family != AF_INET || peer.sin_family != AF_INET) {
    return PeerSocket::Unknown;
  }
  auto owner = diagnosedOwner(peer, here);
  if (!owner) owner = listedOwner(peer, here);
  if (!owner || owner->inode == 0) return PeerSocket::Unknown;
  if (owner->uid != ::geteuid()) return PeerSocket::AnotherUser;
  const auto ours = openHere(owner->inode);
  if (!ours) return PeerSocket::Unknown;
  return *ours ? PeerSocket::ThisProcess : PeerSocket::AnotherProcess;
}

}  // namespace movarek
