#pragma once
// Controls at the fixed places and in the fonts the windows were drawn with, and windows placed
// where the desktop would place them.
#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace movarek {

// Arial, as every window's captions were drawn: at a size in pixels, or 0 for the default one.
inline QFont arialFont(int pixels, bool bold) {
  QFont font(QStringLiteral("Arial"));
  if (pixels > 0) font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

inline QPushButton* placedButton(QWidget* parent, const QString& caption, const QRect& geometry) {
  auto* created = new QPushButton(caption, parent);
  created->setGeometry(geometry);
  return created;
}

inline QLabel* placedLabel(QWidget* parent, const QString& text, const QRect& geometry) {
  auto* created = new QLabel(text, parent);
  created->setGeometry(geometry);
  return created;
}

// A sunken line between groups of controls.
inline QFrame* placedSeparator(QWidget* parent, const QRect& geometry) {
  auto* created = new QFrame(parent);
  created->setFrameShape(QFrame::HLine);
  created->setFrameShadow(QFrame::Sunken);
  created->setGeometry(geometry);
  return created;
}

// A label as large as its text, its top left at `at`.
inline QLabel* labelAt(QWidget* parent, const QString& text, const QPoint& at) {
  auto* created = new QLabel(text, parent);
  created->move(at);
  created->adjustSize();
  return created;
}

// A frame with a title bar of the desktop the windows' sizes were drawn for.
inline constexpr QSize kFrameSize(8, 27);

// Puts a top-level window of `clientSize` where its outer frame stands at the centre of the
// screen's free area: a window's position is that of its frame, as the desktop places it.
inline void centreOnScreen(QWidget& window, QSize clientSize) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QSize outer = clientSize + kFrameSize;
  window.move(screen->availableGeometry().center() - QPoint(outer.width() / 2, outer.height() / 2));
}

// A window of a fixed client size, where the desktop would place it.
inline void fixAndCentre(QWidget& window, QSize clientSize) {
  window.setFixedSize(clientSize);
  centreOnScreen(window, clientSize);
}

}  // namespace movarek
