#include "app/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QTimer>

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
#include "app/qt/memo.h"
#include "app/qt/other_windows.h"
#include "app/qt/outbox.h"
#include "app/qt/plan_dialog.h"
#include "app/qt/send_flow.h"
#include "app/qt/template_menus.h"
#include "app/qt/window_keys.h"
#include "app/stored_fields.h"
#include "common/cp1250.h"
#include "common/oskar_prefixes.h"
#include "common/qt/accessibility.h"
#include "common/qt/desktop.h"
#include "common/qt/message_box.h"
#include "common/qt/modal.h"
#include "common/qt/program_clock.h"
#include "common/qt/qt_color.h"
#include "common/qt/qt_text.h"
#include "send/counter.h"
#include "send/qt/lost_characters.h"
#include "send/qt/sent_messages_window.h"
#include "send/send_check.h"
#include "webview/qt/web_browser.h"
#include "webview/qt/web_engine_starter.h"

namespace movarek {

using namespace main_window;

namespace {

// A field of a sending page and the text a sent record would put in it.
struct FieldText {
  QWidget* widget;  // a QLineEdit or a TMemo
  QString text;
};

QString currentText(const FieldText& field) {
  if (const auto* edit = qobject_cast<const QLineEdit*>(field.widget)) return edit->text();
  return static_cast<const TMemo*>(field.widget)->text();
}

// Something is written in a field that would be replaced by another text.
bool replacesWriting(const std::vector<FieldText>& fields) {
  return std::ranges::any_of(fields, [](const FieldText& field) {
    const QString current = currentText(field);
    return !current.isEmpty() && current != field.text;
  });
}

// Replaced as an edit of the field, so that its undo brings the earlier text back.
void replaceUndoably(const FieldText& field) {
  if (currentText(field) == field.text) return;
  if (auto* edit = qobject_cast<QLineEdit*>(field.widget)) {
    edit->selectAll();
    edit->insert(field.text);
    return;
  }
  QTextCursor cursor(static_cast<TMemo*>(field.widget)->document());
  cursor.beginEditBlock();
  cursor.select(QTextCursor::Document);
  cursor.insertText(field.text);
  cursor.endEditBlock();
}

}  // namespace

// The window is there to be typed into before the web views are: the loads the creation step
// asks for wait for the engine, which starts after the first paint.
TfrmMain::TfrmMain(OtherWindows& windows, SendRecorder& recorder, ProgramDatabase& database)
    : windows_(windows),
      recorder_(recorder),
      database_(database),
      webEngine_(new WebEngineStarter(this)),
      templateMenus_(new TemplateMenus(database, *this)) {
  buildLayout();
  buildHiddenMenu();
  connectHandlers();
  connectSpeedDialButtons();
  FormCreate();
}

TfrmMain::~TfrmMain() = default;

Page TfrmMain::shownPage() const { return static_cast<Page>(gotebookPlocha->currentIndex()); }

// ---------------------------------------------------------------------------------------------
// Layout

void TfrmMain::buildLayout() {
  setWindowTitle(QStringLiteral("SMS Movarek"));
  auto* client = new QWidget(this);
  setCentralWidget(client);
  setFixedSize(kPageWidth + kSideMenuWidth, kPageBarHeight + kPageHeight + kHelpStripHeight);

  panelFast = new QFrame(client);
  panelFast->setGeometry(0, 0, kPageWidth, kPageBarHeight);
  // One choice of three pages: a screen reader hears tabs, one of them selected.
  setAccessibleRole(*panelFast, QAccessible::PageTabList);
  const QFont tabFont = arialFont(12, true);
  auto* tabs = new QButtonGroup(this);
  int x = 0;
  for (auto [slot, caption] :
       {std::pair{&btnSMStop, "SMS E-mail"}, {&btnEurotel, "Eurotel"}, {&btnOskar, "Oskar"}}) {
    *slot = new ChoiceButton(QString::fromUtf8(caption), QAccessible::PageTab, panelFast);
    (*slot)->setGeometry(x, 0, kTabWidth, kPageBarHeight);
    (*slot)->setFocusPolicy(Qt::TabFocus);
    (*slot)->setFont(tabFont);
    tabs->addButton(*slot);
    x += kTabWidth;
  }
  btnSMStop->setChecked(true);

  gotebookPlocha = new QStackedWidget(client);
  gotebookPlocha->setGeometry(0, kPageBarHeight, kPageWidth, kPageHeight);
  gotebookPlocha->addWidget(buildEmailPage());
  gotebookPlocha->addWidget(buildEurotelPage());
  gotebookPlocha->addWidget(buildOskarPage());

  panelMenu1 = buildSideMenu();
  panelMenu1->setParent(client);
  panelMenu1->setGeometry(kPageWidth, 0, kSideMenuWidth, kPageBarHeight + kPageHeight);

  panelInfo2 = panel(
      client, QStringLiteral("Nevíte, jak posílat SMS ZDARMA do T-Mobile? Klikněte na Nápověda!"),
      QRect(0, kPageBarHeight + kPageHeight, width(), kHelpStripHeight));
  panelInfo2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panelInfo2->setFont(arialFont(11, true));
  showCloseGuard(false);

  sendFlow_ = new SendFlow({memoText, CppWebBrowser1, "e-mail"},
                           {memoTextOskar, webOskarSend, "Oskar"}, recorder_, this);
  timerVypnuti = sendFlow_->closeGuard();
  outbox_ = new Outbox(database_, *CppWebBrowser1, *webOskarSend, *this);
  presence_ = new DesktopPresence(
      *this, [this] { return outbox_->pending(); }, [this] { btnOdeslaneClick(); });
}

// The menu is never shown, so it needs no menu bar (whose making would cost the start the
// loading of every image format plugin): the window keeps the menus and their shortcuts alive.
void TfrmMain::buildHiddenMenu() {
  auto menu = [this](const QString& caption) { return new QMenu(caption, this); };
  auto item = [this](QMenu* menu, const char* caption, QKeySequence shortcut) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setShortcut(shortcut);
    addAction(action);
    return action;
  };
  QMenu* soubor = menu(QStringLiteral("Soubor"));
  Kontakty1 = item(soubor, "Kontakty", QKeySequence(Qt::CTRL | Qt::Key_K));
  Rychlvolby1 = item(soubor, "Rychlé volby", QKeySequence(Qt::CTRL | Qt::Key_R));
  Poslatzprvu1 = item(soubor, "Poslat zprávu", QKeySequence(Qt::CTRL | Qt::Key_P));
  Odeslatpozdeji1 =
      item(soubor, "Odeslat později…", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
  Konec1 = item(soubor, "Konec", QKeySequence(Qt::Key_F10));
  Odeslanezpravy1 = item(soubor, "Odeslané zprávy", QKeySequence(Qt::CTRL | Qt::Key_H));
  QMenu* upravy = menu(QStringLiteral("Úpravy"));
  Zpet1 = item(upravy, "Zpět", QKeySequence(Qt::CTRL | Qt::Key_Z));
  Opakovat1 = item(upravy, "Opakovat", QKeySequence(Qt::CTRL | Qt::Key_Y));
  Vybratvse1 = item(upravy, "Vybrat vše", QKeySequence(Qt::CTRL | Qt::Key_A));
  Koprovat1 = item(upravy, "Kopírovat", QKeySequence(Qt::CTRL | Qt::Key_C));
  Vyjmout1 = item(upravy, "Vyjmout", QKeySequence(Qt::CTRL | Qt::Key_X));
  Vloit1 = item(upravy, "Vložit", QKeySequence(Qt::CTRL | Qt::Key_V));
  Vlozitsablonu1 = item(upravy, "Vložit šablonu", QKeySequence(Qt::CTRL | Qt::Key_T));
  QMenu* napoveda = menu(QStringLiteral("Nápověda"));
  Uivatelskpruka1 = item(napoveda, "Uživatelská příručka", QKeySequence(Qt::Key_F1));
  // Ctrl+P does nothing on the Eurotel page, and the others open the program's windows.
  new WindowKeys(
      *this, *webEurotel,
      {Kontakty1, Rychlvolby1, Poslatzprvu1, Odeslatpozdeji1, Uivatelskpruka1, Odeslanezpravy1},
      [this](bool forward) { focusNextPrevChild(forward); });
}

void TfrmMain::connectHandlers() {
  connect(btnSMStop, &QPushButton::clicked, this, &TfrmMain::btnSMStopClick);
  connect(btnEurotel, &QPushButton::clicked, this, &TfrmMain::btnEurotelClick);
  connect(btnOskar, &QPushButton::clicked, this, &TfrmMain::btnOskarClick);
  connect(btnSMS, &QPushButton::clicked, this, &TfrmMain::btnSMSClick);
  connect(btnKontakty, &QPushButton::clicked, this, &TfrmMain::btnKontaktyClick);
  connect(btnRychleVolby, &QPushButton::clicked, this, &TfrmMain::btnRychleVolbyClick);
  connect(btnKontakt, &QPushButton::clicked, this, &TfrmMain::btnKontaktClick);
  connect(btnNapoveda, &QPushButton::clicked, this, &TfrmMain::btnNapovedaClick);
  connect(btnVertanix, &QPushButton::clicked, this, &TfrmMain::btnVertanixClick);
  connect(btnOdeslane, &QPushButton::clicked, this, &TfrmMain::btnOdeslaneClick);
  connect(Odeslanezpravy1, &QAction::triggered, this, &TfrmMain::btnOdeslaneClick);

  connect(memoText, &QPlainTextEdit::textChanged, this, &TfrmMain::memoTextChange);
  connect(memoTextOskar, &QPlainTextEdit::textChanged, this, &TfrmMain::memoTextOskarChange);
  connect(btnPoslat, &QPushButton::clicked, this, &TfrmMain::btnPoslatClick);
  connect(editAdresa, &QLineEdit::returnPressed, btnPoslat, &QPushButton::click);
  connect(btnPoslatOskar, &QPushButton::clicked, this, &TfrmMain::btnPoslatOskarClick);
  for (QLineEdit* field :
       {editAdresaOskar, editSenderPredOskar, editSenderOskar, comboPredcisliOskar->lineEdit()}) {
    connect(field, &QLineEdit::returnPressed, btnPoslatOskar, &QPushButton::click);
  }
  connect(timerVypnuti, &QTimer::timeout, this, &TfrmMain::timerVypnutiTimer);
  connect(sendFlow_, &SendFlow::closeGuardChanged, this, &TfrmMain::showCloseGuard);
  connect(webEurotel, &TCppWebBrowser::DocumentComplete, this,
          &TfrmMain::webEurotelDocumentComplete);

  connect(Kontakty1, &QAction::triggered, this, &TfrmMain::btnKontaktyClick);
  connect(Rychlvolby1, &QAction::triggered, this, &TfrmMain::btnRychleVolbyClick);
  connect(Poslatzprvu1, &QAction::triggered, this, &TfrmMain::Poslatzprvu1Click);
  connect(Uivatelskpruka1, &QAction::triggered, this, &TfrmMain::Uivatelskpruka1Click);
  connect(Vybratvse1, &QAction::triggered, this,
          [this] { clipboardCommand(&QLineEdit::selectAll, &QPlainTextEdit::selectAll); });
  connect(Koprovat1, &QAction::triggered, this,
          [this] { clipboardCommand(&QLineEdit::copy, &QPlainTextEdit::copy); });
  connect(Vyjmout1, &QAction::triggered, this,
          [this] { clipboardCommand(&QLineEdit::cut, &QPlainTextEdit::cut); });
  connect(Vloit1, &QAction::triggered, this,
          [this] { clipboardCommand(&QLineEdit::paste, &QPlainTextEdit::paste); });
  templateMenus_->serve(*memoText, [this] { planLater(Page::Sms); });
  templateMenus_->serve(*memoTextOskar, [this] { planLater(Page::Oskar); });
  connect(Odeslatpozdeji1, &QAction::triggered, this, [this] { planLater(shownPage()); });
  for (auto [button, page] : {std::pair{btnPoslat, Page::Sms}, {btnPoslatOskar, Page::Oskar}}) {
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QWidget::customContextMenuRequested, this,
            [this, button, page](const QPoint& at) {
              auto* menu = new QMenu(button);
              menu->setAttribute(Qt::WA_DeleteOnClose);
              menu->addAction(QStringLiteral("Odeslat později…"), this,
                              [this, page] { planLater(page); });
              menu->popup(button->mapToGlobal(at));
            });
  }
  connect(sendFlow_, &SendFlow::waitingForNetwork, outbox_, &Outbox::reload);
  connect(outbox_, &Outbox::sendBegan, sendFlow_, &SendFlow::otherSendBegan);
  connect(outbox_, &Outbox::sendEnded, sendFlow_, &SendFlow::otherSendEnded);
  connect(Vlozitsablonu1, &QAction::triggered, this, [this] {
    for (TMemo* memo : {memoText, memoTextOskar}) {
      if (focusWidget() == memo) templateMenus_->popUpAtCursor(*memo);
    }
  });
}

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

