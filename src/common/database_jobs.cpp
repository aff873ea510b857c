#include "common/database_jobs.h"

#include <sqlite3.h>

namespace movarek {

DatabaseJobs::DatabaseJobs(Database& database) : database_(database) {
  database_.setFaultHandler([this](const DatabaseFault& fault) {
    lastFault_ = fault;
    if (database_.off() && !offBecause_) offBecause_ = fault;
  });
}

std::optional<DatabaseFault> DatabaseJobs::faultMet() const {
  return lastFault_ ? lastFault_ : database_.off() ? offBecause_ : std::nullopt;
}

JobEnd DatabaseJobs::run(const DatabaseWork& work) {
  lastFault_.reset();
  if (work(database_)) return {true, {}};
  return {false, faultMet()};
}

// SQLite may have undone the transaction itself; a file held or full would fail the writes
// after this one too, and SQLite's own advice is to undo the transaction then.
bool DatabaseJobs::endsTheBatch(const JobEnd& end, sqlite3* connection) const {
  if (database_.off() || sqlite3_get_autocommit(connection) != 0) return true;
  return !end.done && end.fault &&
         (end.fault->kind == DatabaseFault::Kind::Busy ||
          end.fault->kind == DatabaseFault::Kind::Full);
}

std::vector<JobEnd> DatabaseJobs::runTogether(const std::vector<Write>& writes) {
  std::vector<JobEnd> ends(writes.size());
  lastFault_.reset();
  const bool whole = database_.use([&](sqlite3* connection) {
    Transaction together(connection);
    bool recordsHeldBack = false;
    for (std::size_t i = 0; i < writes.size(); ++i) {
      if (writes[i].record && recordsHeldBack) continue;
      Transaction alone(connection);
      ends[i] = run(*writes[i].work);
      // Thrown to the use, which meets it as the batch's fault.
      if (endsTheBatch(ends[i], connection)) {
        throw ends[i].fault.value_or(faultMet().value_or(
            DatabaseFault{DatabaseFault::Kind::Failed, "the batch's changes were undone"}));
      }
      if (ends[i].done) {
        alone.commit();
      } else {
        recordsHeldBack = recordsHeldBack || writes[i].record;
      }
    }
    together.commit();
  });
  if (!whole) {
    const auto undoing = faultMet();
    for (JobEnd& end : ends) {
      if (end.done || !end.fault) end = {false, undoing};
    }
  }
  return ends;
}

}  // namespace movarek
