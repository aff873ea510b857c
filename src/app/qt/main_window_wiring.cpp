#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "app/qt/desktop_presence.h"
#include "app/qt/main_window.h"
#include "app/qt/modem_page.h"
#include "common/qt/clock_deadline.h"
#include "common/qt/memo.h"
#include "common/qt/qt_text.h"
#include "send/page_names.h"
#include "send/qt/delivery_reports.h"
#include "send/qt/modem_sending_page.h"
#include "send/qt/outbox.h"
#include "send/qt/page_fields.h"
#include "send/qt/plan_dialog.h"
#include "send/qt/routes.h"
#include "send/qt/send_flow.h"
#include "send/qt/template_menus.h"
#include "webview/qt/web_browser.h"

namespace movarek {

// What the window's controls set off, and what its pages send through.

// What the pages send through: their own sends, the plans, and what is told of them.
void TfrmMain::buildSending() {
  // The gateway's pages' messages go each by its page's hidden web view; the "Modem" page's
  // through the user's modem.
  const RouteMeans email{CppWebBrowser1};
  const RouteMeans oskar{webOskarSend};
  const RouteMeans modem{nullptr, &modemPage_->modems()};
  const auto route = [this](std::string_view name, const RouteMeans& means, Page page) {
    return makeRoute(name, means, qtFromUtf8(pageNames(page).log), this);
  };
  TMemo* memoTextModem = modemPage_->memoTextModem;
  sendFlow_ =
      new SendFlow({{Page::Sms, {memoText, route(kGatewayRoute, email, Page::Sms)}},
                    {Page::Oskar, {memoTextOskar, route(kGatewayRoute, oskar, Page::Oskar)}},
                    {Page::Modem, {memoTextModem, route(kModemRoute, modem, Page::Modem)}}},
                   recorder_, this);
  modemPage_->serve(*sendFlow_);
  timerVypnuti = sendFlow_->closeGuard();
  presence_ = new DesktopPresence(
      *this, [this] { return outbox_->pending(); }, [this] { btnOdeslaneClick(); });
  outbox_ = new Outbox(database_, {{Page::Sms, email}, {Page::Oskar, oskar}, {Page::Modem, modem}},
                       presence_->notices(), this);
  const auto planDialog = [this]() -> PlanDialog& {
    if (!planDialog_) planDialog_ = new PlanDialog(this);
    return *planDialog_;
  };
  emailSending_ = std::make_unique<EmailSendingPage>(
      *editAdresa, *memoText, SendingPage::Sends{*sendFlow_, *outbox_, planDialog});
  oskarSending_ = std::make_unique<OskarSendingPage>(
      OskarSendingPage::Fields{*comboPredcisliOskar, *editAdresaOskar, *memoTextOskar,
                               *editSenderPredOskar, *editSenderOskar},
      SendingPage::Sends{*sendFlow_, *outbox_, planDialog});
  modemSending_ = std::make_unique<ModemSendingPage>(
      *modemPage_->editCislo, *memoTextModem, SendingPage::Sends{*sendFlow_, *outbox_, planDialog});
  templateMenus_->serve(*memoText, [this] { planLater(Page::Sms); });
  templateMenus_->serve(*memoTextOskar, [this] { planLater(Page::Oskar); });
  templateMenus_->serve(*memoTextModem, [this] { planLater(Page::Modem); });
  for (auto [button, page] : {std::pair{btnPoslat, Page::Sms},
                              {btnPoslatOskar, Page::Oskar},
                              {modemPage_->btnPoslatModem, Page::Modem}}) {
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
  // Before the modems are asked for: the reports a modem kept meanwhile are heard too.
  deliveryReports_ = new DeliveryReports(database_, modemPage_->modems(), this);
  connect(sendFlow_, &SendFlow::referencesWritten, deliveryReports_,
          &DeliveryReports::referencesWritten);
  connect(outbox_, &Outbox::referencesWritten, deliveryReports_,
          &DeliveryReports::referencesWritten);
  connect(sendFlow_, &SendFlow::closeGuardChanged, this, &TfrmMain::showCloseGuard);
  connect(sendFlow_, &SendFlow::waitingForNetwork, outbox_, &Outbox::reload);
  connect(outbox_, &Outbox::sendBegan, sendFlow_, &SendFlow::otherSendBegan);
  connect(outbox_, &Outbox::sendEnded, sendFlow_, &SendFlow::otherSendEnded);
}

void TfrmMain::connectHandlers() {
  connect(btnSMStop, &QPushButton::clicked, this, &TfrmMain::btnSMStopClick);
  connect(btnEurotel, &QPushButton::clicked, this, &TfrmMain::btnEurotelClick);
  connect(btnOskar, &QPushButton::clicked, this, &TfrmMain::btnOskarClick);
  connect(modemPage_, &ModemPage::chosen, this, &TfrmMain::btnModemClick);
  connect(modemPage_, &ModemPage::wentAway, this, &TfrmMain::btnSMStopClick);
  connect(modemPage_->btnPoslatModem, &QPushButton::clicked, this,
          [this] { modemSending_->send(); });
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
  connect(modemPage_->editCislo, &QLineEdit::returnPressed, modemPage_->btnPoslatModem,
          &QPushButton::click);
  connect(btnPoslatOskar, &QPushButton::clicked, this, &TfrmMain::btnPoslatOskarClick);
  for (QLineEdit* field :
       {editAdresaOskar, editSenderPredOskar, editSenderOskar, comboPredcisliOskar->lineEdit()}) {
    connect(field, &QLineEdit::returnPressed, btnPoslatOskar, &QPushButton::click);
  }
  connect(timerVypnuti, &ClockDeadline::timeout, this, &TfrmMain::timerVypnutiTimer);
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
  connect(Odeslatpozdeji1, &QAction::triggered, this, [this] { planLater(shownPage()); });
  connect(Vlozitsablonu1, &QAction::triggered, this, [this] {
    for (TMemo* memo : {memoText, memoTextOskar}) {
      if (focusWidget() == memo) templateMenus_->popUpAtCursor(*memo);
    }
  });
}

}  // namespace movarek
