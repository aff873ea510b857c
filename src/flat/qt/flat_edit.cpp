#include "flat/qt/flat_edit.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>

#include "flat/qt/flat_drawing.h"
#include "flat/qt/parent_watch.h"

namespace movarek {
namespace {

// The frame: one pixel of border colour and two of the fill around the text.
constexpr int kFrameWidth = 3;

int amountInRange(int amount) { return std::clamp(amount, 0, 100); }

}  // namespace

TCustomFlatEdit::TCustomFlatEdit(QWidget* parent) : QLineEdit(parent) {
  setFrame(false);
  // The edit paints its fill and frame itself, under style sheets too.
  setStyleSheet(QStringLiteral("background: transparent; border: none;"));
  // The text may reach into the inner frame rows: a height of the font's size plus the frame
  // leaves no room for descenders otherwise.
  setContentsMargins(kFrameWidth, 1, kFrameWidth, 1);
  resize(121, 19);
  takeParentColor();
  new ParentWatch(
      *this, [this] { followParentColor(); }, [this] { followParentFont(); });
  redrawBorder();
}

void TCustomFlatEdit::setColorFocused(TColor color) {
  m_colorFocused = color;
  redrawBorder();
}

void TCustomFlatEdit::setColorBorder(TColor color) {
  m_colorBorder = color;
  redrawBorder();
}

void TCustomFlatEdit::setColorFlat(TColor color) {
  m_colorFlat = color;
  m_parentColor = false;
  redrawBorder();
}

void TCustomFlatEdit::setParentColor(bool parentColor) {
  m_parentColor = parentColor;
  if (parentColor) takeParentColor();
  redrawBorder();
}

void TCustomFlatEdit::setAdvColorFocused(int amount) {
  m_advColorFocused = amountInRange(amount);
  deriveColors();
  redrawBorder();
}

void TCustomFlatEdit::setAdvColorBorder(int amount) {
  m_advColorBorder = amountInRange(amount);
  deriveColors();
  redrawBorder();
}

void TCustomFlatEdit::setUseAdvColors(bool use) {
  if (use == m_useAdvColors) return;
  m_useAdvColors = use;
  m_parentColor = use;
  if (use) takeParentColor();
  deriveColors();
  redrawBorder();
}

void TCustomFlatEdit::takeParentColor() {
  if (m_parentColor) m_colorFlat = parentColorOf(*this);
}

void TCustomFlatEdit::deriveColors() {
  if (!m_useAdvColors) return;
  m_colorFocused =
      CalcAdvancedColor(m_colorFlat, m_colorFocused, m_advColorFocused, TColorCalcType::lighten);
  m_colorBorder =
      CalcAdvancedColor(m_colorFlat, m_colorBorder, m_advColorBorder, TColorCalcType::darken);
}

// A change of the parent's or the system's colours.
void TCustomFlatEdit::followParentColor() {
  if (m_useAdvColors) m_parentColor = true;
  takeParentColor();
  deriveColors();
  redrawBorder();
}

bool TCustomFlatEdit::showsPlainLook() const {
  // Another flat edit holding the focus keeps this one plain even under the mouse, so that
  // only one edit looks active.
  return !hasFocus() &&
         (!m_mouseIn || qobject_cast<const TCustomFlatEdit*>(QApplication::focusWidget()));
}

void TCustomFlatEdit::redrawBorder() {
  m_focusedLook = !showsPlainLook();
  update();
}

void TCustomFlatEdit::followParentFont() {
  // The edit's own style sheet keeps the parent's font from reaching it by itself.
  if (testAttribute(Qt::WA_SetFont) || !parentWidget()) return;
  setFont(parentWidget()->font());
  setAttribute(Qt::WA_SetFont, false);
}

void TCustomFlatEdit::fitHeightToFont() { resize(width(), QFontInfo(font()).pixelSize() + 6); }

void TCustomFlatEdit::paintEvent(QPaintEvent* event) {
  // The fill takes in the two inner frame pixels; tall text may reach into them.
  QPainter(this).fillRect(rect(), toQColor(m_focusedLook ? m_colorFocused : m_colorFlat));
  QLineEdit::paintEvent(event);
  QPainter painter(this);
  Frame3DBorder(painter, rect(), m_colorBorder, m_colorBorder, 1);
}

void TCustomFlatEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  redrawBorder();
}

void TCustomFlatEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  redrawBorder();
}

void TCustomFlatEdit::enterEvent(QEnterEvent* event) {
  QLineEdit::enterEvent(event);
  // A window in the background does not light up its edits.
  if (QApplication::activeWindow()) m_mouseIn = true;
  redrawBorder();
}

void TCustomFlatEdit::leaveEvent(QEvent* event) {
  QLineEdit::leaveEvent(event);
  m_mouseIn = false;
  redrawBorder();
}

void TCustomFlatEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange) fitHeightToFont();
}

void TCustomFlatEdit::showEvent(QShowEvent* event) {
  QLineEdit::showEvent(event);
  redrawBorder();
}

}  // namespace movarek
