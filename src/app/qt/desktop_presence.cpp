#include "app/qt/desktop_presence.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

#include "app/qt/outcome_report.h"
#include "common/qt/message_box.h"

namespace movarek {
namespace {

std::optional<bool>& trayStandIn() {
  static std::optional<bool> available;
  return available;
}

}  // namespace

DesktopPresence::DesktopPresence(QWidget& window, std::function<int()> pending,
                                 std::function<void()> showSent)
    : QObject(&window),
      window_(window),
      pending_(std::move(pending)),
      showSent_(std::move(showSent)),
      report_(new OutcomeReport(window, this)) {}

OutboxNotices& DesktopPresence::notices() { return *report_; }

void DesktopPresence::standInTray(std::optional<bool> available) { trayStandIn() = available; }

bool DesktopPresence::trayAvailable() {
  return trayStandIn() ? *trayStandIn() : QSystemTrayIcon::isSystemTrayAvailable();
}

// Planned messages go only while the program runs: before it ends the user is asked.
bool DesktopPresence::mayEnd() {
  const int pending = pending_();
  if (pending == 0) return true;
  const bool tray = trayAvailable();
  QString question = QStringLiteral(
                         "Naplánované zprávy (%1) se odešlou, jen když program běží.\n"
                         "Chcete program přesto ukončit?")
                         .arg(pending);
  if (tray) question += QStringLiteral("\n(Ne: program poběží dál v oznamovací oblasti.)");
  if (showMessage(question, QStringLiteral("Naplánované zprávy"), MessageButtons::YesNoDefaultNo) ==
      MessageAnswer::Yes) {
    return true;
  }
  if (tray) toTray();
  return false;
}

// The window hidden in the tray is not the last one closed: the program is ended by name.
void DesktopPresence::end() {
  if (tray_) tray_->hide();
  QCoreApplication::quit();
}

void DesktopPresence::show() {
  window_.showNormal();
  window_.raise();
  window_.activateWindow();
}

void DesktopPresence::toTray() {
  if (!tray_) {
    tray_ = new QSystemTrayIcon(QApplication::windowIcon(), this);
    tray_->setToolTip(window_.windowTitle());
    auto* menu = new QMenu(&window_);
    Zobrazit1 = menu->addAction(QStringLiteral("Zobrazit"), this, &DesktopPresence::show);
    Odeslanezpravy2 = menu->addAction(QStringLiteral("Odeslané zprávy"), this, [this] {
      show();
      showSent_();
    });
    Ukoncit1 = menu->addAction(QStringLiteral("Ukončit"), &window_, &QWidget::close);
    tray_->setContextMenu(menu);
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason why) {
              if (why == QSystemTrayIcon::Trigger) show();
            });
  }
  // Closing a box while the window is hidden must not end the program.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  tray_->show();
  window_.hide();
}

}  // namespace movarek
