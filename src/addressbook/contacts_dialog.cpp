#include "addressbook/contacts_dialog.h"

namespace movarek {

TfrmKontakty::TfrmKontakty(QWidget* parent) : QDialog(parent) { setWindowTitle(QStringLiteral("Kontakty")); }

}  // namespace movarek
