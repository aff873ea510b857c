#include "common/qt/desktop_network.h"

#include "common/qt/log.h"
#include "common/qt/network_module.h"
#include "common/qt/program_module.h"

#include <utility>

namespace movarek {

DesktopNetwork& DesktopNetwork::instance() {
  static DesktopNetwork network;
  return network;
}

void DesktopNetwork::listen() {
  if (standIn_ || std::exchange(listening_, true)) return;
  const auto listenToNetwork = reinterpret_cast<ListenToNetwork>(
      programModuleEntry(MOVAREK_NETWORK_MODULE, kListenToNetworkSymbol));
  const auto changed = [this](bool reachable, const QString& told) {
    const bool wasReachable = std::exchange(reachable_, reachable);
    qCInfo(movarekLog).noquote() << "the network's reachability:" << told;
    if (reachable && !wasReachable && !standIn_) emit back();
  };
  if (!listenToNetwork || !listenToNetwork(*this, changed, reachable_)) {
    qCInfo(movarekLog) << "the desktop tells nothing of the network";
  }
}

}  // namespace movarek
