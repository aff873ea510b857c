#include "common/qt/log.h"

#include "common/diagnostics.h"

namespace movarek {

Q_LOGGING_CATEGORY(movarekLog, "sms-movarek", QtWarningMsg)

void logCoreFaults() {
  setFaultLog([](std::string_view what) {
    qCWarning(movarekLog).noquote() << QString::fromUtf8(what.data(), qsizetype(what.size()));
  });
}

}  // namespace movarek
