#include "send/kept_outcomes.h"

#include <sqlite3.h>

#include "common/database.h"
#include "common/diagnostics.h"
#include "common/set_aside.h"
#include "send/send_failure.h"
#include "send/sent_delivery.h"

namespace movarek {
namespace {

// The mark of the last set taken in: a set whose file outlived its taking is not taken twice.
constexpr std::string_view kTakenSetting = "kept_records_taken";

constexpr std::size_t kFieldsWithRoute = 14;
constexpr std::size_t kFieldsWithDelivery = 17;

std::optional<unsigned> referenceField(const std::string& field) {
  const auto reference = numberField(field);
  return reference ? std::optional(static_cast<unsigned>(*reference)) : std::nullopt;
}

// An entry of an earlier version has no route (its record went through the gateway), or has a
// route but no report.
std::optional<SentRecord> recordOf(const std::string& entry) {
  const auto fields = splitFields(entry);
  if (!fields || fields->size() < kFieldsWithRoute - 1 || fields->size() > kFieldsWithDelivery ||
      (fields->size() > kFieldsWithRoute && fields->size() < kFieldsWithDelivery)) {
    return std::nullopt;
  }
  const auto& field = *fields;
  const auto id = numberField(field[0]);
  const auto sentAt = numberField(field[1]);
  const auto dueAt = numberField(field[10]);
  const auto giveUpAt = numberField(field[11]);
  const auto state = stateOfCode(field[8]);
  if (!id || !sentAt || !dueAt || !giveUpAt || !state) return std::nullopt;
  const bool delivery = field.size() == kFieldsWithDelivery;
  return SentRecord{*id,
                    *sentAt,
                    pageOfCode(field[2]),
                    field[3],
                    field[4],
                    field[5],
                    field[6],
                    field[7],
                    *state,
                    field[9],
                    *dueAt,
                    *giveUpAt,
                    field[12],
                    field.size() >= kFieldsWithRoute ? field[13] : std::string(kGatewayRoute),
                    delivery ? referenceField(field[14]) : std::nullopt,
                    delivery ? deliveryOfCode(field[15]) : std::nullopt,
                    delivery ? field[16] : std::string()};
}

bool takenAlready(sqlite3* connection, std::int64_t mark) {
  Statement taken(connection, "SELECT 1 FROM setting WHERE name = ?1 AND value = ?2");
  return taken.bind(1, kTakenSetting).bind(2, mark).step();
}

void write(sqlite3* connection, const std::vector<std::string>& entries) {
  for (const std::string& entry : entries) {
    const auto record = recordOf(entry);
    if (!record) {
      logFault("a record set aside cannot be read: left out");
    } else if (record->id == 0) {
      SentMessages::insert(connection, *record);
    } else {
      SentMessages::update(connection, *record);
    }
  }
}

}  // namespace

std::string keptRecordEntry(const SentRecord& record) {
  return joinedFields(
      {std::to_string(record.id), std::to_string(record.sentAt), std::string(pageCode(record.page)),
       record.addressees, record.oskarPrefix, record.senderPrefix, record.sender, record.text,
       std::string(stateCode(record.state)), record.reason, std::to_string(record.dueAt),
       std::to_string(record.giveUpAt), record.request, record.route,
       record.reportReference ? std::to_string(*record.reportReference) : std::string(),
       record.delivery ? std::string(deliveryCode(*record.delivery)) : std::string(),
       record.deliveryReason});
}

std::string toldOutcome(const SentRecord& record) {
  std::string told = shownTime(record.sentAt) + ", " + shownAddressees(record) + ": " +
                     std::string(stateName(record.state));
  if (!record.reason.empty()) told += " (" + shownReason(record.reason) + ")";
  return told;
}

void writeKeptRecords(sqlite3* connection) {
  const char* file = sqlite3_db_filename(connection, "main");
  if (!file || !*file || sqlite3_db_readonly(connection, "main") == 1) return;
  const auto kept = setAsideFor(file);
  if (!kept) return;
  Transaction taking(connection);
  if (!takenAlready(connection, kept->mark)) {
    write(connection, kept->entries);
    Statement(connection, "INSERT OR REPLACE INTO setting (name, value) VALUES (?1, ?2)")
        .bind(1, kTakenSetting)
        .bind(2, kept->mark)
        .run();
  }
  taking.commit();
  removeSetAside(file);
}

}  // namespace movarek
