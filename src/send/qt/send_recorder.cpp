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
  database_.post([this, send, record = std::move(record)] {
    if (const auto id = store_.add(record)) records_[send] = *id;
  });
  return send;
}

void SendRecorder::ended(quint64 send, SentState state, std::string reason) {
  database_.post([this, send, state, reason = std::move(reason)] {
    const auto found = records_.find(send);
    if (found == records_.end()) return;
    store_.finish(found->second, state, reason);
    // Only a send not known to have arrived may still hear its answer.
    if (state != SentState::Uncertain) records_.erase(found);
  });
}

void SendRecorder::deliveredLate(quint64 send) {
  database_.post([this, send] {
    const auto found = records_.find(send);
    if (found == records_.end()) return;
    store_.deliveredLate(found->second);
    records_.erase(found);
  });
}

}  // namespace movarek
