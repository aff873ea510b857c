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
#include <optional>
#include <string>

#include "send/sent_messages.h"

namespace movarek {

class ProgramDatabase;

class SendRecorder {
 public:
  explicit SendRecorder(ProgramDatabase& database);

  // Records a send issued now; the number it returns names the send in the calls below.
  quint64 issued(SentRecord record);
  // `reason` is a reason's code; a `reportReference` given (the modem's message asked for a
  // delivery report) is kept, the record then awaiting its report.
  void ended(quint64 send, SentState state, std::string reason,
             std::optional<unsigned> reportReference = {});
  // The answer to a send that ended as not known came after all: it was sent, or not.
  void answeredLate(quint64 send, SentState state, std::string reason,
                    std::optional<unsigned> reportReference = {});
  // A send that never left (at `now`) waits for the network, to be tried again by the outbox.
  void waitForNetwork(quint64 send, std::int64_t now);

 private:
  struct End {
    SentState state;
    std::string reason;
    std::optional<unsigned> reportReference;
    bool lateAnswer;
  };
  void update(quint64 send, End end);

  ProgramDatabase& database_;
  quint64 lastSend_ = 0;
  // The records of this run's sends that may still change, with their ids (0: not kept, as the
  // user chose; -1, at the end only: not written yet); used on the database's thread only, and
  // owned by the jobs as much as by the recorder.
  struct Kept {
    std::int64_t id;
    SentRecord record;
  };
  std::shared_ptr<std::map<quint64, Kept>> records_;
};

// A planned message's new state and reason (its outcome, or its next try) and its report's
// reference, if any, written in the background, and set aside at the end should another program
// hold the file until then.
void recordPlanOutcome(ProgramDatabase& database, const SentRecord& plan);

}  // namespace movarek
