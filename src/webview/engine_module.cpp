// The web engine's side of the browser control: built as a module of its own, so that the
// program starts without loading the engine.
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

#include "webview/engine_view.h"
#include "webview/guest_page.h"
#include "webview/guest_view.h"
#include "webview/send_page.h"

namespace movarek {
namespace {

// A load the engine stopped ended with the gateway's answer: one without a page (no content,
// a download) or a redirect to another host, which the view does not follow.
std::optional<LoadFailure> failureOf(const QWebEngineLoadingInfo& info) {
  if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus) return std::nullopt;
  // An HTTP status comes as itself, the engine's own network errors as negative numbers.
  const int code = info.errorCode();
  return LoadFailure{code > 0 ? LoadFailure::Kind::HttpStatus : LoadFailure::Kind::NetworkError,
                     code};
}

QWebEngineView* sendView(QWidget* parent, const QUrl& gateway) {
  auto* view = new QWebEngineView(parent);
  view->setPage(new SendPage(gateway, view));
  return view;
}

QWebEngineView* guestView(QWidget* parent, const QUrl& gateway, const EngineView::Events& events) {
  auto* view = new GuestView(parent);
  view->setGuestPage(new GuestPage(gateway, events, *view, view));
  return view;
}

class WebEngineView final : public EngineView {
 public:
  WebEngineView(QWidget* parent, Kind kind, const QUrl& gateway, const Events& events)
      : view_(kind == Kind::Send ? sendView(parent, gateway) : guestView(parent, gateway, events)) {
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
    QWidget* parent, movarek::EngineView::Kind kind, const QUrl& gateway,
    movarek::EngineView::Events events) {
  return new movarek::WebEngineView(parent, kind, gateway, events);
}

static_assert(std::is_same_v<decltype(&movarekCreateEngineView), movarek::CreateEngineView>);
