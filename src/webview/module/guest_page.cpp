#include "webview/module/guest_page.h"

#include <QCoreApplication>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWidget>
#include <algorithm>

#include "webview/module/engine_profiles.h"
#include "webview/module/link_check.h"

namespace movarek {
namespace {

constexpr int kDialogsWithoutTheUser = 2;
// A click opens the link under it when the navigation follows this soon.
constexpr qint64 kClickToNavigationMs = 1500;
// Enough for any real message; a longer one would make a box taller than the screen.
constexpr qsizetype kLongestDialogText = 1000;

// What the engine asks through a confirm when a page wants to keep the user from leaving it.
QString leavePageQuestion() {
  return QCoreApplication::translate(
      "QWebEnginePage",
      "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

bool opensOutside(const QUrl& url) {
  static const QStringList kSchemes{QStringLiteral("http"), QStringLiteral("https"),
                                    QStringLiteral("mailto")};
  return kSchemes.contains(url.scheme());
}

// A frame's own empty document, which a page makes without going anywhere.
bool isEmptyFrame(const QUrl& url) { return url.scheme() == QLatin1String("about"); }

}  // namespace

GuestPage::GuestPage(const QUrl& gateway, const EngineView::Events& events, QWidget& shownIn,
                     QObject* parent)
    : QWebEnginePage(&guestProfile(gateway), parent),
      gateway_(gateway),
      events_(events),
      shownIn_(shownIn) {
  refuseEveryRequest();
  connect(this, &QWebEnginePage::linkHovered, this,
          [this](const QString& link) { hoveredLink_ = QUrl(link); });
  connect(this, &QWebEnginePage::newWindowRequested, this,
          [this](QWebEngineNewWindowRequest& request) { openIfClicked(request.requestedUrl()); });
}

// Answered at once, with no prompt: the page gets nothing of the user's computer.
void GuestPage::refuseEveryRequest() {
  connect(this, &QWebEnginePage::featurePermissionRequested, this,
          [this](const QUrl& origin, Feature feature) {
            setFeaturePermission(origin, feature, PermissionDeniedByUser);
          });
  connect(this, &QWebEnginePage::fullScreenRequested, this,
          [](QWebEngineFullScreenRequest request) { request.reject(); });
  connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
          [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
  connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
          [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
}

void GuestPage::userActed() { dialogsInARow_ = 0; }

void GuestPage::userClickedLink(const QUrl& link) {
  userActed();
  clickedLink_ = link;
  sinceClick_.start();
}

bool GuestPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
  if (onGateway(url, gateway_) || (!isMainFrame && isEmptyFrame(url))) return true;
  if (isMainFrame && type == NavigationTypeLinkClicked) openIfClicked(url);
  return false;
}

void GuestPage::openIfClicked(const QUrl& url) {
  const bool clicked =
      sinceClick_.isValid() && sinceClick_.elapsed() < kClickToNavigationMs && url == clickedLink_;
  if (!clicked || !opensOutside(url)) return;
  sinceClick_.invalidate();  // one click, one opening
  events_.openOutside(checkedLink(url));
}

bool GuestPage::mayTell() {
  if (!shownIn_.isVisible() || dialogsInARow_ >= kDialogsWithoutTheUser) return false;
  ++dialogsInARow_;
  return true;
}

void GuestPage::javaScriptAlert(const QUrl&, const QString& message) {
  if (mayTell()) events_.tellUser({PageDialog::Kind::Alert, message.left(kLongestDialogText)});
}

// The question whether to leave the page lets it go: the page decides nothing for the user.
bool GuestPage::javaScriptConfirm(const QUrl&, const QString& message) {
  if (message == leavePageQuestion()) return true;
  if (mayTell()) events_.tellUser({PageDialog::Kind::Confirm, message.left(kLongestDialogText)});
  return false;
}

// Never a box of the page's that asks for a text as if the program did.
bool GuestPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) {
  return false;
}

void GuestPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                         const QString&) {}

QStringList GuestPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) {
  return {};
}

}  // namespace movarek
