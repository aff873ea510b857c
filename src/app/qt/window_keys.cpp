#include "app/qt/window_keys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>

namespace movarek {

WindowKeys::WindowKeys(QWidget& window, QWidget& page, QList<QAction*> windowKeys,
                       std::function<void(bool forward)> leavePage)
    : QObject(&window),
      window_(window),
      page_(page),
      windowKeys_(std::move(windowKeys)),
      leavePage_(std::move(leavePage)) {
  qApp->installEventFilter(this);
}

WindowKeys::~WindowKeys() { qApp->removeEventFilter(this); }

bool WindowKeys::leavesPage(const QKeyEvent& key) const {
  if (!(key.modifiers() & Qt::ControlModifier)) return false;
  if (key.key() != Qt::Key_Tab && key.key() != Qt::Key_Backtab) return false;
  leavePage_(key.key() == Qt::Key_Tab && !(key.modifiers() & Qt::ShiftModifier));
  return true;
}

bool WindowKeys::isWindowKey(const QKeySequence& pressed) const {
  return std::any_of(windowKeys_.begin(), windowKeys_.end(),
                     [&](const QAction* item) { return item->shortcut() == pressed; });
}

bool WindowKeys::eventFilter(QObject* watched, QEvent* event) {
  const bool keyOrShortcut =
      event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
  if (!keyOrShortcut || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (widget->window() != &window_) return false;
  const bool onPage = page_.isAncestorOf(widget);
  auto& key = static_cast<QKeyEvent&>(*event);
  if (event->type() == QEvent::KeyPress) return onPage && leavesPage(key);
  const QKeySequence pressed(key.keyCombination());
  if (onPage) {
    if (isWindowKey(pressed)) return false;
    event->accept();  // the page's own
    return true;
  }
  const auto actions = window_.actions();
  if (std::any_of(actions.begin(), actions.end(),
                  [&](const QAction* action) { return action->shortcut() == pressed; })) {
    event->ignore();  // not the field's: the window's shortcut takes it
    return true;
  }
  return false;
}

}  // namespace movarek
