// The web engine's side of the browser control: built as a module of its own, so that the
// program starts without loading the engine.
#include <QCoreApplication>
#include <QQuickWindow>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include "webview/engine_view.h"

namespace movarek {
namespace {

// The one profile every view shares: off the record (no storage name), nothing written to disk.
QWebEngineProfile& gatewayProfile() {
  static QWebEngineProfile* const profile = [] {
    // The views are drawn by the widgets' own painter, not through OpenGL: the first view
    // placed in the shown window would otherwise make Qt build the window anew (it blinks and
    // drops the keyboard focus for a moment), and the gateway's pages have nothing to gain.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    // Every gateway page in one renderer process, not one each: a third less memory.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --process-per-site");
    auto* created = new QWebEngineProfile(QCoreApplication::instance());
    // A send repeated word for word must reach the gateway again, not come from a cache.
    created->setHttpCacheType(QWebEngineProfile::NoCache);
    // The gateway's pages are requests, not sites to remember: no icons fetched for them.
    created->settings()->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    return created;
  }();
  return *profile;
}

// Blocks everything a page refers to: only the page asked for is fetched.
class RequestedPageOnly : public QWebEngineUrlRequestInterceptor {
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    info.block(info.resourceType() != QWebEngineUrlRequestInfo::ResourceTypeMainFrame);
  }
};

std::optional<LoadFailure> failureOf(const QWebEngineLoadingInfo& info) {
  if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus) return std::nullopt;
  // An HTTP status comes as itself, the engine's own network errors as negative numbers.
  const int code = info.errorCode();
  return LoadFailure{code > 0 ? LoadFailure::Kind::HttpStatus : LoadFailure::Kind::NetworkError,
                     code};
}

class WebEngineView final : public EngineView {
 public:
  WebEngineView(QWidget* parent, bool hidden, const Events& events)
      : view_(new QWebEngineView(&gatewayProfile(), parent)) {
    if (hidden) {
      view_->page()->setUrlRequestInterceptor(new RequestedPageOnly(view_));
      view_->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    }
    QObject::connect(view_, &QWebEngineView::loadFinished, view_,
                     [complete = events.documentComplete] { complete(); });
    QObject::connect(view_->page(), &QWebEnginePage::loadingChanged, view_,
                     [ended = events.loadEnded](const QWebEngineLoadingInfo& info) {
                       if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus) {
                         ended(failureOf(info));
                       }
                     });
  }

  QWidget* widget() override { return view_; }
  void load(const QUrl& url) override { view_->load(url); }
  void stop() override { view_->stop(); }

 private:
  QWebEngineView* view_;  // owned by its parent
};

}  // namespace
}  // namespace movarek

extern "C" Q_DECL_EXPORT movarek::EngineView* movarekCreateEngineView(
    QWidget* parent, bool hidden, movarek::EngineView::Events events) {
  return new movarek::WebEngineView(parent, hidden, events);
}

static_assert(std::is_same_v<decltype(&movarekCreateEngineView), movarek::CreateEngineView>);
