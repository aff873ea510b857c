#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <utility>

#include "addressbook/contact_store.h"
#include "addressbook/contacts_dialog.h"
#include "addressbook/oskar_number.h"
#include "addressbook/speed_dial_dialog.h"
#include "addressbook/speed_dials.h"
#include "addressbook/user_notice.h"
#include "app/error_report.h"
#include "app/eurotel_area.h"
#include "app/help_window.h"
#include "app/maker_details.h"
#include "app/maker_window.h"
#include "app/memo.h"
#include "app/stored_fields.h"
#include "common/accessibility.h"
#include "common/carried_picture.h"
#include "common/designed_look.h"
#include "common/desktop.h"
#include "common/message_box.h"
#include "common/modal.h"
#include "common/program_folder.h"
#include "common/qt_color.h"
#include "common/qt_text.h"
#include "send/counter.h"
#include "send/gateway.h"
#include "send/send_check.h"
#include "send/send_failure.h"
#include "send/send_watch.h"
#include "webview/web_browser.h"
#include "webview/web_engine_starter.h"

namespace movarek {
namespace {

constexpr int kPageWidth = 369;
constexpr int kPageHeight = 179;
constexpr int kPageBarHeight = 25;
constexpr int kSideMenuWidth = 108;
constexpr int kHelpStripHeight = 20;

constexpr std::uint32_t kSideMenuColour = 6605821;
constexpr std::uint32_t kHelpStripColour = 16309965;  // light blue: the program may close
constexpr std::uint32_t kGuardColour = 65535;         // yellow: a request is still loading
constexpr int kCloseGuardMs = 10000;

constexpr int kEmailMemoLimit = 714;
constexpr int kOskarMemoLimit = 760;

const char* const kPageSms = "SMS";
const QString kMessageName = QStringLiteral("Text zprávy");
const char* const kPageEurotel = "Eurotel";
const char* const kPageOskar = "Oskar";

// The gateway's own address, the one origin of every page a view shows.
QUrl gatewayAddress() { return QUrl(QString::fromStdString(gatewayUrl("/"))); }

QFont arial(int pixels, bool bold) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

void paintBackground(QWidget* widget, const QColor& colour) {
  widget->setAutoFillBackground(true);
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  widget->setPalette(palette);
}

QPushButton* button(QWidget* parent, const QString& caption, const QRect& geometry) {
  auto* created = new QPushButton(caption, parent);
  created->setGeometry(geometry);
  created->setFocusPolicy(Qt::TabFocus);
  return created;
}

QLabel* label(QWidget* parent, const QString& text, const QPoint& at) {
  auto* created = new QLabel(text, parent);
  created->move(at);
  created->adjustSize();
  return created;
}

QLabel* panel(QWidget* parent, const QString& caption, const QRect& geometry) {
  auto* created = new QLabel(caption, parent);
  created->setGeometry(geometry);
  created->setAlignment(Qt::AlignCenter);
  return created;
}

// A sending page: its picture stretched over the tooltip colour. Painted by the page itself: a
// style sheet would cost the window a tenth of its start. Its controls keep the window's own
// colours.
class PicturePage : public QWidget {
 public:
  PicturePage(const QString& name, const QString& picture) : pictureFile_(picture) {
    setObjectName(name);
  }

 protected:
  // The picture is read when the page is first shown.
  void paintEvent(QPaintEvent*) override {
    if (picture_.isNull()) picture_ = carriedPicture(pictureFile_);
    QPainter painter(this);
    painter.fillRect(rect(), QGuiApplication::palette().color(QPalette::ToolTipBase));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), picture_);
  }

 private:
  QString pictureFile_;
  QPixmap picture_;
};

std::array<QPushButton*, 4> speedDialButtons(QWidget* page, int x, int top, int size, int height,
                                             int step) {
  std::array<QPushButton*, 4> buttons{};
  for (int i = 0; i < 4; ++i) {
    buttons[i] = button(page, QString::number(i + 1), QRect(x, top + i * step, size, height));
    buttons[i]->setAccessibleName(QStringLiteral("Rychlá volba %1").arg(i + 1));
  }
  return buttons;
}

