#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>

#include "app/maker_details.h"
#include "app/qt/addressed_page.h"
#include "app/qt/eurotel_area.h"
#include "app/qt/main_window.h"
#include "app/qt/main_window_layout.h"
#include "app/qt/modem_page.h"
#include "app/qt/window_keys.h"
#include "common/oskar_prefixes.h"
#include "common/qt/accessibility.h"
#include "common/qt/designed_look.h"
#include "common/qt/memo.h"
#include "common/qt/picture_page.h"
#include "common/qt/qt_color.h"
#include "common/qt/qt_text.h"
#include "send/counter.h"
#include "send/page_names.h"
#include "webview/qt/web_browser.h"

namespace movarek {

using namespace main_window;

// The window's frame, its side menu, its pages and its hidden menu, laid out as they were
// drawn; the "Modem" page joins them where a modem is.

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
       {std::pair{&btnSMStop, Page::Sms}, {&btnEurotel, Page::Eurotel}, {&btnOskar, Page::Oskar}}) {
    *slot = new ChoiceButton(qtFromUtf8(pageNames(caption).tab), QAccessible::PageTab, panelFast);
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
  modemPage_ = new ModemPage(
      {*panelFast, {btnSMStop, btnEurotel, btnOskar}, *gotebookPlocha, *panelMezera}, this);
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

QFrame* TfrmMain::buildSideMenu() {
  auto* menu = new QFrame;
  paintBackground(menu, colorFromValue(kSideMenuColour));

  panelMenuNadpis = panel(menu, QStringLiteral("SMS Movarek"), QRect(0, 0, kSideMenuWidth, 25));
  panelMenuNadpis->setFont(arialFont(13, true));
  paintBackground(panelMenuNadpis, QColor(0, 0, 128));
  colourText(*panelMenuNadpis, QPalette::WindowText, Qt::yellow);

  // Narrower as designed; the creation step widens it to the side menu.
  btnSMS = button(menu, QStringLiteral("SMS"), QRect(4, 25, 100, 28));
  btnSMS->setCheckable(true);
  btnSMS->setChecked(true);
  btnSMS->setFont(arialFont(13, true));
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
  panelMezera = new StatusLine(QString::fromStdString(counterCaption(0, kEmailMessageSize)), menu);
  panelMezera->setGeometry(next(20));
  panelMezera->setAlignment(Qt::AlignCenter);
  panelMezera->setFont(arialFont(11, true));
  panelMezera->setToolTip(kCounterHint);
  btnKontakt = button(menu, QStringLiteral("Napište nám!"), next(20));
  btnNapoveda = button(menu, QStringLiteral("Nápověda"), next(20));
  btnOdeslane = button(menu, QStringLiteral("Odeslané"), next(20));
  btnVertanix = button(menu, QString::fromUtf8(kMakerWebAddress),
                       QRect(0, kPageBarHeight + kPageHeight - 29, kSideMenuWidth, 29));
  btnVertanix->setFont(arialFont(12, true));
  colourText(*btnVertanix, QPalette::ButtonText, Qt::blue);
  return menu;
}

QWidget* TfrmMain::buildEmailPage() {
  const AddressedPage built =
      addressedPage(Page::Sms, QStringLiteral("Adresa"), kEmailMemoLimit, 323);
  QWidget* page = built.page;
  editAdresa = built.address;
  btnPoslat = built.send;
  memoText = built.memo;
  btnEmailSpeedDials = speedDialButtons(page, kEmailSpeedDials);
  CppWebBrowser1 =
      new TCppWebBrowser(*webEngine_, TCppWebBrowser::Kind::Hidden, gatewayAddress(), page);
  CppWebBrowser1->setGeometry(0, 0, 0, kPageHeight);
  return page;
}

QWidget* TfrmMain::buildOskarPage() {
  QWidget* page = new PicturePage(qtFromUtf8(pageNames(Page::Oskar).object),
                                  QStringLiteral(":/movarek/pozadi_oskar.png"));
  QLabel* numberLabel = labelAt(page, QStringLiteral("Telefon:"), QPoint(8, 8));
  comboPredcisliOskar = new QComboBox(page);
  comboPredcisliOskar->setEditable(true);
  comboPredcisliOskar->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string_view prefix : kOskarPrefixes) {
    comboPredcisliOskar->addItem(QString::fromLatin1(kCzechCountryCode) +
                                 QString::fromLatin1(prefix));
  }
  comboPredcisliOskar->setCurrentIndex(-1);
  comboPredcisliOskar->setEditText(QStringLiteral("Předčíslí"));
  comboPredcisliOskar->setGeometry(60, 4, 90, 22);
  editAdresaOskar = new QLineEdit(page);
  editAdresaOskar->setGeometry(154, 4, 80, 22);
  // The list tells its choice; its line, which takes the keys, tells what it is for.
  nameByLabel(*numberLabel, *comboPredcisliOskar, QStringLiteral("Telefon, předčíslí"));
  comboPredcisliOskar->lineEdit()->setAccessibleName(comboPredcisliOskar->accessibleName());
  editAdresaOskar->setAccessibleName(QStringLiteral("Telefon, číslo"));
  btnPoslatOskar = button(page, QStringLiteral("Poslat!"), kSendButtonPlace);
  btnPoslatOskar->setDefault(true);
  memoTextOskar = new TMemo(kOskarMemoLimit, page);
  memoTextOskar->setAccessibleName(kMessageName);
  memoTextOskar->setGeometry(8, 30, 323, 109);
  QLabel* senderLabel = labelAt(page, QStringLiteral("Vaše číslo:"), QPoint(8, 150));
  editSenderPredOskar = new QLineEdit(page);
  editSenderPredOskar->setGeometry(80, 146, 65, 22);
  nameByLabel(*senderLabel, *editSenderPredOskar, QStringLiteral("Vaše číslo, předčíslí"));
  editSenderOskar = new QLineEdit(page);
  editSenderOskar->setGeometry(150, 146, 145, 22);
  editSenderOskar->setAccessibleName(QStringLiteral("Vaše číslo"));
  btnOskarSpeedDials = speedDialButtons(page, kOskarSpeedDials);
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
  page->setObjectName(qtFromUtf8(pageNames(Page::Eurotel).object));
  panelPodkladEurotelHlavni = new QFrame(page);
  panelPodkladEurotelHlavni->setGeometry(0, 0, kPageWidth, kPageHeight);
  panelWebEurotel =
      panel(panelPodkladEurotelHlavni, QStringLiteral("Stránka se načítá, prosím vyčkejte..."),
            QRect(0, 0, kPageWidth, kPageHeight));
  panelWebEurotel->setFont(arialFont(17, true));
  colourText(*panelWebEurotel, QPalette::WindowText, Qt::red);
  // Zero width until its first document has arrived: the notice shows meanwhile.
  webEurotel = new TCppWebBrowser(*webEngine_, TCppWebBrowser::Kind::Shown, gatewayAddress(),
                                  panelWebEurotel);
  webEurotel->setGeometry(0, 0, 0, kPageHeight);
  webEurotel->setDialogCaption(page->objectName());
  webEurotel->setAccessibleName(page->objectName());
  eurotelArea_ = new EurotelArea(*panelWebEurotel, *webEurotel);
  return page;
}

}  // namespace movarek
