#include "common/qt/program_database.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <deque>
#include <mutex>
#include <vector>

#include "common/program_folder.h"
#include "common/qt/log.h"
#include "common/qt/message_box.h"
#include "common/qt/qt_text.h"
#include "common/set_aside.h"

namespace movarek {
namespace {

// How long the end of the program waits for the writes it accepted.
constexpr int kLastWritesWaitMs = 5000;
// How long, of that, the end tries again the records another program's hold kept back.
constexpr std::chrono::seconds kHeldAtTheEnd{3};
// How soon a read held up by another program is tried again.
constexpr int kHeldReadRetryMs = 500;

QString fileName() { return QString::fromStdString(dataFile(kDatabaseName)); }

// Words that begin a sentence.
QString sentence(std::string_view words) {
  const QString text = qtFromUtf8(words);
  return text.left(1).toUpper() + text.mid(1);
}

QString nothingKept(const KeptWords& kept) {
  return QStringLiteral("Soubor zůstává, jak je; ") + qtFromUtf8(kept.all) +
         QStringLiteral(" se do ukončení programu neukládají.");
}

// "Soubor … právě používá jiný program": the reason as a sentence begins.
QString reasonSaid(const DatabaseFault& fault) {
  const QString reason = faultReason(fault);
  return reason.left(1).toUpper() + reason.mid(1);
}

// What a fault met in the background means for the user, told once a run. The record it kept
// from being written is kept, and written once it can be.
QString backgroundFaultMessage(const DatabaseFault& fault, const KeptWords& kept) {
  const QString reason = reasonSaid(fault) + QStringLiteral(".\n");
  if (fault.offForTheRun()) return reason + nothingKept(kept);
  if (fault.kind == DatabaseFault::Kind::ReadOnly) {
    return reason + sentence(kept.all) + QStringLiteral(" se do něj neukládají.");
  }
  return reason + sentence(kept.records) + QStringLiteral(" se do něj zapíší, jakmile to půjde.");
}

// A run's last records that could not be written.
struct Unwritten {
  DatabaseFault fault;
  int records = 0;
  std::vector<std::string> told = {};  // of the outcomes the program knew
  bool setAside = false;
};

// Told before the program ends, with the outcomes the program knew; logged without them, since
// the log never holds an address.
void tellUnwritten(const Unwritten& unwritten) {
  const char* fate = unwritten.setAside ? "; set aside for the next start"
                                        : "; they could not be set aside either";
  qCWarning(movarekLog).noquote() << "database" << fileName() << "left" << unwritten.records
                                  << "records unwritten at the end:"
                                  << QString::fromStdString(unwritten.fault.reason) + fate;
  if (unwritten.told.empty()) return;
  QString text = reasonSaid(unwritten.fault) +
                 QStringLiteral(", a tak se do něj nepodařilo zapsat, jak dopadly tyto zprávy:");
  for (const std::string& line : unwritten.told) {
    text += QStringLiteral("\n– ") + QString::fromStdString(line);
  }
  text += unwritten.setAside
              ? QStringLiteral("\nProgram je do něj zapíše při příštím spuštění.")
              : QStringLiteral("\nUložit je jinam se také nepodařilo: poznamenejte si je.");
  showError(text);
}

}  // namespace

// The database's side: its thread's only object, owning the connection.
class DatabaseWorker : public QObject {
 public:
  enum class Kind { Read, Change, Record };
  struct Job {
    Kind kind;
    DatabaseWork work;
    QPointer<QObject> receiver;  // looked at on the window's thread only
    JobAnswer answer;
    std::function<void()> held = {};
    ReadWanted wanted = {};
    bool heldTold = false;
    LeftoverOf leftover = {};
  };

  explicit DatabaseWorker(std::unique_ptr<Database> database)
      : database_(std::move(database)), jobs_(*database_) {
    retryHeldReads_.setSingleShot(true);
    retryHeldReads_.setInterval(kHeldReadRetryMs);
    connect(&retryHeldReads_, &QTimer::timeout, this, [this] { retryHeldReads(); });
  }

