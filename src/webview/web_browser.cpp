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
  awaitingStart_ = true;
  view_->load(QUrl::fromEncoded(wireUrl(cp1250Url)));
}

void TCppWebBrowser::Stop() { view_->stop(); }

void TCppWebBrowser::onLoadingChanged(const QWebEngineLoadingInfo& info) {
  if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
    awaitingStart_ = false;
    startedUrl_ = info.url();
    return;
  }
  if (awaitingStart_ || info.url() != startedUrl_) return;
  if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus) {
    emit LoadSucceeded();
  } else if (info.errorDomain() == QWebEngineLoadingInfo::HttpErrorDomain) {
    emit LoadFailed({LoadFailure::Kind::HttpStatus, info.errorCode()});
  } else {
    emit LoadFailed({LoadFailure::Kind::NetworkError, info.errorCode()});
  }
}

}  // namespace movarek
