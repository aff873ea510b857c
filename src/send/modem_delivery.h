#pragma once
// The delivery reports of messages sent through the user's modem: what a report says, and which
// sent message it is about. The network answers a message's request for a report with a message
// of its own, which names only the sent message's reference (0 to 255, so it wraps) and its
// addressee, so the program finds the message itself.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace movarek {

enum class Delivery { Awaiting, Delivered, NotDelivered };

// "čeká na doručenku", "doručeno", "nedoručeno": as the list shows it.
std::string_view deliveryName(Delivery delivery);
// "awaiting", "delivered", "not-delivered": as the database keeps it.
std::string_view deliveryCode(Delivery delivery);

struct ReportedDelivery {
  Delivery delivery = Delivery::Awaiting;
  // Why it was not delivered, or why the network is still trying: a code ("report 0x46");
  // empty for a delivered one.
  std::string reason;
};

// The report's status: 0x00 to 0x02 delivered (received, passed on, replaced); 0x20 to 0x3F the
// network is still trying; 0x40 to 0x7F not delivered, for good; anything else tells nothing,
// so the message stays awaiting its report.
ReportedDelivery reportedDelivery(std::uint32_t deliveryState);
// A short Czech reason for a kept code ("vypršela platnost zprávy"); empty for one that is not
// a report's.
std::string deliveryReason(std::string_view code);

// A report as the modem gave it.
struct DeliveryReport {
  unsigned reference = 0;
  std::string number;           // the addressee, as the network writes it
  std::int64_t receivedAt = 0;  // seconds since 1970, UTC
  std::uint32_t deliveryState = 0;
};

// A sent message a report may be about: one that went, or one whose Send is still under way.
struct ReportCandidate {
  std::int64_t id = 0;
  std::int64_t sentAt = 0;
  std::string number;                 // compared as comparedNumber gives it
  std::optional<unsigned> reference;  // none while its Send is under way
  bool matched = false;               // a report with a final delivery has come for it
};

// A report comes only while the message centre keeps the message, which is no longer than its
// validity. ModemManager gives a message no validity of its own, so the centre's default holds:
// commonly one to seven days.
inline constexpr std::int64_t kReportWindow = 7 * 24 * 60 * 60;

enum class ReportMatch {
  Matched,  // the report is about the candidate `id`
  Held,     // it may be about a message whose reference is not known yet: try again then
  None,     // about no message the program knows (an earlier part's, another program's)
};

struct ReportMatchResult {
  ReportMatch match = ReportMatch::None;
  std::int64_t id = 0;
};

// The newest unmatched candidate sent within `window` before the report, with the report's
// reference and number (`reportNumber` as comparedNumber gives it). A report still trying
// matches its message without ending its wait: the caller sets `matched` only for a final one.
ReportMatchResult matchReport(const DeliveryReport& report, std::string_view reportNumber,
                              const std::vector<ReportCandidate>& candidates,
                              std::int64_t window = kReportWindow);

}  // namespace movarek
