#include "common/diagnostics.h"

#include <cstring>

namespace movarek {
namespace {

FaultLog& faultLog() {
  static FaultLog log;
  return log;
}

}  // namespace

void setFaultLog(FaultLog log) { faultLog() = std::move(log); }

void logFault(std::string_view what) {
  if (faultLog()) faultLog()(what);
}

std::string systemReason(int error) { return std::strerror(error); }

}  // namespace movarek
