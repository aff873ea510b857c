#pragma once
// The web engine starts after the window: loading and starting it takes longer than showing
// the whole window does, so the window paints first and the views' loads wait here until the
// engine runs. Whoever knows the window starts it after the window's first paint.
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

#include "webview/qt/engine_view.h"

namespace movarek {

class WebEngineStarter : public QObject {
  Q_OBJECT

 public:
  explicit WebEngineStarter(QObject* parent = nullptr);

  // Loads the engine in a few steps, the window taking its input between them; then runs what
  // waited for it, in the order it was asked for.
  void start();

  // Runs `ready` with the engine's entry (none when the engine could not be loaded) as soon as
  // the engine runs: at once when it runs already. Nothing runs once `context` is gone. What
  // waited runs in the order asked for, the requests the program sends before the pages it
  // shows: a message sent while the engine starts goes out before the Eurotel page is set up.
  enum class Turn { Request, Page };
  void whenStarted(QObject* context, Turn turn, std::function<void(CreateEngineView)> ready);

 private:
  struct Waiting {
    QPointer<QObject> context;
    Turn turn;
    std::function<void(CreateEngineView)> ready;
  };

  void runWaiting();

  std::vector<Waiting> waiting_;  // in the order asked for
  CreateEngineView engine_ = nullptr;
  bool starting_ = false;
  bool started_ = false;
};

}  // namespace movarek
