#pragma once
// The embedded web view every gateway request goes through.
#include <QUrl>
#include <QWidget>
#include <memory>
#include <string_view>
#include <vector>

#include "webview/qt/engine_view.h"

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

  // Engine views are created once `engine` runs. `gateway` ("http://host:port/") is the only
  // origin of the pages a view shows.
  TCppWebBrowser(WebEngineStarter& engine, Kind kind, const QUrl& gateway, QWidget* parent);
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

  // Loads the shown view's last page again.
  void Reload();

  // The caption of the message boxes in which a shown page's scripts tell the user something.
  void setDialogCaption(const QString& caption) { dialogCaption_ = caption; }

 signals:
  // After every finished load of a shown view, a failed one included.
  void DocumentComplete();
  // The shown view's renderer has ended: the view shows nothing until it loads again.
  void RendererEnded();
  // The engine module could not be loaded: the shown view never shows anything.
  void EngineMissing();

 private:
  void showPage(CreateEngineView create, const QUrl& url);
  void adoptView();
  void tellForPage(const PageDialog& dialog) const;
  void offerToOpen(const LinkOut& link);

  WebEngineStarter& engine_;
  const Kind kind_;
  const QUrl gateway_;
  QString dialogCaption_;
  QUrl shownUrl_;
  std::unique_ptr<EngineView> view_;
};

// The bytes of a URL as they go on the wire.
QByteArray wireUrl(std::string_view cp1250Url);

}  // namespace movarek
