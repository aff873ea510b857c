#include "send/sent_delivery.h"

#include <sqlite3.h>

#include <algorithm>

#include "common/database.h"
#include "send/modem_number.h"

namespace movarek {
namespace {

constexpr std::int64_t kMinute = 60;
constexpr std::int64_t kHour = 60 * kMinute;
constexpr std::int64_t kDay = 24 * kHour;

// "5 min", "3 h", "4 d": hours up to two days, as a wait for a report is thought of.
std::string waited(std::int64_t seconds) {
  seconds = std::max<std::int64_t>(seconds, 0);
  if (seconds < kHour) return std::to_string(seconds / kMinute) + " min";
  if (seconds < 2 * kDay) return std::to_string(seconds / kHour) + " h";
  return std::to_string(seconds / kDay) + " d";
}

std::string deliveryWithWait(const SentRecord& record, std::optional<std::int64_t> now) {
  std::string shown(deliveryName(*record.delivery));
  if (now && *record.delivery == Delivery::Awaiting) {
    shown += " (" + waited(*now - record.sentAt) + ")";
  }
  return shown;
}

// movarek_delivery(delivery, delivery_reason).
void deliveryWords(sqlite3_context* context, int, sqlite3_value** values) {
  const auto text = [&](int i) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(values[i]));
    return std::string(bytes ? bytes : "",
                       static_cast<std::size_t>(sqlite3_value_bytes(values[i])));
  };
  SentRecord record;
  record.delivery = deliveryOfCode(text(0));
  record.deliveryReason = text(1);
  const std::string shown = shownDelivery(record);
  sqlite3_result_text(context, shown.data(), static_cast<int>(shown.size()), SQLITE_TRANSIENT);
}

ReportCandidate candidateAt(const Statement& row) {
  ReportCandidate candidate;
  candidate.id = row.integer(0);
  candidate.sentAt = row.integer(1);
  candidate.number = comparedNumber(row.text(2), plainInternationalNumber);
  if (!row.isNull(3)) candidate.reference = static_cast<unsigned>(row.integer(3));
  candidate.matched = row.integer(4) != 0;
  return candidate;
}

}  // namespace

std::optional<Delivery> deliveryOfCode(std::string_view code) {
  for (const Delivery delivery :
       {Delivery::Awaiting, Delivery::Delivered, Delivery::NotDelivered}) {
    if (deliveryCode(delivery) == code) return delivery;
  }
  return std::nullopt;
}

std::string shownDelivery(const SentRecord& record, std::optional<std::int64_t> now) {
  if (!record.delivery) return {};
  std::string shown = deliveryWithWait(record, now);
  if (const std::string reason = deliveryReason(record.deliveryReason); !reason.empty()) {
    shown += " – " + reason;
  }
  return shown;
}

std::string listedDelivery(const SentRecord& record, std::int64_t now) {
  return record.delivery ? deliveryWithWait(record, now) : std::string();
}

void prepareDeliveryWords(sqlite3* connection) {
  sqlite3_create_function_v2(connection, "movarek_delivery", 2,
                             SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_DIRECTONLY, nullptr,
                             deliveryWords, nullptr, nullptr, nullptr);
}

// The numbers are kept in international form, as the modem's field wrote them, so that reading
// them by their digits alone gives what the number module would. The route is written into the
// query, never bound, so that the index of the modem's records serves it.
std::optional<std::vector<ReportCandidate>> SentMessages::reportCandidates(std::int64_t now) {
  static const std::string sql =
      "SELECT id, sent_at, addressees, report_reference, "
      "delivery IN ('delivered', 'not-delivered') FROM sent_message WHERE route = '" +
      std::string(kModemRoute) +
      "' AND sent_at >= ?1 AND (report_reference IS NOT NULL OR state = 'sending')";
  return database_.rows(sql, candidateAt, now - kReportWindow);
}

bool SentMessages::setDelivery(std::int64_t id, const ReportedDelivery& delivery) {
  return database_.run("UPDATE sent_message SET delivery = ?2, delivery_reason = ?3 WHERE id = ?1",
                       id, deliveryCode(delivery.delivery), delivery.reason);
}

}  // namespace movarek
