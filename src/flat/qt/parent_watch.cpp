#include "flat/qt/parent_watch.h"

#include <QEvent>
#include <QWidget>

namespace movarek {

ParentWatch::ParentWatch(QWidget& control, std::function<void()> onColorChange,
                         std::function<void()> onFontChange)
    : QObject(&control),
      m_control(control),
      m_onColorChange(std::move(onColorChange)),
      m_onFontChange(std::move(onFontChange)) {
  control.installEventFilter(this);
  watchParent();
}

void ParentWatch::watchParent() {
  if (m_parent) m_parent->removeEventFilter(this);
  m_parent = m_control.parentWidget();
  if (m_parent) m_parent->installEventFilter(this);
}

bool ParentWatch::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &m_control && event->type() == QEvent::ParentChange) {
    watchParent();
    m_onColorChange();
  } else if (watched == m_parent && event->type() == QEvent::PaletteChange) {
    m_onColorChange();
  } else if (watched == m_parent && event->type() == QEvent::FontChange && m_onFontChange) {
    m_onFontChange();
  }
  return false;
}

}  // namespace movarek
