#include "common/qt/clock_deadline.h"

#include "common/qt/program_clock.h"

namespace movarek {

ClockDeadline::ClockDeadline(std::int64_t seconds, QObject* parent)
    : QObject(parent), seconds_(seconds) {
  real_.setSingleShot(true);
  real_.setInterval(static_cast<int>(seconds * 1000));
  connect(&real_, &QTimer::timeout, this, &ClockDeadline::end);
  connect(&ProgramClock::instance(), &ProgramClock::moved, this, &ClockDeadline::checkClock);
}

void ClockDeadline::start() {
  stop();
  const ProgramClock& clock = ProgramClock::instance();
  if (clock.stoodIn()) {
    due_ = clock.now() + seconds_;
  } else {
    real_.start();
  }
}

void ClockDeadline::stop() {
  real_.stop();
  due_.reset();
}

void ClockDeadline::checkClock() {
  if (due_ && ProgramClock::instance().now() >= *due_) end();
}

void ClockDeadline::end() {
  stop();
  emit timeout();
}

}  // namespace movarek
