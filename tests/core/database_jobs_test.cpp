#include "common/database_jobs.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

#include "temporary_program_folder.h"

namespace movarek {
namespace {

// SQLite's own word of a connection used after it was closed; its log is set before it starts.
int misuses = 0;
const int logSet = sqlite3_config(
    SQLITE_CONFIG_LOG, +[](void*, int code, const char*) { misuses += code == SQLITE_MISUSE; },
    nullptr);

std::string endOf(const JobEnd& end) {
  constexpr const char* kKinds[] = {"unreadable", "newer", "busy", "full", "read-only", "failed"};
  return end.done ? "done" : end.fault ? kKinds[static_cast<int>(end.fault->kind)] : "held-back";
}

using DatabaseJobsTest = testing::TemporaryProgramFolder;

// Three writes together, the second meeting a fault: what each is told, what the file keeps. A
// fault undoing the batch (a disk no larger than the file, a damaged page) is told to each write
// as met; a damaged page puts the database off, the batch unwinding on a connection still open.
TEST_F(DatabaseJobsTest, EachWriteOfABatchIsToldTheFaultThatUndidIt) {
  ASSERT_EQ(logSet, SQLITE_OK);
  const std::vector<SchemaStep> schema{
      {"CREATE TABLE note (text NOT NULL); CREATE TABLE damaged (text)"}};
  // The second write; whether it and the third are records of sends; the ends; what is kept.
  const std::tuple<std::string, bool, std::string, std::string> cases[] = {
      {"INSERT INTO note VALUES (2)", false, "done done done", "1 2 3 "},
      {"INSERT INTO note VALUES (NULL)", false, "done failed done", "1 3 "},
      {"INSERT INTO note VALUES (NULL)", true, "done failed held-back", "1 "},
      {"INSERT INTO note VALUES (zeroblob(100000))", false, "full full full", ""},
      {"INSERT INTO damaged VALUES (2)", false, "unreadable unreadable unreadable", ""},
  };
  const std::string path = programFile("jobs.db");
  for (const auto& [second, records, ends, kept] : cases) {
    std::filesystem::remove(path);
    ASSERT_TRUE(Database(path, schema).run("INSERT INTO damaged VALUES (0)"));
    if (second.find("damaged") != std::string::npos) {
      std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
      file.seekp(2 * 4096) << std::string(4096, '\xff');  // the third page: the table "damaged"
    }
    Database database(path, schema, {[](sqlite3* connection) {
                        Database::execute(connection, "PRAGMA max_page_count = 3");
                      }});
    DatabaseJobs jobs(database);
    const auto write = [](std::string sql) {
      return DatabaseWork([sql](Database& on) { return on.run(sql); });
    };
    const DatabaseWork works[] = {write("INSERT INTO note VALUES (1)"), write(second),
                                  write("INSERT INTO note VALUES (3)")};
    misuses = 0;
    std::string told;
    for (const JobEnd& end :
         jobs.runTogether({{&works[0], false}, {&works[1], records}, {&works[2], records}})) {
      told += (told.empty() ? "" : " ") + endOf(end);
    }
    EXPECT_EQ(told, ends) << second;
    EXPECT_EQ(misuses, 0) << second;
    EXPECT_EQ(database.off(), ends.starts_with("unreadable")) << second;
    std::string notes;
    Database(path, schema).read([&](sqlite3* connection) {
      Statement note(connection, "SELECT text FROM note ORDER BY rowid");
      while (note.step()) notes += note.text(0) + " ";
    });
    EXPECT_EQ(notes, kept) << second;
  }
}

}  // namespace
}  // namespace movarek
