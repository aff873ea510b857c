#include "send/qt/send_recorder.h"

#include <algorithm>

#include "common/qt/program_clock.h"
#include "common/qt/program_database.h"
#include "send/kept_outcomes.h"
#include "send/outbox.h"

namespace movarek {
namespace {

// The id a send's record has at the end while it was never written.
constexpr std::int64_t kNotWritten = -1;

// What a send's record leaves when the end cannot write it: the record as it is to be (whole,
// should it never have been written) and, once the send has ended, its outcome.
Leftover leftoverOf(quint64 send, SentRecord record, std::int64_t id) {
  record.id = std::max<std::int64_t>(id, 0);
  return {"send " + std::to_string(send), keptRecordEntry(record),
          record.state == SentState::Sending ? std::string() : toldOutcome(record)};
}

}  // namespace

SendRecorder::SendRecorder(ProgramDatabase& database)
    : database_(database), records_(std::make_shared<std::map<quint64, Kept>>()) {}

quint64 SendRecorder::issued(SentRecord record) {
  const quint64 send = ++lastSend_;
  record.sentAt = ProgramClock::instance().now();
  record.state = SentState::Sending;
  database_.record(
      [records = records_, send, record](Database& database) {
        const auto id = SentMessages(database).add(record);
        if (id) records->insert_or_assign(send, Kept{*id, record});
        return id.has_value();
      },
      [records = records_, send, record] {
        records->try_emplace(send, Kept{kNotWritten, record});
        return std::optional(leftoverOf(send, record, kNotWritten));
      });
  return send;
}

void SendRecorder::ended(quint64 send, SentState state, std::string reason,
                         std::optional<unsigned> reportReference) {
  update(send, {state, std::move(reason), reportReference, false});
}

void SendRecorder::answeredLate(quint64 send, SentState state, std::string reason,
                                std::optional<unsigned> reportReference) {
  update(send, {state, std::move(reason), reportReference, true});
}

void SendRecorder::update(quint64 send, End end) {
  // What the end leaves, and what the database is to be told, is the record as it ends.
  const auto ending = [end](SentRecord& record) {
    record.state = end.state;
    record.reason = end.reason;
    if (end.reportReference) record.reportReference = end.reportReference;
  };
  database_.record(
      [records = records_, send, end, ending](Database& database) {
        const auto found = records->find(send);
        if (found == records->end()) return true;
        if (const std::int64_t id = found->second.id) {
          SentMessages store(database);
          const bool written =
              end.lateAnswer ? store.answeredLate(id, end.state, end.reason, end.reportReference)
                             : store.finish(id, end.state, end.reason, end.reportReference);
          if (!written) return false;
        }
        // A send not known to have arrived may still hear its answer, and one that did not go
        // may still wait for the network.
        ending(found->second.record);
        if (end.state == SentState::Sent) records->erase(found);
        return true;
      },
      [records = records_, send, ending]() -> std::optional<Leftover> {
        const auto found = records->find(send);
        if (found == records->end() || found->second.id == 0) return std::nullopt;
        ending(found->second.record);
        return leftoverOf(send, found->second.record, found->second.id);
      });
}

void SendRecorder::waitForNetwork(quint64 send, std::int64_t now) {
  database_.record(
      [records = records_, send, now](Database& database) {
        const auto found = records->find(send);
        if (found == records->end()) return true;
        SentRecord waiting = waitingForNetwork(found->second.record, now);
        waiting.id = found->second.id;
        SentMessages store(database);
        // Kept even when the history is not: it is a message still to go.
        const bool written =
            waiting.id != 0 ? store.replan(waiting) : store.add(waiting).has_value();
        if (written) records->erase(found);
        return written;
      },
      [records = records_, send, now]() -> std::optional<Leftover> {
        const auto found = records->find(send);
        if (found == records->end()) return std::nullopt;
        return leftoverOf(send, waitingForNetwork(found->second.record, now), found->second.id);
      });
}

void recordPlanOutcome(ProgramDatabase& database, const SentRecord& plan) {
  database.record([plan](Database& kept) { return SentMessages(kept).replan(plan); },
                  [plan] {
                    return std::optional(Leftover{"plan " + std::to_string(plan.id),
                                                  keptRecordEntry(plan), toldOutcome(plan)});
                  });
}

}  // namespace movarek
