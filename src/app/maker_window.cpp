#include "app/maker_window.h"

namespace movarek {

TfrmKontakt::TfrmKontakt(QWidget* parent) : QDialog(parent) { setWindowTitle(QStringLiteral("Kontakt na výrobce")); }

}  // namespace movarek
