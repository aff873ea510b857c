#pragma once
// The messages the program has sent, kept in the program's database: each recorded as its
// request goes out and updated when it ends, newest first, searchable, deleted beyond reading.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/page.h"

struct sqlite3;

namespace movarek {

class Database;

enum class SentState { Sending, Sent, NotSent, Uncertain };

// "odesílá se", "odesláno", "neodesláno", "nejisté": as the list shows it and the file keeps it.
std::string_view stateName(SentState state);

struct SentRecord {
  std::int64_t id = 0;
  std::int64_t sentAt = 0;  // seconds since 1970, UTC
  Page page = Page::Sms;    // Sms or Oskar
  // UTF-8, as the fields held them at the press. An Oskar record's addressee is the number
  // without its prefix.
  std::string addressees;
  std::string oskarPrefix;
  std::string senderPrefix;
  std::string sender;
  std::string text;  // in a listed record, only its start
  SentState state = SentState::Sending;
  std::string reason;  // why it was not sent, or is not known to have been
};

// The addressee as the user reads it: an Oskar record's number with its prefix.
std::string shownAddressees(const SentRecord& record);

class SentMessages {
 public:
  // The tables, as the database's first schema version.
  static const std::string_view kSchema;
  // How much of a text a listed record holds.
  static constexpr int kListedTextLength = 80;

  explicit SentMessages(Database& database);

  // Whether sends are recorded: on unless the user switched it off.
  bool recording();
  bool setRecording(bool on);

  // The new record's id, 0 when recording is off; nothing when it could not be written.
  std::optional<std::int64_t> add(const SentRecord& record);
  // False when the change could not be written.
  bool finish(std::int64_t id, SentState state, std::string_view reason);
  // An answer came after the send was told as not known: it was sent, or refused, after all.
  bool answeredLate(std::int64_t id, SentState state, std::string_view reason);

  // Up to `limit` records with ids below `beforeId` (any when 0) and not below `lowestId`,
  // newest first, whose addressees or text hold `search` with case and diacritics ignored; each
  // with only the start of its text. A search through part of the ids at a time keeps each step
  // short however long the history.
  std::vector<SentRecord> listed(std::string_view search, std::int64_t beforeId, int limit,
                                 std::int64_t lowestId = 0);
  // The id of the newest record; 0 when there is none.
  std::int64_t newestId();
  std::optional<SentRecord> record(std::int64_t id);
  // Every record `search` finds, whole, newest first.
  bool forEach(std::string_view search, const std::function<void(const SentRecord&)>& each);
  bool remove(const std::vector<std::int64_t>& ids);
  bool removeAll();

  // Sets the connection up for the records: the search function, and the records a killed
  // program left "odesílá se" told as not known. Run by the database on each opening.
  static void prepare(sqlite3* connection);

 private:
  Database& database_;
};

// "09.12.2026 19:45", in the user's time zone.
std::string shownTime(std::int64_t sentAt);

// The records as a UTF-8 CSV file with a header line, as spreadsheets read it.
std::string sentCsvHeader();
std::string sentCsvLine(const SentRecord& record);

}  // namespace movarek
