#pragma once
// What both address-book dialogs share: a fixed client area centred on the desktop, and
// controls placed at fixed positions.
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace movarek {

inline void fixAndCentre(QDialog& dialog, QSize clientSize) {
  dialog.setFixedSize(clientSize);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect placed(QPoint(), clientSize);
    placed.moveCenter(screen->availableGeometry().center());
    dialog.move(placed.topLeft());
  }
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

}  // namespace movarek
