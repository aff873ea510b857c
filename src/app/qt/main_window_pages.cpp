#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

#include "app/maker_details.h"
#include "app/qt/eurotel_area.h"
#include "app/qt/main_window.h"
#include "app/qt/main_window_layout.h"
#include "app/qt/memo.h"
#include "app/qt/picture_page.h"
#include "common/oskar_prefixes.h"
#include "common/qt/accessibility.h"
#include "common/qt/designed_look.h"
#include "common/qt/qt_color.h"
#include "common/qt/qt_text.h"
#include "send/counter.h"
#include "webview/qt/web_browser.h"

namespace movarek {

using namespace main_window;

// The side menu and the three pages, laid out as they were drawn.

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
  panelMezera->setToolTip(
      QStringLiteral("Délka napsaného textu / počet zpráv, do kterých se text rozdělí"));
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
  QWidget* page =
      new PicturePage(kPageNames[int(Page::Sms)], QStringLiteral(":/movarek/pozadi_sms.png"));
  QLabel* addressLabel = labelAt(page, QStringLiteral("Adresa:"), QPoint(8, 9));
  editAdresa = new TFlatEdit(page);
  nameByLabel(*addressLabel, *editAdresa, QStringLiteral("Adresa"));
  editAdresa->setGeometry(56, 6, 240, 19);
  editAdresa->setFont(arialFont(13, false));
  btnPoslat = button(page, QStringLiteral("Poslat!"), kSendButtonPlace);
  btnPoslat->setDefault(true);
  memoText = new TMemo(kEmailMemoLimit, page);
  memoText->setAccessibleName(kMessageName);
  memoText->setGeometry(8, 32, 323, 140);
  btnEmailSpeedDials = speedDialButtons(page, kEmailSpeedDials);
  CppWebBrowser1 =
      new TCppWebBrowser(*webEngine_, TCppWebBrowser::Kind::Hidden, gatewayAddress(), page);
  CppWebBrowser1->setGeometry(0, 0, 0, kPageHeight);
  return page;
}

QWidget* TfrmMain::buildOskarPage() {
  QWidget* page =
      new PicturePage(kPageNames[int(Page::Oskar)], QStringLiteral(":/movarek/pozadi_oskar.png"));
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
  page->setObjectName(QString::fromLatin1(kPageNames[int(Page::Eurotel)]));
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
