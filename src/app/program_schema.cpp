#include "app/program_schema.h"

#include <sqlite3.h>

#include <array>
#include <string>

#include "addressbook/contact_groups.h"
#include "send/kept_outcomes.h"
#include "send/send_failure.h"
#include "send/sent_messages.h"

namespace movarek {
namespace {

// Version 1: the sent messages, their states and reasons in the words the user read.
constexpr std::string_view kSentMessages = R"(
CREATE TABLE sent_message (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  sent_at INTEGER NOT NULL,
  page TEXT NOT NULL CHECK (page IN ('e-mail', 'oskar')),
  addressees TEXT NOT NULL,
  oskar_prefix TEXT NOT NULL DEFAULT '',
  sender_prefix TEXT NOT NULL DEFAULT '',
  sender TEXT NOT NULL DEFAULT '',
  text TEXT NOT NULL,
  state TEXT NOT NULL CHECK (state IN ('odesílá se', 'odesláno', 'neodesláno', 'nejisté')),
  reason TEXT NOT NULL DEFAULT ''
);
CREATE TABLE setting (name TEXT PRIMARY KEY, value INTEGER NOT NULL) WITHOUT ROWID;
)";

// Version 2: contact groups, whose members are addresses.
constexpr std::string_view kContactGroups = R"(
CREATE TABLE contact_group (
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL UNIQUE
);
CREATE TABLE group_member (
  group_id INTEGER NOT NULL REFERENCES contact_group (id) ON DELETE CASCADE,
  address TEXT NOT NULL,
  position INTEGER PRIMARY KEY
);
CREATE UNIQUE INDEX group_member_once ON group_member (group_id, address);
CREATE INDEX group_member_address ON group_member (address);
)";

// Version 3: message templates in the user's order.
constexpr std::string_view kMessageTemplates = R"(
CREATE TABLE message_template (
  id INTEGER PRIMARY KEY,
  position INTEGER NOT NULL,
  text TEXT NOT NULL
);
)";

// Version 4: states and reasons as codes; planned messages (their due time in UTC, the last try
// of one waiting for the network, the request they send) with an index of their own; a group
// name's key (trimmed, case and diacritics folded) unique, as the user tells names apart. The
// table is made anew for its new states, its ids and the ids it gave out before kept.
constexpr std::string_view kCodes = R"(
CREATE TABLE sent_message_v4 (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  sent_at INTEGER NOT NULL,
  page TEXT NOT NULL CHECK (page IN ('e-mail', 'oskar')),
  addressees TEXT NOT NULL,
  oskar_prefix TEXT NOT NULL DEFAULT '',
  sender_prefix TEXT NOT NULL DEFAULT '',
  sender TEXT NOT NULL DEFAULT '',
  text TEXT NOT NULL,
  state TEXT NOT NULL CHECK (state IN ('sending', 'sent', 'not-sent', 'uncertain', 'planned',
                                       'missed', 'waiting-network')),
  reason TEXT NOT NULL DEFAULT '',
  due_at INTEGER NOT NULL DEFAULT 0,
  give_up_at INTEGER NOT NULL DEFAULT 0,
  request BLOB NOT NULL DEFAULT x''
);
INSERT INTO sent_message_v4 (id, sent_at, page, addressees, oskar_prefix, sender_prefix, sender,
                             text, state, reason)
  SELECT id, sent_at, page, addressees, oskar_prefix, sender_prefix, sender, text,
         CASE state WHEN 'odesílá se' THEN 'sending' WHEN 'odesláno' THEN 'sent'
                    WHEN 'neodesláno' THEN 'not-sent' ELSE 'uncertain' END,
         reason
  FROM sent_message;
DELETE FROM sqlite_sequence WHERE name = 'sent_message_v4';
INSERT INTO sqlite_sequence (name, seq)
  SELECT 'sent_message_v4', seq FROM sqlite_sequence WHERE name = 'sent_message';
