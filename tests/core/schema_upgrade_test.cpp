#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <sstream>

#include "addressbook/contact_groups.h"
#include "app/program_schema.h"
#include "common/database.h"
#include "send/message_templates.h"
#include "send/sent_messages.h"
#include "temporary_program_folder.h"

namespace movarek {
namespace {

using SchemaUpgradeTest = testing::TemporaryProgramFolder;

std::string fixture(int version) {
  std::ifstream file(std::string(MOVAREK_FIXTURES) + "/movarek-v" + std::to_string(version) +
                     ".sql");
  std::ostringstream sql;
  sql << file.rdbuf();
  return sql.str();
}

std::int64_t userVersion(const std::string& path) {
  sqlite3* connection = nullptr;
  sqlite3_open(path.c_str(), &connection);
  sqlite3_stmt* query = nullptr;
  sqlite3_prepare_v2(connection, "PRAGMA user_version", -1, &query, nullptr);
  sqlite3_step(query);
  const auto version = sqlite3_column_int64(query, 0);
  sqlite3_finalize(query);
  sqlite3_close(connection);
  return version;
}

// How SQLite goes about the query that lists the messages still to go, as the store asks it.
std::string plansQueryPlan(Database& database) {
  static std::string sql;
  const auto asked = +[](unsigned, void*, void* statement, void*) {
    sql = sqlite3_sql(static_cast<sqlite3_stmt*>(statement));
    return 0;
  };
  database.read([&](sqlite3* on) { sqlite3_trace_v2(on, SQLITE_TRACE_STMT, asked, nullptr); });
  SentMessages(database).plans();
  std::string plan;
  database.read([&](sqlite3* connection) {
    Statement explained(connection, "EXPLAIN QUERY PLAN " + sql);
    explained.bind(1, "");
    while (explained.step()) plan += explained.text(3) + "\n";
  });
  return plan;
}

// A file of every earlier version, made by that version's own SQL (from version 4 on, by the
// program's own steps and what the version wrote), is brought up to date with nothing lost:
// states and reasons as codes, a send cut short by the end of a run not known, group names the
// user could not tell apart made one group with the members of both, every record of the gateway,
// and the messages still to go found through their own index; a modem's record is taken.
TEST_F(SchemaUpgradeTest, EveryEarlierVersionUpgradesWithNothingLost) {
  constexpr int kLatest = 6;
  constexpr int kBySql = 3;  // the versions whose files their fixtures alone make
  for (int version = 1; version < kLatest; ++version) {
    const std::string path = programFile("movarek.db");
    std::filesystem::remove(path);
    sqlite3* maker = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &maker), SQLITE_OK);
    // Each version's own SQL, run on the file of the version before, as the program ran it.
    for (int step = 1; step <= std::min(version, kBySql); ++step) {
      ASSERT_EQ(sqlite3_exec(maker, fixture(step).c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
          << sqlite3_errmsg(maker);
    }
    for (int step = kBySql + 1; step <= version; ++step) {
      auto steps = programSchema().steps;
      steps.resize(step);
      ASSERT_TRUE(Database(path, steps).use([](sqlite3*) {}));
      ASSERT_EQ(sqlite3_exec(maker, fixture(step).c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
          << sqlite3_errmsg(maker);
    }
    sqlite3_close(maker);

    std::vector<DatabaseFault::Kind> faults;
    Database database(path, programSchema(), programPreparations());
    database.setFaultHandler([&](const DatabaseFault& fault) { faults.push_back(fault.kind); });
    SentMessages store(database);
    std::vector<std::string> records;
    const auto listed = store.listed("", 1000, 100, 1).value();
    for (const auto& record : listed) {
      records.push_back(shownAddressees(record) + " " + std::string(stateCode(record.state)) + " " +
                        record.reason + " " + record.route);
    }
    EXPECT_EQ(records, (std::vector<std::string>{"+420 775654321 uncertain program-ended gateway",
                                                 "+420 608123456 uncertain program-ended gateway",
                                                 "adam@sms.cz not-sent network -102 gateway",
                                                 "eva@sms.cz uncertain no-answer gateway",
                                                 "petr@sms.cz not-sent http 500 gateway",
                                                 "jana@sms.cz sent  gateway"}))
        << "version " << version;
    EXPECT_EQ(store.record(1).value()->text, "Ahoj Janě");
    EXPECT_EQ(store.recording(), true);
    const auto plans = store.plans().value();
    ASSERT_EQ(plans.size(), version >= 4 ? 1u : 0u) << "version " << version;
    for (const auto& plan : plans) {
      EXPECT_EQ(plan.request, "/send_sms.php?go=sms2&msg=Pozd%ECji");
      EXPECT_EQ(plan.route, "gateway");
    }
    // An id once given is never given again, not even one of a record deleted.
    SentRecord modem;
    modem.page = Page::Modem;
    modem.reportReference = 200;
    const auto added = store.add(modem);
    EXPECT_EQ(added, 9 + static_cast<std::int64_t>(plans.size())) << "version " << version;
    const SentRecord kept = store.record(added.value_or(0)).value().value_or(SentRecord{});
    EXPECT_EQ(std::tuple(kept.page, kept.reportReference, kept.delivery),
              std::tuple(Page::Modem, 200u, Delivery::Awaiting));
    EXPECT_EQ(userVersion(path), kLatest);
    EXPECT_EQ(plansQueryPlan(database), "SCAN sent_message USING INDEX sent_message_plans\n")
        << "version " << version;
    if (version >= 2) {
      ContactGroups groups(database);
      std::vector<std::string> shown;
      const auto all = groups.all().value();
      for (const auto& group : all) {
        shown.push_back(group.name + ": ");
        const auto members = groups.members(group.id).value();
        for (const auto& member : members) shown.back() += member + " ";
      }
      EXPECT_EQ(shown, (std::vector<std::string>{"Práce: eva@sms.cz ",
                                                 "Rodina: jana@sms.cz petr@sms.cz adam@sms.cz "}))
          << "version " << version;
      EXPECT_EQ(groups.add("RODINA", {}), ContactGroups::Naming::Taken);
    }
    if (version >= 3) {
      std::vector<std::string> texts;
      const auto all = MessageTemplates(database).all().value();
      for (const auto& kept : all) texts.push_back(kept.text);
      EXPECT_EQ(texts, (std::vector<std::string>{"Volej mi.", "Přijdu pozdě."}));
    }
    EXPECT_TRUE(faults.empty()) << "version " << version;
  }
}

}  // namespace
}  // namespace movarek
