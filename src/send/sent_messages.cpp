#include "send/sent_messages.h"

#include <sqlite3.h>

#include <algorithm>
#include <ctime>

#include "common/csv_field.h"
#include "common/database.h"
#include "common/search_fold.h"
#include "exchange/text_encoding.h"
#include "send/page_names.h"
#include "send/send_failure.h"
#include "send/sent_delivery.h"
#include "send/sent_record_columns.h"

namespace movarek {
namespace {

constexpr std::string_view kRecordingSetting = "record_sent_messages";

const std::string kPlanStates = "state IN " + std::string(kPlanStatesSql);
// A send under way: its outcome is still to be written.
constexpr std::string_view kUnderWay = "state = 'sending'";

// What a search looks through: the text, the addressees (an Oskar number with its prefix) and
// the delivery.
constexpr std::string_view kFound =
    "(?1 = '' OR movarek_holds(?1, text, "
    "CASE oskar_prefix WHEN '' THEN addressees ELSE oskar_prefix || addressees END, "
    "movarek_delivery(delivery, delivery_reason)))";

// A send's end, on the record `id` that `condition` finds: a reference given is kept, and the
// record awaits its report.
bool writeEnd(Database& database, std::string_view condition, std::int64_t id, SentState state,
              std::string_view reason, std::optional<unsigned> reportReference) {
  return database.use([&](sqlite3* connection) {
    Statement end(connection,
                  "UPDATE sent_message SET state = ?2, reason = ?3, "
                  "report_reference = coalesce(?4, report_reference), "
                  "delivery = CASE WHEN ?4 IS NULL THEN delivery ELSE 'awaiting' END "
                  "WHERE id = ?1" +
                      std::string(condition));
    end.bind(1, id)
        .bind(2, stateCode(state))
        .bind(3, reason)
        .bind(4, std::optional<std::int64_t>(reportReference))
        .run();
  });
}

bool recordingOn(sqlite3* connection) {
  Statement query(connection, "SELECT value FROM setting WHERE name = ?1");
  return !query.bind(1, kRecordingSetting).step() || query.integer(0) != 0;
}

// Each state as the file keeps it and as the user reads it.
struct StateWords {
  SentState state;
  std::string_view code;
  std::string_view name;
};
constexpr StateWords kStateWords[] = {
    {SentState::Sending, "sending", "odesílá se"},
    {SentState::Sent, "sent", "odesláno"},
    {SentState::NotSent, "not-sent", "neodesláno"},
    {SentState::Uncertain, "uncertain", "nejisté"},
    {SentState::Planned, "planned", "naplánováno"},
    {SentState::Missed, "missed", "zmeškáno"},
    {SentState::WaitingForNetwork, "waiting-network", "čeká na síť"},
};

const StateWords& wordsOf(SentState state) {
  return *std::ranges::find(kStateWords, state, &StateWords::state);
}

// A cell a spreadsheet would run as a formula is written as text.
std::string plainCell(const std::string& text) {
  const bool formula =
      !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos;
  return csvField(formula ? "'" + text : text);
}

// movarek_holds(folded search, text, ...): whether any of the texts, folded, holds the search.
void holds(sqlite3_context* context, int count, sqlite3_value** values) {
  thread_local std::string folded;
  const auto text = [&](int i) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(values[i]));
    return std::string_view(bytes ? bytes : "",
                            static_cast<std::size_t>(sqlite3_value_bytes(values[i])));
  };
  const std::string_view search = text(0);
  for (int i = 1; i < count; ++i) {
    foldForSearch(text(i), folded);
    if (folded.find(search) != std::string::npos) {
      sqlite3_result_int(context, 1);
      return;
    }
  }
  sqlite3_result_int(context, 0);
}

}  // namespace

std::string_view stateName(SentState state) { return wordsOf(state).name; }

std::string_view stateCode(SentState state) { return wordsOf(state).code; }

bool isPlan(SentState state) {
  return state == SentState::Planned || state == SentState::Missed ||
         state == SentState::WaitingForNetwork;
}

std::optional<SentState> stateOfCode(std::string_view code) {
  const auto found = std::ranges::find(kStateWords, code, &StateWords::code);
  if (found == std::end(kStateWords)) return std::nullopt;
  return found->state;
}

std::string_view pageCode(Page page) { return pageNames(page).code; }

// A code of no sending page reads as the first page's, as the file's check allows no other.
Page pageOfCode(std::string_view code) {
  for (Page page : {Page::Oskar, Page::Modem}) {
    if (code == pageNames(page).code) return page;
  }
  return Page::Sms;
}

