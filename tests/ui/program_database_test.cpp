#include "common/qt/program_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QTest>
#include <array>

#include "common/program_folder.h"
#include "common/qt/message_box.h"
#include "temporary_program_folder.h"

namespace movarek {
namespace {

// What it keeps is told in the words the schema gives.
const Schema kSchema{{{"CREATE TABLE note (text TEXT NOT NULL)"}}, {"poznámky", "zápisy poznámek"}};

using ProgramDatabaseTest = testing::TemporaryProgramFolder;

// While another program holds the file, the reads wait on one timer: only the first of them is
// tried again, and once the file is free they are answered in the order they were asked.
TEST_F(ProgramDatabaseTest, HeldReadsAreTriedOnOneTimerInTheirOrder) {
  const std::string path = dataFile(kDatabaseName);
  ASSERT_TRUE(Database(path, kSchema).run("INSERT INTO note VALUES ('1')"));
  sqlite3* holder = nullptr;
  sqlite3_open(path.c_str(), &holder);
  ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  ProgramDatabase database(kSchema, {});
  std::array<std::atomic_int, 3> tries{};
  std::vector<int> answered;
  for (int read = 0; read < 3; ++read) {
    database.read(
        &database,
        [&tries, read](Database& kept) {
          ++tries[read];
          return kept.read([](sqlite3* connection) { Statement(connection, "SELECT 1").step(); });
        },
        [&answered, read](const JobEnd& end) { answered.push_back(end.done ? read : -1); });
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return tries[0] >= 2; }, 20000));
  EXPECT_EQ(tries[1] + tries[2], 0);
  sqlite3_close(holder);
  ASSERT_TRUE(QTest::qWaitFor([&] { return database.idle(); }, 20000));
  EXPECT_EQ(answered, (std::vector<int>{0, 1, 2}));
}

// A record of a send that cannot be written is kept, and written once it can: the user is told
// the fault as it was met, and never that the record is lost.
TEST_F(ProgramDatabaseTest, AKeptRecordIsToldAsWrittenLater) {
  const std::string file = dataFile(kDatabaseName);
  const std::pair<const char*, std::string> cases[] = {
      {"INSERT INTO note VALUES (zeroblob(100000))",
       "Na disku není místo pro soubor " + file +
           ".\nZápisy poznámek se do něj zapíší, jakmile to půjde."},
      {"INSERT INTO note VALUES (NULL)",
       "Soubor " + file + " nelze použít.\nZápisy poznámek se do něj zapíší, jakmile to půjde."},
  };
  std::vector<std::string> messages;
  setMessageHandler([&messages](const MessageRequest& request) {
    messages.push_back(request.text.toStdString());
    return MessageAnswer::Ok;
  });
  for (const auto& [sql, told] : cases) {
    messages.clear();
    ProgramDatabase database(kSchema, {[](sqlite3* connection) {
                               Database::execute(connection, "PRAGMA max_page_count = 2");
                             }});
    database.record([sql = std::string(sql)](Database& kept) {
      return kept.run("INSERT INTO note VALUES ('1')") && kept.run(sql);
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); }, 20000)) << sql;
    EXPECT_EQ(messages, std::vector{told}) << sql;
  }
  setMessageHandler({});
}

}  // namespace
}  // namespace movarek
