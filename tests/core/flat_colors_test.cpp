#include <gtest/gtest.h>

#include <cstdlib>

#include "flat/colors.h"

namespace movarek {
namespace {

TEST(FlatColors, SystemColoursResolveToTheClassicScheme) {
  struct Case {
    TColor color;
    TColor plain;
  } const cases[] = {
      {clBtnFace, rgbColor(192, 192, 192)},
      {clBtnHighlight, rgbColor(255, 255, 255)},
      {clBtnShadow, rgbColor(128, 128, 128)},
      {clWindow, rgbColor(255, 255, 255)},
      {clInfoBk, rgbColor(255, 255, 225)},
      {clWindowText, rgbColor(0, 0, 0)},
      {systemColor(200), 0},
      {0x00123456, 0x00123456},
  };
  for (const auto& c : cases) EXPECT_EQ(plainColor(c.color), c.plain) << std::hex << c.color;
}

TEST(FlatColors, RgbToHslRange) {
  struct Case {
    TColor color;
    HslRangeColor hsl;
  } const cases[] = {
      {rgbColor(255, 255, 255), {0, 0, 240}},   {rgbColor(0, 0, 0), {0, 0, 0}},
      {rgbColor(255, 0, 0), {0, 240, 120}},     {rgbColor(0, 255, 0), {80, 240, 120}},
      {rgbColor(0, 0, 255), {159, 240, 120}},   {clBtnFace, {0, 0, 181}},
      {rgbColor(160, 150, 131), {26, 32, 137}},
  };
  for (const auto& c : cases) EXPECT_EQ(RGBtoHSLRange(c.color), c.hsl) << std::hex << c.color;
}

TEST(FlatColors, HslRangeToRgbRoundsHalfToEven) {
  // 8/240 and 24/240 of 255 are 8.5 and 25.5.
  EXPECT_EQ(HSLRangeToRGB(0, 0, 8), rgbColor(8, 8, 8));
  EXPECT_EQ(HSLRangeToRGB(0, 0, 24), rgbColor(26, 26, 26));
  EXPECT_EQ(HSLRangeToRGB(0, 240, 120), rgbColor(255, 0, 0));
}

TEST(FlatColors, CalcAdvancedColor) {
  const TColor white = rgbColor(255, 255, 255);
  const TColor old = 0x00123456;
  struct Case {
    TColor base;
    int amount;
    TColorCalcType type;
    TColor expected;
  } const cases[] = {
      // Lightening stops at lightness 100, so white turns grey.
      {white, 10, TColorCalcType::lighten, rgbColor(106, 106, 106)},
      {rgbColor(235, 234, 225), 10, TColorCalcType::lighten, rgbColor(128, 123, 85)},
      {clBtnFace, 50, TColorCalcType::darken, rgbColor(150, 150, 150)},
      {rgbColor(160, 150, 131), 50, TColorCalcType::darken, rgbColor(117, 107, 89)},
      {rgbColor(255, 0, 0), 20, TColorCalcType::darken, rgbColor(234, 0, 0)},
      {rgbColor(20, 20, 20), 100, TColorCalcType::darken, rgbColor(0, 0, 0)},
      // Darkening by less than the raise of 10 must not wrap past white.
      {white, 5, TColorCalcType::darken, white},
      // No amount keeps the old colour whatever the base.
      {white, 0, TColorCalcType::lighten, old},
      {rgbColor(1, 2, 3), 0, TColorCalcType::darken, old},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CalcAdvancedColor(c.base, old, c.amount, c.type), c.expected)
        << std::hex << c.base << std::dec << " amount " << c.amount;
  }
}

TEST(FlatColors, RoundTripOverAGridStaysWithinOneUnit) {
  for (int red = 0; red <= 255; red += 15) {
    for (int green = 0; green <= 255; green += 15) {
      for (int blue = 0; blue <= 255; blue += 15) {
        const TColor color = rgbColor(red, green, blue);
        const HslColor hsl = RGBtoHSL(color);
        const TColor back = HSLtoRGB(hsl.hue, hsl.saturation, hsl.lightness);
        ASSERT_LE(std::abs(redOf(back) - red), 1) << red << ' ' << green << ' ' << blue;
        ASSERT_LE(std::abs(greenOf(back) - green), 1) << red << ' ' << green << ' ' << blue;
        ASSERT_LE(std::abs(blueOf(back) - blue), 1) << red << ' ' << green << ' ' << blue;
      }
    }
  }
}

}  // namespace
}  // namespace movarek
