#include "common/qt/program_database.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>

#include "common/program_folder.h"
#include "common/qt/log.h"
#include "common/qt/message_box.h"

namespace movarek {
namespace {

constexpr int kLastWritesWaitMs = 3000;

QString faultMessage(const DatabaseFault& fault) {
  const QString file = QString::fromStdString(dataFile(kDatabaseName));
  switch (fault.kind) {
    case DatabaseFault::Kind::Unreadable:
      return QStringLiteral(
                 "Soubor %1 nelze přečíst: je poškozený, nebo patří jinému programu.\n"
                 "Soubor zůstává, jak je; odeslané zprávy se do ukončení programu neukládají.")
          .arg(file);
    case DatabaseFault::Kind::Newer:
      return QStringLiteral(
                 "Soubor %1 je z novější verze programu SMS Movarek.\n"
                 "Soubor zůstává, jak je; odeslané zprávy se do ukončení programu neukládají.")
          .arg(file);
    case DatabaseFault::Kind::Busy:
      return QStringLiteral(
                 "Soubor %1 právě používá jiný program.\nCo se do něj mělo uložit, uloženo není.")
          .arg(file);
    case DatabaseFault::Kind::Full:
      return QStringLiteral(
                 "Na disku není místo pro soubor %1.\nCo se do něj mělo uložit, uloženo není.")
          .arg(file);
    case DatabaseFault::Kind::Failed:
      break;
  }
  return QStringLiteral("Soubor %1 nelze použít.\nCo se do něj mělo uložit, uloženo není.")
      .arg(file);
}

}  // namespace

ProgramDatabase::ProgramDatabase(std::vector<std::string_view> migrations,
                                 std::vector<Database::Preparation> preparations, QObject* parent)
    : QObject(parent),
      database_(std::make_unique<Database>(dataFile(kDatabaseName), std::move(migrations),
                                           std::move(preparations))),
      thread_(new QThread),
      worker_(new QObject) {
  // Queued, so that no box opens while the database is held, whichever thread met the fault.
  database_->setFaultHandler([alive = QPointer<ProgramDatabase>(this)](const DatabaseFault& fault) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [alive, fault] {
          if (alive) alive->tell(fault);
        },
        Qt::QueuedConnection);
  });
  worker_->moveToThread(thread_);
  connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
  thread_->setObjectName(QStringLiteral("database"));
  thread_->start(QThread::LowPriority);
}

// The thread ends after the writes posted before: the last send's end is written.
ProgramDatabase::~ProgramDatabase() {
  post([thread = thread_] { thread->quit(); });
  if (thread_->wait(QDeadlineTimer(kLastWritesWaitMs))) {
    delete thread_;
    return;
  }
  // A disk that does not answer must not hold the end of the program: the thread keeps the
  // database it is using.
  qCWarning(movarekLog) << "the database's last writes did not end in time";
  (void)database_.release();
}

void ProgramDatabase::post(std::function<void()> work) {
  QMetaObject::invokeMethod(
      worker_,
      [this, work = std::move(work)] {
        writeKept();
        work();
      },
      Qt::QueuedConnection);
}

void ProgramDatabase::keep(std::function<bool()> write) {
  QMetaObject::invokeMethod(
      worker_,
      [this, write = std::move(write)] {
        if (!writeKept() || !write()) kept_.push_back(write);
      },
      Qt::QueuedConnection);
}

bool ProgramDatabase::writeKept() {
  while (!kept_.empty()) {
    if (!kept_.front()()) return false;
    kept_.pop_front();
  }
  return true;
}

void ProgramDatabase::openSoon() {
  post([this] { database_->read([](sqlite3*) {}); });
}

void ProgramDatabase::tell(const DatabaseFault& fault) {
  qCWarning(movarekLog).noquote() << "database" << QString::fromStdString(dataFile(kDatabaseName))
                                  << QString::fromStdString(fault.reason);
  if (!told_.insert(fault.kind).second) return;
  showMessage(faultMessage(fault), QStringLiteral("Chyba"));
}

}  // namespace movarek
