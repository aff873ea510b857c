#include "send/sent_delivery.h"

#include <gtest/gtest.h>

#include <optional>

#include "sent_messages_fixture.h"

namespace movarek {
namespace {

TEST_F(SentMessagesTest, AModemMessagesDeliveryIsKeptWithItsRecord) {
  constexpr std::int64_t kNow = 1765400000;
  enum End { Sent, Late, Sending };  // late: told as not known first
  struct Case {
    std::string addressee;
    std::int64_t age;
    End end;
    std::optional<unsigned> reference;
    std::optional<std::uint32_t> reported;  // the report's status
    std::string candidate;                  // its number, reference and whether its wait is over
    std::string shown;
  };
  const Case cases[] = {
      {"+420777123456", 3 * 3600, Sent, 5, {}, "420777123456 5 0", "čeká na doručenku (3 h)"},
      {"+420601111222", 600, Sent, 6, 0x00, "420601111222 6 1", "doručeno"},
      {"+420602222333", 72 * 3600, Late, 255, 0x46, "420602222333 255 1",
       "nedoručeno – vypršela platnost zprávy"},
      {"+420604444555", 3600, Sent, 9, 0x21, "420604444555 9 0",
       "čeká na doručenku (1 h) – síť to zkouší dál: telefon adresáta je zaneprázdněný"},
      {"+420605555666", 192 * 3600, Sent, 8, {}, "", "čeká na doručenku (8 d)"},  // long ago
      {"+420603333444", 90, Sending, {}, {}, "420603333444 - 0", ""},
      {"+420606666777", 60, Sent, {}, {}, "", ""},  // no report asked for
      {"jana@sms.cz", 60, Sent, {}, {}, "", ""},    // through the gateway
  };
  std::vector<std::int64_t> ids;
  {
    auto database = open();
    SentMessages store(*database);
    for (const Case& each : cases) {
      SentRecord record = email(each.addressee, "Ahoj", SentState::Sending);
      record.sentAt = kNow - each.age;
      if (each.addressee.starts_with('+')) {
        record.page = Page::Modem;
        record.route = kModemRoute;
      }
      const std::int64_t id = store.add(record).value();
      ids.push_back(id);
      if (each.end == Late) {
        store.finish(id, SentState::Uncertain, "modem no-answer");
        store.answeredLate(id, SentState::Sent, "", each.reference);
      } else if (each.end == Sent) {
        store.finish(id, SentState::Sent, "", each.reference);
      }
      if (each.reported) store.setDelivery(id, reportedDelivery(*each.reported));
    }
    std::map<std::int64_t, std::string> candidates;
    const auto found = store.reportCandidates(kNow).value();
    for (const ReportCandidate& candidate : found) {
      const auto reference = candidate.reference ? std::to_string(*candidate.reference) : "-";
      candidates[candidate.id] =
          candidate.number + " " + reference + " " + std::to_string(candidate.matched);
    }
    for (std::size_t i = 0; i < ids.size(); ++i) {
      EXPECT_EQ(candidates[ids[i]], cases[i].candidate) << cases[i].addressee;
    }
  }
  auto database = open();
  SentMessages store(*database);
  for (std::size_t i = 0; i < ids.size(); ++i) {
    EXPECT_EQ(shownDelivery(store.record(ids[i])->value(), kNow), cases[i].shown)
        << cases[i].addressee;
  }
  EXPECT_EQ(addresseesOf(store.listed("vyprsela platnost", kAll, 10, 1)),
            std::vector<std::string>{"+420602222333"});
  EXPECT_TRUE(faults.empty());
}

// Messages still to go are kept whatever the history keeps, listed apart, deleted one by one,
// and each is taken for sending once at most: one under way when the program ended is not known.
}  // namespace
}  // namespace movarek
