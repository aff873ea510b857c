#pragma once
// The main window: page bar, the three pages, side menu, help strip and the hidden menu whose
// items exist for their shortcuts.
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "flat/flat_edit.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTimer;

namespace movarek {

struct LoadFailure;
struct SendCheck;
class SendWatch;
class TCppWebBrowser;
class TMemo;
class WebEngineStarter;
class TfrmKontakt;
class TfrmKontakty;
class TfrmNapoveda;
class TfrmRychleVolby;
class ContactStore;
class EurotelArea;
class SpeedDialStore;

class TfrmMain : public QMainWindow {
  Q_OBJECT

 public:
  // Builds the window and runs its creation step: loads, program folder, stored fields.
  explicit TfrmMain(QWidget* parent = nullptr);
  ~TfrmMain() override;

  // The windows this one opens; they are created after it, since the contacts dialog lists
  // the contacts that this window's creation step loads.
  void attachWindows(TfrmKontakt* kontakt, TfrmRychleVolby* rychleVolby, TfrmNapoveda* napoveda,
                     TfrmKontakty* kontakty);
  // The windows it opens are made by `create`, right after this window's first paint or when
  // it first needs one of them.
  void createOtherWindowsWith(std::function<void()> create);

  // The name of the page the page book shows: "SMS", "Eurotel" or "Oskar".
  QString activePageName() const;

  // The address book and the speed dials, loaded by the creation step and shared with the
  // two dialogs that edit them.
  ContactStore& contacts() { return *contacts_; }
  SpeedDialStore& speedDials() { return *speedDials_; }
  // Puts a stored nine-digit Oskar number (code page 1250) into the Oskar page and focuses its
  // message; a text without one of the four prefixes changes nothing.
  void PutOskarNumber(const std::string& text);
  void ShowSpeedDialHints();

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
  QPushButton* btnVertanix;
  QLabel* panelInfo2;

  QTimer* timerVypnuti;

  // Hidden menu.
  QAction* Kontakty1;
  QAction* Rychlvolby1;
  QAction* Poslatzprvu1;
  QAction* Konec1;
  QAction* Zpet1;
  QAction* Opakovat1;
  QAction* Vybratvse1;
  QAction* Koprovat1;
  QAction* Vyjmout1;
  QAction* Vloit1;
  QAction* Uivatelskpruka1;

 public slots:
  void btnSMStopClick();
  void btnEurotelClick();
  void btnOskarClick();
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
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool leavesEurotelPage(const QKeyEvent& key);

 private:
  void FormCreate();
  bool FormCloseQuery();
  void FormClose();

  void buildLayout();
  QFrame* buildSideMenu();
  QWidget* buildEmailPage();
  QWidget* buildOskarPage();
  QWidget* buildEurotelPage();
  void buildHiddenMenu();
  void connectHandlers();

  void restoreStoredFields();
  // Tells why a send was refused and puts the focus where the fault is; false when it passed.
  bool refuseSend(const SendCheck& check);
  // The gateway has the message: offers to clear the sent text and guards the close.
  void finishSend(TMemo* sentMemo, const QString& sentText);
  // The message did not reach the gateway: says so and leaves the text for another try.
  void reportSendFailure(TMemo* unsentMemo, const LoadFailure& failure);
  // A send told as unknown was delivered after all.
  void reportLateDelivery();
  void armCloseGuard();
  bool closeHeldBack() const;
  // The help strip is yellow while the program may not close, light blue otherwise.
  void showCloseGuard();
  // Runs a clipboard command on whichever of the six fields has the focus.
  void clipboardCommand(const std::function<void(QLineEdit*)>& onEdit,
                        const std::function<void(QPlainTextEdit*)>& onMemo);

  // The other windows are there to be opened: made now if they are not yet.
  void ensureOtherWindows();

  bool activated_ = false;
  std::function<void()> createOtherWindows_;
  WebEngineStarter* webEngine_;
  EurotelArea* eurotelArea_;
  SendWatch* emailSend_;
  SendWatch* oskarSend_;
  // What each page's last send carried, as its message field held it at the press.
  QString emailSentText_;
  QString oskarSentText_;

  TfrmKontakt* frmKontakt_ = nullptr;
  TfrmRychleVolby* frmRychleVolby_ = nullptr;
  TfrmNapoveda* frmNapoveda_ = nullptr;
  TfrmKontakty* frmKontakty_ = nullptr;

  void connectSpeedDialButtons();
  void putEmailSpeedDial(int index);
  void putOskarSpeedDial(int index);

  std::unique_ptr<ContactStore> contacts_;
  std::unique_ptr<SpeedDialStore> speedDials_;
};

}  // namespace movarek
