#include "webview/module/engine_profiles.h"

#include <QCoreApplication>
#include <QQuickWindow>
#include <QUrl>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <utility>

namespace movarek {
namespace {

// Before the engine starts with the first profile.
void prepareEngine() {
  static bool prepared = false;
  if (std::exchange(prepared, true)) return;
  // The views are drawn by the widgets' own painter, not through OpenGL: the first view
  // placed in the shown window would otherwise make Qt build the window anew (it blinks and
  // drops the keyboard focus for a moment), and the gateway's pages have nothing to gain.
  // The engine's process flags are the starter's: it keeps the user's own apart from them.
  QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

// Off the record (no storage name): nothing of it is written to disk.
QWebEngineProfile* gatewayProfile() {
  prepareEngine();
  auto* profile = new QWebEngineProfile(QCoreApplication::instance());
  // A send repeated word for word must reach the gateway again, not come from a cache.
  profile->setHttpCacheType(QWebEngineProfile::NoCache);
  profile->setHttpAcceptLanguage(QStringLiteral("cs"));
  profile->setSpellCheckEnabled(false);
  // Nothing a page offers is saved anywhere.
  QObject::connect(profile, &QWebEngineProfile::downloadRequested, profile,
                   [](QWebEngineDownloadRequest* download) { download->cancel(); });
  QWebEngineSettings* settings = profile->settings();
  // The gateway's pages are requests, not sites to remember: no icons fetched for them.
  settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
  settings->setAttribute(QWebEngineSettings::TouchIconsEnabled, false);
  settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
  settings->setAttribute(QWebEngineSettings::HyperlinkAuditingEnabled, false);
  settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
  settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  return profile;
}

// Blocks everything a page refers to: only the page asked for is fetched.
class RequestedPageOnly : public QWebEngineUrlRequestInterceptor {
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    info.block(info.resourceType() != QWebEngineUrlRequestInfo::ResourceTypeMainFrame);
  }
};

// Every request of the shown page (a frame, an image, a script, fetch, a beacon, EventSource,
// a WebSocket) goes to the gateway's own host and port, or nowhere: a page from the network
// never reaches the user's router or another service of the local network through the program.
class GatewayOnly : public QWebEngineUrlRequestInterceptor {
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

  void setGateway(const QUrl& gateway) { gateway_ = gateway; }

  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    const QUrl& url = info.requestUrl();
    const bool socket = url.scheme() == QLatin1String("ws") && url.host() == gateway_.host() &&
                        url.port(80) == gateway_.port(80);
    info.block(!socket && !onGateway(url, gateway_));
  }

 private:
  QUrl gateway_;
};

}  // namespace

QWebEngineProfile& sendProfile() {
  static QWebEngineProfile* const profile = [] {
    QWebEngineProfile* created = gatewayProfile();
    created->setUrlRequestInterceptor(new RequestedPageOnly(created));
    created->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    return created;
  }();
  return *profile;
}

QWebEngineProfile& guestProfile(const QUrl& gateway) {
  static auto* const interceptor = new GatewayOnly(QCoreApplication::instance());
  interceptor->setGateway(gateway);
  static QWebEngineProfile* const profile = [] {
    QWebEngineProfile* created = gatewayProfile();
    created->setUrlRequestInterceptor(interceptor);
    QWebEngineSettings* settings = created->settings();
    // Real-time connections, should the page open one, go out through a proxy or not at all.
    settings->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
    for (const auto refused :
         {QWebEngineSettings::JavascriptCanOpenWindows,
          QWebEngineSettings::JavascriptCanAccessClipboard, QWebEngineSettings::JavascriptCanPaste,
          QWebEngineSettings::AllowWindowActivationFromJavaScript,
          QWebEngineSettings::FullScreenSupportEnabled, QWebEngineSettings::ScreenCaptureEnabled,
          QWebEngineSettings::AllowGeolocationOnInsecureOrigins,
          QWebEngineSettings::NavigateOnDropEnabled, QWebEngineSettings::WebGLEnabled,
          QWebEngineSettings::FocusOnNavigationEnabled}) {
      settings->setAttribute(refused, false);
    }
    return created;
  }();
  return *profile;
}

bool onGateway(const QUrl& url, const QUrl& gateway) {
  return url.scheme() == QLatin1String("http") && url.host() == gateway.host() &&
         url.port(80) == gateway.port(80);
}

}  // namespace movarek
