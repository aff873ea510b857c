#include "flat/qt/flat_button.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QShortcutEvent>
#include <QTimer>
#include <algorithm>

#include "flat/qt/flat_drawing.h"
#include "flat/qt/parent_watch.h"

namespace movarek {
namespace {

// One timer watches whether the mouse has left the button it last entered, for all buttons.
QTimer* sharedMouseTimer = nullptr;
TFlatButton* trackedButton = nullptr;
int liveButtons = 0;

constexpr int kMouseTimerInterval = 100;

}  // namespace

TFlatButton::TFlatButton(QWidget* parent) : QWidget(parent) {
  if (liveButtons++ == 0) {
    sharedMouseTimer = new QTimer;
    sharedMouseTimer->setInterval(kMouseTimerInterval);
    QObject::connect(sharedMouseTimer, &QTimer::timeout, &TFlatButton::checkTrackedButton);
  }
  resize(25, 25);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  takeParentColor();
  new ParentWatch(*this, [this] { followParentColor(); });
}

TFlatButton::~TFlatButton() {
  stopTracking();
  if (--liveButtons == 0) {
    delete sharedMouseTimer;
    sharedMouseTimer = nullptr;
  }
}

QTimer* TFlatButton::mouseTimer() { return sharedMouseTimer; }

// ---------------------------------------------------------------------------------------------
// Properties

void TFlatButton::setTransparentMode(TTransparentMode mode) {
  m_transparentMode = mode;
  update();
}

void TFlatButton::setDefault(bool isDefault) {
  m_default = isDefault;
  update();
}

void TFlatButton::setColor(TColor color) {
  m_color = color;
  m_parentColor = false;
  update();
}

void TFlatButton::setParentColor(bool parentColor) {
  m_parentColor = parentColor;
  takeParentColor();
  update();
}

void TFlatButton::setIndexedColor(TColor& target, TColor color) {
  target = color;
  update();
}

void TFlatButton::setColorFocused(TColor color) { setIndexedColor(m_colorFocused, color); }
void TFlatButton::setColorDown(TColor color) { setIndexedColor(m_colorDown, color); }
void TFlatButton::setColorBorder(TColor color) { setIndexedColor(m_colorBorder, color); }
void TFlatButton::setColorHighLight(TColor color) { setIndexedColor(m_colorHighLight, color); }
void TFlatButton::setColorShadow(TColor color) { setIndexedColor(m_colorShadow, color); }

void TFlatButton::setAmount(int& target, int amount) {
  target = std::clamp(amount, 0, 100);
  deriveColors();
  update();
}

void TFlatButton::setAdvColorFocused(int amount) { setAmount(m_advColorFocused, amount); }
void TFlatButton::setAdvColorDown(int amount) { setAmount(m_advColorDown, amount); }
void TFlatButton::setAdvColorBorder(int amount) { setAmount(m_advColorBorder, amount); }

void TFlatButton::setUseAdvColors(bool use) {
  if (use == m_useAdvColors) return;
  m_useAdvColors = use;
  m_parentColor = use;
  takeParentColor();
  deriveColors();
  update();
}

void TFlatButton::takeParentColor() {
  if (m_parentColor) m_color = parentColorOf(*this);
}

void TFlatButton::deriveColors() {
  if (!m_useAdvColors) return;
  m_colorFocused =
      CalcAdvancedColor(m_color, m_colorFocused, m_advColorFocused, TColorCalcType::lighten);
  m_colorDown = CalcAdvancedColor(m_color, m_colorDown, m_advColorDown, TColorCalcType::darken);
  m_colorBorder =
      CalcAdvancedColor(m_color, m_colorBorder, m_advColorBorder, TColorCalcType::darken);
}

// A change of the parent's or the system's colours.
void TFlatButton::followParentColor() {
  if (m_useAdvColors) m_parentColor = true;
  takeParentColor();
  deriveColors();
  update();
}

void TFlatButton::setGroupIndex(int index) {
  if (index == m_groupIndex) return;
  m_groupIndex = index;
  announceToGroup();
}

void TFlatButton::setAllowAllUp(bool allow) {
  if (allow == m_allowAllUp) return;
  m_allowAllUp = allow;
  announceToGroup();
}

void TFlatButton::setDown(bool down) {
  if (m_groupIndex == 0) down = false;
  if (down == m_down || (m_down && !m_allowAllUp)) return;
  m_down = down;
  if (down) {
    if (m_state == TButtonState::bsUp) update();
    m_state = TButtonState::bsExclusive;
    announceToGroup();
  } else {
    m_state = TButtonState::bsUp;
    update();
  }
}

void TFlatButton::setCaption(const QString& caption) {
  m_caption = caption;
  updateAccelerator();
  update();
}

void TFlatButton::setTabStop(bool tabStop) {
  setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

void TFlatButton::setGlyph(const QImage& glyph) {
  if (&glyph == &m_glyph) return;
  m_glyph = glyph.convertToFormat(QImage::Format_RGB32);
  update();
  if (m_glyph.isNull() || m_glyph.width() % m_glyph.height() != 0) return;
  const int images = m_glyph.width() / m_glyph.height();
  setNumGlyphs(images > 4 ? 1 : images);
}

void TFlatButton::setNumGlyphs(int count) {
  count = std::clamp(count, 1, 4);
  if (count == m_numGlyphs) return;
  m_numGlyphs = count;
  update();
}

void TFlatButton::setGlyphLayout(TButtonLayout layout) {
  if (layout == m_layout) return;
  m_layout = layout;
  update();
}

void TFlatButton::setMargin(int margin) {
  if (margin == m_margin || margin < -1) return;
  m_margin = margin;
  update();
}

void TFlatButton::setSpacing(int spacing) {
  if (spacing == m_spacing) return;
  m_spacing = spacing;
  update();
}

// ---------------------------------------------------------------------------------------------
// Clicks, groups and the accelerator

void TFlatButton::click() {
  passModalResult();
  emit OnClick();
}

void TFlatButton::passModalResult() {
  if (!parentWidget()) return;
  auto* dialog = qobject_cast<QDialog*>(window());
  if (!dialog) return;
  if (m_modalResult != 0 && dialog->isModal()) {
    dialog->done(m_modalResult);
  } else {
    dialog->setResult(m_modalResult);
  }
}

void TFlatButton::announceToGroup() {
  if (m_groupIndex == 0 || !parentWidget()) return;
  const auto siblings = parentWidget()->findChildren<TFlatButton*>(Qt::FindDirectChildrenOnly);
  for (TFlatButton* sibling : siblings) sibling->groupButtonPressed(m_groupIndex, *this);
}

void TFlatButton::groupButtonPressed(int groupIndex, const TFlatButton& sender) {
  if (groupIndex != m_groupIndex || &sender == this) return;
  if (sender.m_down && m_down) {
    m_down = false;
    m_state = TButtonState::bsUp;
    update();
  }
  m_allowAllUp = sender.m_allowAllUp;
}

void TFlatButton::updateAccelerator() {
  if (m_acceleratorId != 0) releaseShortcut(m_acceleratorId);
  const QKeySequence accelerator = QKeySequence::mnemonic(m_caption);
  m_acceleratorId = accelerator.isEmpty() ? 0 : grabShortcut(accelerator);
}

bool TFlatButton::event(QEvent* event) {
  if (event->type() == QEvent::Shortcut &&
      static_cast<QShortcutEvent*>(event)->shortcutId() == m_acceleratorId) {
    if (isEnabled()) {
      if (m_groupIndex != 0) setDown(true);
      click();
    }
    return true;
  }
  return QWidget::event(event);
}

// ---------------------------------------------------------------------------------------------
// Mouse tracking

bool TFlatButton::isUnderCursor() const { return QApplication::widgetAt(QCursor::pos()) == this; }

bool TFlatButton::isInside(QPoint point) const {
  return point.x() >= 0 && point.x() < width() && point.y() >= 0 && point.y() <= height();
}

void TFlatButton::checkTrackedButton() {
  if (trackedButton && !trackedButton->isUnderCursor()) trackedButton->mouseLeft();
}

void TFlatButton::startTracking() {
  sharedMouseTimer->stop();
  trackedButton = this;
  sharedMouseTimer->start();
}

void TFlatButton::stopTracking() {
  if (trackedButton != this) return;
  sharedMouseTimer->stop();
  trackedButton = nullptr;
}

void TFlatButton::mouseEntered() {
  if (!isEnabled() || m_hot) return;
  m_hot = true;
  update();
}

void TFlatButton::mouseLeft() {
  if (!isEnabled() || !m_hot || m_dragging) return;
  m_hot = false;
  stopTracking();
  update();
}

void TFlatButton::reevaluateTracking() {
  if (isUnderCursor()) {
    m_hot = false;
    mouseEntered();
  } else {
    m_hot = true;
    mouseLeft();
  }
  update();
}

void TFlatButton::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  mouseEntered();
  emit OnMouseEnter();
}

void TFlatButton::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  mouseLeft();
  emit OnMouseLeave();
}

void TFlatButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && isEnabled()) {
    if (!m_down) m_state = TButtonState::bsDown;
    update();
    m_dragging = true;
    setFocus(Qt::MouseFocusReason);
  }
  const QPoint at = event->position().toPoint();
  emit OnMouseDown(event->button(), event->modifiers(), at.x(), at.y());
}

void TFlatButton::mouseDoubleClickEvent(QMouseEvent* event) {
  if (m_down) emit OnDblClick();
  mousePressEvent(event);
}

void TFlatButton::mouseMoveEvent(QMouseEvent* event) {
  if (trackedButton != this && isUnderCursor()) {
    if (trackedButton) trackedButton->mouseLeft();
    // A window in the background does not light up its buttons.
    if (QApplication::activeWindow()) {
      startTracking();
      mouseEntered();
    }
  }
  const QPoint at = event->position().toPoint();
  if (m_dragging) {
    const TButtonState state = m_down         ? TButtonState::bsExclusive
                               : isInside(at) ? TButtonState::bsDown
                                              : TButtonState::bsUp;
    if (state != m_state) {
      m_state = state;
      update();
    }
  }
  emit OnMouseMove(event->modifiers(), at.x(), at.y());
}

void TFlatButton::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (m_dragging && event->button() == Qt::LeftButton) {
    m_dragging = false;
    const bool inside = isInside(at);
    settleReleasedState(inside);
    const QPointer<TFlatButton> alive(this);  // a click may close and delete the window
    if (inside) {
      click();
    } else {
      mouseLeft();
    }
    if (!alive) return;
    if (isEnabled()) reevaluateTracking();
  }
  emit OnMouseUp(event->button(), event->modifiers(), at.x(), at.y());
}

