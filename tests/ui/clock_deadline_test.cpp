#include "common/qt/clock_deadline.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_clock.h"

namespace movarek::testing {
namespace {

// A ten-second wait on the test's clock: what the steps do to it, and how often it has ended
// after each step. A step of 0 seconds starts the wait, one of -1 stops it, any other moves the
// clock on by that much.
TEST(ClockDeadlineTest, EndsOnceWhenItsSecondsHavePassedOnTheClock) {
  struct Step {
    int seconds;
    int ended;
  };
  const std::vector<std::vector<Step>> cases = {
      {{0, 0}, {9, 0}, {1, 1}, {60, 1}},
      {{0, 0}, {6, 0}, {0, 0}, {6, 0}, {3, 0}, {1, 1}},  // a second start counts afresh
      {{0, 0}, {5, 0}, {-1, 0}, {20, 0}},
      {{0, 0}, {3600, 1}, {3600, 1}},
  };
  for (std::size_t index = 0; index < cases.size(); ++index) {
    TestClock clock;
    ClockDeadline wait(10);
    int ended = 0;
    QObject::connect(&wait, &ClockDeadline::timeout, [&] { ++ended; });
    for (const Step& step : cases[index]) {
      if (step.seconds == 0) wait.start();
      if (step.seconds == -1) wait.stop();
      if (step.seconds > 0) clock.moveOn(step.seconds);
      EXPECT_EQ(ended, step.ended) << "case " << index << " at " << clock.now();
    }
    EXPECT_FALSE(wait.isActive()) << "case " << index;
  }
}

}  // namespace
}  // namespace movarek::testing
