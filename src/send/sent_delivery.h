#pragma once
// The delivery of the messages sent through the user's modem, as the sent messages keep it:
// which records a report may be about, what it said, and how the user reads it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "send/sent_messages.h"

struct sqlite3;

namespace movarek {

// The delivery the file keeps as `code`; none for NULL or a code it does not know.
std::optional<Delivery> deliveryOfCode(std::string_view code);

// "doručeno", "nedoručeno – vypršela platnost zprávy", "čeká na doručenku (3 h) – síť to
// zkouší dál": a record's delivery as the user reads it, how long it has waited told when `now`
// is given; empty for a record with none.
std::string shownDelivery(const SentRecord& record, std::optional<std::int64_t> now = {});
// As a list shows it, without the reason: "nedoručeno", "čeká na doručenku (3 h)".
std::string listedDelivery(const SentRecord& record, std::int64_t now);

// Gives the connection movarek_delivery(delivery, delivery_reason), the words shownDelivery
// gives without the wait, so that a search finds a record by them.
void prepareDeliveryWords(sqlite3* connection);

}  // namespace movarek
