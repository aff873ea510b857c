#pragma once
// A sent record's columns in one list, and the statements made from it: what the store writes,
// writes again, renews when a message still to go begins its send, and reads back.
#include <string>
#include <string_view>

#include "send/sent_messages.h"

namespace movarek {

class Statement;

// The columns a query reads, the id first; a listed record's holds only the start of its text
// and no request.
std::string readColumns(bool whole);
// The record at the row `row` stands on, read with readColumns.
SentRecord recordAt(const Statement& row);

// Writes a new record, its columns bound by bindInserted.
const std::string& insertSql();
Statement& bindInserted(Statement& statement, const SentRecord& record);

// Writes again where a record stands (state, reason, times, request), bindReplanned binding its
// id and those.
const std::string& replanSql();
Statement& bindReplanned(Statement& statement, const SentRecord& record);

// Writes anew, as being sent at ?2 and with nothing of its outcome or request yet, the record
// that `condition` finds.
std::string renewSql(std::string_view condition);

}  // namespace movarek
