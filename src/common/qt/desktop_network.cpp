#include "common/qt/desktop_network.h"

#include "common/qt/log.h"

namespace movarek {
namespace {

bool reachable(QNetworkInformation::Reachability reachability) {
  return reachability == QNetworkInformation::Reachability::Site ||
         reachability == QNetworkInformation::Reachability::Online;
}

}  // namespace

DesktopNetwork& DesktopNetwork::instance() {
  static DesktopNetwork network;
  return network;
}

void DesktopNetwork::listen() {
  if (standIn_ || std::exchange(listening_, true)) return;
  if (!QNetworkInformation::loadBackendByName(u"networkmanager") &&
      !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
    qCInfo(movarekLog) << "the desktop tells nothing of the network";
    return;
  }
  QNetworkInformation* information = QNetworkInformation::instance();
  last_ = information->reachability();
  connect(information, &QNetworkInformation::reachabilityChanged, this, [this](Reachability now) {
    const bool wasReachable = reachable(std::exchange(last_, now));
    qCInfo(movarekLog) << "the network's reachability:" << now;
    if (reachable(now) && !wasReachable && !standIn_) emit back();
  });
}

}  // namespace movarek
