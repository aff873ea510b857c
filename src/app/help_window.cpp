#include "app/help_window.h"

namespace movarek {

TfrmNapoveda::TfrmNapoveda(QWidget* parent) : QDialog(parent) { setWindowTitle(QStringLiteral("Nápověda")); }

}  // namespace movarek
