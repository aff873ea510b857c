#pragma once
// What the browser control asks of the web engine. The engine lives in a module of its own
// (movarek_webengine.so beside the program), loaded once the main window has painted: a
// program merely linked with the engine takes three times as long to show its first window.
#include <QUrl>
#include <functional>
#include <optional>

#include "send/send_failure.h"

class QWidget;

namespace movarek {

class EngineView {
 public:
  struct Events {
    // After every finished load, the page's own ones included.
    std::function<void()> documentComplete;
    // The end of a load: no failure when the page has arrived.
    std::function<void(const std::optional<LoadFailure>& failure)> loadEnded;
  };

  virtual ~EngineView() = default;

  // The view's widget, a child of the parent it was created in.
  virtual QWidget* widget() = 0;
  virtual void load(const QUrl& url) = 0;
  virtual void stop() = 0;
};

// The module's entry: a view inside `parent`. A hidden view fetches nothing but the URL it is
// given and runs no scripts.
using CreateEngineView = EngineView* (*)(QWidget* parent, bool hidden, EngineView::Events events);
inline constexpr char kCreateEngineViewSymbol[] = "movarekCreateEngineView";

}  // namespace movarek
