#include "addressbook/qt/user_notice.h"

#include "common/qt/message_box.h"

namespace movarek {

UserNotice messageBoxNotice() {
  return [](const std::string& text, const std::string& caption) {
    showMessage(QString::fromStdString(text), QString::fromStdString(caption));
  };
}

void tellAddressBookError(const QString& text) {
  showError(text);
}

}  // namespace movarek
