#include "common/qt/first_paint.h"

#include <QEvent>
#include <QWidget>

namespace movarek {
namespace {

constexpr int kWithoutPaintMs = 500;

}  // namespace

FirstPaint::FirstPaint(QWidget& window) : QObject(&window), window_(window) {
  withoutPaint_.setSingleShot(true);
  withoutPaint_.setInterval(kWithoutPaintMs);
  connect(&withoutPaint_, &QTimer::timeout, this, &FirstPaint::tell);
  window.installEventFilter(this);
  withoutPaint_.start();
}

bool FirstPaint::eventFilter(QObject*, QEvent* event) {
  if (event->type() == QEvent::Show) withoutPaint_.start();
  if (event->type() == QEvent::Paint) tell();
  return false;
}

void FirstPaint::tell() {
  window_.removeEventFilter(this);
  withoutPaint_.stop();
  emit painted();
  disconnect(this, &FirstPaint::painted, nullptr, nullptr);
}

}  // namespace movarek
