#include "common/qt/designed_look.h"

#include <QGuiApplication>
#include <QPalette>
#include <QWidget>

namespace movarek {
namespace {

// The light grey of a classic desktop's buttons and windows; QPalette makes the rest of a light
// palette from it: white fields, black texts.
constexpr QColor kClassicButtonFace(239, 239, 239);

bool desktopIsDark() {
  return QGuiApplication::palette().color(QPalette::Window).lightnessF() < 0.5;
}

}  // namespace

// For the whole program: a palette set on a window does not reach the controls under its style
// sheets.
void keepDesignedLook() {
  if (!desktopIsDark()) return;
  QPalette light(kClassicButtonFace);
  light.setColor(QPalette::ToolTipBase, QColor(255, 255, 220));
  light.setColor(QPalette::ToolTipText, Qt::black);
  QGuiApplication::setPalette(light);
}

void colourText(QWidget& widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette colours = widget.palette();
  colours.setColor(role, colour);
  widget.setPalette(colours);
}

}  // namespace movarek
