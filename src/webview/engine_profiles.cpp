#include "webview/engine_profiles.h"

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
  QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
  // The pages of one profile share a renderer process, not one each: a third less memory.
  // The engine's own pages (a page that cannot be reached) speak Czech, as the program does,
  // whatever the desktop's language.
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
          qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --process-per-site --lang=cs");
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

QWebEngineProfile& guestProfile() {
  static QWebEngineProfile* const profile = [] {
    QWebEngineProfile* created = gatewayProfile();
    QWebEngineSettings* settings = created->settings();
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
