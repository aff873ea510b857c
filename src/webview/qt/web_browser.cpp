#include "webview/qt/web_browser.h"

#include <QVBoxLayout>

#include "common/hex_digits.h"
#include "common/qt/desktop.h"
#include "common/qt/log.h"
#include "common/qt/message_box.h"
#include "webview/qt/web_engine_starter.h"
#include "webview/qt/web_load.h"

namespace movarek {

QByteArray wireUrl(std::string_view cp1250Url) {
  QByteArray wire;
  for (char c : cp1250Url) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F) {
      wire += c;
    } else {
      wire += '%';
      wire += kUpperHexDigits[byte >> 4];
      wire += kUpperHexDigits[byte & 0x0F];
    }
  }
  return wire;
}

TCppWebBrowser::TCppWebBrowser(WebEngineStarter& engine, Kind kind, const QUrl& gateway,
                               QWidget* parent)
    : QWidget(parent), engine_(engine), kind_(kind), gateway_(gateway) {
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
  auto* load = new WebLoad(QUrl::fromEncoded(wireUrl(cp1250Url)), gateway_, *this);
  engine_.whenStarted(load, WebEngineStarter::Turn::Request,
                      [load](CreateEngineView create) { load->start(create); });
  return load;
}

std::vector<WebLoad*> TCppWebBrowser::loadsUnderWay() const {
  const auto loads = findChildren<WebLoad*>(Qt::FindDirectChildrenOnly);
  return {loads.begin(), loads.end()};
}

void TCppWebBrowser::Reload() {
  if (view_) view_->load(shownUrl_);
}

// The page may have been hidden since it asked: then it tells nothing. A question was answered
// No when it was asked, so the box says so rather than ask what nobody will hear.
void TCppWebBrowser::tellForPage(const PageDialog& dialog) const {
  if (!isVisible()) return;
  const QString text = dialog.kind == PageDialog::Kind::Confirm
                           ? dialog.text + QStringLiteral("\n\n(Stránka dostala odpověď Ne.)")
                           : dialog.text;
  showMessage(text, dialogCaption_);
}

namespace {

QString refusalText(LinkRefusal refusal, const QString& host) {
  switch (refusal) {
    case LinkRefusal::NotInternet:
      return QStringLiteral(
                 "Odkaz vede na %1, což není adresa v internetu.\n"
                 "Program ho neotevře.")
          .arg(host);
    case LinkRefusal::ThisComputer:
      return QStringLiteral(
                 "Odkaz vede na %1, tedy na tento počítač nebo do místní sítě.\n"
                 "Program ho neotevře.")
          .arg(host);
    case LinkRefusal::Unverified:
      break;
  }
  return QStringLiteral("Nepodařilo se ověřit, kam odkaz na %1 vede.\nProgram ho neotevře.")
      .arg(host);
}

}  // namespace

// A link known at once not to open is told so; another is asked about while it is checked, and
// opens after Yes if the check lets it.
void TCppWebBrowser::offerToOpen(const LinkOut& link) {
  const QPointer<TCppWebBrowser> alive(this);
  const auto refuse = [alive, host = link.host](LinkRefusal refusal) {
    if (alive) showMessage(refusalText(refusal, host), alive->dialogCaption_);
  };
  if (link.refused) return refuse(*link.refused);
  if (showMessage(link.question, dialogCaption_, MessageButtons::YesNoDefaultNo) !=
      MessageAnswer::Yes) {
    return;
  }
  link.whenChecked([url = link.url, refuse](std::optional<LinkRefusal> refusal) {
    if (refusal) return refuse(*refusal);
    openOnDesktop(url);
  });
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
  if (!create) {
    emit EngineMissing();
    return;
  }
  if (!view_) {
    EngineView::Events events{[this] { emit DocumentComplete(); }, [](const auto&) {},
                              [this](const PageDialog& dialog) { tellForPage(dialog); },
                              [this](const LinkOut& outside) { offerToOpen(outside); },
                              [this](int status, int exitCode) {
                                qCWarning(movarekLog) << "the Eurotel page's renderer ended: status"
                                                      << status << "exit code" << exitCode;
                                emit RendererEnded();
                              }};
    view_.reset(create(this, EngineView::Kind::Guest, gateway_, std::move(events)));
    layout()->addWidget(view());
    adoptView();
    if (hasFocus()) view()->setFocus();
  }
  shownUrl_ = url;
  view_->load(url);
}

}  // namespace movarek
