#include <QDebug>
#include <QNetworkInformation>

#include "common/qt/network_module.h"

namespace {

bool reachable(QNetworkInformation::Reachability reachability) {
  return reachability == QNetworkInformation::Reachability::Site ||
         reachability == QNetworkInformation::Reachability::Online;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) bool movarekListenToNetwork(
    QObject& receiver, movarek::NetworkChanged changed, bool& reachableNow) {
  if (!QNetworkInformation::loadBackendByName(u"networkmanager") &&
      !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
    return false;
  }
  QNetworkInformation* information = QNetworkInformation::instance();
  reachableNow = reachable(information->reachability());
  QObject::connect(information, &QNetworkInformation::reachabilityChanged, &receiver,
                   [changed = std::move(changed)](QNetworkInformation::Reachability now) {
                     QString told;
                     QDebug(&told).nospace() << now;
                     changed(reachable(now), told);
                   });
  return true;
}
