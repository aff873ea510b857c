#include "webview/module/send_page.h"

#include <QWebEngineLoadingInfo>
#include <utility>

#include "webview/module/engine_profiles.h"

namespace movarek {

SendPage::SendPage(const QUrl& gateway, QObject* parent)
    : QWebEnginePage(&sendProfile(gateway), parent), gateway_(gateway) {
  connect(this, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
    if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus) answered_ = true;
  });
}

bool SendPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
  if (answered_ || !isMainFrame) return false;
  if (type == NavigationTypeRedirect) {
    if (!requested_) return false;
    if (onGateway(url, gateway_)) return true;
    redirectedAwayTo_ = serverOf(url);
    return false;
  }
  return onGateway(url, gateway_) && !std::exchange(requested_, true);
}

QString serverOf(const QUrl& url) {
  const QString host = url.host(QUrl::EncodeUnicode);
  return url.port() < 0 ? host : host + QLatin1Char(':') + QString::number(url.port());
}

}  // namespace movarek