// What a speed-dial button puts into the page, as its hint shows it, for a screen reader too.
void describeSpeedDial(QPushButton& button, const QString& entry) {
  button.setToolTip(entry);
  button.setAccessibleDescription(entry.isEmpty() ? QStringLiteral("prázdná") : entry);
}

}  // namespace

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent), webEngine_(new WebEngineStarter(this)) {
  buildLayout();
  buildHiddenMenu();
  connectHandlers();
  connectSpeedDialButtons();
  FormCreate();
  // The window is there to be typed into before the web views are: the loads the creation
  // step asked for wait until it has painted.
  webEngine_->startAfterFirstPaint(*this);
}

TfrmMain::~TfrmMain() { qApp->removeEventFilter(this); }

void TfrmMain::attachWindows(TfrmKontakt* kontakt, TfrmRychleVolby* rychleVolby,
                             TfrmNapoveda* napoveda, TfrmKontakty* kontakty) {
  frmKontakt_ = kontakt;
  frmRychleVolby_ = rychleVolby;
  frmNapoveda_ = napoveda;
  frmKontakty_ = kontakty;
}

void TfrmMain::createOtherWindowsWith(std::function<void()> create) {
  createOtherWindows_ = std::move(create);
}

void TfrmMain::ensureOtherWindows() {
  if (createOtherWindows_) std::exchange(createOtherWindows_, {})();
}

QString TfrmMain::activePageName() const { return gotebookPlocha->currentWidget()->objectName(); }

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
  const QFont tabFont = arial(12, true);
  auto* tabs = new QButtonGroup(this);
  int x = 0;
  for (auto [slot, caption] :
       {std::pair{&btnSMStop, "SMS E-mail"}, {&btnEurotel, "Eurotel"}, {&btnOskar, "Oskar"}}) {
    *slot = new ChoiceButton(QString::fromUtf8(caption), QAccessible::PageTab, panelFast);
    (*slot)->setGeometry(x, 0, 123, kPageBarHeight);
    (*slot)->setFocusPolicy(Qt::TabFocus);
    (*slot)->setFont(tabFont);
    tabs->addButton(*slot);
    x += 123;
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
  panelInfo2->setFont(arial(11, true));
  paintBackground(panelInfo2, colorFromValue(kHelpStripColour));

  timerVypnuti = new QTimer(this);
  timerVypnuti->setInterval(kCloseGuardMs);
  emailSend_ = new SendWatch(*CppWebBrowser1, "e-mail", this);
  oskarSend_ = new SendWatch(*webOskarSend, "Oskar", this);
}

QFrame* TfrmMain::buildSideMenu() {
  auto* menu = new QFrame;
  paintBackground(menu, colorFromValue(kSideMenuColour));

  panelMenuNadpis = panel(menu, QStringLiteral("SMS Movarek"), QRect(0, 0, kSideMenuWidth, 25));
  panelMenuNadpis->setFont(arial(13, true));
  paintBackground(panelMenuNadpis, QColor(0, 0, 128));
  colourText(*panelMenuNadpis, QPalette::WindowText, Qt::yellow);

  // Narrower as designed; the creation step widens it to the side menu.
  btnSMS = button(menu, QStringLiteral("SMS"), QRect(4, 25, 100, 28));
  btnSMS->setCheckable(true);
  btnSMS->setChecked(true);
  btnSMS->setFont(arial(13, true));
  colourText(*btnSMS, QPalette::ButtonText, Qt::blue);
  auto* alwaysDown = new QButtonGroup(this);
  alwaysDown->addButton(btnSMS);

  int top = 53;
  auto next = [&top](int height) {
    const QRect place(0, top, kSideMenuWidth, height);
    top += height;
    return place;
  };
  btnKontakty = button(menu, QStringLiteral("Kontakty"), next(20));
  btnRychleVolby = button(menu, QStringLiteral("Rychlé volby"), next(20));
  panelMezera = new StatusLine(QStringLiteral("0 / 1"), menu);
  panelMezera->setGeometry(next(20));
  panelMezera->setAlignment(Qt::AlignCenter);
  panelMezera->setFont(arial(11, true));
  panelMezera->setToolTip(
      QStringLiteral("Délka napsaného textu / počet zpráv, do kterých se text rozdělí"));
  btnKontakt = button(menu, QStringLiteral("Napište nám!"), next(20));
  btnNapoveda = button(menu, QStringLiteral("Nápověda"), next(20));
  btnVertanix = button(menu, QString::fromUtf8(kMakerWebAddress),
                       QRect(0, kPageBarHeight + kPageHeight - 29, kSideMenuWidth, 29));
  btnVertanix->setFont(arial(12, true));
  colourText(*btnVertanix, QPalette::ButtonText, Qt::blue);
  return menu;
}