  // Answers go to `window` until it is gone.
  void answerTo(ProgramDatabase* window) {
    std::lock_guard held(windowLock_);
    window_ = window;
  }

  void take(Job job) {
    queue_.push_back(std::move(job));
    // Jobs posted meanwhile come in before the drain: they are written together.
    if (std::exchange(drainPosted_, true)) return;
    QMetaObject::invokeMethod(
        this, [this] { drain(); }, Qt::QueuedConnection);
  }

  // The end of the program: the writes accepted and kept are written, tried again until
  // `giveUpAt` while another program holds the file, the reads dropped; what is left is set
  // aside. The worker goes back to the window's thread, which deletes it.
  void finish(std::chrono::steady_clock::time_point giveUpAt) {
    retryHeldReads_.stop();
    heldReads_.clear();
    std::erase_if(queue_, [](const Job& job) { return job.kind == Kind::Read; });
    if (!queue_.empty() || !kept_.empty()) writeNext();
    while (!kept_.empty() && keptBecause_ && keptBecause_->kind == DatabaseFault::Kind::Busy &&
           std::chrono::steady_clock::now() < giveUpAt) {
      writeNext();
    }
    setAsideWhatIsLeft();
    moveToThread(QCoreApplication::instance()->thread());
    QThread::currentThread()->quit();
  }

  // Read by the window's thread once this one has ended.
  const std::optional<Unwritten>& unwritten() const { return unwritten_; }

 private:
  void drain() {
    drainPosted_ = false;
    while (!queue_.empty()) {
      if (queue_.front().kind == Kind::Read) {
        // Records kept from before are tried first: what is read should hold them. Not while
        // reads are held up: the file is held for them too.
        if (!kept_.empty() && heldReads_.empty()) writeNext();
        Job read = std::move(queue_.front());
        queue_.pop_front();
        runRead(std::move(read));
      } else {
        writeNext();
      }
    }
  }

  // The records kept from before, then the writes queued up to the next read, in one
  // transaction. A record not written is kept, with every record after it.
  void writeNext() {
    std::vector<Job> batch(std::make_move_iterator(kept_.begin()),
                           std::make_move_iterator(kept_.end()));
    kept_.clear();
    while (!queue_.empty() && queue_.front().kind != Kind::Read) {
      batch.push_back(std::move(queue_.front()));
      queue_.pop_front();
    }
    std::vector<DatabaseJobs::Write> writes;
    for (const Job& job : batch) writes.push_back({&job.work, job.kind == Kind::Record});
    const std::vector<JobEnd> ends = jobs_.runTogether(writes);
    keptBecause_.reset();
    for (std::size_t i = 0; i < batch.size(); ++i) {
      if (batch[i].kind == Kind::Record && !ends[i].done) {
        if (ends[i].fault) {
          answer(batch[i], ends[i], true);
          if (!keptBecause_) keptBecause_ = ends[i].fault;
        }
        kept_.push_back(std::move(batch[i]));
      } else {
        answer(batch[i], ends[i], batch[i].kind == Kind::Record);
      }
    }
    wentOffWhenOff();
  }

  // Behind a read held up, a read waits its turn: the file is held for it too, and the window's
  // reads are answered in the order it asked for them.
  void runRead(Job read) {
    if (read.wanted && !*read.wanted) return answer(read, {}, false);
    if (heldReads_.empty()) {
      const JobEnd end = jobs_.run(read.work);
      wentOffWhenOff();
      if (end.done || !end.fault || end.fault->kind != DatabaseFault::Kind::Busy) {
        // A window's read meets its own faults; only the database going off is told of it.
        return answer(read, end, end.fault && end.fault->offForTheRun());
      }
    }
    if (read.held && !std::exchange(read.heldTold, true)) toWindow([held = read.held] { held(); });
    heldReads_.push_back(std::move(read));
    if (!retryHeldReads_.isActive()) retryHeldReads_.start();
  }

