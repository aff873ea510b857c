#pragma once
// The messages the program has sent, kept in the program's database: each recorded as its
// request goes out and updated when it ends, newest first, searchable, deleted beyond reading.
// States and reasons are kept as codes; the words the user reads are the program's to choose.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/page.h"
#include "send/modem_delivery.h"

struct sqlite3;

namespace movarek {

class Database;

// How a send ended, or that it is still to go: planned for a time, planned and missed while the
// program did not run, or waiting for the network to come back.
enum class SentState { Sending, Sent, NotSent, Uncertain, Planned, Missed, WaitingForNetwork };

// "odesílá se", "odesláno", "neodesláno", "nejisté", "naplánováno", "zmeškáno", "čeká na síť":
// as the list shows it.
std::string_view stateName(SentState state);
// "sending", "sent", "not-sent", "uncertain", "planned", "missed", "waiting-network": as the
// file keeps it.
std::string_view stateCode(SentState state);
// A message still to go.
bool isPlan(SentState state);
// The state the file keeps as `code`; nothing for a code it does not know.
std::optional<SentState> stateOfCode(std::string_view code);

// "e-mail", "oskar" or "modem": a record's page as the file keeps it.
std::string_view pageCode(Page page);
Page pageOfCode(std::string_view code);

// The states of a message still to go, as SQL to follow `state IN `: written into each query,
// never bound, so that the partial index over them (made by the schema with this very list)
// serves the queries.
inline constexpr std::string_view kPlanStatesSql = "('planned', 'missed', 'waiting-network')";

// The route every record went by before there was more than one way to send.
inline constexpr std::string_view kGatewayRoute = "gateway";
// The user's own modem, through ModemManager.
inline constexpr std::string_view kModemRoute = "modem";

struct SentRecord {
  std::int64_t id = 0;
  std::int64_t sentAt = 0;  // seconds since 1970, UTC
  Page page = Page::Sms;    // Sms, Oskar or Modem
  // UTF-8, as the request carried them. An Oskar record's addressee is the number without its
  // prefix, its prefix the one sent ("608").
  std::string addressees;
  std::string oskarPrefix;
  std::string senderPrefix;
  std::string sender;
  std::string text;  // in a listed record, only its start
  SentState state = SentState::Sending;
  std::string reason;         // why it was not sent, or is not known to have been: a reason's code
  std::int64_t dueAt = 0;     // a message still to go: when, in seconds since 1970, UTC
  std::int64_t giveUpAt = 0;  // one waiting for the network: its last try
  std::string request;  // its request's path and query (code page 1250); only in a whole record
  std::string route{kGatewayRoute};  // the way it goes or went: a stable code the file keeps
  // A message sent by the modem with a report asked for: the reference its report will name,
  // and what the reports said of it (awaiting from the moment the reference is known); the
  // reason a report's code ("report 0x46"). None for any other record.
  std::optional<unsigned> reportReference;
  std::optional<Delivery> delivery;
  std::string deliveryReason;
};

// The addressee as the user reads it: an Oskar record's number with its prefix.
std::string shownAddressees(const SentRecord& record);

class SentMessages {
 public:
  // How much of a text a listed record holds.
  static constexpr int kListedTextLength = 80;

  explicit SentMessages(Database& database);

  // Whether sends are recorded: on unless the user switched it off; nothing when it cannot be
  // read.
  std::optional<bool> recording();
  bool setRecording(bool on);

