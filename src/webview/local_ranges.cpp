#include "webview/local_ranges.h"

#include <arpa/inet.h>

#include <algorithm>
#include <string>

namespace movarek {
namespace {

constexpr int kMappedBits = 96;

IpBytes mapped(const std::uint8_t* v4) {
  IpBytes bytes{};
  bytes[10] = bytes[11] = 0xFF;
  std::copy(v4, v4 + 4, bytes.begin() + 12);
  return bytes;
}

bool within(const IpBytes& address, const IpPrefix& prefix) {
  for (int bit = 0; bit < prefix.length; bit += 8) {
    const int bits = std::min(8, prefix.length - bit);
    const auto mask = static_cast<std::uint8_t>(0xFF << (8 - bits));
    if ((address[bit / 8] & mask) != (prefix.network[bit / 8] & mask)) return false;
  }
  return true;
}

// "10.0.0.0" and 8, or "fe80::" and 10.
IpPrefix prefix(std::string_view network, int length) {
  const bool v4 = network.find(':') == std::string_view::npos;
  return {parseIp(network).value_or(IpBytes{}), v4 ? kMappedBits + length : length};
}

// No public server lives in these.
const std::vector<IpPrefix>& localRanges() {
  static const std::vector<IpPrefix> ranges{
      prefix("0.0.0.0", 8),    prefix("10.0.0.0", 8),     prefix("100.64.0.0", 10),
      prefix("127.0.0.0", 8),  prefix("169.254.0.0", 16), prefix("172.16.0.0", 12),
      prefix("192.0.0.0", 24), prefix("192.168.0.0", 16), prefix("198.18.0.0", 15),
      prefix("224.0.0.0", 4),  prefix("240.0.0.0", 4),    prefix("::", 128),
      prefix("::1", 128),      prefix("fc00::", 7),       prefix("fe80::", 10),
      prefix("fec0::", 10),    prefix("ff00::", 8),       prefix("64:ff9b:1::", 48)};
  return ranges;
}

// The IPv4 address an IPv6 one carries: 6to4 (2002:AABB:CCDD::/48), NAT64 (64:ff9b::/96) and
// the old IPv4-compatible form (::a.b.c.d).
std::optional<IpBytes> carriedIpv4(const IpBytes& address) {
  static const IpPrefix sixToFour = prefix("2002::", 16);
  static const IpPrefix nat64 = prefix("64:ff9b::", 96);
  static const IpPrefix compatible = prefix("::", 96);
  if (within(address, sixToFour)) return mapped(address.data() + 2);
  if (within(address, nat64) || within(address, compatible)) {
    return mapped(address.data() + 12);
  }
  return std::nullopt;
}

}  // namespace

std::optional<IpBytes> parseIp(std::string_view text) {
  const std::string zeroEnded(text);
  std::uint8_t bytes[16];
  if (inet_pton(AF_INET, zeroEnded.c_str(), bytes) == 1) return mapped(bytes);
  IpBytes address{};
  if (inet_pton(AF_INET6, zeroEnded.c_str(), address.data()) == 1) return address;
  return std::nullopt;
}

bool isLocalAddress(const IpBytes& address, const std::vector<IpPrefix>& own) {
  const auto in = [&address](const IpPrefix& range) { return within(address, range); };
  if (std::any_of(localRanges().begin(), localRanges().end(), in) ||
      std::any_of(own.begin(), own.end(), in)) {
    return true;
  }
  const auto carried = carriedIpv4(address);
  return carried && isLocalAddress(*carried, own);
}

}  // namespace movarek
