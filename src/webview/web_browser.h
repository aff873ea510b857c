#pragma once
// The embedded web view every gateway request goes through.
#include <QUrl>
#include <QWidget>
#include <memory>
#include <string_view>
#include <vector>

#include "webview/engine_view.h"

namespace movarek {

class WebEngineStarter;
class WebLoad;

class TCppWebBrowser : public QWidget {
  Q_OBJECT

 public:
  // A hidden view only sends its requests: each in an engine view of its own, which fetches
  // nothing but the URL asked for and runs no scripts. A shown view loads its pages as a
  // browser does.
  enum class Kind { Hidden, Shown };

  // Engine views are created once `engine` runs.
  TCppWebBrowser(WebEngineStarter& engine, Kind kind, QWidget* parent);
  ~TCppWebBrowser() override;

  // A plain GET of the URL; returns at once. The URL is code page 1250 text: each byte outside
  // printable ASCII travels percent-encoded as that byte (ä as %E4), which is how the gateway
  // reads it. Before the engine has started, the load waits for it.
  void Navigate(std::string_view cp1250Url);

  // A hidden view's request, to be followed until it ends. It goes out as soon as the engine
  // runs, whatever else any view is loading.
  WebLoad* Send(std::string_view cp1250Url);

  // The requests of a hidden view that have not ended yet, oldest first.
  std::vector<WebLoad*> loadsUnderWay() const;

  // A shown view's engine view (a QWebEngineView); none until the engine has started.
  QWidget* view() const { return view_ ? view_->widget() : nullptr; }

  // The caption of the message boxes in which a shown page's scripts ask the user.
  void setDialogCaption(const QString& caption) { dialogCaption_ = caption; }

 signals:
  // After every finished load of a shown view, a failed one included.
  void DocumentComplete();

 private:
  void showPage(CreateEngineView create, const QUrl& url);
  void adoptView();
  bool askForPage(const PageDialog& dialog) const;

  WebEngineStarter& engine_;
  const Kind kind_;
  QString dialogCaption_;
  std::unique_ptr<EngineView> view_;
};

// The bytes of a URL as they go on the wire.
QByteArray wireUrl(std::string_view cp1250Url);

// The gateway's own address, the one origin of every page a view shows.
QUrl gatewayAddress();

}  // namespace movarek