  // The new record's id, 0 when recording is off (a message still to go is kept all the same);
  // nothing when it could not be written.
  std::optional<std::int64_t> add(const SentRecord& record);
  // The state, reason and times of `record`'s message; its request kept while it is still to go.
  bool replan(const SentRecord& record);
  // A message still to go marked as being sent at `now`, before it goes, under the newest id, so
  // that the records list in the order they went: its new id; 0 when it was no longer to go
  // (the user may have cancelled it meanwhile); nothing when that could not be written.
  std::optional<std::int64_t> markSending(std::int64_t id, std::int64_t now);
  // The messages still to go that `search` finds, whole, the soonest first.
  std::optional<std::vector<SentRecord>> plans(std::string_view search = {});
  // False when the change could not be written. A `reportReference` given is kept, the record
  // then awaiting its report.
  bool finish(std::int64_t id, SentState state, std::string_view reason,
              std::optional<unsigned> reportReference = {});
  // An answer came after the send was told as not known: it was sent, or refused, after all.
  bool answeredLate(std::int64_t id, SentState state, std::string_view reason,
                    std::optional<unsigned> reportReference = {});

  // The modem's messages sent within kReportWindow before `now` that a report may be about:
  // those with a reference, and those whose send is still under way. Nothing when they cannot
  // be read.
  std::optional<std::vector<ReportCandidate>> reportCandidates(std::int64_t now);
  // What a report said of the record `id`.
  bool setDelivery(std::int64_t id, const ReportedDelivery& delivery);

  // Up to `limit` records, not of messages still to go, with ids below `beforeId` and not below
  // `lowestId`, newest first, whose addressees or text hold `search` with case and diacritics
  // ignored; each with only the start of its text. Nothing when they cannot be read.
  std::optional<std::vector<SentRecord>> listed(std::string_view search, std::int64_t beforeId,
                                                int limit, std::int64_t lowestId);
  // The id of the newest record (0 when there is none); nothing when it cannot be read.
  std::optional<std::int64_t> newestId();
  // Nothing when it cannot be read; none in it when there is no such record.
  std::optional<std::optional<SentRecord>> record(std::int64_t id);
  // Every record `search` finds, whole, newest first.
  bool forEach(std::string_view search, const std::function<bool(const SentRecord&)>& each);
  // Deletes the records `ids`, but none whose send is under way: its outcome is still to come.
  // How many it deleted.
  std::optional<int> remove(const std::vector<std::int64_t>& ids);
  // Cancels the messages still to go `ids`; one whose send has begun meanwhile stays, to end as
  // it will. How many it cancelled.
  std::optional<int> cancel(const std::vector<std::int64_t>& ids);
  // Deletes up to `limit` of the records `search` finds, newest first, the messages still to go
  // (each is cancelled on its own) and those being sent kept: how many it deleted.
  std::optional<int> removeFound(std::string_view search, int limit);
  // How many of the records `search` finds are being sent.
  std::optional<int> sendingFound(std::string_view search);

  // Sets the connection up for the records: the search function, and the records a killed
  // program left "odesílá se" told as not known. Run by the database on each opening.
  static void prepare(sqlite3* connection);

  // What add and replan write, on the connection itself.
  static std::int64_t insert(sqlite3* connection, const SentRecord& record);
  static void update(sqlite3* connection, const SentRecord& record);

 private:
  Database& database_;
};

// A search through the records a stretch of ids at a time, newest first: a step looks at no
// more than `span` ids below where the one before ended, so no step takes long however long the
// history, and no id is looked at twice.
class SentSearch {
 public:
  SentSearch(std::string search, std::int64_t newestId);

  const std::string& search() const { return search_; }
  bool complete() const { return below_ <= 1; }  // the first record's id is 1
  // Up to `wanted` records further on; nothing, and no step made, when they cannot be read.
  std::optional<std::vector<SentRecord>> step(SentMessages& store, int wanted, std::int64_t span);

 private:
  std::string search_;
  std::int64_t below_;  // the search goes on with the ids below this one
};

// "09.12.2026 19:45", in the user's time zone.
std::string shownTime(std::int64_t sentAt);

// The records as a UTF-8 CSV file with a header line, as spreadsheets read it. A cell that a
// spreadsheet would take for a formula ("=", "+", "-", "@", a tab or a carriage return first)
// begins with an apostrophe.
std::string sentCsvHeader();
std::string sentCsvLine(const SentRecord& record);

}  // namespace movarek
