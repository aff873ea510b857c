#include "send/sent_messages.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <chrono>

#include "common/database.h"
#include "common/search_fold.h"
#include "temporary_program_folder.h"

namespace movarek {
namespace {

class SentMessagesTest : public testing::TemporaryProgramFolder {
 protected:
  std::string path() const { return programFile("movarek.db"); }

  // The program's database on the test's file, as a run of the program opens it.
  std::unique_ptr<Database> open() {
    auto database =
        std::make_unique<Database>(path(), std::vector<std::string_view>{SentMessages::kSchema},
                                   std::vector<Database::Preparation>{&SentMessages::prepare});
    database->setFaultHandler([this](const DatabaseFault& fault) { faults.push_back(fault.kind); });
    return database;
  }

  // Another program's connection to the same file.
  sqlite3* other() {
    sqlite3* connection = nullptr;
    EXPECT_EQ(sqlite3_open(path().c_str(), &connection), SQLITE_OK);
    return connection;
  }

  static SentRecord email(std::string addressees, std::string text) {
    SentRecord record;
    record.sentAt = 1765300000;
    record.addressees = std::move(addressees);
    record.text = std::move(text);
    return record;
  }

  static std::vector<std::string> addresseesOf(const std::vector<SentRecord>& records) {
    std::vector<std::string> found;
    for (const auto& record : records) found.push_back(shownAddressees(record));
    return found;
  }

  std::vector<DatabaseFault::Kind> faults;
};

TEST(SearchFold, CaseAndDiacriticsAreIgnored) {
  EXPECT_EQ(foldedForSearch("Janě ŽLUŤOUČKÝ kůň ÚPĚL Ďábelské ódy, Straße Œuvre"),
            "jane zlutoucky kun upel dabelske ody, straße Œuvre");
  EXPECT_EQ(foldedForSearch("Ärger Łódź ŘÍJEN ś"), "arger lodz rijen s");
  // A cut sequence at the end is kept as it is.
  EXPECT_EQ(foldedForSearch("a\xC3"), "a\xC3");
}

TEST_F(SentMessagesTest, SearchFindsAddresseesAndTextsNewestFirst) {
  auto database = open();
  SentMessages store(*database);
  store.add(email("jana@sms.cz", "Ahoj Janě, přijdu v 18:00"));
  store.add(email("Petr Dvořák <petr@sms.cz>", "Zpráva pro Petra"));
  SentRecord oskar = email("123456", "Oskar");
  oskar.page = Page::Oskar;
  oskar.oskarPrefix = "0601";
  store.add(oskar);

  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"", {"0601123456", "Petr Dvořák <petr@sms.cz>", "jana@sms.cz"}},
      {"jane", {"jana@sms.cz"}},
      {"DVORAK", {"Petr Dvořák <petr@sms.cz>"}},
      {"zprava", {"Petr Dvořák <petr@sms.cz>"}},
      {"601123", {"0601123456"}},
      {"@sms.cz", {"Petr Dvořák <petr@sms.cz>", "jana@sms.cz"}},
      {"nikde", {}},
  };
  for (const auto& [search, expected] : cases) {
    EXPECT_EQ(addresseesOf(store.listed(search, 0, 100)), expected) << search;
  }
  // Pages follow each other from the last record listed.
  const auto first = store.listed("", 0, 2);
  EXPECT_EQ(addresseesOf(store.listed("", first.back().id, 2)),
            std::vector<std::string>{"jana@sms.cz"});
  EXPECT_TRUE(faults.empty());
}

