#pragma once
// Whether an address is on this computer or its local network, as this machine sees it: the
// ranges no public server lives in (private, shared, loopback, link-local, benchmarking,
// multicast, reserved, the protocols' own), the same ranges carried inside 6to4 and NAT64
// addresses, and every network the machine's own interfaces are on, public ones included.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace movarek {

// An address as its sixteen bytes; an IPv4 address in its IPv4-mapped form (::ffff:a.b.c.d).
using IpBytes = std::array<std::uint8_t, 16>;

struct IpPrefix {
  IpBytes network;
  int length = 0;  // of the sixteen bytes' 128 bits: an IPv4 prefix of 24 is 120
};

// "192.168.1.1" or "fe80::1"; none for what is neither.
std::optional<IpBytes> parseIp(std::string_view text);

// `own` holds the networks of this machine's interfaces.
bool isLocalAddress(const IpBytes& address, const std::vector<IpPrefix>& own);

}  // namespace movarek