QWidget* TfrmMain::buildEmailPage() {
  QWidget* page = new PicturePage(kPageSms, QStringLiteral(":/movarek/pozadi_sms.png"));
  QLabel* addressLabel = label(page, QStringLiteral("Adresa:"), QPoint(8, 9));
  editAdresa = new TFlatEdit(page);
  nameByLabel(*addressLabel, *editAdresa, QStringLiteral("Adresa"));
  editAdresa->setGeometry(56, 6, 240, 19);
  editAdresa->setFont(arial(13, false));
  btnPoslat = button(page, QStringLiteral("Poslat!"), QRect(300, 4, 61, 23));
  btnPoslat->setDefault(true);
  memoText = new TMemo(kEmailMemoLimit, page);
  memoText->setAccessibleName(kMessageName);
  memoText->setGeometry(8, 32, 323, 140);
  btnEmailSpeedDials = speedDialButtons(page, 334, 32, 33, 33, 36);
  CppWebBrowser1 =
      new TCppWebBrowser(*webEngine_, TCppWebBrowser::Kind::Hidden, gatewayAddress(), page);
  CppWebBrowser1->setGeometry(0, 0, 0, kPageHeight);
  return page;
}

QWidget* TfrmMain::buildOskarPage() {
  QWidget* page = new PicturePage(kPageOskar, QStringLiteral(":/movarek/pozadi_oskar.png"));
  QLabel* numberLabel = label(page, QStringLiteral("Telefon:"), QPoint(8, 8));
  comboPredcisliOskar = new QComboBox(page);
  comboPredcisliOskar->setEditable(true);
  comboPredcisliOskar->setInsertPolicy(QComboBox::NoInsert);
  comboPredcisliOskar->addItems({QStringLiteral("+420 608"), QStringLiteral("+420 775"),
                                 QStringLiteral("+420 776"), QStringLiteral("+420 777")});
  comboPredcisliOskar->setCurrentIndex(-1);
  comboPredcisliOskar->setEditText(QStringLiteral("Předčíslí"));
  comboPredcisliOskar->setGeometry(60, 4, 90, 22);
  editAdresaOskar = new QLineEdit(page);
  editAdresaOskar->setGeometry(154, 4, 80, 22);
  // The list tells its choice; its line, which takes the keys, tells what it is for.
  nameByLabel(*numberLabel, *comboPredcisliOskar, QStringLiteral("Telefon, předčíslí"));
  comboPredcisliOskar->lineEdit()->setAccessibleName(comboPredcisliOskar->accessibleName());
  editAdresaOskar->setAccessibleName(QStringLiteral("Telefon, číslo"));
  btnPoslatOskar = button(page, QStringLiteral("Poslat!"), QRect(300, 4, 61, 23));
  btnPoslatOskar->setDefault(true);
  memoTextOskar = new TMemo(kOskarMemoLimit, page);
  memoTextOskar->setAccessibleName(kMessageName);
  memoTextOskar->setGeometry(8, 30, 323, 109);
  QLabel* senderLabel = label(page, QStringLiteral("Vaše číslo:"), QPoint(8, 150));
  editSenderPredOskar = new QLineEdit(page);
  editSenderPredOskar->setGeometry(80, 146, 65, 22);
  nameByLabel(*senderLabel, *editSenderPredOskar, QStringLiteral("Vaše číslo, předčíslí"));
  editSenderOskar = new QLineEdit(page);
  editSenderOskar->setGeometry(150, 146, 145, 22);
  editSenderOskar->setAccessibleName(QStringLiteral("Vaše číslo"));
  btnOskarSpeedDials = speedDialButtons(page, 334, 30, 33, 25, 28);
  // In reading order: the speed dials beside the message come before the sender's number
  // below it.
  QWidget::setTabOrder(memoTextOskar, btnOskarSpeedDials[0]);
  QWidget::setTabOrder(btnOskarSpeedDials[3], editSenderPredOskar);
  QWidget::setTabOrder(editSenderPredOskar, editSenderOskar);
  webOskarSend =
      new TCppWebBrowser(*webEngine_, TCppWebBrowser::Kind::Hidden, gatewayAddress(), page);
  webOskarSend->setGeometry(0, 0, 0, kPageHeight);
  return page;
}

