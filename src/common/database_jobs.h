#pragma once
// Jobs on the program's database, each told what became of it. The writes queued together are
// made in one transaction, so that a burst of changes costs one write of the file: a write that
// fails there is undone alone, unless its fault ends the whole batch.
#include <functional>
#include <optional>
#include <vector>

#include "common/database.h"

namespace movarek {

// What became of a job: done, or the fault that kept it from being done.
struct JobEnd {
  bool done = false;
  std::optional<DatabaseFault> fault;
};

// A job on the database; false when it could not be done (its fault has been met).
using DatabaseWork = std::function<bool(Database& database)>;

class DatabaseJobs {
 public:
  // Takes the database's faults over, to tell each job its own.
  explicit DatabaseJobs(Database& database);
  DatabaseJobs(const DatabaseJobs&) = delete;
  DatabaseJobs& operator=(const DatabaseJobs&) = delete;

  struct Write {
    const DatabaseWork* work;
    bool record;  // the record of a send, whose writes keep their order
  };

  // A job that fails on a database already off fails for the reason it went off.
  JobEnd run(const DatabaseWork& work);
  // `writes` in one transaction. A fault the batch cannot go past (SQLite undid the
  // transaction, the file is held or full, the database went off) undoes them all, and each
  // write that had no fault of its own ends with that one: the fault that undid them, never one
  // that followed from it. A record not written holds the records after it back, unrun (their
  // ends have no fault), so that a send's end is never written before its start.
  std::vector<JobEnd> runTogether(const std::vector<Write>& writes);

 private:
  std::optional<DatabaseFault> faultMet() const;
  bool endsTheBatch(const JobEnd& end, sqlite3* connection) const;

  Database& database_;
  std::optional<DatabaseFault> lastFault_;
  std::optional<DatabaseFault> offBecause_;
};

}  // namespace movarek
