#pragma once
// Where a button's glyph and caption stand, worked out without a screen: the text measuring
// comes in as a callable.
#include <functional>
#include <string>

namespace movarek {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

// Right and bottom lie just outside the rectangle.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

// Where the glyph stands relative to the caption.
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The single-line extent of a CP1250 text measured in a rectangle of the given width.
using MeasureText = std::function<Size(const std::string& text, int width)>;

struct ButtonLayout {
  Point glyphPos;
  Rect captionBounds;
};

// Margin -1 centres glyph and caption together; spacing -1 spreads them over the space that
// the margin leaves. glyphSize is the whole strip of numGlyphs images, (0, 0) without a glyph.
ButtonLayout CalcButtonLayout(const MeasureText& measure, Rect client, Point offset,
                              const std::string& caption, TButtonLayout layout, int margin,
                              int spacing, Size glyphSize, int numGlyphs);

}  // namespace movarek
