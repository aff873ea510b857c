#include "send/qt/outbox.h"

#include <QDateTimeEdit>
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTimer>

#include "app/qt/desktop_presence.h"
#include "common/qt/desktop_network.h"
#include "forms_fixture.h"
#include "send/outbox.h"
#include "send/qt/plan_dialog.h"
#include "test_clock.h"

namespace movarek::testing {
namespace {

std::int64_t utc(int year, int month, int day, int hour, int minute) {
  return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC).toSecsSinceEpoch();
}

// The program on the test's clock, network and tray; its gateway never answers: the test does.
class OutboxTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    DesktopNetwork::instance().standIn(true);
    ASSERT_TRUE(gateway_.listen(QHostAddress::LocalHost));
    setGatewayHost("127.0.0.1:" + std::to_string(gateway_.serverPort()));
    startProgram();
    showMain();
    ASSERT_TRUE(QTest::qWaitFor([this] { return forms->othersMade(); }));
  }

  void TearDown() override {
    FormsTest::TearDown();
    DesktopNetwork::instance().standIn(false);
    DesktopPresence::standInTray(std::nullopt);
  }

  void planFor(std::int64_t due, const std::string& to = "jan@sms.cz") {
    SentRecord plan;
    plan.addressees = to;
    plan.dueAt = due;
    plan.request = "/send_sms.php?go=sms2&adr=" + to;
    main().outbox().plan(plan, [](const SentRecord&) {});
    waitForTheDatabase();
  }

  QStringList sends() { return requestsUnderWay(*main().CppWebBrowser1).filter("go=sms2"); }

  // The planned send to `to` goes, and the gateway answers it.
  void answerSend(const char* to) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sends().filter(to).isEmpty(); }));
    gatewayAnswers();
  }

  QColor strip() { return main().panelInfo2->palette().color(QPalette::Window); }

  TestClock clock{utc(2027, 1, 4, 9, 0)};
  QTcpServer gateway_;
};

TEST_F(OutboxTest, OutcomesEndingTogetherAreToldInOneBoxAndWhatEndsWhileItIsOpenIsAddedToIt) {
  const std::int64_t start = clock.now();
  QStringList told;
  for (const char* to : {"a@sms.cz", "b@sms.cz", "c@sms.cz", "d@sms.cz"}) {
    planFor(start + (told.size() < 3 ? 60 : 120), to);
    told << QStringLiteral("Naplánovaná zpráva pro %1 byla odeslána.").arg(to);
  }
  setMessageHandler([&](const MessageRequest& request) {
    messages.push_back(request);
    if (messages.size() == 1) {
      clock.moveTo(start + 120);
      answerSend("d@sms.cz");
    }
    return MessageAnswer::Ok;
  });
  clock.moveTo(start + 60);
  for (const char* to : {"a@sms.cz", "b@sms.cz", "c@sms.cz"}) answerSend(to);
  ASSERT_TRUE(QTest::qWaitFor([&] { return messages.size() == 2; }));
  EXPECT_EQ(messages, (std::vector<MessageRequest>{
                          {told.mid(0, 3).join('\n'), "Zpráva odeslána", MessageButtons::Ok},
                          {told.join('\n'), "Zpráva odeslána", MessageButtons::Ok, true}}));
}

// A route may refuse at once: with no modem, nothing is under way and nothing holds the close.
TEST_F(OutboxTest, APlannedModemMessageWithNoModemWaitsForItAndHoldsNothingBack) {
  SentRecord plan;
  plan.page = Page::Modem;
  plan.route = kModemRoute;
  plan.addressees = "+420777123456";
  plan.text = "Ahoj";
  plan.dueAt = clock.now() + 60;
  main().outbox().plan(plan, [](const SentRecord&) {});
  waitForTheDatabase();
  clock.moveOn(60);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); }));
  EXPECT_EQ(messages.back().text,
            "Zprávu pro +420777123456 se nepodařilo odeslat (není připojen žádný modem, který umí "
            "posílat zprávy). Program ji odešle, až bude síť zase k dispozici.");
  EXPECT_EQ(main().outbox().pending(), 1);
  EXPECT_EQ(strip(), QColor(205, 222, 248));
}

TEST_F(OutboxTest, InTheTrayAPlannedSendGuardsTheCloseAndTheProgramEndsWithTheUser) {
  DesktopPresence::standInTray(true);
  planFor(clock.now() + 60);
  EXPECT_FALSE(main().close());
  EXPECT_TRUE(messages.back().text.endsWith("(Ne: program poběží dál v oznamovací oblasti.)"));
  EXPECT_TRUE(main().isHidden());
  clock.moveOn(60);
  ASSERT_TRUE(QTest::qWaitFor([&] { return sends().size() == 1; }));
  EXPECT_EQ(strip(), QColor(Qt::yellow));
  main().presence().Ukoncit1->trigger();
  EXPECT_TRUE(main().isVisible());
  EXPECT_EQ(messages.back(),
            (MessageRequest{"Program půjde vypnout za nekolik vteřin, až pruh nápovědy zmodrá.",
                            "Program nelze vypnout", MessageButtons::Ok}));
  gatewayAnswers();
  clock.moveOn(9);
  EXPECT_EQ(strip(), QColor(Qt::yellow));  // ten seconds, as after any send
  clock.moveOn(1);
  EXPECT_EQ(strip(), QColor(205, 222, 248));

  // Nothing is left to go: closing the window ends the program.
  QTimer::singleShot(0, &main(), [this] { main().close(); });
  QTimer stuck;
  stuck.callOnTimeout([] { QCoreApplication::exit(1); });
  stuck.start(20000);
  EXPECT_EQ(QApplication::exec(), 0);
}

TEST_F(OutboxTest, KdyMeansTheFirstOfATimeTwiceRefusesOneSkippedAndZaHodinuIsAnHourAhead) {
  struct Case {
    std::int64_t now;
    QDateTime typed;  // none: "Za hodinu"
    std::optional<std::int64_t> planned;
    bool twice;
  };
  const auto night = [](int month, int day) {
    return QDateTime(QDate(2027, month, day), QTime(2, 30), Qt::UTC);
  };
  const Case cases[] = {
      {utc(2027, 3, 27, 12, 0), night(3, 28), {}, false},
      {utc(2027, 10, 30, 12, 0), night(10, 31), utc(2027, 10, 31, 0, 30), true},
      {utc(2027, 10, 31, 0, 10), {}, utc(2027, 10, 31, 1, 10), false},
  };
  PlanDialog dialog(&main());
  for (const Case& c : cases) {
    clock.standAt(c.now);
    dialog.FormActivate();
    if (c.typed.isValid()) dialog.editKdy->setDateTime(c.typed);
    dialog.setResult(QDialog::Rejected);
    dialog.btnNaplanovat->click();
    EXPECT_EQ(dialog.result() == QDialog::Accepted ? dialog.chosen() : std::nullopt, c.planned);
    EXPECT_EQ(dialog.labelDvakrat->isVisibleTo(&dialog), c.twice);
  }
  EXPECT_EQ(messages, (std::vector<MessageRequest>{
                          {QString::fromUtf8(kSkippedTime.data()), "Chyba", MessageButtons::Ok}}));
}

}  // namespace
}  // namespace movarek::testing
