#include "app/forms.h"

#include "addressbook/contacts_dialog.h"
#include "addressbook/speed_dial_dialog.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/maker_window.h"

namespace movarek {

Forms::Forms(Start start) : frmMain(std::make_unique<TfrmMain>()) {
  if (start == Start::AllAtOnce) {
    createTheOthers();
  } else {
    frmMain->createOtherWindowsWith([this] { createTheOthers(); });
  }
}

void Forms::createTheOthers() {
  frmKontakt = std::make_unique<TfrmKontakt>(frmMain.get());
  frmRychleVolby = std::make_unique<TfrmRychleVolby>(*frmMain);
  frmNapoveda = std::make_unique<TfrmNapoveda>(frmMain.get());
  frmKontakty = std::make_unique<TfrmKontakty>(*frmMain);
  frmMain->attachWindows(frmKontakt.get(), frmRychleVolby.get(), frmNapoveda.get(),
                         frmKontakty.get());
}

Forms::~Forms() = default;

}  // namespace movarek
