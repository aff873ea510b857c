#pragma once
// What goes wrong beneath the windows (a file that cannot be stored, the one-copy endpoint) is
// written to the program's log with the system's reason. The core knows no logging library: the
// window side hands it the log once, at start.
#include <functional>
#include <string>
#include <string_view>

namespace movarek {

using FaultLog = std::function<void(std::string_view what)>;

// Until set, faults are not written anywhere.
void setFaultLog(FaultLog log);

// "cannot store /x/padr.dat: No space left on device". Never a message text or an address.
void logFault(std::string_view what);

// The system's words for `error` (an errno value).
std::string systemReason(int error);

}  // namespace movarek
