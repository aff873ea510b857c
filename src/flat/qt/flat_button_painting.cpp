// How a flat button draws itself: fill, border, glyph, caption and the keyboard focus.
#include <QPainter>
#include <QPixmap>
#include <string>

#include "common/qt/qt_text.h"
#include "flat/qt/flat_button.h"
#include "flat/qt/flat_drawing.h"

namespace movarek {
namespace {

// Which image of the strip each drawing state shows; the last image of a strip reaches to
// the strip's right edge.
struct GlyphCell {
  int index;
  bool toRightEdge;
};
// By number of images, then by state: up, disabled, down, exclusive.
constexpr GlyphCell kGlyphCells[4][4] = {
    {{0, true}, {0, true}, {0, true}, {0, true}},
    {{0, false}, {1, true}, {0, false}, {0, false}},
    {{0, false}, {1, false}, {2, true}, {2, true}},
    {{0, false}, {1, false}, {2, false}, {3, true}},
};

QImage withTransparentColor(const QImage& image, QRgb transparent) {
  QImage result = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < result.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x) {
      if ((line[x] & RGB_MASK) == (transparent & RGB_MASK)) line[x] = 0;
    }
  }
  return result;
}

QRect toQRect(const Rect& rect) { return QRect(rect.left, rect.top, rect.width(), rect.height()); }

constexpr int kCaptionFlags = Qt::TextSingleLine | Qt::TextShowMnemonic;

}  // namespace

void TFlatButton::settleState() {
  if (isEnabled()) {
    if (m_state == TButtonState::bsDisabled) {
      m_state = m_down && m_groupIndex != 0 ? TButtonState::bsExclusive : TButtonState::bsUp;
    }
  } else {
    m_state = TButtonState::bsDisabled;
    m_dragging = false;
  }
}

void TFlatButton::paintEvent(QPaintEvent*) {
  // Everything is drawn off screen and copied in one step, so the button never flickers.
  QPixmap buffer(size() * devicePixelRatio());
  buffer.setDevicePixelRatio(devicePixelRatio());
  {
    QPainter painter(&buffer);
    painter.setFont(font());
    const bool pressed = m_state == TButtonState::bsDown || m_state == TButtonState::bsExclusive;
    const QFontMetrics metrics(font());
    const MeasureText measure = [&metrics](const std::string& text, int width) {
      const QRect extent =
          metrics.boundingRect(QRect(0, 0, width, 0), kCaptionFlags, fromCp1250(text));
      return Size{extent.width(), extent.height()};
    };
    const ButtonLayout layout = CalcButtonLayout(
        measure, {0, 0, width(), height()}, pressed ? Point{1, 1} : Point{}, toCp1250(m_caption),
        m_layout, m_margin, m_spacing, {m_glyph.width(), m_glyph.height()}, m_numGlyphs);
    settleState();
    drawBackground(painter);
    drawBorder(painter);
    drawGlyph(painter, QPoint(layout.glyphPos.x, layout.glyphPos.y));
    drawCaption(painter, toQRect(layout.captionBounds));
    drawKeyboardFocus(painter);
  }
  QPainter(this).drawPixmap(0, 0, buffer);
}

// Reached with the keyboard, the button shows it as a dotted frame inside its border, in the
// caption's colour; a click alone shows nothing more than the hot fill.
void TFlatButton::drawKeyboardFocus(QPainter& painter) {
  if (!hasFocus() || !window()->testAttribute(Qt::WA_KeyboardFocusChange)) return;
  painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect().adjusted(2, 2, -3, -3));
}

void TFlatButton::drawBackground(QPainter& painter) {
  const bool parentImage = m_transparentMode == TTransparentMode::tmAlways ||
                           (m_transparentMode == TTransparentMode::tmNotFocused && !m_hot);
  if (parentImage) {
    DrawParentImage(*this, painter);
    return;
  }
  TColor fill = m_color;
  switch (m_state) {
    case TButtonState::bsUp:
      fill = m_hot ? m_colorFocused : m_color;
      break;
    case TButtonState::bsDisabled:
      break;
    case TButtonState::bsDown:
      fill = m_colorDown;
      break;
    case TButtonState::bsExclusive:
      fill = m_hot ? m_colorFocused : m_colorDown;
      break;
  }
  painter.fillRect(rect(), toQColor(fill));
}

void TFlatButton::drawBorder(QPainter& painter) {
  switch (m_state) {
    case TButtonState::bsUp:
      if (m_hot) {
        Frame3DBorder(painter, rect(), m_colorHighLight, m_colorShadow, 1);
      } else {
        Frame3DBorder(painter, rect(), m_colorBorder, m_colorBorder, m_default ? 2 : 1);
      }
      break;
    case TButtonState::bsDisabled:
      Frame3DBorder(painter, rect(), m_colorBorder, m_colorBorder, 1);
      break;
    case TButtonState::bsDown:
    case TButtonState::bsExclusive:
      Frame3DBorder(painter, rect(), m_colorShadow, m_colorHighLight, 1);
      break;
  }
}

void TFlatButton::drawGlyph(QPainter& painter, QPoint position) {
  const int cellWidth = m_glyph.width() / m_numGlyphs;
  const int cellHeight = m_glyph.height();
  if (cellWidth == 0 || cellHeight == 0) return;
  const GlyphCell cell = kGlyphCells[m_numGlyphs - 1][static_cast<int>(m_state)];
  const int left = cell.index * cellWidth;
  const int sourceWidth = cell.toRightEdge ? m_glyph.width() - left : cellWidth;
  QImage image = m_glyph.copy(left, 0, sourceWidth, cellHeight).scaled(cellWidth, cellHeight);
  QRgb transparent = m_glyph.pixel(0, cellHeight - 1);
  if (m_numGlyphs == 1 && m_state == TButtonState::bsDisabled) {
    image = CreateDisabledBitmap(image, 0, clBtnFace, clBtnHighlight, clBtnShadow, true);
    transparent = image.pixel(0, cellHeight - 1);
  }
  painter.drawImage(position, withTransparentColor(image, transparent));
}

void TFlatButton::drawCaption(QPainter& painter, const QRect& bounds) {
  const int flags = Qt::AlignCenter | kCaptionFlags;
  if (m_state == TButtonState::bsDisabled) {
    painter.setPen(toQColor(clBtnHighlight));
    painter.drawText(bounds.translated(1, 1), flags, m_caption);
    painter.setPen(toQColor(clBtnShadow));
    painter.drawText(bounds, flags, m_caption);
  } else {
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(bounds, flags, m_caption);
  }
}

}  // namespace movarek
