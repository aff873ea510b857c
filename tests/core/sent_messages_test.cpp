#include "send/sent_messages.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>
#include <limits>
#include <map>
#include <random>

#include "app/program_schema.h"
#include "common/database.h"
#include "common/search_fold.h"
#include "common/set_aside.h"
#include "send/kept_outcomes.h"
#include "send/send_failure.h"
#include "send/sent_delivery.h"
#include "sent_messages_fixture.h"
#include "temporary_program_folder.h"

namespace movarek {
namespace {

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
    EXPECT_EQ(addresseesOf(store.listed(search, kAll, 100, 1)), expected) << search;
  }
  // Pages follow each other from the last record listed.
  const auto first = store.listed("", kAll, 2, 1);
  EXPECT_EQ(addresseesOf(store.listed("", first->back().id, 2, 1)),
            std::vector<std::string>{"jana@sms.cz"});
  EXPECT_TRUE(faults.empty());
}

// However the history runs and the search steps through it, it finds what looking at every
// record finds, newest first, each once.
TEST_F(SentMessagesTest, TheStepwiseSearchFindsWhatAPlainLookFinds) {
  std::mt19937 random(20261210);
  const std::vector<std::string> words = {"Jana", "Petr", "zpráva", "ahoj", "Žofie", "x"};
  const auto word = [&] { return words[random() % words.size()]; };
  for (int history = 0; history < 20; ++history) {
    std::filesystem::remove(path());
    auto database = open();
    SentMessages store(*database);
    std::vector<SentRecord> kept;  // the plain model, oldest first
    const int length = static_cast<int>(random() % 300);
    for (int i = 0; i < length; ++i) {
      SentRecord record = email(word() + "@sms.cz", word() + " " + word());
      record.id = store.add(record).value();
      kept.push_back(record);
    }
    for (int i = 0; i < length / 4 && !kept.empty(); ++i) {
      const auto gone = kept.begin() + static_cast<std::ptrdiff_t>(random() % kept.size());
      ASSERT_EQ(store.remove({gone->id}), 1);
      kept.erase(gone);
    }
    const std::string search = random() % 4 == 0 ? "" : foldedForSearch(word()).substr(0, 3);
    std::vector<std::int64_t> expected;
    for (auto record = kept.rbegin(); record != kept.rend(); ++record) {
      if (foldedForSearch(record->addressees + "\n" + record->text).find(search) !=
          std::string::npos) {
        expected.push_back(record->id);
      }
    }
    SentSearch steps(search, store.newestId().value());
    std::vector<std::int64_t> found;
    while (!steps.complete()) {
      const auto step = steps.step(store, 1 + static_cast<int>(random() % 7),
                                   1 + static_cast<std::int64_t>(random() % 40));
      for (const auto& record : step.value()) found.push_back(record.id);
    }
    EXPECT_EQ(found, expected) << "history " << history << ", search " << search;
  }
}