// A send waits for the gateway's answer before it asks anything; meanwhile the window goes on
// working, and a second press of the same page's send does nothing.
void TfrmMain::btnPoslatClick() {
  if (sendFlow_->busy(Page::Sms)) return;
  sendIfPassed(Page::Sms);
}

void TfrmMain::btnPoslatOskarClick() {
  if (sendFlow_->busy(Page::Oskar)) return;
  sendIfPassed(Page::Oskar);
}

TfrmMain::CheckedSend TfrmMain::checkedSend(Page page) const {
  if (page == Page::Oskar) {
    const QString message = memoTextOskar->windowsText();
    return {
        checkOskarSend({toCp1250(editAdresaOskar->text()), toCp1250(message),
                        comboPredcisliOskar->currentIndex(), toCp1250(editSenderOskar->text()),
                        toCp1250(editSenderPredOskar->text())}),
        message,
        {editAdresaOskar->text(), message, editSenderOskar->text(), editSenderPredOskar->text()}};
  }
  const QString message = memoText->windowsText();
  return {checkEmailSend(toCp1250(editAdresa->text()), toCp1250(message)),
          message,
          {editAdresa->text(), message}};
}

bool TfrmMain::passed(const CheckedSend& checked) {
  const SendCheck& check = checked.check;
  if (!check.refused()) return agreedToLoseCharacters(checked.fields);
  showMessage(QString::fromStdString(check.message), QString::fromStdString(check.caption));
  QWidget* const focusTargets[] = {nullptr,         editAdresa,    memoText,
                                   editAdresaOskar, memoTextOskar, comboPredcisliOskar};
  if (QWidget* target = focusTargets[static_cast<int>(check.focus)]) target->setFocus();
  return false;
}

