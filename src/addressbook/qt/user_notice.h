#pragma once
// The address book's messages shown in the application's message box.
#include <QString>

#include "common/data_file.h"

namespace movarek {

UserNotice messageBoxNotice();

// What the address book's windows refuse or cannot do, told under the caption "Chyba".
void tellAddressBookError(const QString& text);

}  // namespace movarek
