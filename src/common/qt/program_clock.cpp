#include "common/qt/program_clock.h"

#include <QDateTime>

namespace movarek {

ProgramClock& ProgramClock::instance() {
  static ProgramClock clock;
  return clock;
}

std::int64_t ProgramClock::now() const {
  return standIn_ ? standIn_() : QDateTime::currentSecsSinceEpoch();
}

void ProgramClock::standIn(std::function<std::int64_t()> now) { standIn_ = std::move(now); }

}  // namespace movarek