TEST_F(SentMessagesTest, ASendUnderWayWhenTheProgramEndedIsNotKnown) {
  std::int64_t killed = 0;
  std::int64_t late = 0;
  std::int64_t refused = 0;
  {
    auto database = open();
    SentMessages store(*database);
    killed = *store.add(email("a@sms.cz", "1"));
    late = *store.add(email("b@sms.cz", "2"));
    refused = *store.add(email("c@sms.cz", "3"));
    for (const auto id : {late, refused})
      store.finish(id, SentState::Uncertain, "server neodpověděl");
    store.answeredLate(late, SentState::Sent, "");
    store.answeredLate(refused, SentState::NotSent, "chyba serveru 503");
    // Only a send not known to have arrived takes a late answer.
    store.answeredLate(late, SentState::NotSent, "chyba serveru 503");
  }
  auto database = open();
  SentMessages store(*database);
  EXPECT_EQ(store.record(killed)->state, SentState::Uncertain);
  EXPECT_EQ(store.record(killed)->reason, "program skončil dřív, než přišla odpověď");
  EXPECT_EQ(store.record(late)->state, SentState::Sent);
  EXPECT_EQ(store.record(late)->reason, "");
  EXPECT_EQ(store.record(refused)->state, SentState::NotSent);
  EXPECT_EQ(store.record(refused)->reason, "chyba serveru 503");
  struct stat info {};
  ASSERT_EQ(::stat(path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(SentMessagesTest, RecordingCanBeSwitchedOffAndStaysSo) {
  {
    auto database = open();
    SentMessages store(*database);
    EXPECT_TRUE(store.recording());
    EXPECT_TRUE(store.setRecording(false));
  }
  auto database = open();
  SentMessages store(*database);
  EXPECT_FALSE(store.recording());
  EXPECT_EQ(store.add(email("a@sms.cz", "1")), 0);
  EXPECT_TRUE(store.listed("", 0, 10).empty());
}

TEST_F(SentMessagesTest, DeletedTextsCannotBeReadInTheFile) {
  auto database = open();
  SentMessages store(*database);
  const auto kept = *store.add(email("a@sms.cz", "zustava-v-souboru"));
  const auto removed = *store.add(email("b@sms.cz", "tajna-zprava-jedna"));
  const auto alsoRemoved = *store.add(email("b@sms.cz", "tajna-zprava-tri"));
  store.add(email("c@sms.cz", "tajna-zprava-dve"));
  ASSERT_TRUE(store.remove({removed, alsoRemoved}));
  EXPECT_EQ(readFile("movarek.db").find("tajna-zprava-jedna"), std::string::npos);
  EXPECT_EQ(readFile("movarek.db").find("tajna-zprava-tri"), std::string::npos);
  EXPECT_EQ(addresseesOf(store.listed("", 0, 10)),
            (std::vector<std::string>{"c@sms.cz", "a@sms.cz"}));
  ASSERT_TRUE(store.removeAll());
  EXPECT_EQ(readFile("movarek.db").find("tajna-zprava-dve"), std::string::npos);
  EXPECT_EQ(readFile("movarek.db").find("zustava-v-souboru"), std::string::npos);
  EXPECT_FALSE(store.record(kept).has_value());
}

// A file the program cannot read as its own is left byte for byte, and the database is off.
TEST_F(SentMessagesTest, AFileThatIsNotThisProgramsDatabaseIsNeverWritten) {
  const auto anotherPrograms = [this] {
    sqlite3* connection = other();
    sqlite3_exec(connection, "CREATE TABLE t (x); INSERT INTO t VALUES ('cizi')", nullptr, nullptr,
                 nullptr);
    sqlite3_close(connection);
  };
  const auto newerSchema = [this] {
    { SentMessages(*open()).setRecording(true); }
    sqlite3* connection = other();
    sqlite3_exec(connection, "PRAGMA user_version = 99", nullptr, nullptr, nullptr);
    sqlite3_close(connection);
  };
  const std::tuple<const char*, std::function<void()>, DatabaseFault::Kind> cases[] = {
      {"damaged", [this] { writeFile("movarek.db", std::string(3000, 'x')); },
       DatabaseFault::Kind::Unreadable},
      {"another program's", anotherPrograms, DatabaseFault::Kind::Unreadable},
      {"newer", newerSchema, DatabaseFault::Kind::Newer},
  };
  for (const auto& [name, make, kind] : cases) {
    std::filesystem::remove(path());
    make();
    const std::string before = readFile("movarek.db");
    faults.clear();
    auto database = open();
    SentMessages store(*database);
    EXPECT_FALSE(store.add(email("a@sms.cz", "1")).has_value()) << name;
    EXPECT_FALSE(store.setRecording(false)) << name;
    EXPECT_EQ(faults, std::vector{kind}) << name;  // once: the database is off for the run
    EXPECT_EQ(readFile("movarek.db"), before) << name;
  }
}

TEST_F(SentMessagesTest, ALockHeldByAnotherProgramIsWaitedForASecondAtMost) {
  auto database = open();
  SentMessages store(*database);
  ASSERT_TRUE(store.setRecording(true));
  sqlite3* connection = other();
  ASSERT_EQ(sqlite3_exec(connection, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(store.add(email("a@sms.cz", "1")).has_value());
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(900));
  EXPECT_LT(waited, std::chrono::milliseconds(2500));
  EXPECT_EQ(faults, std::vector{DatabaseFault::Kind::Busy});
  sqlite3_exec(connection, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(connection);
  EXPECT_TRUE(store.add(email("a@sms.cz", "1")).has_value());
}

TEST(SentCsv, QuotesWhatNeedsItAndStartsWithAByteOrderMark) {
  SentRecord record;
  record.sentAt = 0;
  record.page = Page::Oskar;
  record.addressees = "123456";
  record.oskarPrefix = "0601";
  record.senderPrefix = "777";
  record.sender = "Jana";
  record.text = "Ahoj, \"ty\"\nzítra";
  record.state = SentState::NotSent;
  record.reason = "chyba serveru 500";
  EXPECT_EQ(sentCsvHeader(), "\xEF\xBB\xBFKdy,Stránka,Komu,Odesílatel,Text,Stav,Důvod\r\n");
  EXPECT_EQ(sentCsvLine(record), shownTime(0) +
                                     ",Oskar,0601123456,777 Jana,\"Ahoj, \"\"ty\"\"\nzítra\","
                                     "neodesláno,chyba serveru 500\r\n");
}

}  // namespace
}  // namespace movarek
