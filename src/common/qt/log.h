#pragma once
// The program's own logging category, "sms-movarek", on standard error. Warnings are on by
// default; the rest is switched on as in any Qt program, e.g.
// QT_LOGGING_RULES="sms-movarek.info=true".
#include <QLoggingCategory>

namespace movarek {

Q_DECLARE_LOGGING_CATEGORY(movarekLog)

// The core's faults go to the category's warnings.
void logCoreFaults();

}  // namespace movarek
