#include "send/send_watch.h"

#include "webview/web_browser.h"
#include "webview/web_load.h"

namespace movarek {
namespace {

constexpr int kAnswerWaitMs = 10000;

}  // namespace

SendWatch::SendWatch(TCppWebBrowser& browser, QObject* parent)
    : QObject(parent), browser_(browser) {
  noAnswer_.setSingleShot(true);
  noAnswer_.setInterval(kAnswerWaitMs);
  connect(&noAnswer_, &QTimer::timeout, this, [this] {
    load_->abandon();
    ended(LoadFailure{LoadFailure::Kind::NoAnswer});
  });
}

void SendWatch::send(const std::string& cp1250Url) {
  load_ = browser_.Send(cp1250Url);
  // The answer is waited for from when the request has really gone out: a send asked for
  // before the web engine has started waits for it first.
  connect(load_, &WebLoad::Issued, &noAnswer_, qOverload<>(&QTimer::start));
  connect(load_, &WebLoad::Ended, this, &SendWatch::ended);
  if (load_->issued()) noAnswer_.start();
}

void SendWatch::ended(const std::optional<LoadFailure>& failure) {
  noAnswer_.stop();
  load_ = nullptr;
  if (failure) {
    emit failed(*failure);
  } else {
    emit delivered();
  }
}

}  // namespace movarek
