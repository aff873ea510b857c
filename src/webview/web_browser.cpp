#include "webview/web_browser.h"

#include <QUrl>
#include <QWebEngineLoadingInfo>
#include <QVBoxLayout>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace movarek {

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

TCppWebBrowser::TCppWebBrowser(QWidget* parent) : QWidget(parent), view_(new QWebEngineView(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  setFocusProxy(view_);
  // The gateway's pages are requests, not sites to remember: no icons fetched for them.
  view_->settings()->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
  connect(view_, &QWebEngineView::loadFinished, this, &TCppWebBrowser::DocumentComplete);
  connect(view_->page(), &QWebEnginePage::loadingChanged, this, &TCppWebBrowser::onLoadingChanged);
}

void TCppWebBrowser::Navigate(std::string_view cp1250Url) {
  replacedUrl_ = requestedUrl_;
  requestedUrl_ = QUrl::fromEncoded(wireUrl(cp1250Url));
  view_->load(requestedUrl_);
}

void TCppWebBrowser::Stop() { view_->stop(); }

void TCppWebBrowser::onLoadingChanged(const QWebEngineLoadingInfo& info) {
  if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) return;
  // The engine reports one ending for a load and the load that replaced it while it was still
  // under way, under the newer URL; an ending under the replaced URL is that load's alone.
  if (info.url() == replacedUrl_ && replacedUrl_ != requestedUrl_) return;
  if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus) {
    emit LoadSucceeded();
    return;
  }
  // An HTTP status comes as itself, the engine's own network errors as negative numbers.
  const int code = info.errorCode();
  emit LoadFailed({code > 0 ? LoadFailure::Kind::HttpStatus : LoadFailure::Kind::NetworkError, code});
}

}  // namespace movarek
