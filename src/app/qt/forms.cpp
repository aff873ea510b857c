#include "app/qt/forms.h"

#include "addressbook/qt/contacts_dialog.h"
#include "addressbook/qt/speed_dial_dialog.h"
#include "app/qt/help_window.h"
#include "app/qt/main_window.h"
#include "app/qt/maker_window.h"
#include "common/qt/first_paint.h"
#include "webview/qt/web_engine_starter.h"

namespace movarek {

Forms::Forms() : frmMain_(std::make_unique<TfrmMain>(*this)) {
  auto* painted = new FirstPaint(*frmMain_);
  // In this order: the other windows are there before the engine holds up the thread.
  QObject::connect(
      painted, &FirstPaint::painted, frmMain_.get(), [this] { makeTheOthers(); },
      Qt::QueuedConnection);
  QObject::connect(painted, &FirstPaint::painted, &frmMain_->webEngine(), &WebEngineStarter::start,
                   Qt::QueuedConnection);
}

Forms::~Forms() = default;

void Forms::makeTheOthers() {
  if (othersMade()) return;
  TfrmMain& main = *frmMain_;
  frmKontakt_ = std::make_unique<TfrmKontakt>(&main);
  frmRychleVolby_ = std::make_unique<TfrmRychleVolby>(main.speedDials(), &main);
  frmNapoveda_ = std::make_unique<TfrmNapoveda>(&main);
  frmKontakty_ = std::make_unique<TfrmKontakty>(main.contacts(), &main);
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

}  // namespace movarek
