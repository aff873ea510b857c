#include "send/outbox.h"

#include <algorithm>

#include "common/engine_error.h"

namespace movarek {

PlanStep stepAt(const SentRecord& plan, std::int64_t now) {
  switch (plan.state) {
    case SentState::Planned:
      if (plan.dueAt > now) return PlanStep::Wait;
      return now - plan.dueAt > kOverdueToAsk ? PlanStep::Ask : PlanStep::Send;
    case SentState::WaitingForNetwork:
      if (now > plan.giveUpAt) return PlanStep::GiveUp;
      return plan.dueAt > now ? PlanStep::Wait : PlanStep::Send;
    default:
      return PlanStep::Wait;
  }
}

std::int64_t nextLook(const std::vector<SentRecord>& plans, std::int64_t now) {
  std::int64_t next = now + kLookEvery;
  for (const SentRecord& plan : plans) {
    if (plan.state == SentState::Planned || plan.state == SentState::WaitingForNetwork) {
      next = std::min(next, std::max(plan.dueAt, now));
    }
  }
  return next;
}

bool heldTooLong(const SentRecord& plan, std::int64_t now) {
  return now - plan.dueAt >= kHeldToTell;
}

bool worthRetrying(const LoadFailure& failure) {
  using namespace engine_error;
  // No network, no name, refused: the request never left.
  constexpr int kNeverLeft[] = {kInternetDisconnected, kNameNotResolved, kNameResolutionFailed,
                                kConnectionRefused};
  return failure.kind == LoadFailure::Kind::NetworkError &&
         std::ranges::find(kNeverLeft, failure.code) != std::end(kNeverLeft);
}

SentRecord waitingForNetwork(SentRecord record, std::int64_t now) {
  record.state = SentState::WaitingForNetwork;
  record.dueAt = now + kRetryEvery;
  record.giveUpAt = now + kRetryFor;
  return record;
}

std::optional<std::int64_t> nextTry(const SentRecord& waiting, std::int64_t now) {
  const std::int64_t next = now + kRetryEvery;
  if (next > waiting.giveUpAt) return std::nullopt;
  return next;
}

std::optional<std::string> planRefusal(std::int64_t due, std::int64_t now) {
  if (due <= now) return "Zvolený čas už uplynul. Zvolte čas, který teprve přijde.";
  if (due - now > kPlannedAtMost) return "Zprávu lze naplánovat nejvýše na rok dopředu.";
  return std::nullopt;
}

}  // namespace movarek
