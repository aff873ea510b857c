#pragma once
// The address book's messages shown in the application's message box.
#include "common/data_file.h"

namespace movarek {

UserNotice messageBoxNotice();

}  // namespace movarek
