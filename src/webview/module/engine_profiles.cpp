#include "webview/module/engine_profiles.h"

#include <QCoreApplication>
#include <QNetworkProxyFactory>
#include <QQuickWindow>
#include <QUrl>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <string>
#include <utility>
#include <vector>

#include "webview/engine_flags.h"
#include "webview/module/gatekeeper.h"
#include "webview/module/module_log.h"

namespace movarek {
namespace {

// The program's switches, which the engine takes over the user's own. The pages of one profile
// share a renderer process, not one each: a third less memory. The engine's own pages (a page
// that cannot be reached) speak Czech, as the program does, whatever the desktop's language.
// Every connection goes through the gatekeeper, loopback included, and the engine looks no
// name up at all: every load goes to the gatekeeper by its address, and a real-time
// connection's servers and candidates are never looked up (nor this computer's own addresses
// hidden behind names it would announce on the local network), and use no UDP of their own.
std::vector<std::string> ownSwitches(quint16 gatekeeperPort) {
  return {"--process-per-site",
          "--lang=cs",
          "--proxy-server=http://127.0.0.1:" + std::to_string(gatekeeperPort),
          "--proxy-bypass-list=<-loopback>",
          "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1",
          "--force-webrtc-ip-handling-policy=disable_non_proxied_udp",
          "--disable-features=WebRtcHideLocalIpsWithMdns"};
}

// Before the engine starts with the first profile, which is when it reads its flags.
void prepareEngine(const QUrl& gateway) {
  static bool prepared = false;
  if (std::exchange(prepared, true)) return;
  // The views are drawn by the widgets' own painter, not through OpenGL: the first view
  // placed in the shown window would otherwise make Qt build the window anew (it blinks and
  // drops the keyboard focus for a moment), and the gateway's pages have nothing to gain.
  QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
  // The engine takes the proxy of its command line, which goes before the system's, once it
  // is told to look beyond Qt's own proxy setting (which would let loopback and single names
  // by).
  const Gatekeeper& keeper = Gatekeeper::forGateway(gateway);
  QNetworkProxyFactory::setUseSystemConfiguration(true);
  const EngineFlags flags =
      engineFlags(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").toStdString(), ownSwitches(keeper.port()));
  if (!flags.dropped.empty()) {
    QStringList dropped;
    for (const std::string& token : flags.dropped) dropped << QString::fromStdString(token);
    qCWarning(moduleLog).noquote()
        << "the web engine's flags of QTWEBENGINE_CHROMIUM_FLAGS left out, so that every "
           "connection passes the gatekeeper:"
        << dropped.join(QLatin1Char(' '));
  }
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", QByteArray::fromStdString(flags.value));
  // Nothing but the program drives its engine.
  qunsetenv("QTWEBENGINE_REMOTE_DEBUGGING");
}

// Off the record (no storage name): nothing of it is written to disk.
QWebEngineProfile* gatewayProfile(const QUrl& gateway) {
  prepareEngine(gateway);
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

// Blocks everything a page refers to: only the page asked for is fetched, marked for the
// gatekeeper as a send's, which it counts apart from the shown page's.
class RequestedPageOnly : public QWebEngineUrlRequestInterceptor {
 public:
  RequestedPageOnly(const QByteArray& mark, QObject* parent)
      : QWebEngineUrlRequestInterceptor(parent), mark_(mark) {}

  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    info.block(info.resourceType() != QWebEngineUrlRequestInfo::ResourceTypeMainFrame);
    info.setHttpHeader(kSendMarkHeader, mark_);
  }

 private:
  QByteArray mark_;
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

QWebEngineProfile& sendProfile(const QUrl& gateway) {
  const QByteArray& mark = Gatekeeper::forGateway(gateway).sendMark();
  static QWebEngineProfile* const profile = [&gateway, &mark] {
    QWebEngineProfile* created = gatewayProfile(gateway);
    created->setUrlRequestInterceptor(new RequestedPageOnly(mark, created));
    created->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    return created;
  }();
  return *profile;
}

QWebEngineProfile& guestProfile(const QUrl& gateway) {
  static auto* const interceptor = new GatewayOnly(QCoreApplication::instance());
  interceptor->setGateway(gateway);
  Gatekeeper::forGateway(gateway);
  static QWebEngineProfile* const profile = [&gateway] {
    QWebEngineProfile* created = gatewayProfile(gateway);
    created->setUrlRequestInterceptor(interceptor);
    QWebEngineSettings* settings = created->settings();
    // Real-time connections, should the page open one, look for no address of this computer's
    // own; what they send goes through the gatekeeper, which lets none of it by.
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
