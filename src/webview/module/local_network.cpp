#include "webview/module/local_network.h"

#include <QNetworkInterface>
#include <algorithm>

#include "webview/local_ranges.h"

namespace movarek {
namespace {

constexpr int kMappedBits = 96;

IpBytes bytesOf(const QHostAddress& address) {
  // An IPv4 address comes in its IPv4-mapped form.
  const Q_IPV6ADDR v6 = address.toIPv6Address();
  IpBytes bytes{};
  std::copy(std::begin(v6.c), std::end(v6.c), bytes.begin());
  return bytes;
}

std::vector<IpPrefix> ownNetworks() {
  std::vector<IpPrefix> networks;
  for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
    for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
      const QHostAddress& ip = entry.ip();
      const bool v4 = ip.protocol() == QAbstractSocket::IPv4Protocol;
      // An address whose network the system does not say stands for itself alone.
      const int prefix = entry.prefixLength();
      networks.push_back(
          {bytesOf(ip), prefix < 0 ? 128 : std::min(128, prefix + (v4 ? kMappedBits : 0))});
    }
  }
  return networks;
}

}  // namespace

bool onLocalNetwork(const QHostAddress& address) {
  return isLocalAddress(bytesOf(address), ownNetworks());
}

}  // namespace movarek
