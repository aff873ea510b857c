#include "send/send_watch.h"

#include "webview/web_browser.h"

namespace movarek {
namespace {

constexpr int kAnswerWaitMs = 10000;

}  // namespace

SendWatch::SendWatch(TCppWebBrowser& browser, QObject* parent)
    : QObject(parent), browser_(browser) {
  noAnswer_.setSingleShot(true);
  noAnswer_.setInterval(kAnswerWaitMs);
  connect(&noAnswer_, &QTimer::timeout, this, [this] {
    end();
    browser_.Stop();
    emit failed({LoadFailure::Kind::NoAnswer});
  });
  // The answer is waited for from when the request has really gone out: a send asked for
  // before the web engine has started waits for it first.
  connect(&browser_, &TCppWebBrowser::LoadIssued, this, [this] {
    if (busy_) noAnswer_.start();
  });
  connect(&browser_, &TCppWebBrowser::LoadSucceeded, this, [this] {
    if (!busy_) return;
    end();
    emit delivered();
  });
  connect(&browser_, &TCppWebBrowser::LoadFailed, this, [this](LoadFailure failure) {
    if (!busy_) return;
    end();
    emit failed(failure);
  });
}

void SendWatch::send(const std::string& cp1250Url) {
  busy_ = true;
  browser_.Navigate(cp1250Url);
}

void SendWatch::end() {
  busy_ = false;
  noAnswer_.stop();
}

}  // namespace movarek
