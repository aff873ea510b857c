#pragma once
// Windows placed at a centre are placed by their outer frame, as the desktop places them.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace movarek {

// A frame with a title bar of the desktop the windows' sizes were drawn for.
inline constexpr QSize kFrameSize(8, 27);

// Moves a top-level window so that its outer frame of `outerSize` stands at the centre of
// `area`; a window's position is that of its frame.
inline void centreFrame(QWidget& window, QSize outerSize, const QRect& area) {
  window.move(area.center() - QPoint(outerSize.width() / 2, outerSize.height() / 2));
}

}  // namespace movarek
