#include "addressbook/speed_dial_dialog.h"

namespace movarek {

TfrmRychleVolby::TfrmRychleVolby(QWidget* parent) : QDialog(parent) { setWindowTitle(QStringLiteral("Rychlé volby")); }

}  // namespace movarek
