#include "app/qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>

#include "addressbook/contact_store.h"
#include "addressbook/oskar_number.h"
#include "addressbook/qt/contacts_dialog.h"
#include "addressbook/qt/speed_dial_dialog.h"
#include "addressbook/qt/user_notice.h"
#include "app/maker_details.h"
#include "app/qt/desktop_presence.h"
#include "app/qt/error_report.h"
#include "app/qt/eurotel_area.h"
#include "app/qt/help_window.h"
#include "app/qt/main_window_layout.h"
#include "app/qt/maker_window.h"
#include "app/qt/modem_page.h"
#include "app/qt/other_windows.h"
#include "app/stored_fields.h"
#include "common/qt/desktop.h"
#include "common/qt/memo.h"
#include "common/qt/message_box.h"
#include "common/qt/modal.h"
#include "common/qt/qt_color.h"
#include "common/qt/qt_text.h"
#include "send/counter.h"
#include "send/qt/page_fields.h"
#include "send/qt/send_flow.h"
#include "send/qt/sent_messages_window.h"
#include "send/qt/template_menus.h"
#include "webview/qt/web_browser.h"
#include "webview/qt/web_engine_starter.h"

namespace movarek {

using namespace main_window;

// The window is there to be typed into before the web views are: the loads the creation step
// asks for wait for the engine, which starts after the first paint.
TfrmMain::TfrmMain(OtherWindows& windows, SendRecorder& recorder, ProgramDatabase& database)
    : windows_(windows),
      recorder_(recorder),
      database_(database),
      webEngine_(new WebEngineStarter(this)),
      templateMenus_(new TemplateMenus(database, *this)) {
  buildLayout();
  buildSending();
  buildHiddenMenu();
  connectHandlers();
  connectSpeedDialButtons();
  FormCreate();
}

TfrmMain::~TfrmMain() = default;

Page TfrmMain::shownPage() const { return static_cast<Page>(gotebookPlocha->currentIndex()); }

// ---------------------------------------------------------------------------------------------
// Start and end

void TfrmMain::FormCreate() {
  btnSMS->setGeometry(0, btnSMS->y(), panelMenu1->width(), btnSMS->height());
  gotebookPlocha->setCurrentIndex(int(Page::Sms));
  webEurotel->Navigate(gatewayUrl("/eurotel_nova2.php"));
  CppWebBrowser1->Navigate(gatewayUrl("/send_sms.php?go=pricti113"));
  restoreStoredFields();
  speedDials_ = std::make_unique<SpeedDialStore>(messageBoxNotice());
  speedDials_->LoadSpeedDials();
  ShowSpeedDialHints();
  contacts_ = std::make_unique<ContactStore>(messageBoxNotice());
  contacts_->LoadContacts();
}

void TfrmMain::restoreStoredFields() {
  const auto stored = loadStoredFields();
  if (!stored) return;
  editAdresa->setText(fromCp1250(stored->emailAddresses));
  if (!stored->oskar) return;
  const auto& oskar = *stored->oskar;
  if (oskar.prefixIndex >= 0 && oskar.prefixIndex < comboPredcisliOskar->count()) {
    comboPredcisliOskar->setCurrentIndex(oskar.prefixIndex);
  }
  editAdresaOskar->setText(fromCp1250(oskar.number));
  editSenderPredOskar->setText(fromCp1250(oskar.senderPrefix));
  editSenderOskar->setText(fromCp1250(oskar.sender));
}

void TfrmMain::FormActivate() { memoText->setFocus(); }

void TfrmMain::changeEvent(QEvent* event) {
  // Only the first activation counts: coming back from a dialog leaves the focus where it was.
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && !activated_) {
    activated_ = true;
    FormActivate();
  }
  QMainWindow::changeEvent(event);
}

bool TfrmMain::FormCloseQuery() {
  if (!sendFlow_->closeHeldBack()) return presence_->mayEnd();
  // The strip in sight, from the tray too: what the box says of it is true.
  if (isHidden()) presence_->show();
  showMessage(QStringLiteral("Program půjde vypnout za nekolik vteřin, až pruh nápovědy zmodrá."),
              QStringLiteral("Program nelze vypnout"));
  return false;
}

void TfrmMain::FormClose() {
  StoredFields fields;
  fields.emailAddresses = toCp1250(editAdresa->text());
  fields.oskar =
      StoredFields::Oskar{comboPredcisliOskar->currentIndex(), toCp1250(editAdresaOskar->text()),
                          toCp1250(editSenderPredOskar->text()), toCp1250(editSenderOskar->text())};
  saveStoredFields(fields, messageBoxNotice());  // told; the old file is kept
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
  presence_->end();
}

