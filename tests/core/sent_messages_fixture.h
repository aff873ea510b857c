#pragma once
// The program's database on a test's own file, and the records the store's tests write into it.
#include <sqlite3.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "app/program_schema.h"
#include "common/database.h"
#include "send/sent_messages.h"
#include "temporary_program_folder.h"

namespace movarek {

class SentMessagesTest : public testing::TemporaryProgramFolder {
 protected:
  std::string path() const { return programFile("movarek.db"); }

  // The program's database on the test's file, as a run of the program opens it.
  std::unique_ptr<Database> open() {
    auto database = std::make_unique<Database>(path(), programSchema(), programPreparations());
    database->setFaultHandler([this](const DatabaseFault& fault) { faults.push_back(fault.kind); });
    return database;
  }

  // Another program's connection to the same file.
  sqlite3* other() {
    sqlite3* connection = nullptr;
    EXPECT_EQ(sqlite3_open(path().c_str(), &connection), SQLITE_OK);
    return connection;
  }

  static SentRecord email(std::string addressees, std::string text,
                          SentState state = SentState::Sent) {
    SentRecord record;
    record.state = state;
    record.sentAt = 1765300000;
    record.addressees = std::move(addressees);
    record.text = std::move(text);
    return record;
  }

  static std::vector<std::string> addresseesOf(
      const std::optional<std::vector<SentRecord>>& records) {
    std::vector<std::string> found;
    for (const auto& record : records.value()) found.push_back(shownAddressees(record));
    return found;
  }

  static constexpr std::int64_t kAll = std::numeric_limits<std::int64_t>::max();
  static constexpr std::int64_t kWent = 1765400500;

  std::vector<DatabaseFault::Kind> faults;
};

}  // namespace movarek
