#include "webview/web_engine_starter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWidget>
#include <algorithm>

#include "webview/web_browser.h"

namespace movarek {
namespace {

constexpr int kStartWithoutPaintMs = 500;

}  // namespace

QWebEngineProfile& gatewayProfile() {
  static QWebEngineProfile* const profile = [] {
    // No storage name: off the record, nothing written to disk.
    auto* created = new QWebEngineProfile(QCoreApplication::instance());
    // A send repeated word for word must reach the gateway again, not come from a cache.
    created->setHttpCacheType(QWebEngineProfile::NoCache);
    // The gateway's pages are requests, not sites to remember: no icons fetched for them.
    created->settings()->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    return created;
  }();
  return *profile;
}

WebEngineStarter::WebEngineStarter(QObject* parent) : QObject(parent) {
  withoutPaint_.setSingleShot(true);
  withoutPaint_.setInterval(kStartWithoutPaintMs);
  connect(&withoutPaint_, &QTimer::timeout, this, &WebEngineStarter::start);
}

void WebEngineStarter::startAfterFirstPaint(QWidget& window) {
  window.installEventFilter(this);
  withoutPaint_.start();
}

bool WebEngineStarter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) withoutPaint_.start();
  if (event->type() == QEvent::Paint) {
    watched->removeEventFilter(this);
    withoutPaint_.stop();
    // Queued: the painted window reaches the screen before the engine holds up the thread.
    QMetaObject::invokeMethod(this, &WebEngineStarter::start, Qt::QueuedConnection);
  }
  return false;
}

void WebEngineStarter::start() {
  if (started_) return;
  started_ = true;
  withoutPaint_.stop();
  for (TCppWebBrowser* browser : browsers_) browser->createView(gatewayProfile());
  for (TCppWebBrowser* browser : waiting_) browser->issueNext();
  waiting_.clear();
}

void WebEngineStarter::enrol(TCppWebBrowser& browser) { browsers_.push_back(&browser); }

void WebEngineStarter::loadWaits(TCppWebBrowser& browser) {
  if (std::find(waiting_.begin(), waiting_.end(), &browser) == waiting_.end()) {
    waiting_.push_back(&browser);
  }
}

}  // namespace movarek
