#include "common/qt/program_database.h"

#include <gtest/gtest.h>

#include <QTest>

#include "common/program_folder.h"
#include "common/qt/message_box.h"
#include "temporary_program_folder.h"

namespace movarek {
namespace {

const std::vector<SchemaStep> kSchema{{"CREATE TABLE note (text TEXT NOT NULL)"}};

using ProgramDatabaseTest = testing::TemporaryProgramFolder;

// A record of a send that cannot be written is kept, and written once it can: the user is told
// the fault as it was met, and never that the record is lost.
TEST_F(ProgramDatabaseTest, AKeptRecordIsToldAsWrittenLater) {
  const std::string file = dataFile(kDatabaseName);
  const std::pair<const char*, std::string> cases[] = {
      {"INSERT INTO note VALUES (zeroblob(100000))",
       "Na disku není místo pro soubor " + file +
           ".\nOdeslané zprávy se do něj zapíší, jakmile to půjde."},
      {"INSERT INTO note VALUES (NULL)",
       "Soubor " + file + " nelze použít.\nOdeslané zprávy se do něj zapíší, jakmile to půjde."},
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
