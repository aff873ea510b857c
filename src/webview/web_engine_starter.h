#pragma once
// The web engine starts after the window: loading and starting it takes longer than showing
// the whole window does, so the window paints first and the views' loads wait here until the
// engine runs.
#include <QObject>
#include <QTimer>
#include <vector>

#include "webview/engine_view.h"

class QWidget;

namespace movarek {

class TCppWebBrowser;

class WebEngineStarter : public QObject {
  Q_OBJECT

 public:
  explicit WebEngineStarter(QObject* parent = nullptr);

  // The views exist and take their loads.
  bool started() const { return started_; }

  // Starts the engine right after the window's first paint. A window that is not painted
  // within half a second of being created or shown (never shown, or shown where it cannot be
  // seen) starts it then, so that the loads asked for still go out.
  void startAfterFirstPaint(QWidget& window);

  // Loads the engine in a few steps, the window taking its input between them; then creates
  // every view and issues the loads asked for so far: each view's first load in the order the
  // views asked, the rest of a view's loads one after another.
  void start();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class TCppWebBrowser;
  // A browser whose view is to be created at the start.
  void enrol(TCppWebBrowser& browser);
  // A browser that has a load waiting for the start.
  void loadWaits(TCppWebBrowser& browser);
  void startViews(CreateEngineView create);

  std::vector<TCppWebBrowser*> browsers_;
  std::vector<TCppWebBrowser*> waiting_;  // in the order of their first load
  QTimer withoutPaint_;
  bool starting_ = false;
  bool started_ = false;
};

}  // namespace movarek
