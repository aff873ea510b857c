#include "webview/qt/web_engine_starter.h"

#include <QCoreApplication>
#include <QOpenGLContext>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "common/qt/desktop.h"
#include "common/qt/program_module.h"

// Qt's hook for the drawing context that every other one shares with; the web engine and Qt
// Quick set it the same way.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace movarek {
namespace {

// The engine's views are painted in software, so it keeps OpenGL off; yet before it starts it
// asks the X server's OpenGL what it could do, and demands a context that every other one
// shares. Either would load the system's OpenGL driver, which holds up the window for longer
// than painting it whole does and takes tens of megabytes, for nothing: Qt is told there is no
// OpenGL to ask (unless the user chose otherwise), and the shared context is never created.
void keepOpenGLDriverUnloaded() {
  if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION")) {
    setEngineVariable("QT_XCB_GL_INTEGRATION", "none");
  }
  if (!QOpenGLContext::globalShareContext()) {
    qt_gl_set_global_share_context(new QOpenGLContext(QCoreApplication::instance()));
  }
}

// The module builds the engine's flags from the user's own before the engine starts.
void keepUsersEngineFlags() {
  rememberUsersVariable("QTWEBENGINE_CHROMIUM_FLAGS");
  rememberUsersVariable("QTWEBENGINE_REMOTE_DEBUGGING");
}

// The engine module's entry; none when the module is missing or broken.
CreateEngineView engineModule() {
  return reinterpret_cast<CreateEngineView>(
      programModuleEntry(MOVAREK_WEBENGINE_MODULE, kCreateEngineViewSymbol));
}

}  // namespace

WebEngineStarter::WebEngineStarter(QObject* parent) : QObject(parent) {}

void WebEngineStarter::start() {
  if (starting_) return;
  starting_ = true;
  // Loading the engine and starting it each hold up the window for tens of milliseconds:
  // between them it takes its input.
  keepOpenGLDriverUnloaded();
  keepUsersEngineFlags();
  engine_ = engineModule();
  QTimer::singleShot(0, this, &WebEngineStarter::runWaiting);
}

void WebEngineStarter::whenStarted(QObject* context, Turn turn,
                                   std::function<void(CreateEngineView)> ready) {
  if (started_) {
    ready(engine_);
    return;
  }
  waiting_.push_back({context, turn, std::move(ready)});
}

void WebEngineStarter::runWaiting() {
  started_ = true;
  // What runs may ask for more; that runs at once, the engine running by then.
  auto waiting = std::exchange(waiting_, {});
  std::stable_partition(waiting.begin(), waiting.end(),
                        [](const Waiting& one) { return one.turn == Turn::Request; });
  for (const Waiting& one : waiting) {
    if (one.context) one.ready(engine_);
  }
}

}  // namespace movarek
