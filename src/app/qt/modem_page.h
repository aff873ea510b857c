#pragma once
// The "Modem" page and its tab, there only while the user has a modem that can send messages:
// its tab joins the three others in the bar, which keeps its width, and goes again with the
// modem, unless a send on the page is under way (it goes once that has ended). What is written
// on the page stays while the program runs. The page's counter counts as the modem will send,
// and says which character makes the modem send the text in UCS-2.
#include <QObject>

class QFrame;
class QLabel;
class QPushButton;
class QStackedWidget;

namespace movarek {

class ModemManager;
class SendFlow;
class TFlatEdit;
class TMemo;

class ModemPage : public QObject {
  Q_OBJECT

 public:
  // Where the page goes in the window: its tab bar and the three tabs there, the page book
  // (the page is its fourth page), and the strip that counts the shown message.
  struct Window {
    QFrame& tabBar;
    QList<QPushButton*> tabs;
    QStackedWidget& book;
    QLabel& counter;
  };

  ModemPage(const Window& window, QObject* parent);

  ModemManager& modems() { return *modems_; }
  // The page's sends go through `flow`: while one is under way, the page stays.
  void serve(const SendFlow& flow);
  // Asks the system bus for the modems: after the window's first paint.
  void start();
  // The page's tab is in the bar.
  bool available() const;
  // The strip counts the page's message, when the page is shown.
  void recount();

  QPushButton* btnModem;
  TFlatEdit* editCislo;
  TMemo* memoTextModem;
  QPushButton* btnPoslatModem;

 signals:
  // The tab was pressed.
  void chosen();
  // The tab went while its page was shown: another page is to be shown.
  void wentAway();

 private:
  QWidget* buildPage();
  void modemsChanged();
  void showTab(bool shown);
  void layOutTabs();
  void pageChanged(int index);

  Window window_;
  ModemManager* modems_;
  const SendFlow* flow_ = nullptr;
};

}  // namespace movarek