void TfrmMain::sendIfPassed(Page page) {
  const CheckedSend checked = checkedSend(page);
  if (!passed(checked)) return;
  SentRecord record = sentRecordOf(page, checked.check.sent);
  if (!outbox_->mayAlsoSend(record)) return;
  sendFlow_->send(page, checked.check.url, checked.message, std::move(record));
}

// Every check of a send runs now, not at its time; the message is then kept until it goes, and
// its text may be cleared as after a send.
void TfrmMain::planLater(Page page) {
  if (page == Page::Eurotel) return;
  const CheckedSend checked = checkedSend(page);
  if (!passed(checked)) return;
  if (!planDialog_) planDialog_ = new PlanDialog(this);
  planDialog_->FormActivate();
  if (showModal(*planDialog_) != QDialog::Accepted) return;
  SentRecord record = sentRecordOf(page, checked.check.sent);
  record.sentAt = ProgramClock::instance().now();
  record.dueAt = planDialog_->chosen().value();
  record.request = pathAndQueryOf(checked.check.url);
  TMemo* memo = page == Page::Oskar ? memoTextOskar : memoText;
  // The text may be cleared only once the plan is surely kept.
  outbox_->plan(record, [this, memo, text = checked.message](const SentRecord& kept) {
    const auto answer = showMessage(
        QStringLiteral("Zpráva je naplánována na %1.\nChcete vymazat text naplánované zprávy?")
            .arg(QString::fromStdString(shownTime(kept.dueAt))),
        QStringLiteral("Zpráva naplánována"), MessageButtons::YesNo);
    if (answer == MessageAnswer::Yes && memo->windowsText() == text) memo->clear();
    memo->setFocus();
  });
}

