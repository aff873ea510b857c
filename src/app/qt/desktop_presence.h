#pragma once
// The program on the desktop beyond its window, and when it ends. Closing the window with
// messages still to go asks first; where the desktop has a system tray, No keeps the program
// running there, its icon's menu holding "Zobrazit", "Odeslané zprávy" and "Ukončit" (which asks
// the same). Closing the window with nothing to go ends the program, tray or not. What the
// outbox sends is told here too: in a note on the desktop, or in a box while the window is in
// front.
#include <QObject>
#include <functional>
#include <optional>

class QAction;
class QSystemTrayIcon;
class QWidget;

namespace movarek {

class OutboxNotices;
class OutcomeReport;

class DesktopPresence : public QObject {
  Q_OBJECT

 public:
  // The presence of `window`, the main window; `pending` counts the messages still to go;
  // `showSent` opens "Odeslané zprávy".
  DesktopPresence(QWidget& window, std::function<int()> pending, std::function<void()> showSent);

  // The window's close was asked for and no send holds it back: whether the program ends.
  bool mayEnd();
  // The window has closed: the program ends, its icon with it.
  void end();
  // The window in front again.
  void show();
  // Where the outbox tells its outcomes.
  OutboxNotices& notices();

  // Tests stand in for the desktop: whether it has a tray (none puts the desktop's answer back).
  static void standInTray(std::optional<bool> available);

  // The tray icon's menu, made when the program first goes there.
  QAction* Zobrazit1 = nullptr;
  QAction* Odeslanezpravy2 = nullptr;
  QAction* Ukoncit1 = nullptr;

 private:
  static bool trayAvailable();
  void toTray();

  QWidget& window_;
  std::function<int()> pending_;
  std::function<void()> showSent_;
  QSystemTrayIcon* tray_ = nullptr;
  OutcomeReport* report_;
};

}  // namespace movarek
