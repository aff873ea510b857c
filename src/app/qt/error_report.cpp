#include "app/qt/error_report.h"

#include <QString>

#include "common/qt/message_box.h"

namespace movarek {

void reportError(const std::exception& error) {
  showMessage(QString::fromUtf8(error.what()), QString::fromUtf8(kApplicationTitle));
}

}  // namespace movarek