  // The reads held up go first, in their order; while the first is still held, the rest wait.
  void retryHeldReads() {
    queue_.insert(queue_.begin(), std::make_move_iterator(heldReads_.begin()),
                  std::make_move_iterator(heldReads_.end()));
    heldReads_.clear();
    drain();
  }

  // The records another program's hold kept from the file to the end, set aside for the next
  // start; those the database will never take (it is off, or read-only) have been told so.
  void setAsideWhatIsLeft() {
    if (kept_.empty() || !keptBecause_ || keptBecause_->offForTheRun() ||
        keptBecause_->kind == DatabaseFault::Kind::ReadOnly) {
      return;
    }
    std::vector<Leftover> left;
    for (const Job& job : kept_) {
      const auto leftover = job.leftover ? job.leftover() : std::nullopt;
      if (!leftover) continue;
      const auto same = std::ranges::find(left, leftover->key, &Leftover::key);
      if (same == left.end()) {
        left.push_back(*leftover);
      } else {
        *same = *leftover;
      }
    }
    if (left.empty()) return;
    Unwritten unwritten{*keptBecause_, static_cast<int>(left.size())};
    std::vector<std::string> entries;
    for (const Leftover& each : left) {
      entries.push_back(each.entry);
      if (!each.told.empty()) unwritten.told.push_back(each.told);
    }
    unwritten.setAside = setAside(database_->path(), entries);
    unwritten_ = std::move(unwritten);
  }

  void wentOffWhenOff() {
    if (!database_->off() || std::exchange(offTold_, true)) return;
    toWindow([] {}, true);
  }

  void answer(const Job& job, const JobEnd& end, bool told) {
    toWindow([receiver = job.receiver, answer = job.answer, end, told,
              windows = job.kind != Kind::Record](ProgramDatabase& window) {
      window.ended(receiver, answer, end, told, windows);
    });
  }

  void toWindow(const std::function<void()>& call, bool wentOff = false) {
    toWindow([call, wentOff](ProgramDatabase& window) {
      if (wentOff) {
        window.off_ = true;
        emit window.wentOff();
      }
      call();
    });
  }

  void toWindow(std::function<void(ProgramDatabase&)> call) {
    std::lock_guard held(windowLock_);
    if (!window_) return;
    ProgramDatabase* window = window_;
    QMetaObject::invokeMethod(
        window, [window, call = std::move(call)] { call(*window); }, Qt::QueuedConnection);
  }

