#include "flat/qt/flat_drawing.h"

#include <QPainter>
#include <QWidget>

#include "common/qt/qt_color.h"

namespace movarek {

QColor toQColor(TColor color) { return colorFromValue(plainColor(color)); }

TColor colorValueOf(const QColor& color) {
  return rgbColor(color.red(), color.green(), color.blue());
}

TColor parentColorOf(const QWidget& widget) {
  const QWidget* parent = widget.parentWidget();
  if (!parent) return clBtnFace;
  return colorValueOf(parent->palette().color(parent->backgroundRole()));
}

void Frame3DBorder(QPainter& canvas, QRect rect, TColor topLeft, TColor bottomRight, int width) {
  const QColor light = toQColor(topLeft);
  const QColor dark = toQColor(bottomRight);
  for (; width > 0 && rect.isValid(); --width) {
    // The dark edges are drawn last and so own both the top-right and the bottom-left corner.
    canvas.fillRect(rect.left(), rect.top(), rect.width() - 1, 1, light);
    canvas.fillRect(rect.left(), rect.top(), 1, rect.height() - 1, light);
    canvas.fillRect(rect.right(), rect.top(), 1, rect.height(), dark);
    canvas.fillRect(rect.left(), rect.bottom(), rect.width(), 1, dark);
    rect.adjust(1, 1, -1, -1);
  }
}

void DrawParentImage(const QWidget& control, QPainter& canvas) {
  QWidget* parent = control.parentWidget();
  if (!parent) return;
  canvas.save();
  parent->render(&canvas, -control.pos(), QRegion(parent->rect()), QWidget::DrawWindowBackground);
  canvas.restore();
}

QImage CreateDisabledBitmap(const QImage& source, TColor outline, TColor back, TColor highlight,
                            TColor shadow, bool withHighlight) {
  const QImage pixels = source.convertToFormat(QImage::Format_RGB32);
  const QRgb outlineRgb = toQColor(outline).rgb();
  QImage result(source.size(), QImage::Format_RGB32);
  if (result.isNull()) return result;
  result.fill(toQColor(back));
  const auto stamp = [&](int shift, TColor brush) {
    const QRgb brushRgb = toQColor(brush).rgb();
    for (int y = 0; y + shift < result.height(); ++y) {
      for (int x = 0; x + shift < result.width(); ++x) {
        if (pixels.pixel(x, y) == outlineRgb) result.setPixel(x + shift, y + shift, brushRgb);
      }
    }
  };
  if (withHighlight) stamp(1, highlight);
  stamp(0, shadow);
  return result;
}

}  // namespace movarek