DROP TABLE sent_message;
ALTER TABLE sent_message_v4 RENAME TO sent_message;
CREATE INDEX sent_message_plans ON sent_message (due_at)
  WHERE state IN ('planned', 'missed', 'waiting-network');
ALTER TABLE contact_group ADD COLUMN name_key TEXT NOT NULL DEFAULT '';
)";

// The plans' queries name their states with the same list, in the same order, so that this
// index serves them.
static_assert(kCodes.find(kPlanStatesSql) != std::string_view::npos);

// Version 5: each record names the route it goes by; every one before went through the gateway.
constexpr std::string_view kRoutes = R"(
ALTER TABLE sent_message ADD COLUMN route TEXT NOT NULL DEFAULT 'gateway';
)";

// Version 6: the modem's page, and a modem message's delivery report: the reference the report
// names (NULL until the send has read it), what the reports said (NULL where none was asked
// for) and its reason, with an index of the modem's records for matching the reports. The table
// is made anew for its page's new check, its ids, the ids it gave out and its indexes kept.
constexpr std::string_view kDelivery = R"(
CREATE TABLE sent_message_v6 (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  sent_at INTEGER NOT NULL,
  page TEXT NOT NULL CHECK (page IN ('e-mail', 'oskar', 'modem')),
  addressees TEXT NOT NULL,
  oskar_prefix TEXT NOT NULL DEFAULT '',
  sender_prefix TEXT NOT NULL DEFAULT '',
  sender TEXT NOT NULL DEFAULT '',
  text TEXT NOT NULL,
  state TEXT NOT NULL CHECK (state IN ('sending', 'sent', 'not-sent', 'uncertain', 'planned',
                                       'missed', 'waiting-network')),
  reason TEXT NOT NULL DEFAULT '',
  due_at INTEGER NOT NULL DEFAULT 0,
  give_up_at INTEGER NOT NULL DEFAULT 0,
  request BLOB NOT NULL DEFAULT x'',
  route TEXT NOT NULL DEFAULT 'gateway',
  report_reference INTEGER CHECK (report_reference BETWEEN 0 AND 255),
  delivery TEXT CHECK (delivery IN ('awaiting', 'delivered', 'not-delivered')),
  delivery_reason TEXT NOT NULL DEFAULT ''
);
INSERT INTO sent_message_v6 (id, sent_at, page, addressees, oskar_prefix, sender_prefix, sender,
                             text, state, reason, due_at, give_up_at, request, route)
  SELECT id, sent_at, page, addressees, oskar_prefix, sender_prefix, sender, text, state, reason,
         due_at, give_up_at, request, route
  FROM sent_message;
DELETE FROM sqlite_sequence WHERE name = 'sent_message_v6';
INSERT INTO sqlite_sequence (name, seq)
  SELECT 'sent_message_v6', seq FROM sqlite_sequence WHERE name = 'sent_message';
DROP TABLE sent_message;
ALTER TABLE sent_message_v6 RENAME TO sent_message;
CREATE INDEX sent_message_plans ON sent_message (due_at)
  WHERE state IN ('planned', 'missed', 'waiting-network');
CREATE INDEX sent_message_reports ON sent_message (sent_at) WHERE route = 'modem';
)";

static_assert(kDelivery.find(kPlanStatesSql) != std::string_view::npos);

constexpr std::string_view kForeignWords = "odpověď nepřišla od brány, ale od jiného serveru (";

