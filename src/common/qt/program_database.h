#pragma once
// The program's database, owned by a thread of its own that alone holds the connection: the
// windows post jobs to it and get their answers back through the event loop, so that nothing in
// the window's thread ever waits for SQLite. The jobs that write, queued together, are written
// in one transaction. A read that finds the file held by another program is told so and tried
// again until the file is free. The database opens right after the main window's first paint or
// at the first job, whichever comes first.
#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "common/database_jobs.h"

class QThread;

namespace movarek {

class DatabaseWorker;

using JobAnswer = std::function<void(const JobEnd& end)>;
// Set by the window when the read it asked for is no longer wanted (a search typed further).
using ReadWanted = std::shared_ptr<std::atomic_bool>;

// What a record not written by the end leaves: the entry set aside for the next start (one of
// the same `key` later on takes its place), and the line the user reads of it, empty for a
// record of no known outcome.
struct Leftover {
  std::string key;
  std::string entry;
  std::string told;
};
// Asked on the database's thread, in the records' order, of each record not written by the end.
using LeftoverOf = std::function<std::optional<Leftover>()>;

class ProgramDatabase : public QObject {
  Q_OBJECT

 public:
  ProgramDatabase(Schema schema, std::vector<Database::Preparation> preparations,
                  QObject* parent = nullptr);
  // Waits for the writes it has accepted, a few seconds at most: they own what they write.
  // What it could not write is told then.
  ~ProgramDatabase() override;

  // What a window reads: `answer` comes back to `receiver` (nothing, should it be gone). While
  // another program holds the file, `held` is told once and the read tried again until the file
  // is free, unless `wanted` is cleared meanwhile.
  void read(QObject* receiver, DatabaseWork work, JobAnswer answer, std::function<void()> held = {},
            ReadWanted wanted = {});
  // A read of one value: `read` gives it on the database's thread (nothing when it cannot be
  // read), `use` takes it on the window's.
  template <class Value>
  void fetch(QObject* receiver, std::function<std::optional<Value>(Database&)> read,
             std::function<void(Value)> use) {
    auto value = std::make_shared<std::optional<Value>>();
    this->read(
        receiver,
        [value, read = std::move(read)](Database& database) {
          *value = read(database);
          return value->has_value();
        },
        [value, use = std::move(use)](const JobEnd& end) {
          if (end.done) use(std::move(**value));
        });
  }
  // A change the user asked for: its failure comes back in the answer, to be told at once.
  void change(QObject* receiver, DatabaseWork work, JobAnswer answer);
  // The record of a send, in the background: one that cannot be written is kept and written, in
  // its order, with the next change, and at the end. Its faults are told once a run. Should the
  // file still be held at the end, the end waits a moment for it, then sets `leftover` aside for
  // the next start and tells the user which outcomes it could not write.
  void record(DatabaseWork work, LeftoverOf leftover = {});
  // Opens the database on its thread.
  void openSoon();

  // The database is off for the run (damaged, another program's, a newer version's): nothing is
  // kept, and the windows' controls that need it are disabled.
  bool off() const { return off_; }
  // No read or change a window asked for is still to be answered.
  bool idle() const { return underWay_ == 0; }

  // Tells the user, in a box, that `action` ("Nastavení nelze uložit") could not be done and why.
  void tellFailure(const QString& action, const DatabaseFault& fault);
  // Whether a change was done; one that failed with a fault is told as `action`'s failure.
  bool doneElseTold(const JobEnd& end, const QString& action);

 signals:
  void wentOff();

 private:
  friend class DatabaseWorker;
  // On the window's thread: a job ended (`told`: its faults are told here, once a kind;
  // `windows`: a window asked for it).
  void ended(const QPointer<QObject>& receiver, const JobAnswer& answer, const JobEnd& end,
             bool told, bool windows);
  void meet(const DatabaseFault& fault);
  void tellOnce(const DatabaseFault& fault);

  KeptWords kept_;
  std::shared_ptr<DatabaseWorker> worker_;
  QThread* thread_;  // left running, with the worker, should its last writes not end
  std::set<DatabaseFault::Kind> told_;
  bool off_ = false;
  int underWay_ = 0;
};

// Why the database could not be used, as the user reads it ("soubor … právě používá jiný
// program").
QString faultReason(const DatabaseFault& fault);

}  // namespace movarek
