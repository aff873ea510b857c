#pragma once
// Each send written into the sent messages as its request goes out, and its record brought up
// to date as it ends. The writing is done on the database's thread: a send never waits for it,
// and goes out whether or not its record could be written. A record or an outcome that could
// not be written (the file held by another program, a full disk) is written with the next thing
// the database stores.
#include <QtGlobal>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "send/sent_messages.h"

namespace movarek {

class ProgramDatabase;

class SendRecorder {
 public:
  explicit SendRecorder(ProgramDatabase& database);

  // Records a send issued now; the number it returns names the send in the calls below.
  quint64 issued(SentRecord record);
  // `reason` is a reason's code.
  void ended(quint64 send, SentState state, std::string reason);
  // The answer to a send that ended as not known came after all: it was sent, or not.
  void answeredLate(quint64 send, SentState state, std::string reason);

 private:
  void update(quint64 send, SentState state, std::string reason, bool lateAnswer);

  ProgramDatabase& database_;
  quint64 lastSend_ = 0;
  // The records of this run's sends that may still change (0: not kept, as the user chose);
  // used on the database's thread only, and owned by the jobs as much as by the recorder.
  std::shared_ptr<std::map<quint64, std::int64_t>> records_;
};

}  // namespace movarek
