#include "send/outbox.h"

#include <gtest/gtest.h>

#include <vector>

namespace movarek {
namespace {

constexpr std::int64_t kNow = 1765360800;  // any time: the rules read only the one given them
constexpr std::int64_t kMinute = 60;

SentRecord still(SentState state, std::int64_t dueAt, std::int64_t giveUpAt = 0) {
  SentRecord record;
  record.state = state;
  record.sentAt = kNow - 10 * kMinute;
  record.dueAt = dueAt;
  record.giveUpAt = giveUpAt;
  return record;
}

TEST(Outbox, AMessageGoesAtItsTimeAndNeverUnasked) {
  using enum SentState;
  using enum PlanStep;
  struct Case {
    SentRecord record;
    std::int64_t now;
    PlanStep step;
    const char* what;
  };
  const std::vector<Case> cases = {
      {still(Planned, kNow + 1), kNow, Wait, "not yet due"},
      {still(Planned, kNow), kNow, Send, "due"},
      {still(Planned, kNow - 5 * kMinute), kNow, Send, "five minutes late: the timer was slow"},
      {still(Planned, kNow - 5 * kMinute - 1), kNow, Ask, "more late: not run, or asleep"},
      {still(Planned, kNow + kMinute), kNow - 24 * 60 * kMinute, Wait, "the clock moved back"},
      {still(Planned, kNow + kMinute), kNow + 24 * 60 * kMinute, Ask, "the clock moved on"},
      {still(Missed, kNow - kMinute), kNow, Wait, "missed: only the user sends it"},
      {still(WaitingForNetwork, kNow + kMinute, kNow + 30 * kMinute), kNow, Wait, "next try"},
      {still(WaitingForNetwork, kNow, kNow + 30 * kMinute), kNow, Send, "tried again"},
      {still(WaitingForNetwork, kNow - kMinute, kNow - 1), kNow, GiveUp, "its hour is over"},
      {still(Uncertain, kNow - kMinute), kNow, Wait, "not known: never again"},
  };
  for (const auto& c : cases) EXPECT_EQ(stepAt(c.record, c.now), c.step) << c.what;
}

TEST(Outbox, OneTimerLooksWhenTheSoonestIsDueAndEveryHalfMinute) {
  using enum SentState;
  EXPECT_EQ(nextLook({}, kNow), kNow + 30);
  EXPECT_EQ(nextLook({still(Planned, kNow + 60), still(Planned, kNow + 10)}, kNow), kNow + 10);
  EXPECT_EQ(nextLook({still(WaitingForNetwork, kNow + 20, kNow + 99)}, kNow), kNow + 20);
  EXPECT_EQ(nextLook({still(Planned, kNow - 10)}, kNow), kNow);
  EXPECT_EQ(nextLook({still(Missed, kNow - 10), still(NotSent, kNow + 5)}, kNow), kNow + 30);
}

// A message that never left is tried every two minutes for an hour, then given up.
TEST(Outbox, ARetryIsTriedEveryTwoMinutesForAnHour) {
  SentRecord waiting = waitingForNetwork(still(SentState::NotSent, 0), kNow);
  EXPECT_EQ(waiting.state, SentState::WaitingForNetwork);
  EXPECT_EQ(waiting.giveUpAt, kNow + 60 * kMinute);
  std::vector<std::int64_t> tries;
  for (auto next = std::optional(waiting.dueAt); next; next = nextTry(waiting, *next)) {
    ASSERT_EQ(stepAt(waiting, *next), PlanStep::Send);
    tries.push_back(*next - kNow);
    waiting.dueAt = *next;
  }
  ASSERT_EQ(tries.size(), 30u);
  EXPECT_EQ(tries.front(), 2 * kMinute);
  EXPECT_EQ(tries.back(), 60 * kMinute);
  EXPECT_EQ(stepAt(waiting, kNow + 61 * kMinute), PlanStep::GiveUp);
}

TEST(Outbox, ATimeGoneOrMoreThanAYearAheadIsRefused) {
  constexpr std::int64_t kYear = 366 * 24 * 60 * kMinute;
  const std::string past = "Zvolený čas už uplynul. Zvolte čas, který teprve přijde.";
  const std::string far = "Zprávu lze naplánovat nejvýše na rok dopředu.";
  EXPECT_EQ(planRefusal(kNow - kMinute, kNow), past);
  EXPECT_EQ(planRefusal(kNow, kNow), past);
  EXPECT_EQ(planRefusal(kNow + 1, kNow), std::nullopt);
  EXPECT_EQ(planRefusal(kNow + kYear, kNow), std::nullopt);
  EXPECT_EQ(planRefusal(kNow + kYear + 1, kNow), far);
}

}  // namespace
}  // namespace movarek
