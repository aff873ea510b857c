#pragma once
// The delivery reports the user's modem receives, each matched to the sent message it is about
// and kept with its record, on the database's thread. A report that may be about a message
// whose reference is not written yet is held and matched again later; one about no message
// sent here is left on the modem, as is one the records could not take; one that ends a
// message's wait is deleted from the modem once written.
#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/database.h"
#include "send/modem_delivery.h"

namespace movarek {

class ModemManager;
class ProgramDatabase;
struct ReportMatching;

// A report as the modem gave it, with where it lies.
struct ReceivedReport {
  QString modem;
  QString message;  // the report's object
  DeliveryReport report;
};

class DeliveryReports : public QObject {
  Q_OBJECT

 public:
  DeliveryReports(ProgramDatabase& database, ModemManager& modems, QObject* parent = nullptr);

 public slots:
  // An outcome with a report's reference has been posted to the database: the reports held for
  // want of it are matched again, after it.
  void referencesWritten();

 signals:
  // The delivery of the record `id` has been written.
  void deliveryChanged(std::int64_t id);

 private:
  void received(const QString& modem, const QString& message, const DeliveryReport& report);
  // Matches `reports`, those held among them.
  void match(std::vector<ReceivedReport> reports);
  void matched(const ReportMatching& matching, quint64 referencesWrittenBefore);
  void notMatched(std::vector<ReceivedReport> reports, const std::optional<DatabaseFault>& fault);

  ProgramDatabase& database_;
  ModemManager& modems_;
  std::vector<ReceivedReport> held_;
  // How many times references were written: a report held by a match posted before the last
  // time may be about one of them.
  quint64 referencesWritten_ = 0;
  bool failureTold_ = false;  // once a run
};

}  // namespace movarek