// ---------------------------------------------------------------------------------------------
// Pages and counter

void TfrmMain::btnSMStopClick() {
  gotebookPlocha->setCurrentIndex(int(Page::Sms));
  memoText->setFocus();
  memoTextChange();
}

void TfrmMain::btnEurotelClick() {
  gotebookPlocha->setCurrentIndex(int(Page::Eurotel));
  webEurotel->setFocus();
  memoTextEurotelChange();
}

void TfrmMain::btnOskarClick() {
  gotebookPlocha->setCurrentIndex(int(Page::Oskar));
  memoTextOskar->setFocus();
  memoTextOskarChange();
}

void TfrmMain::btnModemClick() {
  gotebookPlocha->setCurrentIndex(int(Page::Modem));
  modemPage_->memoTextModem->setFocus();
}

// The page buttons and the focus stay as they were; the strip counts the page now shown.
void TfrmMain::btnSMSClick() {
  gotebookPlocha->setCurrentIndex(int(Page::Sms));
  memoTextChange();
}

// A message field that is not shown (cleared after its send was answered) leaves the strip to
// the page that is.
void TfrmMain::recount(Page page, const TMemo& memo, unsigned messageSize) {
  if (shownPage() != page) return;
  const auto length = toCp1250(memo.windowsText()).size();
  panelMezera->setText(QString::fromStdString(counterCaption(length, messageSize)));
}

void TfrmMain::memoTextChange() { recount(Page::Sms, *memoText, kEmailMessageSize); }

void TfrmMain::memoTextOskarChange() { recount(Page::Oskar, *memoTextOskar, kOskarMessageSize); }

void TfrmMain::memoTextEurotelChange() { panelMezera->setText(QString::fromLatin1(kNoCounter)); }

void TfrmMain::webEurotelDocumentComplete() { eurotelArea_->pageComplete(); }

// ---------------------------------------------------------------------------------------------
// Sending

void TfrmMain::btnPoslatClick() { emailSending_->send(); }

void TfrmMain::btnPoslatOskarClick() { oskarSending_->send(); }

SendingPage& TfrmMain::sendingPage(Page page) {
  if (page == Page::Modem) return *modemSending_;
  return page == Page::Oskar ? *oskarSending_ : *emailSending_;
}

// "Odeslat později…" of the page shown; the Eurotel page has nothing to plan.
void TfrmMain::planLater(Page page) {
  if (page != Page::Eurotel) sendingPage(page).planLater();
}

void TfrmMain::Poslatzprvu1Click() {
  if (shownPage() != Page::Eurotel) sendingPage(shownPage()).send();
}

void TfrmMain::timerVypnutiTimer() { sendFlow_->closeGuardOver(); }

void TfrmMain::showCloseGuard(bool heldBack) {
  paintBackground(panelInfo2, colorFromValue(heldBack ? kGuardColour : kHelpStripColour));
}

// ---------------------------------------------------------------------------------------------
// Hidden menu

void TfrmMain::clipboardCommand(const std::function<void(QLineEdit*)>& onEdit,
                                const std::function<void(QPlainTextEdit*)>& onMemo) {
  const QWidget* focused = QApplication::focusWidget();
  if (focused == memoText) onMemo(memoText);
  if (focused == editAdresa) onEdit(editAdresa);
  if (focused == memoTextOskar) onMemo(memoTextOskar);
  if (focused == modemPage_->memoTextModem) onMemo(modemPage_->memoTextModem);
  for (QLineEdit* edit : {editAdresaOskar, editSenderPredOskar, editSenderOskar,
                          static_cast<QLineEdit*>(modemPage_->editCislo)}) {
    if (focused == edit) onEdit(edit);
  }
}

// ---------------------------------------------------------------------------------------------
// Other windows

// The dialogs get ready for each opening here rather than on being shown, so that they are
// ready however the modal showing is done.
void TfrmMain::btnKontaktyClick() {
  TfrmKontakty& kontakty = windows_.kontakty();
  kontakty.setShownPage(shownPage());
  kontakty.FormActivate();
  showModal(kontakty);
}

void TfrmMain::btnRychleVolbyClick() {
  TfrmRychleVolby& rychleVolby = windows_.rychleVolby();
  rychleVolby.FormActivate();
  showModal(rychleVolby);
}

