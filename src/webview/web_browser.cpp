#include "webview/web_browser.h"

#include <QDesktopServices>
#include <QVBoxLayout>

#include "common/message_box.h"
#include "send/gateway.h"
#include "webview/web_engine_starter.h"
#include "webview/web_load.h"

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

TCppWebBrowser::TCppWebBrowser(WebEngineStarter& engine, Kind kind, QWidget* parent)
    : QWidget(parent), engine_(engine), kind_(kind) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
}

// The engine's view goes first, while this browser can still take its last reports.
TCppWebBrowser::~TCppWebBrowser() {
  for (WebLoad* load : loadsUnderWay()) delete load;
  delete view();
}

void TCppWebBrowser::Navigate(std::string_view cp1250Url) {
  if (kind_ == Kind::Hidden) {
    Send(cp1250Url);
    return;
  }
  const QUrl url = QUrl::fromEncoded(wireUrl(cp1250Url));
  engine_.whenStarted(this, WebEngineStarter::Turn::Page,
                      [this, url](CreateEngineView create) { showPage(create, url); });
}

WebLoad* TCppWebBrowser::Send(std::string_view cp1250Url) {
  auto* load = new WebLoad(QUrl::fromEncoded(wireUrl(cp1250Url)), *this);
  engine_.whenStarted(load, WebEngineStarter::Turn::Request,
                      [load](CreateEngineView create) { load->start(create); });
  return load;
}

std::vector<WebLoad*> TCppWebBrowser::loadsUnderWay() const {
  const auto loads = findChildren<WebLoad*>(Qt::FindDirectChildrenOnly);
  return {loads.begin(), loads.end()};
}

QUrl gatewayAddress() { return QUrl(QString::fromStdString(gatewayUrl("/"))); }

bool TCppWebBrowser::askForPage(const PageDialog& dialog) const {
  const auto buttons =
      dialog.kind == PageDialog::Kind::Confirm ? MessageButtons::YesNo : MessageButtons::Ok;
  return showMessage(dialog.text, dialogCaption_, buttons) != MessageAnswer::No;
}

// The engine's view, made once the engine runs, would come after every other control in the
// window's Tab order: it is put where this browser stands, and carries its name for a screen
// reader, as does the widget inside it that takes the keys.
void TCppWebBrowser::adoptView() {
  setFocusPolicy(Qt::StrongFocus);
  setTabOrder(this, view());
  view()->setAccessibleName(accessibleName());
  for (QWidget* inner : view()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    setTabOrder(view(), inner);
    inner->setAccessibleName(accessibleName());
  }
  setFocusProxy(view());
}

void TCppWebBrowser::showPage(CreateEngineView create, const QUrl& url) {
  if (!create) return;
  if (!view_) {
    EngineView::Events events{[this] { emit DocumentComplete(); }, [](const auto&) {},
                              [this](const PageDialog& dialog) { return askForPage(dialog); },
                              [](const QUrl& outside) { QDesktopServices::openUrl(outside); }};
    view_.reset(create(this, EngineView::Kind::Guest, gatewayAddress(), std::move(events)));
    layout()->addWidget(view());
    adoptView();
    if (hasFocus()) view()->setFocus();
  }
  view_->load(url);
}

}  // namespace movarek
