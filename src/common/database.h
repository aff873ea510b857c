#pragma once
// The program's one SQLite database, beside the data files: what the program's features keep. It is
// private to the user (mode 600 in a folder the program makes 700), carries a schema version and
// this program's application id, and a file that is not this program's database of a version it
// knows (damaged, another program's, a newer program's) is never written to: it stays as it is and
// the database is off for the run. A file the user made read-only is read, never written. A lock
// held by another program is waited for at most a second. One thread uses it: the program gives it
// a thread of its own.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace movarek {

inline constexpr std::string_view kDatabaseName = "movarek.db";

// Why the database could not be used.
struct DatabaseFault {
  enum class Kind {
    Unreadable,  // damaged, or not this program's: off for the run
    Newer,       // a newer version's schema: off for the run
    Busy,        // locked by another program for over a second
    Full,        // no room on the disk
    ReadOnly,    // the file (or its folder) may not be written: it is only read
    Failed,      // anything else (a folder that cannot be made, an input/output error)
  };
  Kind kind;
  std::string reason;  // the library's or the system's words, for the log

  bool offForTheRun() const { return kind == Kind::Unreadable || kind == Kind::Newer; }
};

// A statement failed: thrown by Statement, caught by Database::use.
struct SqliteError {
  int code;
  std::string message;
};

// One prepared statement; parameters are numbered from 1, columns from 0.
class Statement {
 public:
  Statement(sqlite3* connection, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(int parameter, std::int64_t value);
  Statement& bind(int parameter, std::string_view text);
  Statement& bindBytes(int parameter, std::string_view bytes);
  Statement& bindNull(int parameter);
  // NULL when there is none.
  Statement& bind(int parameter, std::optional<std::int64_t> value);
  // True while there is a row to read.
  bool step();
  // Steps to the end; the statement can then be bound and run again.
  void run();
  std::int64_t integer(int column) const;
  std::string text(int column) const;
  bool isNull(int column) const;

 private:
  void check(int result) const;

  sqlite3* connection_;
  sqlite3_stmt* statement_ = nullptr;
};

// `values` bound to ?1, ?2 and on in their order.
template <class... Values>
Statement& bindEach(Statement& statement, const Values&... values) {
  int parameter = 0;
  (statement.bind(++parameter, values), ...);
  return statement;
}

// What `make` makes of a row, from the statement standing on it.
template <class Make>
using RowOf = std::invoke_result_t<Make&, const Statement&>;

// Every row `query` gives, each as `make` makes it.
template <class Make>
std::vector<RowOf<Make>> allRows(Statement& query, Make make) {
  std::vector<RowOf<Make>> rows;
  while (query.step()) rows.push_back(make(static_cast<const Statement&>(query)));
  return rows;
}

// Changes made whole or not at all: begun when made, undone when it goes out of scope without
// commit() (an early return, an error thrown). Inside another transaction it is a part of that
// one which is undone alone.
class Transaction {
 public:
  explicit Transaction(sqlite3* connection);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void commit();

 private:
  sqlite3* connection_;
  bool nested_;
  bool done_ = false;
};

// One version of the schema: its SQL, and for what SQL alone cannot do (stored texts turned
// into codes) a function run after it in the same transaction.
struct SchemaStep {
  std::string_view sql;
  void (*upgrade)(sqlite3* connection) = nullptr;
};

// What a database keeps, in the user's words (UTF-8, as a sentence goes on), told when it cannot
// keep it: all of it, and the records written in the background.
struct KeptWords {
  std::string_view all;
  std::string_view records;
};

// A database's schema: its steps in their order, and what it keeps (words that last as long as
// the program does).
struct Schema {
  Schema(std::vector<SchemaStep> steps, KeptWords kept = {})
      : steps(std::move(steps)), kept(kept) {}

  std::vector<SchemaStep> steps;
  KeptWords kept;
};

class Database {
 public:
  using Preparation = std::function<void(sqlite3*)>;

  // The schema's steps in their order: the database's version is how many of them it has had.
  // The preparations run on each opening, once the schema is the latest.
  Database(std::string path, Schema schema, std::vector<Preparation> preparations = {});
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Told of every fault.
  void setFaultHandler(std::function<void(const DatabaseFault&)> handler);

  // Runs `work` on the open connection, opening it first (and making the file and the data
  // folder where they are missing). False when the database is off or the work failed: the fault
  // has been handed to the handler and whatever the work began is undone. A use may run inside
  // another's work; a fault that puts the database off goes off at once, and the connection is
  // closed once the outermost use has unwound, since that one still holds it.
  bool use(const std::function<void(sqlite3*)>& work);
  // As use, but a database that has no file yet is left so: the work is not run, since there
  // is nothing to read, and that is no failure.
  bool read(const std::function<void(sqlite3*)>& work);

  // One statement as one use, `values` bound to ?1, ?2 and on in their order.
  template <class... Values>
  bool run(std::string_view sql, const Values&... values) {
    return use([&](sqlite3* connection) {
      Statement statement(connection, sql);
      bindEach(statement, values...).run();
    });
  }

  // Every row `sql` gives, `values` bound as run binds them, each as `make` makes it; nothing
  // when they cannot be read, none where there is no file yet.
  template <class Make, class... Values>
  std::optional<std::vector<RowOf<Make>>> rows(std::string_view sql, Make make,
                                               const Values&... values) {
    std::vector<RowOf<Make>> found;
    const bool done = read([&](sqlite3* connection) {
      Statement query(connection, sql);
      found = allRows(bindEach(query, values...), make);
    });
    if (!done) return std::nullopt;
    return found;
  }

  // Off for the run: nothing is read or written any more.
  bool off() const { return off_; }
  const std::string& path() const { return path_; }

  // Runs each statement of `sql` (no results) on `connection`.
  static void execute(sqlite3* connection, std::string_view sql);

 private:
  bool use(const std::function<void(sqlite3*)>& work, bool create);
  void open();
  void migrate();
  void fail(const DatabaseFault& fault);
  void close();

  std::string path_;
  std::vector<SchemaStep> schema_;
  std::vector<Preparation> preparations_;
  std::function<void(const DatabaseFault&)> faultHandler_;
  sqlite3* connection_ = nullptr;
  int uses_ = 0;  // uses under way, one inside another
  bool off_ = false;
};

}  // namespace movarek
