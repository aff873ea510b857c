#pragma once
// Drawing helpers shared by the flat edit and the flat button.
#include <QColor>
#include <QImage>

#include "flat/colors.h"

class QPainter;
class QRect;
class QWidget;

namespace movarek {

// System colours are resolved first.
QColor toQColor(TColor color);
TColor colorValueOf(const QColor& color);

// The background colour of the widget's parent; button face without a parent.
TColor parentColorOf(const QWidget& widget);

// Width nested one-pixel frames: top and left in one colour, right and bottom in the other.
void Frame3DBorder(QPainter& canvas, QRect rect, TColor topLeft, TColor bottomRight, int width);

// Paints what the parent shows behind the control (its background and its own drawing, not
// its other children), so that the control looks transparent.
void DrawParentImage(const QWidget& control, QPainter& canvas);

// The source's pixels in the outline colour become an embossed picture: highlight one pixel
// right and down (with highlight), shadow in place, everything else the back colour.
QImage CreateDisabledBitmap(const QImage& source, TColor outline, TColor back, TColor highlight,
                            TColor shadow, bool withHighlight);

}  // namespace movarek
