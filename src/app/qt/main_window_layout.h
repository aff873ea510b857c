#pragma once
// The main window's measures and the controls it is built of, shared by the window and its
// pages' layout.
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QUrl>
#include <array>
#include <cstdint>

#include "common/qt/placed_controls.h"
#include "send/gateway.h"

namespace movarek::main_window {

constexpr int kPageWidth = 369;
constexpr int kPageHeight = 179;
constexpr int kPageBarHeight = 25;
constexpr int kSideMenuWidth = 108;
constexpr int kHelpStripHeight = 20;

constexpr std::uint32_t kSideMenuColour = 6605821;
constexpr std::uint32_t kHelpStripColour = 16309965;  // light blue: the program may close
constexpr std::uint32_t kGuardColour = 65535;         // yellow: a request is still loading
constexpr int kEmailMemoLimit = 714;
constexpr int kOskarMemoLimit = 760;
constexpr int kTabWidth = 123;
constexpr QRect kSendButtonPlace(300, 4, 61, 23);
inline const QString kMessageName = QStringLiteral("Text zprávy");
inline const QString kCounterHint =
    QStringLiteral("Délka napsaného textu / počet zpráv, do kterých se text rozdělí");

// A column of four speed-dial buttons beside a message field.
struct SpeedDialColumn {
  QPoint topLeft;
  QSize size;
  int step;  // from one button's top to the next's
};
constexpr SpeedDialColumn kEmailSpeedDials{{334, 32}, {33, 33}, 36};
constexpr SpeedDialColumn kOskarSpeedDials{{334, 30}, {33, 25}, 28};

// The gateway's own address, the one origin of every page a view shows.
inline QUrl gatewayAddress() { return QUrl(QString::fromStdString(gatewayUrl("/"))); }

inline void paintBackground(QWidget* widget, const QColor& colour) {
  widget->setAutoFillBackground(true);
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  widget->setPalette(palette);
}

// The window's buttons are reached by Tab, not by a click.
inline QPushButton* button(QWidget* parent, const QString& caption, const QRect& geometry) {
  QPushButton* created = placedButton(parent, caption, geometry);
  created->setFocusPolicy(Qt::TabFocus);
  return created;
}

inline QLabel* panel(QWidget* parent, const QString& caption, const QRect& geometry) {
  QLabel* created = placedLabel(parent, caption, geometry);
  created->setAlignment(Qt::AlignCenter);
  return created;
}

inline std::array<QPushButton*, 4> speedDialButtons(QWidget* page, const SpeedDialColumn& column) {
  std::array<QPushButton*, 4> buttons{};
  for (int i = 0; i < 4; ++i) {
    buttons[i] = button(page, QString::number(i + 1),
                        QRect(column.topLeft + QPoint(0, i * column.step), column.size));
    buttons[i]->setAccessibleName(QStringLiteral("Rychlá volba %1").arg(i + 1));
  }
  return buttons;
}

// What a speed-dial button puts into the page, as its hint shows it, for a screen reader too.
inline void describeSpeedDial(QPushButton& button, const QString& entry) {
  button.setToolTip(entry);
  button.setAccessibleDescription(entry.isEmpty() ? QStringLiteral("prázdná") : entry);
}

}  // namespace movarek::main_window