void TfrmMain::btnKontaktClick() { showModal(windows_.kontakt()); }

void TfrmMain::btnOdeslaneClick() {
  SentMessagesWindow& odeslane = windows_.odeslane();
  odeslane.FormActivate();
  showModal(odeslane);
}

void TfrmMain::btnNapovedaClick() {
  TfrmNapoveda& napoveda = windows_.napoveda();
  try {
    napoveda.loadHelpDocument();
    napoveda.showHelp();
  } catch (const std::exception& error) {
    reportError(error);
  }
}

// Whether a browser opened is not examined.
void TfrmMain::btnVertanixClick() { openOnDesktop(QUrl(QString::fromUtf8(kMakerWebUrl))); }

// Shows what the help window last held, without reading the file again.
void TfrmMain::Uivatelskpruka1Click() { windows_.napoveda().showHelp(); }

// ---------------------------------------------------------------------------------------------
// Address book

void TfrmMain::PutOskarNumber(const std::string& text) {
  const auto oskar = parseOskarNumber(text);
  if (!oskar) return;
  editAdresaOskar->setText(fromCp1250(oskar->number));
  comboPredcisliOskar->setCurrentIndex(oskar->prefixIndex);
  memoTextOskar->setFocus();
}

void TfrmMain::putChosenAddresses(const std::string& addresses) {
  editAdresa->setText(fromCp1250(addresses));
  memoText->setFocus();
}

void TfrmMain::putChosenNumbers(const std::string& numbers) {
  modemPage_->editCislo->setText(fromCp1250(numbers));
  modemPage_->memoTextModem->setFocus();
}

bool TfrmMain::putSentRecord(const SentRecord& record) {
  if (record.page == Page::Modem && !modemPage_->available()) {
    showError(
        QStringLiteral("Zprávu nelze vrátit na stránku Modem: není připojen žádný modem, "
                       "který umí posílat zprávy."));
    return false;
  }
  if (!sendingPage(record.page).putBack(record)) return false;
  if (record.page == Page::Oskar) {
    btnOskarClick();
  } else if (record.page == Page::Modem) {
    btnModemClick();
  } else {
    btnSMStopClick();
  }
  return true;
}

void TfrmMain::ShowSpeedDialHints() {
  const SpeedDialTable& table = speedDials_->table();
  for (int i = 0; i < SpeedDialTable::kEntriesPerBlock; ++i) {
    describeSpeedDial(*btnEmailSpeedDials[i], fromCp1250(table.entry(SpeedDialBlock::Email, i)));
    describeSpeedDial(*btnOskarSpeedDials[i], fromCp1250(table.entry(SpeedDialBlock::Oskar, i)));
  }
}

void TfrmMain::connectSpeedDialButtons() {
  const std::array emailSlots{&TfrmMain::btn1Click, &TfrmMain::btn2Click, &TfrmMain::btn3Click,
                              &TfrmMain::btn4Click};
  const std::array oskarSlots{&TfrmMain::btn1oClick, &TfrmMain::btn2oClick, &TfrmMain::btn3oClick,
                              &TfrmMain::btn4oClick};
  for (int i = 0; i < SpeedDialTable::kEntriesPerBlock; ++i) {
    connect(btnEmailSpeedDials[i], &QPushButton::clicked, this, emailSlots[i]);
    connect(btnOskarSpeedDials[i], &QPushButton::clicked, this, oskarSlots[i]);
  }
}

void TfrmMain::putEmailSpeedDial(int index) {
  editAdresa->setText(fromCp1250(speedDials_->table().entry(SpeedDialBlock::Email, index)));
  memoText->setFocus();
}

void TfrmMain::putOskarSpeedDial(int index) {
  PutOskarNumber(speedDials_->table().entry(SpeedDialBlock::Oskar, index));
}

void TfrmMain::btn1Click() { putEmailSpeedDial(0); }
void TfrmMain::btn2Click() { putEmailSpeedDial(1); }
void TfrmMain::btn3Click() { putEmailSpeedDial(2); }
void TfrmMain::btn4Click() { putEmailSpeedDial(3); }
void TfrmMain::btn1oClick() { putOskarSpeedDial(0); }
void TfrmMain::btn2oClick() { putOskarSpeedDial(1); }
void TfrmMain::btn3oClick() { putOskarSpeedDial(2); }
void TfrmMain::btn4oClick() { putOskarSpeedDial(3); }

}  // namespace movarek
