#include "send/qt/send_route.h"

#include <QTest>
#include <QWidget>
#include <vector>

#include "app/program_schema.h"
#include "common/database.h"
#include "common/program_folder.h"
#include "common/qt/memo.h"
#include "common/qt/message_box.h"
#include "common/qt/program_database.h"
#include "send/qt/send_flow.h"
#include "send/qt/send_recorder.h"
#include "send/sent_messages.h"
#include "temporary_program_folder.h"

namespace movarek::testing {
namespace {

// A route the test answers for: it takes one message at a time, as a route does.
class StandInRoute final : public SendRoute {
 public:
  using SendRoute::SendRoute;
  std::string_view name() const override { return "stand-in"; }
  bool canSendNow() const override { return !taken; }
  void send(const SentRecord& message, quint64 number) override {
    taken = message;
    this->number = number;
  }
  void end(const RouteOutcome& outcome) {
    taken.reset();
    emit ended(number, outcome);
  }

  std::optional<SentRecord> taken;
  quint64 number = 0;
};

using SendRouteTest = TemporaryProgramFolder;

// Whatever carries the message, the flow tells and keeps what the route's outcome says: a sent
// message offers to clear its text, one not sent or not known keeps it, and a late answer is
// told and kept too.
TEST_F(SendRouteTest, EachOfTheThreeOutcomesIsToldAndKeptAsTheRouteGaveIt) {
  const RouteOutcome sent{SentState::Sent, "", "", "", false};
  const RouteOutcome refused{SentState::NotSent, "http 400", "chyba serveru 400", "Neodešlo.",
                             false};
  const RouteOutcome unknown{SentState::Uncertain, "no-answer", "server neodpověděl", "Není jisté.",
                             false};
  const RouteOutcome lateSent{SentState::Sent, "", "", "Přece jen přijata.", false};
  struct Case {
    const char* name;
    std::vector<RouteOutcome> ended;                // and then answered late
    std::vector<std::pair<QString, QString>> told;  // caption, text
    QString textLeft;
    SentState kept;  // the last message's
    std::string reason;
    std::size_t messages = 1;  // one for each addressee, ended in turn
  };
  const Case cases[] = {
      {"sent",
       {sent},
       {{"Zpráva odeslána",
         "Zpráva byla úspěšně odeslána na SMS centrum Vertanix.\nChcete vymazat text odeslané "
         "zprávy?"}},
       "",
       SentState::Sent,
       ""},
      {"not sent", {refused}, {{"Chyba", "Neodešlo."}}, "Ahoj", SentState::NotSent, "http 400"},
      {"unknown", {unknown}, {{"Chyba", "Není jisté."}}, "Ahoj", SentState::Uncertain, "no-answer"},
      {"answered late",
       {unknown, lateSent},
       {{"Chyba", "Není jisté."}, {"Zpráva odeslána", "Přece jen přijata."}},
       "Ahoj",
       SentState::Sent,
       ""},
      {"one of two refused",
       {sent, refused},
       {{"Chyba", "Odesláno bylo 1 z 2 zpráv.\n\nNeodešlo."}},
       "Ahoj",
       SentState::NotSent,
       "http 400",
       2},
  };
  for (const Case& c : cases) {
    std::vector<std::pair<QString, QString>> told;
    setMessageHandler([&told](const MessageRequest& request) {
      told.emplace_back(request.caption, request.text);
      return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    });
    {
      ProgramDatabase database(programSchema(), programPreparations());
      database.openSoon();
      SendRecorder recorder(database);
      QWidget window;  // the flow asks whether a memo's page is shown
      TMemo email(714, &window), oskar(760, &window);
      auto* route = new StandInRoute(&email);
      SendFlow flow(
          {{Page::Sms, {&email, route}}, {Page::Oskar, {&oskar, new StandInRoute(&oskar)}}},
          recorder, nullptr);
      email.setPlainText(QStringLiteral("Ahoj"));
      SentRecord message;
      message.addressees = "jan@sms.cz";
      message.text = "Ahoj";
      message.request = "/send_sms.php?go=sms2&adr=jan@sms.cz&zprava=Ahoj";
      flow.send(Page::Sms, std::vector(c.messages, message), email.windowsText());
      for (std::size_t i = 0; i < c.messages; ++i) {
        ASSERT_TRUE(route->taken) << c.name;
        EXPECT_EQ(route->taken->request, message.request) << c.name;
        EXPECT_TRUE(flow.busy(Page::Sms)) << c.name;
        route->end(c.ended[i]);
      }
      EXPECT_FALSE(flow.busy(Page::Sms)) << c.name;
      if (c.ended.size() > c.messages) emit route->answeredLate(route->number, c.ended.back());
      EXPECT_EQ(email.text(), c.textLeft) << c.name;
      ASSERT_TRUE(QTest::qWaitFor([&] { return database.idle(); })) << c.name;
    }
    EXPECT_EQ(told, c.told) << c.name;
    Database kept(dataFile(kDatabaseName), programSchema());
    SentMessages store(kept);
    const auto record = store.record(store.newestId().value_or(0));
    ASSERT_TRUE(record && *record) << c.name;
    EXPECT_EQ((*record)->state, c.kept) << c.name;
    EXPECT_EQ((*record)->reason, c.reason) << c.name;
    EXPECT_EQ((*record)->route, "stand-in") << c.name;
    EXPECT_EQ((*record)->addressees, "jan@sms.cz") << c.name;
  }
  setMessageHandler({});
}

}  // namespace
}  // namespace movarek::testing
