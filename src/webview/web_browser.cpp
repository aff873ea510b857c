#include "webview/web_browser.h"

#include <QVBoxLayout>

#include "webview/web_engine_starter.h"

namespace movarek {
namespace {

// As long as a send is given to answer.
constexpr int kNextLoadDueMs = 10000;

// The engine's own code for a failure it cannot name further: what a load gets when the
// engine could not be loaded at all.
constexpr int kNoEngine = -2;

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

// The engine's view goes first, while this browser can still take its last reports.
TCppWebBrowser::~TCppWebBrowser() { delete view(); }

void TCppWebBrowser::engineStarted(CreateEngineView create) {
  if (!create) return;
  view_.reset(create(this, kind_ == Kind::Hidden,
                     {[this] { emit DocumentComplete(); },
                      [this](const std::optional<LoadFailure>& failure) { loadEnded(failure); }}));
  layout()->addWidget(view());
  setFocusProxy(view());
  if (hasFocus()) view()->setFocus();
}

void TCppWebBrowser::Navigate(std::string_view cp1250Url) {
  waiting_.push_back(QUrl::fromEncoded(wireUrl(cp1250Url)));
  if (!engine_.started()) {
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
  if (waiting_.empty()) emit LoadIssued();
  if (!view_) {
    loadEnded(LoadFailure{LoadFailure::Kind::NetworkError, kNoEngine});
    return;
  }
  nextLoadDue_.start();
  view_->load(url);
}

void TCppWebBrowser::loadEnded(const std::optional<LoadFailure>& failure) {
  // Loads the page starts by itself (a link followed on the Eurotel page) are not ours.
  if (!loading_) return;
  loading_ = false;
  nextLoadDue_.stop();
  if (!waiting_.empty()) {
    issueNext();
  } else if (failure) {
    emit LoadFailed(*failure);
  } else {
    emit LoadSucceeded();
  }
}

}  // namespace movarek
