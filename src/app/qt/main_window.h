#pragma once
// The main window: page bar, the three pages (four where the user has a modem), side menu, help
// strip and the hidden menu whose items exist for their shortcuts.
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "common/page.h"
#include "flat/qt/flat_edit.h"
#include "send/sent_messages.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

namespace movarek {

class ClockDeadline;
class DeliveryReports;
class DesktopPresence;
class Outbox;
class PlanDialog;
class ContactStore;
class EurotelArea;
class ModemPage;
class OtherWindows;
class SendFlow;
class ProgramDatabase;
class SendRecorder;
class SendingPage;
class TemplateMenus;
class SpeedDialStore;
class TCppWebBrowser;
class TMemo;
class WebEngineStarter;

class TfrmMain : public QMainWindow {
  Q_OBJECT

 public:
  // Builds the window and runs its creation step: loads, program folder, stored fields. It
  // opens the `windows` made after it; its sends are written down by `recorder`; its message
  // fields offer the templates kept in `database`.
  TfrmMain(OtherWindows& windows, SendRecorder& recorder, ProgramDatabase& database);
  ~TfrmMain() override;

  // The page the page book shows.
  Page shownPage() const;
  // Where the window's web views wait for the engine: started after the first paint.
  WebEngineStarter& webEngine() { return *webEngine_; }
  // The message fields' templates, read after the first paint.
  TemplateMenus& templateMenus() { return *templateMenus_; }
  // Messages sent later, started after the first paint.
  Outbox& outbox() { return *outbox_; }
  // The program on the desktop beyond the window: the tray, and when the program ends.
  DesktopPresence& presence() { return *presence_; }
  // The delivery reports of messages sent through the modem, matched to their records.
  DeliveryReports& deliveryReports() { return *deliveryReports_; }

  // The address book and the speed dials, loaded by the creation step and shared with the
  // two dialogs that edit them.
  ContactStore& contacts() { return *contacts_; }
  SpeedDialStore& speedDials() { return *speedDials_; }
  // Puts a stored nine-digit Oskar number (code page 1250) into the Oskar page and focuses its
  // message; a text without one of the four prefixes changes nothing.
  void PutOskarNumber(const std::string& text);
  void ShowSpeedDialHints();
  // The addressees chosen in the contacts dialog (code page 1250) go to the address field.
  void putChosenAddresses(const std::string& addresses);
  // The telephone numbers chosen in the contacts dialog (code page 1250) go to the "Modem" page.
  void putChosenNumbers(const std::string& numbers);
  // A sent message's addressees and text (and an Oskar message's other fields) go to its page,
  // which is shown; nothing is sent. Text being written that the record would replace is
  // replaced only after a question: false when the user kept it.
  bool putSentRecord(const SentRecord& record);

  // Page bar and page book.
  QFrame* panelFast;
  QPushButton* btnSMStop;
  QPushButton* btnEurotel;
  QPushButton* btnOskar;
  QStackedWidget* gotebookPlocha;

  // Page "SMS".
  TFlatEdit* editAdresa;
  QPushButton* btnPoslat;
  TMemo* memoText;
  std::array<QPushButton*, 4> btnEmailSpeedDials;  // btn1..btn4
  TCppWebBrowser* CppWebBrowser1;

  // Page "Oskar".
  QComboBox* comboPredcisliOskar;
  QLineEdit* editAdresaOskar;
  TMemo* memoTextOskar;
  QLineEdit* editSenderPredOskar;
  QLineEdit* editSenderOskar;
  QPushButton* btnPoslatOskar;
  std::array<QPushButton*, 4> btnOskarSpeedDials;  // btn1o..btn4o
  TCppWebBrowser* webOskarSend;

  // Page "Modem", there while the user has a modem.
  ModemPage& modemPage() { return *modemPage_; }

  // Page "Eurotel".
  QFrame* panelPodkladEurotelHlavni;
  QLabel* panelWebEurotel;
  TCppWebBrowser* webEurotel;

  // Side menu and help strip.
  QFrame* panelMenu1;
  QLabel* panelMenuNadpis;
  QPushButton* btnSMS;
  QPushButton* btnKontakty;
  QPushButton* btnRychleVolby;
  QLabel* panelMezera;
  QPushButton* btnKontakt;
  QPushButton* btnNapoveda;
  QPushButton* btnOdeslane;
  QPushButton* btnVertanix;
  QLabel* panelInfo2;

  ClockDeadline* timerVypnuti;

  // Hidden menu.
  QAction* Kontakty1;
  QAction* Rychlvolby1;
  QAction* Poslatzprvu1;
  QAction* Odeslatpozdeji1;
  QAction* Konec1;
  QAction* Odeslanezpravy1;
  QAction* Zpet1;
  QAction* Opakovat1;
  QAction* Vybratvse1;
  QAction* Koprovat1;
  QAction* Vyjmout1;
  QAction* Vloit1;
  QAction* Vlozitsablonu1;
  QAction* Uivatelskpruka1;

 public slots:
  void btnSMStopClick();
  void btnEurotelClick();
  void btnOskarClick();
  void btnModemClick();
  void btnSMSClick();
  void FormActivate();

  void memoTextChange();
  void memoTextOskarChange();
  void memoTextEurotelChange();

  void btnPoslatClick();
  void btnPoslatOskarClick();
  void Poslatzprvu1Click();
  void timerVypnutiTimer();
  void webEurotelDocumentComplete();

  void btnKontaktyClick();
  void btnRychleVolbyClick();
  void btnKontaktClick();
  void btnNapovedaClick();
  void btnOdeslaneClick();
  void btnVertanixClick();
  void Uivatelskpruka1Click();

  void btn1Click();
  void btn2Click();
  void btn3Click();
  void btn4Click();
  void btn1oClick();
  void btn2oClick();
  void btn3oClick();
  void btn4oClick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void FormCreate();
  bool FormCloseQuery();
  void FormClose();

  void buildLayout();
  void buildSending();
  QFrame* buildSideMenu();
  QWidget* buildEmailPage();
  QWidget* buildOskarPage();
  QWidget* buildEurotelPage();
  void buildHiddenMenu();
  void connectHandlers();

  void restoreStoredFields();
  SendingPage& sendingPage(Page page);
  void planLater(Page page);
  // The help strip is yellow while the program may not close, light blue otherwise.
  void showCloseGuard(bool heldBack);
  // Runs a clipboard command on whichever of the message and address fields has the focus.
  void clipboardCommand(const std::function<void(QLineEdit*)>& onEdit,
                        const std::function<void(QPlainTextEdit*)>& onMemo);
  // The strip counts the message of `page`, if that page is shown.
  void recount(Page page, const TMemo& memo, unsigned messageSize);

  OtherWindows& windows_;
  SendRecorder& recorder_;
  ProgramDatabase& database_;
  bool activated_ = false;
  WebEngineStarter* webEngine_;
  EurotelArea* eurotelArea_;
  ModemPage* modemPage_;
  SendFlow* sendFlow_;
  TemplateMenus* templateMenus_;
  Outbox* outbox_;
  DesktopPresence* presence_;
  DeliveryReports* deliveryReports_;
  PlanDialog* planDialog_ = nullptr;

  void connectSpeedDialButtons();
  void putEmailSpeedDial(int index);
  void putOskarSpeedDial(int index);

  std::unique_ptr<SendingPage> emailSending_;
  std::unique_ptr<SendingPage> oskarSending_;
  std::unique_ptr<SendingPage> modemSending_;
  std::unique_ptr<ContactStore> contacts_;
  std::unique_ptr<SpeedDialStore> speedDials_;
};

}  // namespace movarek