QWidget* TfrmMain::buildEurotelPage() {
  auto* page = new QWidget;
  page->setObjectName(kPageEurotel);
  panelPodkladEurotelHlavni = new QFrame(page);
  panelPodkladEurotelHlavni->setGeometry(0, 0, kPageWidth, kPageHeight);
  panelWebEurotel =
      panel(panelPodkladEurotelHlavni, QStringLiteral("Stránka se načítá, prosím vyčkejte..."),
            QRect(0, 0, kPageWidth, kPageHeight));
  panelWebEurotel->setFont(arial(17, true));
  colourText(*panelWebEurotel, QPalette::WindowText, Qt::red);
  // Zero width until its first document has arrived: the notice shows meanwhile.
  webEurotel = new TCppWebBrowser(*webEngine_, TCppWebBrowser::Kind::Shown, gatewayAddress(),
                                  panelWebEurotel);
  webEurotel->setGeometry(0, 0, 0, kPageHeight);
  webEurotel->setDialogCaption(QString::fromLatin1(kPageEurotel));
  webEurotel->setAccessibleName(QString::fromLatin1(kPageEurotel));
  eurotelArea_ = new EurotelArea(*panelWebEurotel, *webEurotel);
  return page;
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
  Konec1 = item(soubor, "Konec", QKeySequence(Qt::Key_F10));
  QMenu* upravy = menu(QStringLiteral("Úpravy"));
  Zpet1 = item(upravy, "Zpět", QKeySequence(Qt::CTRL | Qt::Key_Z));
  Opakovat1 = item(upravy, "Opakovat", QKeySequence(Qt::CTRL | Qt::Key_Y));
  Vybratvse1 = item(upravy, "Vybrat vše", QKeySequence(Qt::CTRL | Qt::Key_A));
  Koprovat1 = item(upravy, "Kopírovat", QKeySequence(Qt::CTRL | Qt::Key_C));
  Vyjmout1 = item(upravy, "Vyjmout", QKeySequence(Qt::CTRL | Qt::Key_X));
  Vloit1 = item(upravy, "Vložit", QKeySequence(Qt::CTRL | Qt::Key_V));
  QMenu* napoveda = menu(QStringLiteral("Nápověda"));
  Uivatelskpruka1 = item(napoveda, "Uživatelská příručka", QKeySequence(Qt::Key_F1));
  // The menu's keys come before the fields' own: Ctrl+Z, Ctrl+A and the rest act as the
  // menu says, or not at all.
  qApp->installEventFilter(this);
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
  connect(webEurotel, &TCppWebBrowser::DocumentComplete, this,
          &TfrmMain::webEurotelDocumentComplete);
  connect(emailSend_, &SendWatch::delivered, this,
          [this] { finishSend(memoText, emailSentText_); });
  connect(emailSend_, &SendWatch::failed, this,
          [this](const LoadFailure& failure) { reportSendFailure(memoText, failure); });
  connect(oskarSend_, &SendWatch::delivered, this,
          [this] { finishSend(memoTextOskar, oskarSentText_); });
  connect(oskarSend_, &SendWatch::failed, this,
          [this](const LoadFailure& failure) { reportSendFailure(memoTextOskar, failure); });
  for (SendWatch* watch : {emailSend_, oskarSend_}) {
    connect(watch, &SendWatch::deliveredLate, this, &TfrmMain::reportLateDelivery);
  }

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
}

// ---------------------------------------------------------------------------------------------
// Start and end

void TfrmMain::FormCreate() {
  btnSMS->setGeometry(0, btnSMS->y(), panelMenu1->width(), btnSMS->height());
  gotebookPlocha->setCurrentIndex(0);
  webEurotel->Navigate(gatewayUrl("/eurotel_nova2.php"));
  CppWebBrowser1->Navigate(gatewayUrl("/send_sms.php?go=pricti113"));
  programFolder();
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
  if (!closeHeldBack()) return true;
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
}

// ---------------------------------------------------------------------------------------------
// Pages and counter

void TfrmMain::btnSMStopClick() {
  gotebookPlocha->setCurrentIndex(0);
  memoText->setFocus();
  memoTextChange();
}

void TfrmMain::btnEurotelClick() {
  gotebookPlocha->setCurrentIndex(1);
  webEurotel->setFocus();
  memoTextEurotelChange();
}

void TfrmMain::btnOskarClick() {
  gotebookPlocha->setCurrentIndex(2);
  memoTextOskar->setFocus();
  memoTextOskarChange();
}