SentRecord TfrmMain::sentRecordOf(Page page, const SentFields& sent) {
  const auto utf8 = [](const std::string& cp1250) { return cp1250ToUtf8(cp1250); };
  SentRecord record;
  record.page = page;
  record.addressees = utf8(sent.addressees);
  record.oskarPrefix = utf8(sent.oskarPrefix);
  record.senderPrefix = utf8(sent.senderPrefix);
  record.sender = utf8(sent.sender);
  record.text = QString::fromStdString(utf8(sent.message))
                    .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                    .toStdString();
  return record;
}

void TfrmMain::Poslatzprvu1Click() {
  if (shownPage() == Page::Sms) btnPoslatClick();
  if (shownPage() == Page::Oskar) btnPoslatOskarClick();
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
  for (QLineEdit* edit : {editAdresaOskar, editSenderPredOskar, editSenderOskar}) {
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

bool TfrmMain::putSentRecord(const SentRecord& record) {
  const auto text = [](const std::string& utf8) { return QString::fromStdString(utf8); };
  const bool oskar = record.page == Page::Oskar;
  const std::vector<FieldText> fields =
      oskar ? std::vector<FieldText>{{editAdresaOskar, text(record.addressees)},
                                     {editSenderPredOskar, text(record.senderPrefix)},
                                     {editSenderOskar, text(record.sender)},
                                     {memoTextOskar, text(record.text)}}
            : std::vector<FieldText>{{editAdresa, text(record.addressees)},
                                     {memoText, text(record.text)}};
  if (replacesWriting(fields) &&
      showMessage(QStringLiteral("Nahradit rozepsanou zprávu?\nAdresa a text, které jsou teď v "
                                 "okně, se nahradí vybranou zprávou (vrátíte je klávesami "
                                 "Ctrl+Z)."),
                  QStringLiteral("Odeslané zprávy"),
                  MessageButtons::YesNoDefaultNo) != MessageAnswer::Yes) {
    return false;
  }
  for (const FieldText& field : fields) replaceUndoably(field);
  if (!oskar) {
    btnSMStopClick();
    return true;
  }
  const int prefix = oskarPrefixIndex(record.oskarPrefix);
  if (prefix >= 0) comboPredcisliOskar->setCurrentIndex(prefix);
  btnOskarClick();
  return true;
}

// A record keeps the prefix it sent ("608"); older ones kept the list's item ("+420 608").
int TfrmMain::oskarPrefixIndex(const std::string& prefix) const {
  const auto sent = std::ranges::find(kOskarPrefixes, prefix);
  if (sent != kOskarPrefixes.end()) return static_cast<int>(sent - kOskarPrefixes.begin());
  return comboPredcisliOskar->findText(QString::fromStdString(prefix));
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