// The code of a reason kept in the words of the versions before codes; words it does not know
// stay as they are, and are shown so.
std::string codeOfWords(const std::string& words) {
  if (words == shownReason(kEndedEarly)) return std::string(kEndedEarly);
  if (words.starts_with(kForeignWords)) {
    const auto host = words.substr(kForeignWords.size());
    return reasonCode({LoadFailure::Kind::ForeignAnswer, 0, host.substr(0, host.find(')'))});
  }
  for (const auto& [kind, prefix] : {std::pair{LoadFailure::Kind::HttpStatus, "chyba serveru "},
                                     {LoadFailure::Kind::NetworkError, "chyba sítě "}}) {
    if (words.starts_with(prefix)) {
      const auto code =
          failureOfCode((kind == LoadFailure::Kind::HttpStatus ? "http " : "network ") +
                        words.substr(std::string_view(prefix).size()));
      if (code) return reasonCode(*code);
    }
  }
  using Kind = LoadFailure::Kind;
  for (const LoadFailure& failure : std::array<LoadFailure, 9>{{{Kind::NoAnswer},
                                                                {Kind::NoEngine},
                                                                {Kind::EngineFailed},
                                                                {Kind::NetworkError, -106},
                                                                {Kind::NetworkError, -105},
                                                                {Kind::NetworkError, -102},
                                                                {Kind::NetworkError, -101},
                                                                {Kind::NetworkError, -109},
                                                                {Kind::NetworkError, -7}}}) {
    if (failureReason(failure) == words) return reasonCode(failure);
  }
  return words;
}

void reasonsAsCodes(sqlite3* connection) {
  Statement reasons(connection, "SELECT id, reason FROM sent_message WHERE reason != ''");
  Statement coded(connection, "UPDATE sent_message SET reason = ?2 WHERE id = ?1");
  for (const auto& [id, words] : allRows(
           reasons, [](const Statement& row) { return std::pair(row.integer(0), row.text(1)); })) {
    coded.bind(1, id).bind(2, codeOfWords(words)).run();
  }
}

// Names trimmed and keyed; of the groups whose names the user cannot tell apart, the first
// keeps the members of them all.
void groupNameKeys(sqlite3* connection) {
  Statement all(connection, "SELECT id, name FROM contact_group ORDER BY id");
  const std::vector<ContactGroup> groups = allRows(all, groupAt);
  Statement keyed(connection, "UPDATE contact_group SET name = ?2, name_key = ?3 WHERE id = ?1");
  // Only groups keyed already, which came before.
  Statement keeper(connection, "SELECT id FROM contact_group WHERE name_key = ?1 AND id < ?2");
  Statement moved(connection,
                  "UPDATE OR IGNORE group_member SET group_id = ?2 WHERE group_id = ?1");
  Statement leftOver(connection, "DELETE FROM group_member WHERE group_id = ?1");
  Statement merged(connection, "DELETE FROM contact_group WHERE id = ?1");
  for (const ContactGroup& group : groups) {
    const std::string name = trimmedGroupName(group.name);
    const std::string key = groupNameKey(name);
    const bool known = keeper.bind(1, key).bind(2, group.id).step();
    const std::int64_t kept = known ? keeper.integer(0) : 0;
    keeper.run();
    if (!known) {
      keyed.bind(1, group.id).bind(2, name).bind(3, key).run();
      continue;
    }
    moved.bind(1, group.id).bind(2, kept).run();
    leftOver.bind(1, group.id).run();  // members the keeper has already
    merged.bind(1, group.id).run();
  }
  Database::execute(connection,
                    "CREATE UNIQUE INDEX contact_group_name_key ON contact_group (name_key)");
}

void codesAndKeys(sqlite3* connection) {
  reasonsAsCodes(connection);
  groupNameKeys(connection);
}

}  // namespace

Schema programSchema() {
  return {{{kSentMessages},
           {kContactGroups},
           {kMessageTemplates},
           {kCodes, &codesAndKeys},
           {kRoutes},
           {kDelivery}},
          {"odeslané zprávy, skupiny a šablony", "odeslané zprávy"}};
}

// The records an earlier run set aside are written before those it left under way are told as
// not known.
std::vector<Database::Preparation> programPreparations() {
  return {&writeKeptRecords, &SentMessages::prepare};
}

}  // namespace movarek
