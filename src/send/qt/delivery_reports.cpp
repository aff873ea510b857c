#include "send/qt/delivery_reports.h"

#include <algorithm>
#include <memory>

#include "common/qt/log.h"
#include "common/qt/program_clock.h"
#include "common/qt/program_database.h"
#include "send/modem_number.h"
#include "send/qt/modem_manager.h"
#include "send/sent_messages.h"

namespace movarek {

// Reports on their way through the database's thread, and what became of each.
struct ReportMatching {
  struct Outcome {
    ReportMatchResult match;
    bool final = false;  // the report ends the message's wait
  };
  std::vector<ReceivedReport> reports;
  std::vector<Outcome> outcomes;  // of each report, once matched
};

namespace {

// Reports matched in turn: a message whose wait one of them ended is matched by no other.
bool matchReports(Database& database, std::int64_t now, ReportMatching& matching) {
  SentMessages store(database);
  auto candidates = store.reportCandidates(now);
  if (!candidates) return false;
  matching.outcomes.clear();
  for (const ReceivedReport& received : matching.reports) {
    const DeliveryReport& report = received.report;
    ReportMatching::Outcome outcome{
        matchReport(report, comparedNumber(report.number, plainInternationalNumber), *candidates)};
    if (outcome.match.match == ReportMatch::Matched) {
      const ReportedDelivery delivery = reportedDelivery(report.deliveryState);
      if (!store.setDelivery(outcome.match.id, delivery)) return false;
      outcome.final = delivery.delivery != Delivery::Awaiting;
      if (outcome.final) {
        std::ranges::find(*candidates, outcome.match.id, &ReportCandidate::id)->matched = true;
      }
    }
    matching.outcomes.push_back(outcome);
  }
  return true;
}

}  // namespace

DeliveryReports::DeliveryReports(ProgramDatabase& database, ModemManager& modems, QObject* parent)
    : QObject(parent), database_(database), modems_(modems) {
  connect(&modems_, &ModemManager::reportReceived, this, &DeliveryReports::received);
}

void DeliveryReports::received(const QString& modem, const QString& message,
                               const DeliveryReport& report) {
  held_.push_back({modem, message, report});
  match(std::exchange(held_, {}));
}

void DeliveryReports::referencesWritten() {
  ++referencesWritten_;
  if (!held_.empty()) match(std::exchange(held_, {}));
}

// Posted after what was posted before it, the outcomes and their references included.
void DeliveryReports::match(std::vector<ReceivedReport> reports) {
  auto matching = std::make_shared<ReportMatching>();
  matching->reports = std::move(reports);
  database_.change(
      this,
      [matching, now = ProgramClock::instance().now()](Database& database) {
        return matchReports(database, now, *matching);
      },
      [this, matching, written = referencesWritten_](const JobEnd& end) {
        if (end.done) {
          matched(*matching, written);
        } else {
          notMatched(std::move(matching->reports), end.fault);
        }
      });
}

void DeliveryReports::matched(const ReportMatching& matching, quint64 referencesWrittenBefore) {
  for (std::size_t i = 0; i < matching.reports.size(); ++i) {
    const ReceivedReport& received = matching.reports[i];
    const ReportMatching::Outcome& outcome = matching.outcomes[i];
    switch (outcome.match.match) {
      case ReportMatch::Matched:
        emit deliveryChanged(outcome.match.id);
        if (outcome.final) modems_.deleteMessage(received.modem, received.message);
        break;
      case ReportMatch::Held:
        held_.push_back(received);
        break;
      case ReportMatch::None:
        qCInfo(movarekLog).noquote() << "the delivery report" << received.message
                                     << "is about no message sent here: left on the modem";
        break;
    }
  }
  if (!held_.empty() && referencesWrittenBefore != referencesWritten_) {
    match(std::exchange(held_, {}));
  }
}

// Left on the modem, which gives them again at the next start; held meanwhile, unless nothing
// is written for the rest of the run.
void DeliveryReports::notMatched(std::vector<ReceivedReport> reports,
                                 const std::optional<DatabaseFault>& fault) {
  qCWarning(movarekLog).noquote() << reports.size()
                                  << "delivery reports could not be written: left on the modem";
  if (database_.off()) return;
  held_.insert(held_.end(), std::make_move_iterator(reports.begin()),
               std::make_move_iterator(reports.end()));
  if (fault && !std::exchange(failureTold_, true)) {
    database_.tellFailure(QStringLiteral("Doručenky zpráv nelze zapsat"), *fault);
  }
}

}  // namespace movarek
