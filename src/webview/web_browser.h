#pragma once
// The embedded web view every gateway request goes through.
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <deque>
#include <memory>
#include <optional>
#include <string_view>

#include "send/send_failure.h"
#include "webview/engine_view.h"

namespace movarek {

class WebEngineStarter;

class TCppWebBrowser : public QWidget {
  Q_OBJECT

 public:
  // A hidden view only sends its requests: it fetches nothing but the URL asked for and runs
  // no scripts. A shown view loads its pages as a browser does.
  enum class Kind { Hidden, Shown };

  // The engine's view inside it is created when `engine` starts.
  TCppWebBrowser(WebEngineStarter& engine, Kind kind, QWidget* parent);
  ~TCppWebBrowser() override;

  // A plain GET of the URL into this view; returns at once. The URL is code page 1250 text:
  // each byte outside printable ASCII travels percent-encoded as that byte (ä as %E4), which
  // is how the gateway reads it. Before the engine has started, the load waits for it. Loads
  // that waited go out one after another, each when the one before has ended: a new load
  // would cancel the request of the one under way.
  void Navigate(std::string_view cp1250Url);

  // Gives up the load under way.
  void Stop();

  // The engine's view (a QWebEngineView); none until the engine has started.
  QWidget* view() const { return view_ ? view_->widget() : nullptr; }

 signals:
  // After every finished load, a failed one included.
  void DocumentComplete();
  // The load that the last Navigate asked for has gone to the engine.
  void LoadIssued();
  // The end of the load that the last Navigate asked for.
  void LoadSucceeded();
  void LoadFailed(movarek::LoadFailure failure);

 private:
  friend class WebEngineStarter;
  // `create` is none when the engine could not be loaded: then every load fails at once.
  void engineStarted(CreateEngineView create);
  void issueNext();
  void loadEnded(const std::optional<LoadFailure>& failure);

  WebEngineStarter& engine_;
  const Kind kind_;
  std::unique_ptr<EngineView> view_;
  std::deque<QUrl> waiting_;  // asked for and not issued yet, in order
  bool loading_ = false;      // a load this browser issued has not ended yet
  // A load that never ends holds up the ones waiting behind it this long at most.
  QTimer nextLoadDue_;
};

// The bytes of a URL as they go on the wire.
QByteArray wireUrl(std::string_view cp1250Url);

}  // namespace movarek