  std::unique_ptr<Database> database_;
  DatabaseJobs jobs_;
  std::deque<Job> queue_;
  std::deque<Job> kept_;
  std::optional<DatabaseFault> keptBecause_;  // the fault that kept the first of them back
  std::vector<Job> heldReads_;
  QTimer retryHeldReads_{this};
  bool drainPosted_ = false;
  bool offTold_ = false;
  std::optional<Unwritten> unwritten_;
  std::mutex windowLock_;
  ProgramDatabase* window_ = nullptr;
};

QString faultReason(const DatabaseFault& fault) {
  switch (fault.kind) {
    case DatabaseFault::Kind::Unreadable:
      return QStringLiteral("soubor %1 nelze přečíst: je poškozený, nebo patří jinému programu")
          .arg(fileName());
    case DatabaseFault::Kind::Newer:
      return QStringLiteral("soubor %1 je z novější verze programu SMS Movarek").arg(fileName());
    case DatabaseFault::Kind::Busy:
      return QStringLiteral("soubor %1 právě používá jiný program").arg(fileName());
    case DatabaseFault::Kind::Full:
      return QStringLiteral("na disku není místo pro soubor %1").arg(fileName());
    case DatabaseFault::Kind::ReadOnly:
      return QStringLiteral("soubor %1 je jen pro čtení").arg(fileName());
    case DatabaseFault::Kind::Failed:
      break;
  }
  return QStringLiteral("soubor %1 nelze použít").arg(fileName());
}

ProgramDatabase::ProgramDatabase(Schema schema, std::vector<Database::Preparation> preparations,
                                 QObject* parent)
    : QObject(parent),
      kept_(schema.kept),
      worker_(std::make_shared<DatabaseWorker>(std::make_unique<Database>(
          dataFile(kDatabaseName), std::move(schema), std::move(preparations)))),
      thread_(new QThread) {
  worker_->answerTo(this);
  worker_->moveToThread(thread_);
  thread_->setObjectName(QStringLiteral("database"));
  thread_->start(QThread::LowPriority);
}

ProgramDatabase::~ProgramDatabase() {
  worker_->answerTo(nullptr);
  QMetaObject::invokeMethod(
      worker_.get(),
      [worker = worker_.get(), giveUpAt = std::chrono::steady_clock::now() + kHeldAtTheEnd] {
        worker->finish(giveUpAt);
      },
      Qt::QueuedConnection);
  if (thread_->wait(QDeadlineTimer(kLastWritesWaitMs))) {
    delete thread_;
    if (worker_->unwritten()) tellUnwritten(*worker_->unwritten());
    return;
  }
  // A disk that does not answer must not hold the end of the program: the thread keeps its
  // worker, and the jobs their data.
  qCWarning(movarekLog) << "the database's last writes did not end in time";
  new std::shared_ptr<DatabaseWorker>(std::move(worker_));
}

namespace {

void post(const std::shared_ptr<DatabaseWorker>& worker, DatabaseWorker::Job job) {
  QMetaObject::invokeMethod(
      worker.get(), [worker = worker.get(), job = std::move(job)] { worker->take(job); },
      Qt::QueuedConnection);
}

}  // namespace

void ProgramDatabase::read(QObject* receiver, DatabaseWork work, JobAnswer answer,
                           std::function<void()> held, ReadWanted wanted) {
  ++underWay_;
  post(worker_, {DatabaseWorker::Kind::Read, std::move(work), receiver, std::move(answer),
                 std::move(held), std::move(wanted)});
}

void ProgramDatabase::change(QObject* receiver, DatabaseWork work, JobAnswer answer) {
  ++underWay_;
  post(worker_, {DatabaseWorker::Kind::Change, std::move(work), receiver, std::move(answer)});
}

void ProgramDatabase::record(DatabaseWork work, LeftoverOf leftover) {
  post(worker_, {.kind = DatabaseWorker::Kind::Record,
                 .work = std::move(work),
                 .receiver = nullptr,
                 .answer = {},
                 .leftover = std::move(leftover)});
}

void ProgramDatabase::openSoon() {
  read(this, [](Database& database) { return database.read([](sqlite3*) {}); }, {});
}

void ProgramDatabase::ended(const QPointer<QObject>& receiver, const JobAnswer& answer,
                            const JobEnd& end, bool told, bool windows) {
  if (end.fault) meet(*end.fault);
  if (told && end.fault) tellOnce(*end.fault);
  if (receiver && answer) answer(end);
  // After the answer, which may have asked for more.
  if (windows) --underWay_;
}

void ProgramDatabase::meet(const DatabaseFault& fault) {
  qCWarning(movarekLog).noquote() << "database" << fileName()
                                  << QString::fromStdString(fault.reason);
}

void ProgramDatabase::tellOnce(const DatabaseFault& fault) {
  if (!told_.insert(fault.kind).second) return;
  showError(backgroundFaultMessage(fault, kept_));
}

bool ProgramDatabase::doneElseTold(const JobEnd& end, const QString& action) {
  if (!end.done && end.fault) tellFailure(action, *end.fault);
  return end.done;
}

void ProgramDatabase::tellFailure(const QString& action, const DatabaseFault& fault) {
  QString text = action + QStringLiteral(": ") + faultReason(fault) + QLatin1Char('.');
  if (fault.offForTheRun()) {
    text += QLatin1Char('\n') + nothingKept(kept_);
    told_.insert(fault.kind);
  }
  showError(text);
}

}  // namespace movarek
