#include "common/database.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "common/diagnostics.h"
#include "common/program_folder.h"

namespace movarek {
namespace {

// "MOVA": tells this program's database from another program's SQLite file.
constexpr std::int64_t kApplicationId = 0x4D4F5641;
// Another program holding the file is waited for this long, never more.
constexpr int kBusyWaitMs = 1000;

DatabaseFault::Kind kindOf(int code) {
  switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return DatabaseFault::Kind::Busy;
    case SQLITE_FULL:
      return DatabaseFault::Kind::Full;
    case SQLITE_READONLY:
      return DatabaseFault::Kind::ReadOnly;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      return DatabaseFault::Kind::Unreadable;
    default:
      return DatabaseFault::Kind::Failed;
  }
}

std::int64_t pragma(sqlite3* connection, std::string_view name) {
  Statement query(connection, "PRAGMA " + std::string(name));
  return query.step() ? query.integer(0) : 0;
}

// Made here rather than by SQLite, so that the file is the user's alone from its first byte.
void createPrivately(const std::string& path) {
  makeFolderPrivately(std::filesystem::path(path).parent_path().string());
  if (!createFilePrivately(path)) {
    throw SqliteError{SQLITE_CANTOPEN, "cannot create " + path + ": " + systemReason(errno)};
  }
}

// Writing needs the file and, for the journal beside it, its folder. A file whose owner may not
// write it was made read-only on purpose: it is read only, whoever runs the program.
bool writable(const std::string& path) {
  struct stat info {};
  const auto folder = std::filesystem::path(path).parent_path();
  return ::access(path.c_str(), W_OK) == 0 &&
         ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0 &&
         ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) != 0;
}

// Never more open to others than the user left it; never made writable by the program.
void keepPrivate(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && (info.st_mode & 0077) != 0) {
    ::chmod(path.c_str(), info.st_mode & 0600);
  }
}

// A file found damaged is written no more, whatever use is still under way with it: until its
// connection is closed, only undoing is let through.
int onlyUndoing(void*, int action, const char* operation, const char*, const char*, const char*) {
  const bool undoing = (action == SQLITE_TRANSACTION || action == SQLITE_SAVEPOINT) && operation &&
                       std::string_view(operation) == "ROLLBACK";
  return undoing ? SQLITE_OK : SQLITE_DENY;
}

}  // namespace

Statement::Statement(sqlite3* connection, std::string_view sql) : connection_(connection) {
  check(sqlite3_prepare_v2(connection, sql.data(), static_cast<int>(sql.size()), &statement_,
                           nullptr));
}

Statement::~Statement() { sqlite3_finalize(statement_); }

void Statement::check(int result) const {
  if (result != SQLITE_OK) throw SqliteError{result, sqlite3_errmsg(connection_)};
}

Statement& Statement::bind(int parameter, std::int64_t value) {
  check(sqlite3_bind_int64(statement_, parameter, value));
  return *this;
}

Statement& Statement::bind(int parameter, std::string_view text) {
  check(sqlite3_bind_text(statement_, parameter, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT));
  return *this;
}

bool Statement::step() {
  const int result = sqlite3_step(statement_);
  if (result == SQLITE_ROW) return true;
  if (result != SQLITE_DONE) throw SqliteError{result, sqlite3_errmsg(connection_)};
  return false;
}

void Statement::run() {
  while (step()) {
  }
  sqlite3_reset(statement_);
}

Statement& Statement::bindBytes(int parameter, std::string_view bytes) {
  // No bytes are an empty blob, never NULL (which a null pointer would bind).
  check(sqlite3_bind_blob(statement_, parameter, bytes.empty() ? "" : bytes.data(),
                          static_cast<int>(bytes.size()), SQLITE_TRANSIENT));
  return *this;
}

Statement& Statement::bindNull(int parameter) {
  check(sqlite3_bind_null(statement_, parameter));
  return *this;
}

Statement& Statement::bind(int parameter, std::optional<std::int64_t> value) {
  return value ? bind(parameter, *value) : bindNull(parameter);
}

bool Statement::isNull(int column) const {
  return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::int64_t Statement::integer(int column) const {
  return sqlite3_column_int64(statement_, column);
}

std::string Statement::text(int column) const {
  const auto* bytes = sqlite3_column_text(statement_, column);
  if (!bytes) return {};
  return {reinterpret_cast<const char*>(bytes),
          static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))};
}

