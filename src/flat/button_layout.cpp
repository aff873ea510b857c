#include "flat/button_layout.h"

namespace movarek {
namespace {

bool isHorizontal(TButtonLayout layout) {
  return layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
}

// Glyph and caption are centred across the layout direction; divisions truncate.
void centreAcross(bool horizontal, Size client, Size glyph, Size text, Point& glyphPos,
                  Point& textPos) {
  if (horizontal) {
    glyphPos.y = (client.height - glyph.height + 1) / 2;
    textPos.y = (client.height - text.height + 1) / 2;
  } else {
    glyphPos.x = (client.width - glyph.width + 1) / 2;
    textPos.x = (client.width - text.width + 1) / 2;
  }
}

// Settles margin -1 and spacing -1 into pixel counts along the layout direction.
void settleMarginAndSpacing(int client, int glyph, int text, int& margin, int& spacing) {
  if (margin == -1 && spacing == -1) {
    margin = (client - (glyph + text)) / 3;
    spacing = margin;
  } else if (margin == -1) {
    margin = (client - (glyph + spacing + text) + 1) / 2;
  } else if (spacing == -1) {
    spacing = (client - (margin + glyph) - text) / 2;
  }
}

void placeAlong(TButtonLayout layout, Size client, Size glyph, Size text, int margin, int spacing,
                Point& glyphPos, Point& textPos) {
  switch (layout) {
    case TButtonLayout::blGlyphLeft:
      glyphPos.x = margin;
      textPos.x = glyphPos.x + glyph.width + spacing;
      break;
    case TButtonLayout::blGlyphRight:
      glyphPos.x = client.width - margin - glyph.width;
      textPos.x = glyphPos.x - spacing - text.width;
      break;
    case TButtonLayout::blGlyphTop:
      glyphPos.y = margin;
      textPos.y = glyphPos.y + glyph.height + spacing;
      break;
    case TButtonLayout::blGlyphBottom:
      glyphPos.y = client.height - margin - glyph.height;
      textPos.y = glyphPos.y - spacing - text.height;
      break;
  }
}

}  // namespace

ButtonLayout CalcButtonLayout(const MeasureText& measure, Rect client, Point offset,
                              const std::string& caption, TButtonLayout layout, int margin,
                              int spacing, Size glyphSize, int numGlyphs) {
  const Size clientSize{client.width(), client.height()};
  const Size glyph{glyphSize.width / numGlyphs, glyphSize.height};
  const Size text = caption.empty() ? Size{} : measure(caption, clientSize.width);
  const bool horizontal = isHorizontal(layout);

  Point glyphPos;
  Point textPos;
  centreAcross(horizontal, clientSize, glyph, text, glyphPos, textPos);
  if (text.width == 0 || glyph.width == 0) spacing = 0;
  const auto along = [horizontal](Size size) { return horizontal ? size.width : size.height; };
  settleMarginAndSpacing(along(clientSize), along(glyph), along(text), margin, spacing);
  placeAlong(layout, clientSize, glyph, text, margin, spacing, glyphPos, textPos);

  const int shiftX = client.left + offset.x;
  const int shiftY = client.top + offset.y;
  return {{glyphPos.x + shiftX, glyphPos.y + shiftY},
          {textPos.x + shiftX, textPos.y + shiftY, textPos.x + shiftX + text.width,
           textPos.y + shiftY + text.height}};
}

}  // namespace movarek
