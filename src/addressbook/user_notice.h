#pragma once
// The address book's messages shown in the application's message box.
#include "addressbook/data_file.h"

namespace movarek {

UserNotice messageBoxNotice();

}  // namespace movarek