Transaction::Transaction(sqlite3* connection)
    : connection_(connection), nested_(sqlite3_get_autocommit(connection) == 0) {
  Database::execute(connection_, nested_ ? "SAVEPOINT part" : "BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
  if (done_) return;
  sqlite3_exec(connection_, nested_ ? "ROLLBACK TO part; RELEASE part" : "ROLLBACK", nullptr,
               nullptr, nullptr);
}

void Transaction::commit() {
  Database::execute(connection_, nested_ ? "RELEASE part" : "COMMIT");
  done_ = true;
}

Database::Database(std::string path, Schema schema, std::vector<Preparation> preparations)
    : path_(std::move(path)),
      schema_(std::move(schema.steps)),
      preparations_(std::move(preparations)) {}

Database::~Database() { sqlite3_close(connection_); }

void Database::setFaultHandler(std::function<void(const DatabaseFault&)> handler) {
  faultHandler_ = std::move(handler);
}

void Database::execute(sqlite3* connection, std::string_view sql) {
  char* message = nullptr;
  const int result = sqlite3_exec(connection, std::string(sql).c_str(), nullptr, nullptr, &message);
  if (result == SQLITE_OK) return;
  SqliteError error{result, message ? message : sqlite3_errstr(result)};
  sqlite3_free(message);
  throw error;
}

bool Database::use(const std::function<void(sqlite3*)>& work) { return use(work, true); }

bool Database::read(const std::function<void(sqlite3*)>& work) { return use(work, false); }

bool Database::use(const std::function<void(sqlite3*)>& work, bool create) {
  if (off_) return false;
  if (!connection_ && !create && !std::filesystem::exists(path_)) return true;
  ++uses_;
  bool done = false;
  try {
    if (!connection_) open();
    work(connection_);
    // A use inside it may have found the file damaged: what the work did then is not to be had.
    done = !off_;
  } catch (const SqliteError& error) {
    fail({kindOf(error.code), error.message});
  } catch (const DatabaseFault& fault) {
    fail(fault);
  }
  if (--uses_ == 0 && off_) close();
  return done;
}

// A connection that is not fit for use is closed again: the next use tries anew, unless the
// file is one never to be touched.
void Database::open() {
  createPrivately(path_);
  const int access = writable(path_) ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
  const int result =
      sqlite3_open_v2(path_.c_str(), &connection_, access | SQLITE_OPEN_NOMUTEX, nullptr);
  if (result != SQLITE_OK) {
    const SqliteError error{result, connection_ ? sqlite3_errmsg(connection_) : "cannot open"};
    sqlite3_close(connection_);
    connection_ = nullptr;
    throw error;
  }
  sqlite3_extended_result_codes(connection_, 1);
  sqlite3_busy_timeout(connection_, kBusyWaitMs);
  try {
    migrate();
    // Deleted rows are overwritten with zeros, so that no deleted text stays readable in the
    // file.
    execute(connection_, "PRAGMA secure_delete = ON; PRAGMA foreign_keys = ON");
    for (const auto& prepare : preparations_) prepare(connection_);
  } catch (...) {
    sqlite3_close(connection_);
    connection_ = nullptr;
    throw;
  }
  keepPrivate(path_);
}

void Database::migrate() {
  const std::int64_t applicationId = pragma(connection_, "application_id");
  const std::int64_t version = pragma(connection_, "user_version");
  const bool empty = pragma(connection_, "page_count") == 0;
  if (applicationId != kApplicationId && !empty) {
    throw DatabaseFault{DatabaseFault::Kind::Unreadable, "not a database of this program"};
  }
  const auto latest = static_cast<std::int64_t>(schema_.size());
  if (version > latest) {
    throw DatabaseFault{DatabaseFault::Kind::Newer, "schema version " + std::to_string(version) +
                                                        ", this program knows " +
                                                        std::to_string(latest)};
  }
  if (version == latest) return;
  if (sqlite3_db_readonly(connection_, "main") == 1) {
    off_ = true;  // an older version's file that may not be brought up to date
    throw DatabaseFault{DatabaseFault::Kind::ReadOnly,
                        "schema version " + std::to_string(version) + " in a read-only file"};
  }
  Transaction upgrade(connection_);
  for (auto step = version; step < latest; ++step) {
    const SchemaStep& next = schema_[static_cast<std::size_t>(step)];
    execute(connection_, next.sql);
    if (next.upgrade) next.upgrade(connection_);
  }
  execute(connection_, "PRAGMA application_id = " + std::to_string(kApplicationId) +
                           "; PRAGMA user_version = " + std::to_string(latest));
  upgrade.commit();
}

void Database::fail(const DatabaseFault& fault) {
  if (fault.offForTheRun()) {
    off_ = true;
    if (connection_) sqlite3_set_authorizer(connection_, onlyUndoing, nullptr);
  }
  if (faultHandler_) faultHandler_(fault);
}

void Database::close() {
  sqlite3_close(connection_);
  connection_ = nullptr;
}

}  // namespace movarek
