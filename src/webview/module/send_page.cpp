#include "webview/module/send_page.h"

#include <QWebEngineLoadingInfo>
#include <utility>

#include "webview/module/engine_profiles.h"

namespace movarek {

SendPage::SendPage(const QUrl& gateway, QObject* parent)
    : QWebEnginePage(&sendProfile(), parent), gateway_(gateway) {
  connect(this, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
    if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus) answered_ = true;
  });
}

bool SendPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
  if (answered_ || !isMainFrame || !onGateway(url, gateway_)) return false;
  if (type == NavigationTypeRedirect) return requested_;
  return !std::exchange(requested_, true);
}

}  // namespace movarek
