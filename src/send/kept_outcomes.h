#pragma once
// The records of sends that could not be written before the program ended (another program
// held the file): set aside beside the database, each as it is to be, and written at its next
// opening, before the sends a run left under way are told as not known, so that an outcome the
// program knew and told is never taken for one it did not know.
#include <string>

#include "send/sent_messages.h"

struct sqlite3;

namespace movarek {

// The entry to set aside for `record`: written whole when it has no id (it was never written),
// else its state, reason and times.
std::string keptRecordEntry(const SentRecord& record);

// What the user reads of it: "09.12.2026 19:45, jana@sms.cz: neodesláno (server odmítl
// spojení)".
std::string toldOutcome(const SentRecord& record);

// Writes what an earlier run set aside, once whatever becomes of the file after, and removes it.
// Run by the database on each opening, before SentMessages::prepare.
void writeKeptRecords(sqlite3* connection);

}  // namespace movarek