void TFlatButton::settleReleasedState(bool inside) {
  if (m_groupIndex == 0) {
    m_state = TButtonState::bsUp;
    m_hot = false;
    if (inside) update();
  } else if (inside) {
    setDown(!m_down);
    if (m_down) update();
  } else {
    if (m_down) m_state = TButtonState::bsExclusive;
    update();
  }
}

// ---------------------------------------------------------------------------------------------
// Keyboard, focus and other changes

void TFlatButton::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Space) return QWidget::keyPressEvent(event);
  if (m_groupIndex != 0) {
    setDown(true);
  } else {
    m_state = TButtonState::bsDown;
  }
  update();
}

void TFlatButton::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Space) return QWidget::keyReleaseEvent(event);
  // A held key repeats its press but is released once.
  if (event->isAutoRepeat()) return;
  if (m_groupIndex != 0) {
    setDown(false);
  } else {
    m_state = TButtonState::bsUp;
  }
  update();
  click();
}

void TFlatButton::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (!isEnabled()) return;
  m_hot = true;
  update();
}

void TFlatButton::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  mouseLeft();
}

void TFlatButton::enabledChanged() {
  if (isEnabled()) {
    reevaluateTracking();
  } else {
    m_state = TButtonState::bsDisabled;
    m_hot = false;
    stopTracking();
  }
  update();
}

void TFlatButton::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  switch (event->type()) {
    case QEvent::EnabledChange:
      enabledChanged();
      break;
    case QEvent::FontChange:
      update();
      break;
    default:
      break;
  }
}

void TFlatButton::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (m_transparentMode != TTransparentMode::tmNone) update();
}

}  // namespace movarek