std::string shownAddressees(const SentRecord& record) {
  return record.page == Page::Oskar ? record.oskarPrefix + record.addressees : record.addressees;
}

SentMessages::SentMessages(Database& database) : database_(database) {}

void SentMessages::prepare(sqlite3* connection) {
  sqlite3_create_function_v2(connection, "movarek_holds", -1,
                             SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_DIRECTONLY, nullptr, holds,
                             nullptr, nullptr, nullptr);
  prepareDeliveryWords(connection);
  // Only one copy of the program uses the data folder: a send still under way here belonged to
  // a run that ended before its answer.
  if (sqlite3_db_readonly(connection, "main") == 1) return;
  Statement(connection,
            "UPDATE sent_message SET state = 'uncertain', reason = ?1 WHERE state = "
            "'sending'")
      .bind(1, kEndedEarly)
      .run();
}

std::optional<bool> SentMessages::recording() {
  bool on = true;
  if (!database_.read([&](sqlite3* connection) { on = recordingOn(connection); })) {
    return std::nullopt;
  }
  return on;
}

bool SentMessages::setRecording(bool on) {
  return database_.run("INSERT OR REPLACE INTO setting (name, value) VALUES (?1, ?2)",
                       kRecordingSetting, std::int64_t{on ? 1 : 0});
}

// One use, so that a file held by another program is waited for once.
std::optional<std::int64_t> SentMessages::add(const SentRecord& record) {
  std::int64_t id = 0;
  const bool written = database_.use([&](sqlite3* connection) { id = insert(connection, record); });
  return written ? std::optional(id) : std::nullopt;
}

std::int64_t SentMessages::insert(sqlite3* connection, const SentRecord& record) {
  // A message still to go is kept whatever the user chose for the history.
  if (!isPlan(record.state) && !recordingOn(connection)) return 0;
  Statement insert(connection, insertSql());
  bindInserted(insert, record).run();
  return sqlite3_last_insert_rowid(connection);
}

bool SentMessages::finish(std::int64_t id, SentState state, std::string_view reason,
                          std::optional<unsigned> reportReference) {
  return writeEnd(database_, "", id, state, reason, reportReference);
}

bool SentMessages::replan(const SentRecord& record) {
  return database_.use([&](sqlite3* connection) { update(connection, record); });
}

void SentMessages::update(sqlite3* connection, const SentRecord& record) {
  Statement update(connection, replanSql());
  bindReplanned(update, record).run();
}

// Written anew under the next id, as a send from a page is when it goes.
std::optional<std::int64_t> SentMessages::markSending(std::int64_t id, std::int64_t now) {
  std::int64_t marked = 0;
  const bool written = database_.use([&](sqlite3* connection) {
    Transaction renumbered(connection);
    static const std::string sql = renewSql("id = ?1 AND " + kPlanStates);
    Statement(connection, sql).bind(1, id).bind(2, now).run();
    if (sqlite3_changes(connection) == 0) return;
    marked = sqlite3_last_insert_rowid(connection);
    Statement(connection, "DELETE FROM sent_message WHERE id = ?1").bind(1, id).run();
    renumbered.commit();
  });
  return written ? std::optional(marked) : std::nullopt;
}

std::optional<std::vector<SentRecord>> SentMessages::plans(std::string_view search) {
  return database_.rows("SELECT " + readColumns(true) + " FROM sent_message WHERE " + kPlanStates +
                            " AND " + std::string(kFound) + " ORDER BY due_at, id",
                        recordAt, foldedForSearch(search));
}

bool SentMessages::answeredLate(std::int64_t id, SentState state, std::string_view reason,
                                std::optional<unsigned> reportReference) {
  return writeEnd(database_, " AND state = 'uncertain'", id, state, reason, reportReference);
}

std::optional<std::vector<SentRecord>> SentMessages::listed(std::string_view search,
                                                            std::int64_t beforeId, int limit,
                                                            std::int64_t lowestId) {
  // Both ends bound the ids, so that SQLite looks at that stretch alone.
  return database_.rows("SELECT " + readColumns(false) +
                            " FROM sent_message WHERE id < ?2 AND id >= ?4 AND NOT " + kPlanStates +
                            " AND " + std::string(kFound) + " ORDER BY id DESC LIMIT ?3",
                        recordAt, foldedForSearch(search), beforeId, std::int64_t{limit}, lowestId);
}

std::optional<std::int64_t> SentMessages::newestId() {
  std::int64_t newest = 0;
  const bool read = database_.read([&](sqlite3* connection) {
    Statement query(connection, "SELECT coalesce(max(id), 0) FROM sent_message");
    if (query.step()) newest = query.integer(0);
  });
  if (!read) return std::nullopt;
  return newest;
}

