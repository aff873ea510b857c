#include "webview/web_browser.h"

#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include "webview/web_engine_starter.h"

namespace movarek {
namespace {

// As long as a send is given to answer.
constexpr int kNextLoadDueMs = 10000;

// Blocks everything a page refers to: only the page asked for is fetched.
class RequestedPageOnly : public QWebEngineUrlRequestInterceptor {
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    info.block(info.resourceType() != QWebEngineUrlRequestInfo::ResourceTypeMainFrame);
  }
};

}  // namespace

QByteArray wireUrl(std::string_view cp1250Url) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  QByteArray wire;
  for (char c : cp1250Url) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F) {
      wire += c;
    } else {
      wire += '%';
      wire += kHex[byte >> 4];
      wire += kHex[byte & 0x0F];
    }
  }
  return wire;
}

TCppWebBrowser::TCppWebBrowser(WebEngineStarter& engine, Kind kind, QWidget* parent)
    : QWidget(parent), engine_(engine), kind_(kind) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  nextLoadDue_.setSingleShot(true);
  nextLoadDue_.setInterval(kNextLoadDueMs);
  connect(&nextLoadDue_, &QTimer::timeout, this, [this] {
    if (waiting_.empty()) return;
    loading_ = false;  // given up: the end the view reports for it is not the next load's
    view_->stop();
    issueNext();
  });
  engine.enrol(*this);
}

void TCppWebBrowser::createView(QWebEngineProfile& profile) {
  view_ = new QWebEngineView(&profile, this);
  layout()->addWidget(view_);
  if (kind_ == Kind::Hidden) {
    view_->page()->setUrlRequestInterceptor(new RequestedPageOnly(view_));
    view_->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
  }
  setFocusProxy(view_);
  if (hasFocus()) view_->setFocus();
  connect(view_, &QWebEngineView::loadFinished, this, &TCppWebBrowser::DocumentComplete);
  connect(view_->page(), &QWebEnginePage::loadingChanged, this, &TCppWebBrowser::onLoadingChanged);
}

void TCppWebBrowser::Navigate(std::string_view cp1250Url) {
  waiting_.push_back(QUrl::fromEncoded(wireUrl(cp1250Url)));
  if (!view_) {
    engine_.loadWaits(*this);
  } else if (!loading_) {
    issueNext();
  }
}

void TCppWebBrowser::Stop() {
  if (view_) view_->stop();
}

void TCppWebBrowser::issueNext() {
  const QUrl url = waiting_.front();
  waiting_.pop_front();
  loading_ = true;
  nextLoadDue_.start();
  view_->load(url);
  if (waiting_.empty()) emit LoadIssued();
}

void TCppWebBrowser::onLoadingChanged(const QWebEngineLoadingInfo& info) {
  // Loads the page starts by itself (a link followed on the Eurotel page) are not ours.
  if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus || !loading_) return;
  loading_ = false;
  nextLoadDue_.stop();
  if (!waiting_.empty()) {
    issueNext();
  } else if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus) {
    emit LoadSucceeded();
    return;
  }
  // An HTTP status comes as itself, the engine's own network errors as negative numbers.
  const int code = info.errorCode();
  emit LoadFailed({code > 0 ? LoadFailure::Kind::HttpStatus : LoadFailure::Kind::NetworkError, code});
}

}  // namespace movarek