// The page buttons and the focus stay as they were; the strip counts the page now shown.
void TfrmMain::btnSMSClick() {
  gotebookPlocha->setCurrentIndex(0);
  memoTextChange();
}

// A message field that is not shown (cleared after its send was answered) leaves the strip to
// the page that is.
void TfrmMain::memoTextChange() {
  if (activePageName() != kPageSms) return;
  const auto length = toCp1250(memoText->windowsText()).size();
  panelMezera->setText(QString::fromStdString(counterCaption(length, kEmailMessageSize)));
}

void TfrmMain::memoTextOskarChange() {
  if (activePageName() != kPageOskar) return;
  const auto length = toCp1250(memoTextOskar->windowsText()).size();
  panelMezera->setText(QString::fromStdString(counterCaption(length, kOskarMessageSize)));
}

void TfrmMain::memoTextEurotelChange() { panelMezera->setText(QString::fromLatin1(kNoCounter)); }

void TfrmMain::webEurotelDocumentComplete() { eurotelArea_->pageComplete(); }

// ---------------------------------------------------------------------------------------------
// Sending

// A send waits for the gateway's answer before it asks anything; meanwhile the window goes on
// working, and a second press of the same page's send does nothing.
void TfrmMain::btnPoslatClick() {
  if (emailSend_->busy()) return;
  const QString message = memoText->windowsText();
  const auto check = checkEmailSend(toCp1250(editAdresa->text()), toCp1250(message));
  if (refuseSend(check)) return;
  emailSentText_ = message;
  emailSend_->send(check.url);
  showCloseGuard();
}

void TfrmMain::btnPoslatOskarClick() {
  if (oskarSend_->busy()) return;
  const QString message = memoTextOskar->windowsText();
  const auto number = toCp1250(editAdresaOskar->text());
  const auto sender = toCp1250(editSenderOskar->text());
  const auto senderPrefix = toCp1250(editSenderPredOskar->text());
  const auto check = checkOskarSend(
      {number, toCp1250(message), comboPredcisliOskar->currentIndex(), sender, senderPrefix});
  if (refuseSend(check)) return;
  oskarSentText_ = message;
  oskarSend_->send(check.url);
  showCloseGuard();
}

bool TfrmMain::refuseSend(const SendCheck& check) {
  if (!check.refused()) return false;
  showMessage(QString::fromStdString(check.message), QString::fromStdString(check.caption));
  QWidget* const focusTargets[] = {nullptr,         editAdresa,    memoText,
                                   editAdresaOskar, memoTextOskar, comboPredcisliOskar};
  if (QWidget* target = focusTargets[static_cast<int>(check.focus)]) target->setFocus();
  return true;
}

// The answer may come while another page is shown: that page keeps its strip and the focus.
void TfrmMain::finishSend(TMemo* sentMemo, const QString& sentText) {
  const auto answer = showMessage(QString::fromUtf8(kSentQuestion.data(), kSentQuestion.size()),
                                  QString::fromUtf8(kSentCaption.data(), kSentCaption.size()),
                                  MessageButtons::YesNo);
  const bool shown = gotebookPlocha->currentWidget() == sentMemo->parentWidget();
  // Text typed after the press was never sent: it stays.
  if (answer == MessageAnswer::Yes && sentMemo->windowsText() == sentText) {
    sentMemo->clear();
    if (shown) panelMezera->setText(QStringLiteral("0 / 1"));
  }
  if (shown) sentMemo->setFocus();
  armCloseGuard();
}

void TfrmMain::reportSendFailure(TMemo* unsentMemo, const LoadFailure& failure) {
  showCloseGuard();
  showMessage(QString::fromStdString(sendFailureMessage(failure)), QStringLiteral("Chyba"));
  if (gotebookPlocha->currentWidget() == unsentMemo->parentWidget()) unsentMemo->setFocus();
}

void TfrmMain::reportLateDelivery() {
  showMessage(QString::fromUtf8(kLateAnswerMessage.data(), kLateAnswerMessage.size()),
              QString::fromUtf8(kSentCaption.data(), kSentCaption.size()));
}

void TfrmMain::Poslatzprvu1Click() {
  if (activePageName() == kPageSms) btnPoslatClick();
  if (activePageName() == kPageOskar) btnPoslatOskarClick();
}

void TfrmMain::armCloseGuard() {
  timerVypnuti->stop();
  timerVypnuti->start();
  showCloseGuard();
}

void TfrmMain::timerVypnutiTimer() {
  timerVypnuti->stop();
  showCloseGuard();
}

