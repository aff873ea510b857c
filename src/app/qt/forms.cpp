#include "app/qt/forms.h"

#include "addressbook/address_book.h"
#include "addressbook/qt/contacts_dialog.h"
#include "addressbook/qt/speed_dial_dialog.h"
#include "app/program_schema.h"
#include "app/qt/help_window.h"
#include "app/qt/main_window.h"
#include "app/qt/maker_window.h"
#include "app/qt/modem_page.h"
#include "common/qt/desktop_network.h"
#include "common/qt/first_paint.h"
#include "common/qt/program_database.h"
#include "send/qt/delivery_reports.h"
#include "send/qt/outbox.h"
#include "send/qt/send_recorder.h"
#include "send/qt/sent_messages_window.h"
#include "send/qt/template_menus.h"
#include "webview/qt/web_engine_starter.h"

namespace movarek {

Forms::Forms()
    : database_(std::make_unique<ProgramDatabase>(programSchema(), programPreparations())),
      recorder_(std::make_unique<SendRecorder>(*database_)),
      frmMain_(std::make_unique<TfrmMain>(*this, *recorder_, *database_)) {
  auto* painted = new FirstPaint(*frmMain_);
  // In this order: the other windows are there before the engine holds up the thread.
  QObject::connect(
      painted, &FirstPaint::painted, frmMain_.get(), [this] { makeTheOthers(); },
      Qt::QueuedConnection);
  QObject::connect(painted, &FirstPaint::painted, &frmMain_->webEngine(), &WebEngineStarter::start,
                   Qt::QueuedConnection);
  QObject::connect(painted, &FirstPaint::painted, database_.get(), &ProgramDatabase::openSoon);
  QObject::connect(painted, &FirstPaint::painted, &frmMain_->templateMenus(),
                   &TemplateMenus::readTemplates);
  // With the other windows made: a question about missed messages comes once they are there.
  QObject::connect(painted, &FirstPaint::painted, &frmMain_->outbox(), &Outbox::start,
                   Qt::QueuedConnection);
  QObject::connect(
      painted, &FirstPaint::painted, &DesktopNetwork::instance(),
      [] { DesktopNetwork::instance().listen(); }, Qt::QueuedConnection);
  // The system bus is asked for modems once the window is there.
  QObject::connect(painted, &FirstPaint::painted, &frmMain_->modemPage(), &ModemPage::start,
                   Qt::QueuedConnection);
}

// The windows go in the reverse of their making; then the database's thread ends, its last
// writes done, before the records it writes go.
Forms::~Forms() {
  frmOdeslane_.reset();
  frmKontakty_.reset();
  frmNapoveda_.reset();
  frmRychleVolby_.reset();
  frmKontakt_.reset();
  frmMain_.reset();
  addressBook_.reset();
  database_.reset();
}

void Forms::makeTheOthers() {
  if (othersMade()) return;
  TfrmMain& main = *frmMain_;
  frmKontakt_ = std::make_unique<TfrmKontakt>(&main);
  frmRychleVolby_ = std::make_unique<TfrmRychleVolby>(main.speedDials(), &main);
  frmNapoveda_ = std::make_unique<TfrmNapoveda>(&main);
  frmOdeslane_ = std::make_unique<SentMessagesWindow>(
      *database_, [&main](const SentRecord& record) { return main.putSentRecord(record); }, &main);
  QObject::connect(&main.deliveryReports(), &DeliveryReports::deliveryChanged, frmOdeslane_.get(),
                   &SentMessagesWindow::deliveryChanged);
  QObject::connect(frmOdeslane_.get(), &SentMessagesWindow::sendNowRequested, &main.outbox(),
                   &Outbox::sendNow);
  QObject::connect(frmOdeslane_.get(), &SentMessagesWindow::recordsRemoved, &main.outbox(),
                   &Outbox::reload);
  QObject::connect(&main.outbox(), &Outbox::changed, frmOdeslane_.get(),
                   &SentMessagesWindow::plansChanged);
  addressBook_ = std::make_unique<AddressBook>(main.contacts());
  frmKontakty_ = std::make_unique<TfrmKontakty>(*addressBook_, *database_, &main);
  QObject::connect(frmRychleVolby_.get(), &TfrmRychleVolby::speedDialsChanged, &main,
                   &TfrmMain::ShowSpeedDialHints);
  QObject::connect(frmKontakty_.get(), &TfrmKontakty::addressesChosen, &main,
                   &TfrmMain::putChosenAddresses);
  QObject::connect(frmKontakty_.get(), &TfrmKontakty::oskarNumberChosen, &main,
                   &TfrmMain::PutOskarNumber);
  QObject::connect(frmKontakty_.get(), &TfrmKontakty::modemNumbersChosen, &main,
                   &TfrmMain::putChosenNumbers);
}

TfrmKontakt& Forms::kontakt() {
  makeTheOthers();
  return *frmKontakt_;
}

TfrmRychleVolby& Forms::rychleVolby() {
  makeTheOthers();
  return *frmRychleVolby_;
}

TfrmNapoveda& Forms::napoveda() {
  makeTheOthers();
  return *frmNapoveda_;
}

TfrmKontakty& Forms::kontakty() {
  makeTheOthers();
  return *frmKontakty_;
}

SentMessagesWindow& Forms::odeslane() {
  makeTheOthers();
  return *frmOdeslane_;
}

}  // namespace movarek
