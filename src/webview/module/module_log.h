#pragma once
// The program's logging category ("sms-movarek") inside the web engine's module, which is not
// linked with the program's code.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(moduleLog)
