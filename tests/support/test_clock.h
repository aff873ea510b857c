#pragma once
// The program's clock stood in for while this lives: it stands at its start and moves only when
// the test moves it, so that no test waits for the program's own waits.
#include <cstdint>

#include "common/qt/program_clock.h"

namespace movarek::testing {

class TestClock {
 public:
  explicit TestClock(std::int64_t start = 1'800'000'000) : now_(start) {
    ProgramClock::instance().standIn([this] { return now_; });
  }
  ~TestClock() { ProgramClock::instance().standIn({}); }
  TestClock(const TestClock&) = delete;
  TestClock& operator=(const TestClock&) = delete;

  std::int64_t now() const { return now_; }
  void moveTo(std::int64_t time) {
    now_ = time;
    ProgramClock::instance().movedOn();
  }
  void moveOn(std::int64_t seconds) { moveTo(now_ + seconds); }
  // The time passed while the program was not looking, such as before it starts: nothing is
  // told of the move.
  void standAt(std::int64_t time) { now_ = time; }

 private:
  std::int64_t now_;
};

}  // namespace movarek::testing
