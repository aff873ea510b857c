#include "flat/colors.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace movarek {
namespace {

// The classic Windows scheme, by system colour index.
constexpr std::array<TColor, 25> kClassicScheme = {
    rgbColor(192, 192, 192),  // scroll bar
    rgbColor(0, 128, 128),    // desktop
    rgbColor(0, 0, 128),      // active caption
    rgbColor(128, 128, 128),  // inactive caption
    rgbColor(192, 192, 192),  // menu
    rgbColor(255, 255, 255),  // window
    rgbColor(0, 0, 0),        // window frame
    rgbColor(0, 0, 0),        // menu text
    rgbColor(0, 0, 0),        // window text
    rgbColor(255, 255, 255),  // caption text
    rgbColor(192, 192, 192),  // active border
    rgbColor(192, 192, 192),  // inactive border
    rgbColor(128, 128, 128),  // application work space
    rgbColor(0, 0, 128),      // highlight
    rgbColor(255, 255, 255),  // highlight text
    rgbColor(192, 192, 192),  // button face
    rgbColor(128, 128, 128),  // button shadow
    rgbColor(128, 128, 128),  // grey text
    rgbColor(0, 0, 0),        // button text
    rgbColor(192, 192, 192),  // inactive caption text
    rgbColor(255, 255, 255),  // button highlight
    rgbColor(0, 0, 0),        // 3D dark shadow
    rgbColor(192, 192, 192),  // 3D light
    rgbColor(0, 0, 0),        // tooltip text
    rgbColor(255, 255, 225),  // tooltip background
};

// Rounds half to even, as every conversion from a real does here.
int roundEven(double value) { return static_cast<int>(std::nearbyint(value)); }

// A component beyond the range (a lightness pushed past full) saturates instead of wrapping.
int componentOf(double value) { return std::clamp(roundEven(value * 255), 0, 255); }

double hueToComponent(double m1, double m2, double hue) {
  if (hue < 0) hue += 1;
  if (hue > 1) hue -= 1;
  if (6 * hue < 1) return m1 + (m2 - m1) * hue * 6;
  if (2 * hue < 1) return m2;
  if (3 * hue < 2) return m1 + (m2 - m1) * (2.0 / 3 - hue) * 6;
  return m1;
}

}  // namespace

TColor plainColor(TColor color) {
  if ((color & kSystemColorFlag) == 0) return color;
  const auto index = color & 0xFF;
  return index < kClassicScheme.size() ? kClassicScheme[index] : 0;
}

TColor HSLtoRGB(double hue, double saturation, double lightness) {
  if (saturation == 0) {
    const int grey = componentOf(lightness);
    return rgbColor(grey, grey, grey);
  }
  const double m2 = lightness <= 0.5 ? lightness * (1 + saturation)
                                     : lightness + saturation - lightness * saturation;
  const double m1 = 2 * lightness - m2;
  return rgbColor(componentOf(hueToComponent(m1, m2, hue + 1.0 / 3)),
                  componentOf(hueToComponent(m1, m2, hue)),
                  componentOf(hueToComponent(m1, m2, hue - 1.0 / 3)));
}

TColor HSLRangeToRGB(int hue, int saturation, int lightness) {
  return HSLtoRGB(hue / 239.0, saturation / double(HSLRange), lightness / double(HSLRange));
}

HslColor RGBtoHSL(TColor color) {
  color = plainColor(color);
  const double r = redOf(color) / 255.0;
  const double g = greenOf(color) / 255.0;
  const double b = blueOf(color) / 255.0;
  const double max = std::max({r, g, b});
  const double min = std::min({r, g, b});
  const double lightness = (max + min) / 2;
  if (max == min) return {0, 0, lightness};

  const double d = max - min;
  const double saturation = lightness >= 0.5 ? d / (2 - max - min) : d / (max + min);
  double hue;
  if (max == r) {
    hue = (g - b) / d;
  } else if (max != g) {
    hue = (r - g) / d + 4;
  } else {
    hue = (b - r) / d + 2;
  }
  hue /= 6;
  if (hue < 0) hue += 1;
  return {hue, saturation, lightness};
}

HslRangeColor RGBtoHSLRange(TColor color) {
  const HslColor hsl = RGBtoHSL(color);
  return {roundEven(hsl.hue * 239), roundEven(hsl.saturation * HSLRange),
          roundEven(hsl.lightness * HSLRange)};
}

TColor CalcAdvancedColor(TColor base, TColor old, int amount, TColorCalcType type) {
  if (amount == 0) return old;
  const HslRangeColor hsl = RGBtoHSLRange(base);
  const int raised = hsl.lightness + 10;
  const int lightness = type == TColorCalcType::lighten ? std::min(raised + amount, 100)
                                                        : std::max(raised - amount, 0);
  return HSLRangeToRGB(hsl.hue, hsl.saturation, lightness);
}

}  // namespace movarek
