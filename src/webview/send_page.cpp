#include "webview/send_page.h"

#include <utility>

#include "webview/engine_profiles.h"

namespace movarek {

SendPage::SendPage(const QUrl& gateway, QObject* parent)
    : QWebEnginePage(&sendProfile(), parent), gateway_(gateway) {}

bool SendPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
  if (!isMainFrame || !onGateway(url, gateway_)) return false;
  if (type == NavigationTypeRedirect) return true;
  return !std::exchange(requested_, true);
}

}  // namespace movarek
