// The web engine's side of the browser control: built as a module of its own, so that the
// program starts without loading the engine.
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>
#include <tuple>

#include "common/engine_error.h"
#include "webview/module/engine_profiles.h"
#include "webview/module/gatekeeper.h"
#include "webview/module/guest_page.h"
#include "webview/module/guest_view.h"
#include "webview/module/send_page.h"
#include "webview/qt/engine_view.h"

namespace movarek {
namespace {

// A load the engine stopped ended with the gateway's answer: one without a page (no content,
// a download).
std::optional<LoadFailure> failureOf(const QWebEngineLoadingInfo& info) {
  if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus) return std::nullopt;
  // An HTTP status comes as itself, the engine's own network errors as negative numbers.
  const int code = info.errorCode();
  return LoadFailure{code > 0 ? LoadFailure::Kind::HttpStatus : LoadFailure::Kind::NetworkError,
                     code};
}

// A send's end: an answer counts only when it came from the gateway itself, not from a server
// its redirect pointed to, nor from one that took the gateway's address on the way.
// The gatekeeper answers a request it could not pass on with status 502, and keeps its real
// failure.
std::optional<LoadFailure> sendEndOf(const SendPage& page, const QWebEngineLoadingInfo& info,
                                     const QUrl& gateway) {
  QString foreign = page.redirectedAwayTo();
  if (foreign.isEmpty() && !onGateway(info.url(), gateway)) foreign = serverOf(info.url());
  if (!foreign.isEmpty()) {
    return LoadFailure{LoadFailure::Kind::ForeignAnswer, 0, foreign.toStdString()};
  }
  auto failure = failureOf(info);
  if (failure && failure->kind == LoadFailure::Kind::HttpStatus && failure->code == 502) {
    if (const auto kept = Gatekeeper::forGateway(gateway).takeFailure(info.url())) {
      failure = LoadFailure{LoadFailure::Kind::NetworkError, *kept};
    }
  }
  return failure;
}

// `told` runs from the event loop, once the engine's call that reports it has returned; not at
// all when `context` is gone by then.
template <typename... Args>
std::function<void(Args...)> later(QObject* context, std::function<void(Args...)> told) {
  return [context, told = std::move(told)](Args... args) {
    QMetaObject::invokeMethod(
        context,
        [told, args = std::make_tuple(std::decay_t<Args>(args)...)] { std::apply(told, args); },
        Qt::QueuedConnection);
  };
}

EngineView::Events toldLater(QObject* context, const EngineView::Events& events) {
  return {later(context, events.documentComplete), later(context, events.loadEnded),
          later(context, events.tellUser), later(context, events.openOutside),
          later(context, events.rendererEnded)};
}

class WebEngineView final : public EngineView {
 public:
  WebEngineView(QWidget* parent, Kind kind, const QUrl& gateway, const Events& events)
      : gateway_(gateway) {
    std::function<std::optional<LoadFailure>(const QWebEngineLoadingInfo&)> endOf = failureOf;
    if (kind == Kind::Send) {
      view_ = new QWebEngineView(parent);
      events_ = toldLater(view_, events);
      auto* page = new SendPage(gateway, view_);
      view_->setPage(page);
      endOf = [page, gateway](const QWebEngineLoadingInfo& info) {
        return sendEndOf(*page, info, gateway);
      };
    } else {
      auto* guest = new GuestView(parent);
      view_ = guest;
      events_ = toldLater(view_, events);
      guest->setGuestPage(new GuestPage(gateway, events_, *guest, guest));
    }
    QObject::connect(view_, &QWebEngineView::loadFinished, view_,
                     [complete = events_.documentComplete] { complete(); });
    QObject::connect(view_->page(), &QWebEnginePage::loadingChanged, view_,
                     [ended = events_.loadEnded, endOf](const QWebEngineLoadingInfo& info) {
                       if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus) {
                         ended(endOf(info));
                       }
                     });
    QObject::connect(view_->page(), &QWebEnginePage::renderProcessTerminated, view_,
                     [ended = events_.rendererEnded](
                         QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                       ended(static_cast<int>(status), exitCode);
                     });
  }

  QWidget* widget() override { return view_; }
  // Without its gatekeeper the engine would reach the network as it liked: nothing loads then.
  void load(const QUrl& url) override {
    if (Gatekeeper::forGateway(gateway_).port() == 0) {
      return events_.loadEnded(
          LoadFailure{LoadFailure::Kind::NetworkError, engine_error::kProxyConnectionFailed});
    }
    view_->load(url);
  }
  void stop() override { view_->stop(); }

 private:
  QUrl gateway_;
  QWebEngineView* view_;  // owned by its parent
  Events events_;
};

}  // namespace
}  // namespace movarek

extern "C" Q_DECL_EXPORT movarek::EngineView* movarekCreateEngineView(
    QWidget* parent, movarek::EngineView::Kind kind, const QUrl& gateway,
    movarek::EngineView::Events events) {
  return new movarek::WebEngineView(parent, kind, gateway, events);
}

static_assert(std::is_same_v<decltype(&movarekCreateEngineView), movarek::CreateEngineView>);
