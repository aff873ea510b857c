#include "send/qt/send_recorder.h"

#include <ctime>

#include "common/qt/program_database.h"

namespace movarek {

SendRecorder::SendRecorder(ProgramDatabase& database)
    : database_(database), records_(std::make_shared<std::map<quint64, std::int64_t>>()) {}

quint64 SendRecorder::issued(SentRecord record) {
  const quint64 send = ++lastSend_;
  record.sentAt = std::time(nullptr);
  record.state = SentState::Sending;
  database_.record([records = records_, send, record = std::move(record)](Database& database) {
    const auto id = SentMessages(database).add(record);
    if (id) (*records)[send] = *id;
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
  database_.record([records = records_, send, state, reason = std::move(reason),
                    lateAnswer](Database& database) {
    const auto found = records->find(send);
    if (found == records->end()) return true;
    if (found->second != 0) {
      SentMessages store(database);
      const bool written = lateAnswer ? store.answeredLate(found->second, state, reason)
                                      : store.finish(found->second, state, reason);
      if (!written) return false;
    }
    // Only a send not known to have arrived may still hear its answer.
    if (state != SentState::Uncertain) records->erase(found);
    return true;
  });
}

}  // namespace movarek
