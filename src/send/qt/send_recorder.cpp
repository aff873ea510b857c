#include "send/qt/send_recorder.h"

#include <ctime>

#include "common/qt/program_database.h"

namespace movarek {

SendRecorder::SendRecorder(ProgramDatabase& database, SentMessages& store)
    : database_(database), store_(store) {}

quint64 SendRecorder::issued(SentRecord record) {
  const quint64 send = ++lastSend_;
  record.sentAt = std::time(nullptr);
  record.state = SentState::Sending;
  database_.keep([this, send, record = std::move(record)] {
    const auto id = store_.add(record);
    if (id) records_[send] = *id;
    return id.has_value();
  });
  return send;
}

void SendRecorder::ended(quint64 send, SentState state, std::string reason) {
  update(send, state, std::move(reason), false);
}

void SendRecorder::answeredLate(quint64 send, SentState state, std::string reason) {
  update(send, state, std::move(reason), true);
}

void SendRecorder::update(quint64 send, SentState state, std::string reason, bool lateAnswer) {
  database_.keep([this, send, state, reason = std::move(reason), lateAnswer] {
    const auto found = records_.find(send);
    if (found == records_.end()) return true;
    if (found->second != 0) {
      const bool written = lateAnswer ? store_.answeredLate(found->second, state, reason)
                                      : store_.finish(found->second, state, reason);
      if (!written) return false;
    }
    // Only a send not known to have arrived may still hear its answer.
    if (state != SentState::Uncertain) records_.erase(found);
    return true;
  });
}

}  // namespace movarek
