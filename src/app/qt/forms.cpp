#include "app/qt/forms.h"

#include "addressbook/contact_groups.h"
#include "addressbook/qt/contacts_dialog.h"
#include "addressbook/qt/speed_dial_dialog.h"
#include "app/program_schema.h"
#include "app/qt/help_window.h"
#include "app/qt/main_window.h"
#include "app/qt/maker_window.h"
#include "common/qt/first_paint.h"
#include "common/qt/program_database.h"
#include "send/message_templates.h"
#include "send/qt/send_recorder.h"
#include "send/qt/sent_messages_window.h"
#include "webview/qt/web_engine_starter.h"

namespace movarek {

Forms::Forms()
    : database_(std::make_unique<ProgramDatabase>(
          programSchema(), std::vector<Database::Preparation>{&SentMessages::prepare})),
      sentMessages_(std::make_unique<SentMessages>(database_->database())),
      recorder_(std::make_unique<SendRecorder>(*database_, *sentMessages_)),
      groups_(std::make_unique<ContactGroups>(database_->database())),
      templates_(std::make_unique<MessageTemplates>(database_->database())),
      frmMain_(std::make_unique<TfrmMain>(*this, *recorder_, *templates_)) {
  auto* painted = new FirstPaint(*frmMain_);
  // In this order: the other windows are there before the engine holds up the thread.
  QObject::connect(
      painted, &FirstPaint::painted, frmMain_.get(), [this] { makeTheOthers(); },
      Qt::QueuedConnection);
  QObject::connect(painted, &FirstPaint::painted, &frmMain_->webEngine(), &WebEngineStarter::start,
                   Qt::QueuedConnection);
  QObject::connect(painted, &FirstPaint::painted, database_.get(), &ProgramDatabase::openSoon);
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
  database_.reset();
}

void Forms::makeTheOthers() {
  if (othersMade()) return;
  TfrmMain& main = *frmMain_;
  frmKontakt_ = std::make_unique<TfrmKontakt>(&main);
  frmRychleVolby_ = std::make_unique<TfrmRychleVolby>(main.speedDials(), &main);
  frmNapoveda_ = std::make_unique<TfrmNapoveda>(&main);
  frmOdeslane_ = std::make_unique<SentMessagesWindow>(
      *sentMessages_, [&main](const SentRecord& record) { return main.putSentRecord(record); },
      &main);
  frmKontakty_ = std::make_unique<TfrmKontakty>(main.contacts(), *groups_, &main);
  QObject::connect(frmRychleVolby_.get(), &TfrmRychleVolby::speedDialsChanged, &main,
                   &TfrmMain::ShowSpeedDialHints);
  QObject::connect(frmKontakty_.get(), &TfrmKontakty::addressesChosen, &main,
                   &TfrmMain::putChosenAddresses);
  QObject::connect(frmKontakty_.get(), &TfrmKontakty::oskarNumberChosen, &main,
                   &TfrmMain::PutOskarNumber);
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