TEST_F(SentMessagesTest, ASendUnderWayWhenTheProgramEndedIsNotKnown) {
  std::int64_t killed = 0;
  std::int64_t late = 0;
  std::int64_t refused = 0;
  {
    auto database = open();
    SentMessages store(*database);
    killed = *store.add(email("a@sms.cz", "1", SentState::Sending));
    late = *store.add(email("b@sms.cz", "2"));
    refused = *store.add(email("c@sms.cz", "3"));
    for (const auto id : {late, refused}) store.finish(id, SentState::Uncertain, "no-answer");
    store.answeredLate(late, SentState::Sent, "");
    store.answeredLate(refused, SentState::NotSent, "http 503");
    // Only a send not known to have arrived takes a late answer.
    store.answeredLate(late, SentState::NotSent, "http 503");
  }
  auto database = open();
  SentMessages store(*database);
  const auto stateAndReason = [&](std::int64_t id) {
    const auto record = store.record(id).value().value();
    return std::pair{record.state, record.reason};
  };
  EXPECT_EQ(stateAndReason(killed), std::pair(SentState::Uncertain, std::string(kEndedEarly)));
  EXPECT_EQ(stateAndReason(late), std::pair(SentState::Sent, std::string()));
  EXPECT_EQ(stateAndReason(refused), std::pair(SentState::NotSent, std::string("http 503")));
  struct stat info {};
  ASSERT_EQ(::stat(path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  // A folder made for it is the user's alone too.
  Database fresh(folder + "/nova/movarek.db", programSchema());
  SentMessages(fresh).add(email("a@sms.cz", "1"));
  ASSERT_EQ(::stat((folder + "/nova").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

// A modem message's reference, given at its end or by a late answer, makes its record await
// its report; the records a report may be about are the modem's within the report window, with
// a reference or still being sent; what the reports said is there after a restart, and found.
TEST_F(SentMessagesTest, MessagesStillToGoAreKeptApartAndGoOnce) {
  std::int64_t underWay = 0;
  {
    auto database = open();
    SentMessages store(*database);
    store.setRecording(false);
    std::vector<std::int64_t> ids;
    for (const std::int64_t due : {1765400200, 1765400100, 1765400300}) {
      SentRecord plan = email("a" + std::to_string(due % 1000) + "@sms.cz", "Pozdeji");
      plan.state = SentState::Planned;
      plan.dueAt = due;
      plan.request = "/send_sms.php?go=sms2&msg=Pozdeji";
      if (due == 1765400100) plan.route = "modem";
      ids.push_back(store.add(plan).value());
    }
    EXPECT_EQ(addresseesOf(store.plans()),
              (std::vector<std::string>{"a100@sms.cz", "a200@sms.cz", "a300@sms.cz"}));
    EXPECT_EQ(store.plans()->front().request, "/send_sms.php?go=sms2&msg=Pozdeji");
    EXPECT_EQ(store.plans()->front().route, "modem");
    EXPECT_EQ(store.plans()->back().route, "gateway");
    EXPECT_TRUE(store.listed("", kAll, 10, 1)->empty());
    EXPECT_EQ(store.removeFound("", 10), 0);
    ASSERT_EQ(store.cancel({ids[0]}), 1);
    EXPECT_EQ(store.markSending(ids[0], kWent), 0);
    // Listed from when it went, the newest.
    underWay = store.markSending(ids[1], kWent).value();
    EXPECT_GT(underWay, ids[2]);
    EXPECT_EQ(store.record(underWay)->value().sentAt, kWent);
    // It goes by the route it was planned for.
    EXPECT_EQ(store.listed("", kAll, 10, 1)->front().route, "modem");
    EXPECT_EQ(store.markSending(underWay, kWent), 0);
    // Whatever delete comes once its send has begun, its record stays, to end as the send does.
    EXPECT_EQ(store.cancel({ids[1]}), 0);
    EXPECT_EQ(store.remove({underWay}), 0);
    EXPECT_EQ(store.removeFound("", 10), 0);
    EXPECT_EQ(store.sendingFound(""), 1);
    SentRecord sent = store.record(ids[2])->value();
    sent.state = SentState::Sent;
    ASSERT_TRUE(store.replan(sent));
    EXPECT_EQ(store.record(ids[2])->value().request, "");
  }
  auto database = open();
  const SentRecord killed = SentMessages(*database).record(underWay)->value();
  EXPECT_EQ(killed.state, SentState::Uncertain);
  EXPECT_EQ(killed.reason, kEndedEarly);
  EXPECT_TRUE(faults.empty());
}

// What a run could not write by its end is written at the next opening, once, before the sends
// it left under way are told as not known.
TEST_F(SentMessagesTest, RecordsSetAsideAtTheEndAreWrittenOnceAtTheNextOpening) {
  SentRecord sent = email("a@sms.cz", "1");
  sent.id = SentMessages(*open()).add(sent).value();
  sent.state = SentState::Sent;
  SentRecord neverWritten = email("b@sms.cz", "2");
  neverWritten.state = SentState::NotSent;
  neverWritten.reason = "http 503";
  neverWritten.route = "modem";
  neverWritten.reportReference = 17;
  // As an earlier version set a record aside: without its route and delivery.
  auto fields = splitFields(keptRecordEntry(email("c@sms.cz", "3"))).value();
  fields.resize(13);
  ASSERT_TRUE(setAside(path(), {keptRecordEntry(sent), joinedFields(fields)}));
  ASSERT_TRUE(setAside(path(), {keptRecordEntry(neverWritten)}));
  const std::string keptAside = readFile("movarek.db-pending");
  for (int opening = 0; opening < 2; ++opening) {
    const auto listed = SentMessages(*open()).listed("", kAll, 10, 1).value();
    ASSERT_EQ(listed.size(), 3u) << opening;
    EXPECT_EQ(
        std::tuple(listed[0].addressees, listed[0].state, listed[0].reason, listed[0].route,
                   listed[0].reportReference, listed[0].delivery),
        std::tuple("b@sms.cz", SentState::NotSent, "http 503", "modem", 17u, Delivery::Awaiting));
    EXPECT_EQ(std::tuple(listed[1].addressees, listed[1].route), std::tuple("c@sms.cz", "gateway"));
    EXPECT_EQ(listed[2].state, SentState::Sent);
    // Should the file outlive its taking, what it holds is not written twice.
    writeFile("movarek.db-pending", keptAside);
  }
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
  EXPECT_EQ(store.recording(), false);
  EXPECT_EQ(store.add(email("a@sms.cz", "1")), 0);
  EXPECT_TRUE(store.listed("", kAll, 10, 1)->empty());
}

TEST_F(SentMessagesTest, DeletedTextsCannotBeReadInTheFile) {
  auto database = open();
  SentMessages store(*database);
  const auto kept = *store.add(email("a@sms.cz", "zustava-v-souboru"));
  const auto removed = *store.add(email("b@sms.cz", "tajna-zprava-jedna"));
  const auto alsoRemoved = *store.add(email("b@sms.cz", "tajna-zprava-tri"));
  store.add(email("c@sms.cz", "tajna-zprava-dve"));
  store.add(email("d@sms.cz", "tajna-zprava-ctyri"));
  ASSERT_EQ(store.remove({removed, alsoRemoved}), 2);
  EXPECT_EQ(readFile("movarek.db").find("tajna-zprava-jedna"), std::string::npos);
  EXPECT_EQ(readFile("movarek.db").find("tajna-zprava-tri"), std::string::npos);
  EXPECT_EQ(addresseesOf(store.listed("", kAll, 10, 1)),
            (std::vector<std::string>{"d@sms.cz", "c@sms.cz", "a@sms.cz"}));
  // What a search finds goes, a batch at a time; the rest stays.
  EXPECT_EQ(store.removeFound("TAJNA", 1), 1);
  EXPECT_EQ(store.removeFound("tajna", 5), 1);
  EXPECT_EQ(store.removeFound("tajna", 5), 0);
  EXPECT_EQ(readFile("movarek.db").find("tajna-zprava-dve"), std::string::npos);
  EXPECT_NE(readFile("movarek.db").find("zustava-v-souboru"), std::string::npos);
  EXPECT_EQ(store.removeFound("", 5), 1);
  EXPECT_EQ(readFile("movarek.db").find("zustava-v-souboru"), std::string::npos);
  EXPECT_FALSE(store.record(kept).value().has_value());
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
    EXPECT_FALSE(store.listed("", kAll, 10, 1).has_value()) << name;
    EXPECT_FALSE(store.setRecording(false)) << name;
    EXPECT_EQ(faults, std::vector{kind}) << name;  // once: the database is off for the run
    EXPECT_TRUE(readFile("movarek.db") == before) << name;
  }
}

// Waited for a second at most, then told as busy; written once the other program lets go.
TEST_F(SentMessagesTest, ALockHeldByAnotherProgramIsToldAsBusy) {
  auto database = open();
  SentMessages store(*database);
  ASSERT_TRUE(store.setRecording(true));
  sqlite3* connection = other();
  ASSERT_EQ(sqlite3_exec(connection, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_FALSE(store.add(email("a@sms.cz", "1")).has_value());
  EXPECT_FALSE(store.listed("", kAll, 10, 1).has_value());
  EXPECT_EQ(faults, (std::vector{DatabaseFault::Kind::Busy, DatabaseFault::Kind::Busy}));
  sqlite3_exec(connection, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(connection);
  EXPECT_TRUE(store.add(email("a@sms.cz", "1")).has_value());
}

// A file the user made read-only is shown, and never written.
TEST_F(SentMessagesTest, AReadOnlyFileIsReadAndNotWritten) {
  { SentMessages(*open()).add(email("a@sms.cz", "1")); }
  ASSERT_EQ(::chmod(path().c_str(), 0400), 0);
  const std::string before = readFile("movarek.db");
  auto database = open();
  SentMessages store(*database);
  EXPECT_EQ(addresseesOf(store.listed("", kAll, 10, 1)), std::vector<std::string>{"a@sms.cz"});
  EXPECT_FALSE(store.add(email("b@sms.cz", "2")).has_value());
  EXPECT_EQ(faults, std::vector{DatabaseFault::Kind::ReadOnly});
  EXPECT_TRUE(readFile("movarek.db") == before);
  struct stat info {};
  ASSERT_EQ(::stat(path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0400u);
}

TEST(SentCsv, QuotesWhatNeedsItStartsWithAByteOrderMarkAndRunsNoFormula) {
  SentRecord record;
  record.sentAt = 0;
  record.page = Page::Oskar;
  record.addressees = "123456";
  record.oskarPrefix = "0601";
  record.senderPrefix = "777";
  record.sender = "Jana";
  record.text = "Ahoj, \"ty\"\nzítra";
  record.state = SentState::NotSent;
  record.reason = "http 503";
  EXPECT_EQ(sentCsvHeader(),
            "\xEF\xBB\xBFKdy,Stránka,Komu,Odesílatel,Text,Stav,Důvod,Doručení\r\n");
  EXPECT_EQ(sentCsvLine(record), shownTime(0) +
                                     ",Oskar,0601123456,777 Jana,\"Ahoj, \"\"ty\"\"\nzítra\","
                                     "neodesláno,chyba serveru 503,\r\n");
  // A cell a spreadsheet would run is written as text.
  const std::pair<std::string, std::string> formulas[] = {
      {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
      {"+420", "'+420"},
      {"-1", "'-1"},
      {"@SUM(A1)", "'@SUM(A1)"},
      {"\tx", "'\tx"},
      {"\rx", "\"'\rx\""},
      {"a=b", "a=b"}};
  record.page = Page::Sms;
  record.state = SentState::Sent;
  record.reason.clear();
  record.delivery = Delivery::NotDelivered;
  record.deliveryReason = "report 0x46";
  for (const auto& [text, cell] : formulas) {
    record.text = text;
    EXPECT_EQ(sentCsvLine(record), shownTime(0) + ",SMS E-mail,123456,777 Jana," + cell +
                                       ",odesláno,,nedoručeno – vypršela platnost zprávy\r\n")
        << text;
  }
}

}  // namespace
}  // namespace movarek
