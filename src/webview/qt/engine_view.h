#pragma once
// What the browser control asks of the web engine. The engine lives in a module of its own
// (movarek_webengine.so beside the program), loaded once the main window has painted: a
// program merely linked with the engine takes three times as long to show its first window.
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

#include "common/load_failure.h"

class QWidget;

namespace movarek {

// What a script of a shown page asks the user.
struct PageDialog {
  enum class Kind { Alert, Confirm };
  Kind kind;
  QString text;
};

// Why a link the user clicked does not open outside.
enum class LinkRefusal {
  NotInternet,   // a single name ("router"), known only on some network
  ThisComputer,  // it leads to this computer or its local network
  Unverified,    // where it leads could not be found out in time
};

// A web or mail address the user clicked with the mouse in a guest page.
struct LinkOut {
  QUrl url;      // what opens: of a mail address, only its addressees, subject and text
  QString host;  // as it is reached: lower case, IDN in ASCII, no trailing dot
  // What the user is asked before it opens: where it leads, with nothing in it that could hide
  // or turn round what it shows.
  QString question;
  // Known without a lookup (a single name, this computer's own name or address).
  std::optional<LinkRefusal> refused;
  // Calls `checked` on this thread, at once or within two seconds, with why the link may not
  // open; none when it may.
  std::function<void(std::function<void(std::optional<LinkRefusal>)> checked)> whenChecked;
};

class EngineView {
 public:
  // A send view loads one gateway request unseen: it runs no scripts, fetches nothing but its
  // URL and follows redirects only within the gateway. A guest view shows a gateway page
  // whose scripts the program does not trust: it stays on the gateway and gets no permission,
  // download, window or local file. The two kinds share no renderer and no connection.
  enum class Kind { Send, Guest };

  // What the engine tells the program. Each is told from the event loop, never from inside the
  // engine's own call: a box opened on one would stop the engine, and every other view's load
  // with it, for as long as the box stays open.
  struct Events {
    // After every finished load, the page's own ones included.
    std::function<void()> documentComplete;
    // The end of a load: no failure when the gateway has answered, with a page or without
    // one (no content, a download, a redirect elsewhere).
    std::function<void(const std::optional<LoadFailure>& failure)> loadEnded;
    // A guest page's script tells the user something. Told only while the page is shown, and
    // no more than twice in a row without the user acting inside the page. A question is
    // answered No at once: the engine would stand still while it waited for the user.
    std::function<void(const PageDialog& dialog)> tellUser;
    // A web or mail address that the user clicked with the mouse in a guest page, not the
    // gateway's; where it leads is found out meanwhile.
    std::function<void(const LinkOut& link)> openOutside;
    // The view's renderer process ended while the view was there (it crashed, was killed, ran
    // out of memory): the view shows nothing until it loads again.
    std::function<void(int status, int exitCode)> rendererEnded;
  };

  virtual ~EngineView() = default;

  // The view's widget, a child of the parent it was created in.
  virtual QWidget* widget() = 0;
  virtual void load(const QUrl& url) = 0;
  virtual void stop() = 0;
};

// The module's entry: a view inside `parent`. `gateway` is the gateway's address
// ("http://host:port/"): the only origin a view's pages may come from.
using CreateEngineView = EngineView* (*)(QWidget* parent, EngineView::Kind kind,
                                         const QUrl& gateway, EngineView::Events events);
inline constexpr char kCreateEngineViewSymbol[] = "movarekCreateEngineView";

}  // namespace movarek
