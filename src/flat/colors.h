#pragma once
// Colour values and the HSL arithmetic the flat controls derive their shades with.
#include <cstdint>

namespace movarek {

// 0x00BBGGRR for a plain colour; a system colour has the high bit set and its index in the
// low byte.
using TColor = std::uint32_t;

constexpr TColor kSystemColorFlag = 0x80000000;

constexpr TColor systemColor(int index) { return kSystemColorFlag | static_cast<TColor>(index); }

constexpr TColor clScrollBar = systemColor(0);
constexpr TColor clBackground = systemColor(1);
constexpr TColor clActiveCaption = systemColor(2);
constexpr TColor clInactiveCaption = systemColor(3);
constexpr TColor clMenu = systemColor(4);
constexpr TColor clWindow = systemColor(5);
constexpr TColor clWindowFrame = systemColor(6);
constexpr TColor clMenuText = systemColor(7);
constexpr TColor clWindowText = systemColor(8);
constexpr TColor clCaptionText = systemColor(9);
constexpr TColor clActiveBorder = systemColor(10);
constexpr TColor clInactiveBorder = systemColor(11);
constexpr TColor clAppWorkSpace = systemColor(12);
constexpr TColor clHighlight = systemColor(13);
constexpr TColor clHighlightText = systemColor(14);
constexpr TColor clBtnFace = systemColor(15);
constexpr TColor clBtnShadow = systemColor(16);
constexpr TColor clGrayText = systemColor(17);
constexpr TColor clBtnText = systemColor(18);
constexpr TColor clInactiveCaptionText = systemColor(19);
constexpr TColor clBtnHighlight = systemColor(20);
constexpr TColor cl3DDkShadow = systemColor(21);
constexpr TColor cl3DLight = systemColor(22);
constexpr TColor clInfoText = systemColor(23);
constexpr TColor clInfoBk = systemColor(24);

constexpr TColor rgbColor(int red, int green, int blue) {
  return static_cast<TColor>(red) | static_cast<TColor>(green) << 8 |
         static_cast<TColor>(blue) << 16;
}
constexpr int redOf(TColor color) { return color & 0xFF; }
constexpr int greenOf(TColor color) { return (color >> 8) & 0xFF; }
constexpr int blueOf(TColor color) { return (color >> 16) & 0xFF; }

// A system colour becomes its plain value in the classic Windows scheme (black for an
// unknown index); a plain colour stays as it is.
TColor plainColor(TColor color);

// The integer form scales hue to 0..239 and saturation and lightness to 0..240.
constexpr int HSLRange = 240;

struct HslColor {
  double hue;         // 0..1
  double saturation;  // 0..1
  double lightness;   // 0..1
};

struct HslRangeColor {
  int hue;
  int saturation;
  int lightness;
  bool operator==(const HslRangeColor&) const = default;
};

TColor HSLtoRGB(double hue, double saturation, double lightness);
TColor HSLRangeToRGB(int hue, int saturation, int lightness);
HslColor RGBtoHSL(TColor color);
HslRangeColor RGBtoHSLRange(TColor color);

enum class TColorCalcType { lighten, darken };

// A shade of the base colour; an amount of 0 keeps the old colour instead.
TColor CalcAdvancedColor(TColor base, TColor old, int amount, TColorCalcType type);

}  // namespace movarek
