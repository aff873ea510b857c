#pragma once
// A window's first paint, told once: what waits for the window to be on the screen (the other
// windows, the web engine) goes after it, in the order it connected. A window that is not
// painted within half a second of being created or shown (never shown, or shown where it cannot
// be seen) is told as painted then, so that what waits still comes.
#include <QObject>
#include <QTimer>

class QWidget;

namespace movarek {

class FirstPaint : public QObject {
  Q_OBJECT

 public:
  explicit FirstPaint(QWidget& window);

 signals:
  // Receivers connect queued: the painted window reaches the screen before they hold up the
  // thread.
  void painted();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void tell();

  QWidget& window_;
  QTimer withoutPaint_;
};

}  // namespace movarek
