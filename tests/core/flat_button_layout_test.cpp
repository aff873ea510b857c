#include <gtest/gtest.h>

#include "flat/button_layout.h"

namespace movarek {
namespace {

using enum TButtonLayout;

// Every character 7 pixels wide, lines 13 high.
Size measureSevenWide(const std::string& text, int) {
  return {static_cast<int>(text.size()) * 7, 13};
}

TEST(FlatButtonLayout, PlacesGlyphAndCaption) {
  struct Scene {
    Rect client;
    Point offset;
    std::string caption;  // "OK!!" measures 28 x 13
    Size glyph;           // a strip of two images
  };
  const Size pair{32, 16};
  const Scene wide{{0, 0, 100, 40}, {}, "OK!!", pair};
  const Scene tall{{0, 0, 60, 50}, {}, "OK!!", pair};
  const Scene captionOnly{{0, 0, 100, 40}, {}, "OK!!", {}};
  const Scene glyphOnly{{0, 0, 100, 40}, {}, "", pair};
  const Scene tooSmall{{0, 0, 20, 10}, {}, "OK!!", pair};
  const Scene pressed{{2, 3, 102, 43}, {1, 1}, "OK!!", pair};
  struct Case {
    const char* name;
    const Scene& scene;
    TButtonLayout layout;
    int margin;
    int spacing;
    Point glyphPos;
    Rect captionBounds;
  } const cases[] = {
      {"centred, spacing as margin", wide, blGlyphLeft, -1, -1, {18, 12}, {52, 14, 80, 27}},
      {"centred with a spacing", wide, blGlyphLeft, -1, 4, {26, 12}, {46, 14, 74, 27}},
      {"margin, spread spacing", wide, blGlyphLeft, 5, -1, {5, 12}, {46, 14, 74, 27}},
      {"glyph right", wide, blGlyphRight, 5, 4, {79, 12}, {47, 14, 75, 27}},
      {"glyph top", tall, blGlyphTop, 3, 2, {22, 3}, {16, 21, 44, 34}},
      {"glyph bottom", tall, blGlyphBottom, 3, 2, {22, 31}, {16, 16, 44, 29}},
      {"top, spacing as margin", tall, blGlyphTop, -1, -1, {22, 7}, {16, 30, 44, 43}},
      {"caption only: no spacing", captionOnly, blGlyphLeft, -1, 4, {36, 20}, {36, 14, 64, 27}},
      {"glyph only drops the spacing", glyphOnly, blGlyphLeft, -1, -1, {42, 12}, {58, 20, 58, 20}},
      {"divisions truncate toward zero", tooSmall, blGlyphLeft, -1, 4, {-13, -2}, {7, -1, 35, 12}},
      {"client origin and pressed offset", pressed, blGlyphLeft, 5, 4, {8, 16}, {28, 18, 56, 31}},
  };
  for (const auto& c : cases) {
    const Scene& s = c.scene;
    const ButtonLayout layout = CalcButtonLayout(measureSevenWide, s.client, s.offset, s.caption,
                                                 c.layout, c.margin, c.spacing, s.glyph, 2);
    EXPECT_EQ(layout.glyphPos, c.glyphPos) << c.name;
    EXPECT_EQ(layout.captionBounds, c.captionBounds) << c.name;
  }
}

TEST(FlatButtonLayout, MeasuresTheCaptionAsWideAsTheClient) {
  int measuredWidth = 0;
  std::string measuredText;
  const MeasureText measure = [&](const std::string& text, int width) {
    measuredText = text;
    measuredWidth = width;
    return Size{10, 10};
  };
  CalcButtonLayout(measure, {5, 5, 85, 30}, {}, "Zav\xF8\xEDt", TButtonLayout::blGlyphTop, -1, 4,
                   {}, 1);
  EXPECT_EQ(measuredText, "Zav\xF8\xEDt");
  EXPECT_EQ(measuredWidth, 80);
}

TEST(FlatButtonLayout, EmptyCaptionIsNotMeasured) {
  bool measured = false;
  const MeasureText measure = [&](const std::string&, int) {
    measured = true;
    return Size{10, 10};
  };
  const auto layout =
      CalcButtonLayout(measure, {0, 0, 25, 25}, {}, "", TButtonLayout::blGlyphTop, -1, 4, {}, 1);
  EXPECT_FALSE(measured);
  EXPECT_EQ(layout.captionBounds.width(), 0);
}

}  // namespace
}  // namespace movarek
