#pragma once
// One request of a hidden browser, loaded in an engine view of its own: nothing else that is
// loading can hold it back, replace it or end it, and its end is its own.
#include <QObject>
#include <QUrl>
#include <memory>
#include <optional>

#include "common/load_failure.h"
#include "webview/qt/engine_view.h"

class QWidget;

namespace movarek {

class WebLoad : public QObject {
  Q_OBJECT

 public:
  // The view is made inside `host` once the engine runs; it follows redirects within
  // `gateway` only.
  WebLoad(const QUrl& url, const QUrl& gateway, QWidget& host);
  ~WebLoad() override;

  const QUrl& url() const { return url_; }
  // The request has gone to the engine.
  bool issued() const { return issued_; }

  // The engine runs: the request goes out at once. `create` is none when the engine could not
  // be loaded: the load then fails at once.
  void start(CreateEngineView create);

  // The end of the request: none for an answered one. Told once; the load then goes away.
  // Tests stand in for the gateway through it.
  void end(const std::optional<LoadFailure>& failure);

  // Gives the request up: it is stopped and nothing more is told of it.
  void abandon();

 signals:
  void Issued();
  void Ended(std::optional<movarek::LoadFailure> failure);

 private:
  QUrl url_;
  QUrl gateway_;
  QWidget& host_;
  std::unique_ptr<EngineView> view_;
  bool issued_ = false;
  bool over_ = false;
};

}  // namespace movarek
