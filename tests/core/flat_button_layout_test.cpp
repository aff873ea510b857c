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
  const Rect wide{0, 0, 100, 40};
  const Rect tall{0, 0, 60, 50};
  const Size glyphPair{32, 16};  // two 16 x 16 images
  struct Case {
    const char* name;
    Rect client;
    Point offset;
    std::string caption;  // 28 x 13 when "OK!!"
    TButtonLayout layout;
    int margin;
    int spacing;
    Size glyph;
    Point glyphPos;
    Rect captionBounds;
  } const cases[] = {
      {"centred, spacing as margin", wide, {}, "OK!!", blGlyphLeft, -1, -1, glyphPair, {18, 12},
       {52, 14, 80, 27}},
      {"centred with a spacing", wide, {}, "OK!!", blGlyphLeft, -1, 4, glyphPair, {26, 12},
       {46, 14, 74, 27}},
      {"margin, spread spacing", wide, {}, "OK!!", blGlyphLeft, 5, -1, glyphPair, {5, 12},
       {46, 14, 74, 27}},
      {"glyph right", wide, {}, "OK!!", blGlyphRight, 5, 4, glyphPair, {79, 12}, {47, 14, 75, 27}},
      {"glyph top", tall, {}, "OK!!", blGlyphTop, 3, 2, glyphPair, {22, 3}, {16, 21, 44, 34}},
      {"glyph bottom", tall, {}, "OK!!", blGlyphBottom, 3, 2, glyphPair, {22, 31},
       {16, 16, 44, 29}},
      {"top, centred, spacing as margin", tall, {}, "OK!!", blGlyphTop, -1, -1, glyphPair, {22, 7},
       {16, 30, 44, 43}},
      {"caption only drops the spacing", wide, {}, "OK!!", blGlyphLeft, -1, 4, {}, {36, 20},
       {36, 14, 64, 27}},
      {"glyph only drops the spacing", wide, {}, "", blGlyphLeft, -1, -1, glyphPair, {42, 12},
       {58, 20, 58, 20}},
      {"too small: divisions truncate toward zero", {0, 0, 20, 10}, {}, "OK!!", blGlyphLeft, -1,
       4, glyphPair, {-13, -2}, {7, -1, 35, 12}},
      {"client origin and pressed offset", {2, 3, 102, 43}, {1, 1}, "OK!!", blGlyphLeft, 5, 4,
       glyphPair, {8, 16}, {28, 18, 56, 31}},
  };
  for (const auto& c : cases) {
    const ButtonLayout layout = CalcButtonLayout(measureSevenWide, c.client, c.offset, c.caption,
                                                 c.layout, c.margin, c.spacing, c.glyph, 2);
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