std::optional<std::optional<SentRecord>> SentMessages::record(std::int64_t id) {
  const auto found = database_.rows(
      "SELECT " + readColumns(true) + " FROM sent_message WHERE id = ?1", recordAt, id);
  if (!found) return std::nullopt;
  return found->empty() ? std::nullopt : std::optional(found->front());
}

bool SentMessages::forEach(std::string_view search,
                           const std::function<bool(const SentRecord&)>& each) {
  bool whole = true;
  const bool read = database_.read([&](sqlite3* connection) {
    Statement query(connection, "SELECT " + readColumns(true) + " FROM sent_message WHERE " +
                                    std::string(kFound) + " ORDER BY id DESC");
    query.bind(1, foldedForSearch(search));
    while (whole && query.step()) whole = each(recordAt(query));
  });
  return read && whole;
}

namespace {

// One statement for each record, its condition in it: what the record became meanwhile decides.
std::optional<int> deleteEach(Database& database, const std::vector<std::int64_t>& ids,
                              const std::string& condition) {
  int deleted = 0;
  const bool done = database.use([&](sqlite3* connection) {
    Transaction removal(connection);
    Statement remove(connection, "DELETE FROM sent_message WHERE id = ?1 AND " + condition);
    for (const auto id : ids) {
      remove.bind(1, id).run();
      deleted += sqlite3_changes(connection);
    }
    removal.commit();
  });
  if (!done) return std::nullopt;
  return deleted;
}

}  // namespace

std::optional<int> SentMessages::remove(const std::vector<std::int64_t>& ids) {
  return deleteEach(database_, ids, "NOT " + std::string(kUnderWay));
}

std::optional<int> SentMessages::cancel(const std::vector<std::int64_t>& ids) {
  return deleteEach(database_, ids, kPlanStates);
}

std::optional<int> SentMessages::removeFound(std::string_view search, int limit) {
  int removed = 0;
  const bool done = database_.use([&](sqlite3* connection) {
    Statement(connection,
              "DELETE FROM sent_message WHERE id IN (SELECT id FROM sent_message WHERE NOT " +
                  std::string(kPlanStates) + " AND NOT " + std::string(kUnderWay) + " AND " +
                  std::string(kFound) + " ORDER BY id DESC LIMIT ?2)")
        .bind(1, foldedForSearch(search))
        .bind(2, limit)
        .run();
    removed = sqlite3_changes(connection);
  });
  if (!done) return std::nullopt;
  return removed;
}

std::optional<int> SentMessages::sendingFound(std::string_view search) {
  int found = 0;
  const bool read = database_.read([&](sqlite3* connection) {
    Statement query(connection, "SELECT count(*) FROM sent_message WHERE " +
                                    std::string(kUnderWay) + " AND " + std::string(kFound));
    if (query.bind(1, foldedForSearch(search)).step()) found = static_cast<int>(query.integer(0));
  });
  if (!read) return std::nullopt;
  return found;
}

SentSearch::SentSearch(std::string search, std::int64_t newestId)
    : search_(std::move(search)), below_(newestId + 1) {}

std::optional<std::vector<SentRecord>> SentSearch::step(SentMessages& store, int wanted,
                                                        std::int64_t span) {
  const std::int64_t lowest = std::max<std::int64_t>(1, below_ - span);
  auto found = store.listed(search_, below_, wanted, lowest);
  if (!found) return std::nullopt;
  // A full step ends at its last record: the ids between it and the stretch's end come next.
  below_ = static_cast<int>(found->size()) == wanted ? found->back().id : lowest;
  return found;
}

std::string shownTime(std::int64_t sentAt) {
  const auto time = static_cast<std::time_t>(sentAt);
  std::tm local{};
  localtime_r(&time, &local);
  char shown[32];
  std::strftime(shown, sizeof shown, "%d.%m.%Y %H:%M", &local);
  return shown;
}

std::string sentCsvHeader() {
  return std::string(kByteOrderMark) + "Kdy,Stránka,Komu,Odesílatel,Text,Stav,Důvod,Doručení\r\n";
}

std::string sentCsvLine(const SentRecord& record) {
  const std::string sender =
      record.senderPrefix.empty() ? record.sender : record.senderPrefix + " " + record.sender;
  std::string line;
  const char* separator = "";
  for (const std::string& field :
       {shownTime(record.sentAt), std::string(pageNames(record.page).tab), shownAddressees(record),
        sender, record.text, std::string(stateName(record.state)), shownReason(record.reason),
        shownDelivery(record)}) {
    line.append(separator).append(plainCell(field));
    separator = ",";
  }
  return line + "\r\n";
}

}  // namespace movarek
