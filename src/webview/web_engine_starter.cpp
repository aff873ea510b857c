#include "webview/web_engine_starter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLibrary>
#include <QOpenGLContext>
#include <QWidget>
#include <utility>

// Qt's hook for the drawing context that every other one shares with; the web engine and Qt
// Quick set it the same way.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace movarek {
namespace {

constexpr int kStartWithoutPaintMs = 500;

// The engine does not start without an OpenGL context that every other one shares. Qt creates
// it while it builds the application object when asked to (Qt::AA_ShareOpenGLContexts), which
// takes longer than painting the whole window; it is created here instead, after the first
// paint and before the engine is loaded.
void shareDrawingContext() {
  if (QOpenGLContext::globalShareContext()) return;
  auto* context = new QOpenGLContext(QCoreApplication::instance());
  context->create();
  qt_gl_set_global_share_context(context);
}

// The engine module's entry, loaded from beside the program or, for an installed program, from
// its library folder; none when the module is missing or broken.
CreateEngineView engineModule() {
  const QString programFolder = QCoreApplication::applicationDirPath();
  for (const QString& module : {programFolder + QStringLiteral("/" MOVAREK_WEBENGINE_MODULE),
                                programFolder + QStringLiteral("/" MOVAREK_INSTALLED_MODULE_DIR
                                                               "/" MOVAREK_WEBENGINE_MODULE)}) {
    if (!QFileInfo::exists(module)) continue;
    if (const auto entry =
            reinterpret_cast<CreateEngineView>(QLibrary(module).resolve(kCreateEngineViewSymbol))) {
      return entry;
    }
  }
  return nullptr;
}

}  // namespace

WebEngineStarter::WebEngineStarter(QObject* parent) : QObject(parent) {
  withoutPaint_.setSingleShot(true);
  withoutPaint_.setInterval(kStartWithoutPaintMs);
  connect(&withoutPaint_, &QTimer::timeout, this, &WebEngineStarter::start);
}

void WebEngineStarter::startAfterFirstPaint(QWidget& window) {
  window.installEventFilter(this);
  withoutPaint_.start();
}

bool WebEngineStarter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) withoutPaint_.start();
  if (event->type() == QEvent::Paint) {
    watched->removeEventFilter(this);
    withoutPaint_.stop();
    // Queued: the painted window reaches the screen before the engine holds up the thread.
    QMetaObject::invokeMethod(this, &WebEngineStarter::start, Qt::QueuedConnection);
  }
  return false;
}

void WebEngineStarter::start() {
  if (starting_) return;
  starting_ = true;
  withoutPaint_.stop();
  // Each step holds up the window for tens of milliseconds: between them it takes its input.
  shareDrawingContext();
  QTimer::singleShot(0, this, [this] {
    engine_ = engineModule();
    QTimer::singleShot(0, this, &WebEngineStarter::runWaiting);
  });
}

void WebEngineStarter::whenStarted(QObject* context, std::function<void(CreateEngineView)> ready) {
  if (started_) {
    ready(engine_);
    return;
  }
  waiting_.push_back({context, std::move(ready)});
}

void WebEngineStarter::runWaiting() {
  started_ = true;
  // What runs may ask for more; that runs at once, the engine running by then.
  const auto waiting = std::exchange(waiting_, {});
  for (const auto& [context, ready] : waiting) {
    if (context) ready(engine_);
  }
}

}  // namespace movarek