// A request still on its way holds the close back as the ten seconds after a send do:
// closing would cut it off.
bool TfrmMain::closeHeldBack() const {
  return timerVypnuti->isActive() || emailSend_->busy() || oskarSend_->busy();
}

void TfrmMain::showCloseGuard() {
  paintBackground(panelInfo2, colorFromValue(closeHeldBack() ? kGuardColour : kHelpStripColour));
}

// ---------------------------------------------------------------------------------------------
// Hidden menu

// The items whose keys act on the Eurotel page too: they open the program's own windows (and
// Ctrl+P, which does nothing there).
constexpr std::array kWindowKeys = {&TfrmMain::Kontakty1, &TfrmMain::Rychlvolby1,
                                    &TfrmMain::Poslatzprvu1, &TfrmMain::Uivatelskpruka1};

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

// Ctrl+Tab and Ctrl+Shift+Tab take the keyboard out of the Eurotel page, whatever the page
// does with Tab.
bool TfrmMain::leavesEurotelPage(const QKeyEvent& key) {
  if (!(key.modifiers() & Qt::ControlModifier)) return false;
  if (key.key() != Qt::Key_Tab && key.key() != Qt::Key_Backtab) return false;
  focusNextPrevChild(key.key() == Qt::Key_Tab && !(key.modifiers() & Qt::ShiftModifier));
  return true;
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
  // Seen here before the web engine's starter sees it: the other windows come first.
  if (watched == this && event->type() == QEvent::Paint && createOtherWindows_) {
    QMetaObject::invokeMethod(this, &TfrmMain::ensureOtherWindows, Qt::QueuedConnection);
  }
  const bool keyOrShortcut =
      event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
  if (!keyOrShortcut || !watched->isWidgetType()) return QMainWindow::eventFilter(watched, event);
  auto* widget = static_cast<QWidget*>(watched);
  if (widget->window() != this) return QMainWindow::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) {
    return (webEurotel->isAncestorOf(widget) &&
            leavesEurotelPage(*static_cast<QKeyEvent*>(event))) ||
           QMainWindow::eventFilter(watched, event);
  }
  const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
  // The Eurotel page is the gateway's own web form: editing keys (Ctrl+C, Ctrl+V, Ctrl+Z...)
  // and every other key are the page's; only the keys that open the program's windows act there.
  if (webEurotel->isAncestorOf(widget)) {
    const bool windowKey =
        std::any_of(kWindowKeys.begin(), kWindowKeys.end(),
                    [&](QAction* TfrmMain::*item) { return (this->*item)->shortcut() == pressed; });
    if (windowKey) return QMainWindow::eventFilter(watched, event);
    event->accept();
    return true;
  }
  for (const QAction* action : actions()) {
    if (action->shortcut() == pressed) {
      event->ignore();  // not the field's: the window's shortcut takes it
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Other windows

// The dialogs get ready for each opening here rather than on being shown, so that they are
// ready however the modal showing is done.
void TfrmMain::btnKontaktyClick() {
  ensureOtherWindows();
  frmKontakty_->FormActivate();
  showModal(*frmKontakty_);
}

void TfrmMain::btnRychleVolbyClick() {
  ensureOtherWindows();
  frmRychleVolby_->FormActivate();
  showModal(*frmRychleVolby_);
}

void TfrmMain::btnKontaktClick() {
  ensureOtherWindows();
  showModal(*frmKontakt_);
}

void TfrmMain::btnNapovedaClick() {
  ensureOtherWindows();
  try {
    frmNapoveda_->loadHelpDocument();
    frmNapoveda_->showHelp();
  } catch (const std::exception& error) {
    reportError(error);
  }
}

// Whether a browser opened is not examined.
void TfrmMain::btnVertanixClick() { openOnDesktop(QUrl(QString::fromUtf8(kMakerWebUrl))); }

// Shows what the help window last held, without reading the file again.
void TfrmMain::Uivatelskpruka1Click() {
  ensureOtherWindows();
  frmNapoveda_->showHelp();
}

// ---------------------------------------------------------------------------------------------
// Address book

void TfrmMain::PutOskarNumber(const std::string& text) {
  const auto oskar = parseOskarNumber(text);
  if (!oskar) return;
  editAdresaOskar->setText(fromCp1250(oskar->number));
  comboPredcisliOskar->setCurrentIndex(oskar->prefixIndex);
  memoTextOskar->setFocus();
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
