#pragma once
// The rules of the outbox: when a message still to go goes, and what becomes of one that does
// not, over a time the caller reads from its clock, so that they hold whatever the clock does
// (moved back or on, a machine woken from sleep).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/load_failure.h"
#include "send/sent_messages.h"

namespace movarek {

// A planned message overdue by longer (the program did not run, the machine slept) goes only
// when the user says so.
inline constexpr std::int64_t kOverdueToAsk = 5 * 60;
// A message waiting for the network is tried this often, for this long.
inline constexpr std::int64_t kRetryEvery = 2 * 60;
inline constexpr std::int64_t kRetryFor = 60 * 60;
// The outbox looks at its messages at least this often.
inline constexpr std::int64_t kLookEvery = 30;
// A message whose time came while the program ran, but that could not be marked as going
// (another program held the file, the disk was full), is tried again at each look; the user is
// told of it once, when it still cannot go this long after its time.
inline constexpr std::int64_t kHeldToTell = 5 * 60;
// The farthest ahead a message may be planned.
inline constexpr std::int64_t kPlannedAtMost = 366 * 24 * 60 * 60;

enum class PlanStep { Wait, Send, Ask, GiveUp };

// What a message still to go does at `now`.
PlanStep stepAt(const SentRecord& plan, std::int64_t now);

// When the outbox looks next: when the soonest of `plans` is due, and no later than
// kLookEvery from `now`.
std::int64_t nextLook(const std::vector<SentRecord>& plans, std::int64_t now);

// Whether a message held back so is to be told of at `now`.
bool heldTooLong(const SentRecord& plan, std::int64_t now);

// A send that failed so never reached the gateway, and may be tried again once the network is
// back: no network, the name not found, the connection refused.
bool worthRetrying(const LoadFailure& failure);

// A send that failed so at `now` waits for the network: its first try and its last.
SentRecord waitingForNetwork(SentRecord record, std::int64_t now);
// The next try of a message waiting for the network that failed again at `now`; none once its
// hour is over.
std::optional<std::int64_t> nextTry(const SentRecord& waiting, std::int64_t now);

// Why a message cannot be planned for `due` at `now` (UTF-8); none when it can.
std::optional<std::string> planRefusal(std::int64_t due, std::int64_t now);
// A time the user gave that the clocks skip on the night they go forward.
inline constexpr std::string_view kSkippedTime =
    "Tento čas v den změny na letní čas neexistuje. Zvolte jiný.";
// A time the clocks pass twice on the night they go back: the message goes at the first.
inline constexpr std::string_view kTwiceTime =
    "Tento čas nastane dvakrát; zpráva odejde při prvním.";

}  // namespace movarek
