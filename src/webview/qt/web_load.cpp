#include "webview/qt/web_load.h"

#include <QWidget>

namespace movarek {

WebLoad::WebLoad(const QUrl& url, const QUrl& gateway, QWidget& host)
    : QObject(&host), url_(url), gateway_(gateway), host_(host) {}

// The engine's view goes first, so that it reports nothing to a load that is gone.
WebLoad::~WebLoad() {
  if (view_) delete view_->widget();
}

void WebLoad::start(CreateEngineView create) {
  if (over_ || issued_) return;
  issued_ = true;
  if (!create) {
    emit Issued();
    // Told from the event loop, as a real load's end is: never inside the call that sent it.
    QMetaObject::invokeMethod(
        this, [this] { end(LoadFailure{LoadFailure::Kind::NoEngine}); }, Qt::QueuedConnection);
    return;
  }
  view_.reset(create(&host_, EngineView::Kind::Send, gateway_,
                     {[] {},
                      [this](const std::optional<LoadFailure>& failure) { end(failure); },
                      {},
                      {},
                      [this](int, int) { end(LoadFailure{LoadFailure::Kind::EngineFailed}); }}));
  view_->widget()->setGeometry(0, 0, 0, host_.height());
  // Unseen, so out of the keyboard's way: Tab never stops in it.
  view_->widget()->setEnabled(false);
  emit Issued();
  view_->load(url_);
}

void WebLoad::end(const std::optional<LoadFailure>& failure) {
  if (over_) return;
  over_ = true;
  emit Ended(failure);
  // Later, not now: the engine may still be inside the report that ended the load.
  deleteLater();
}

void WebLoad::abandon() {
  if (over_) return;
  over_ = true;
  if (view_) view_->stop();
  deleteLater();
}

}  // namespace movarek
