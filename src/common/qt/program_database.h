#pragma once
// The program's database for the windows: opened on a thread of its own, right after the main
// window's first paint or at the first use, whichever comes first, so that neither the start
// nor a send ever waits for the disk. What cannot be done with it is told to the user once for
// each kind of fault, and written to the log each time.
#include <QObject>
#include <deque>
#include <functional>
#include <memory>
#include <set>

#include "common/database.h"

namespace movarek {

class ProgramDatabase : public QObject {
  Q_OBJECT

 public:
  ProgramDatabase(std::vector<std::string_view> migrations,
                  std::vector<Database::Preparation> preparations, QObject* parent = nullptr);
  // Waits a few seconds at most for what the thread still has to write.
  ~ProgramDatabase() override;

  Database& database() { return *database_; }

  // Runs `work` on the database's thread, after what was posted before it.
  void post(std::function<void()> work);
  // Runs `write` as post does; should it fail (false: the file held by another program, a full
  // disk), it is run again, in its order, before whatever is posted next and at the end.
  void keep(std::function<bool()> write);
  // Opens the database on its thread.
  void openSoon();

 private:
  void tell(const DatabaseFault& fault);
  // On the database's thread: the writes kept from before, in their order, until one fails.
  bool writeKept();

  std::unique_ptr<Database> database_;
  QThread* thread_;  // left running, with the database, should its last writes not end
  QObject* worker_;
  std::set<DatabaseFault::Kind> told_;
  std::deque<std::function<bool()>> kept_;  // used on the database's thread only
};

}  // namespace movarek
