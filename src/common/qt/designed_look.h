#pragma once
// The program's windows are drawn for a light desktop: background pictures, coloured panels and
// coloured texts. On a dark desktop theme the program keeps that look, so that every text stays
// readable against the backgrounds it paints itself; on a light theme it takes the desktop's
// colours as it always has.
#include <QColor>
#include <QPalette>

class QWidget;

namespace movarek {

void keepDesignedLook();

// A text's own colour (the `role` of the widget's palette), kept whatever the desktop's theme.
void colourText(QWidget& widget, QPalette::ColorRole role, const QColor& colour);

}  // namespace movarek
