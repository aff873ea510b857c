#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include "common/qt/clock_deadline.h"
#include "common/qt/memo.h"
#include "common/qt/program_module.h"
#include "gateway_sim.h"
#include "test_clock.h"

namespace movarek::testing {
namespace {

QString notSent(const QString& reason) {
  return "Zprávu se nepodařilo odeslat na SMS centrum Vertanix (" + reason +
         ").\nText zprávy zůstává v okně, můžete ji zkusit odeslat znovu.";
}

QString unknown(const QString& reason) {
  return "Není jisté, zda zpráva došla na SMS centrum Vertanix (" + reason +
         ").\nZpráva mohla dorazit: než ji pošlete znovu, ověřte si, zda nepřišla.\n"
         "Text zprávy zůstává v okně.";
}

enum class Page { Email, Oskar };

// Each case runs on both sending pages.
class SendFailureTest : public GatewayTest, public ::testing::WithParamInterface<Page> {
 protected:
  // Starts the program, with the simulator run with `options` as its gateway or with nothing
  // listening there, and fills the shown page's fields for a send that passes every check.
  void startAndFill(bool withSimulator, const QStringList& options = {}) {
    if (withSimulator) {
      ASSERT_NO_FATAL_FAILURE(startSimulator(options));
    } else {
      setGatewayHost("127.0.0.1:" + std::to_string(closedPort()));
    }
    startProgram();
    ASSERT_NO_FATAL_FAILURE(showMain());
    if (withSimulator) {
      ASSERT_EQ(simulator->waitForRequests(2).size(), 2);
    }
    if (GetParam() == Page::Email) {
      main().btnSMStopClick();
      main().editAdresa->setText(QStringLiteral("jan@sms.cz"));
    } else {
      main().btnOskarClick();
      main().comboPredcisliOskar->setCurrentIndex(0);
      main().editAdresaOskar->setText(QStringLiteral("123456"));
    }
    memo()->setPlainText(QStringLiteral("Ahoj"));
  }

  TMemo* memo() { return GetParam() == Page::Email ? main().memoText : main().memoTextOskar; }
  QPushButton* sendButton() {
    return GetParam() == Page::Email ? main().btnPoslat : main().btnPoslatOskar;
  }

  // Presses "Poslat!" and waits for what the program says about it.
  MessageRequest sendAndWaitForTheAnswer() {
    const auto before = messages.size();
    QTest::mouseClick(sendButton(), Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return messages.size() > before; }));
    return messages.size() > before ? messages[before] : MessageRequest{};
  }

  void expectToldKeepingTheText(const MessageRequest& told, const QString& text,
                                MessageButtons buttons = MessageButtons::Ok) {
    EXPECT_EQ(told.text, text);
    EXPECT_EQ(told.caption, "Chyba");
    EXPECT_EQ(told.buttons, buttons);
    EXPECT_EQ(memo()->toPlainText(), "Ahoj");
    EXPECT_EQ(main().panelMezera->text(), "4 / 1");
    EXPECT_EQ(QApplication::focusWidget(), memo());
    EXPECT_FALSE(main().timerVypnuti->isActive());
  }

  // The newest sent message as the file keeps it: "state|reason\n".
  QString lastRecord() const {
    return databaseRows(
        QStringLiteral("SELECT state, reason FROM sent_message ORDER BY id DESC LIMIT 1"));
  }

  // The start-up request sent once more and arrived: whatever went out before it has arrived.
  void waitForALaterRequest() {
    const auto startUps = [&] {
      return targetsOf(simulator->requests()).count(QStringLiteral("/send_sms.php?go=pricti113"));
    };
    const auto before = startUps();
    main().CppWebBrowser1->Navigate(gatewayUrl("/send_sms.php?go=pricti113"));
    EXPECT_TRUE(waitUntil([&] { return startUps() > before; }));
  }

  int sendRequestsLogged() {
    int sends = 0;
    for (const auto& request : simulator->requests()) {
      if (request.values.value(QStringLiteral("go")) != "pricti113" &&
          request.path != "/eurotel_nova2.php") {
        ++sends;
      }
    }
    return sends;
  }
};

TEST_P(SendFailureTest, AnAnsweredSendAsksTheQuestionOnce) {
  ASSERT_NO_FATAL_FAILURE(
      startAndFill(true, {QStringLiteral("--delay-ms"), QStringLiteral("700")}));
  answers = {MessageAnswer::Yes};
  const auto before = messages.size();
  QTest::mouseClick(sendButton(), Qt::LeftButton);
  // An impatient second press, and Ctrl+P, while the first send is under way.
  QTest::mouseClick(sendButton(), Qt::LeftButton);
  QTest::keyClick(memo(), Qt::Key_P, Qt::ControlModifier);
  ASSERT_TRUE(waitUntil([&] { return messages.size() > before; }));
  EXPECT_EQ(messages.back().caption, "Zpráva odeslána");
  EXPECT_EQ(memo()->toPlainText(), "");
  EXPECT_TRUE(main().timerVypnuti->isActive());
  waitForALaterRequest();
  EXPECT_EQ(sendRequestsLogged(), 1);
  EXPECT_EQ(messages.size(), before + 1);
}

TEST_P(SendFailureTest, AnAnswerWithoutAPageIsAnAnswer) {
  const QStringList answersWithoutAPage[] = {
      {QStringLiteral("--status"), QStringLiteral("204")},
      {QStringLiteral("--download")},
      // A redirect within the gateway is followed, and its page is the answer.
      {QStringLiteral("--redirect"), QStringLiteral("/eurotel_nova2.php")},
      // Neither the page's nor its header's refresh is followed: /znovu would be a request.
      {QStringLiteral("--refresh"), QStringLiteral("/znovu")},
  };
  for (const auto& options : answersWithoutAPage) {
    forms.reset();
    ASSERT_NO_FATAL_FAILURE(startAndFill(true, options));
    const auto told = sendAndWaitForTheAnswer();
    EXPECT_EQ(told.caption, "Zpráva odeslána") << options.join(' ').toStdString();
    waitForALaterRequest();
    EXPECT_EQ(sendRequestsLogged(), 1) << targetsOf(simulator->requests()).join(' ').toStdString();
  }
}

// Told and kept as not known: a network's login page that took the request instead of the
// gateway, and a server that took it and failed on the way (504).
TEST_P(SendFailureTest, AnAnswerThatDoesNotProveTheGatewayHasItIsNotKnown) {
  GatewaySimulator portal({QStringLiteral("--address"), QStringLiteral("127.0.0.2")});
  ASSERT_TRUE(portal.running());
  const QString redirected = "odpověď nepřišla od brány, ale od jiného serveru (" + portal.host() +
                             "); síť vás možná přesměrovala na přihlašovací stránku";
  struct Case {
    QStringList options;
    QString reason;
    QString kept;  // the reason's code
  };
  const Case cases[] = {
      {{QStringLiteral("--redirect"), "http://" + portal.host() + "/login?from=gateway"},
       redirected,
       "foreign " + portal.host()},
      {{QStringLiteral("--status"), QStringLiteral("504")},
       QStringLiteral("chyba serveru 504"),
       QStringLiteral("http 504")},
  };
  for (const auto& c : cases) {
    forms.reset();
    ASSERT_NO_FATAL_FAILURE(startAndFill(true, c.options));
    expectToldKeepingTheText(sendAndWaitForTheAnswer(), unknown(c.reason));
    EXPECT_TRUE(waitUntil([&] { return lastRecord() == "uncertain|" + c.kept + "\n"; }, 5000))
        << lastRecord().toStdString();
  }
  EXPECT_TRUE(portal.requests().isEmpty());
}

QStringList& programLog() {
  static QStringList lines;
  return lines;
}

// The outcome is also written to the program's log, with its timing, never with what was sent.
TEST_P(SendFailureTest, AServerErrorIsToldWithItsStatus) {
  programLog().clear();
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& text) {
        if (QLatin1String(context.category) == "sms-movarek") programLog() << text;
      });
  ASSERT_NO_FATAL_FAILURE(startAndFill(true, {QStringLiteral("--status"), QStringLiteral("503")}));
  expectToldKeepingTheText(sendAndWaitForTheAnswer(), notSent("chyba serveru 503"));
  qInstallMessageHandler(previous);
  EXPECT_EQ(sendRequestsLogged(), 1);
  ASSERT_EQ(programLog().size(), 1) << programLog().join('\n').toStdString();
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^(e-mail|Oskar) send not sent after \\d+ ms: "
                                                "HTTP status 503$"))
                  .match(programLog()[0])
                  .hasMatch())
      << programLog()[0].toStdString();
}

// The request was written before the connection broke: the gateway may have it.
TEST_P(SendFailureTest, AConnectionClosedWithoutAnAnswerIsNotKnownToHaveFailed) {
  ASSERT_NO_FATAL_FAILURE(startAndFill(true, {QStringLiteral("--close-without-answer")}));
  expectToldKeepingTheText(sendAndWaitForTheAnswer(), unknown("server přerušil spojení"));
}

// A request that never reached the gateway goes again by itself once the network is back, if
// the user says so: yes on the e-mail page, no on the Oskar page.
TEST_P(SendFailureTest, AGatewayThatIsNotRunningRefusesTheConnection) {
  ASSERT_NO_FATAL_FAILURE(startAndFill(false));
  const bool again = GetParam() == Page::Email;
  if (again) answers = {MessageAnswer::Yes};
  expectToldKeepingTheText(sendAndWaitForTheAnswer(),
                           notSent("server odmítl spojení") +
                               "\n\nOdeslat zprávu samočinně, až bude síť zase k dispozici? "
                               "Program to zkusí každé dvě minuty po dobu jedné hodiny.",
                           MessageButtons::YesNoDefaultNo);
  const QString kept = again ? "waiting-network|network -102\n" : "not-sent|network -102\n";
  EXPECT_TRUE(waitUntil([&] { return lastRecord() == kept; })) << lastRecord().toStdString();
}

// The e-mail page's gateway answers late with a page, the Oskar page's with a refusal: either
// way the user is told, and the record, stamped with the time of the press, follows.
TEST_P(SendFailureTest, NoAnswerWithinTenSecondsIsNotKnownUntilTheAnswerComes) {
  TestClock clock;
  const std::int64_t pressed = clock.now();
  const bool refused = GetParam() == Page::Oskar;
  QStringList options{QStringLiteral("--delay-ms"), QStringLiteral("6000")};
  if (refused) options << QStringLiteral("--status") << QStringLiteral("503");
  ASSERT_NO_FATAL_FAILURE(startAndFill(true, options));
  int ticks = 0;
  QTimer heartbeat;
  QObject::connect(&heartbeat, &QTimer::timeout, [&] {
    ++ticks;
    if (ticks == 20) QTest::keyClicks(main().editSenderOskar, QStringLiteral("1"));
  });
  heartbeat.start(100);
  const auto before = messages.size();
  QTest::mouseClick(sendButton(), Qt::LeftButton);
  // The window goes on handling events while the answer is waited for.
  ASSERT_TRUE(waitUntil([&] { return sendRequestsLogged() == 1 && ticks >= 20; }));
  EXPECT_EQ(main().editSenderOskar->text(), "1");
  clock.moveOn(9);
  EXPECT_EQ(messages.size(), before);
  clock.moveOn(1);
  ASSERT_EQ(messages.size(), before + 1);
  const MessageRequest told = messages.back();
  expectToldKeepingTheText(told, unknown("server neodpověděl"));
  EXPECT_TRUE(waitUntil([&] { return lastRecord() == "uncertain|no-answer\n"; }, 5000));

  // The gateway answers six seconds after the request came.
  ASSERT_TRUE(waitUntil([&] { return messages.back().text != told.text; }, 10000));
  if (refused) {
    EXPECT_EQ(messages.back().text,
              "Zpráva, o které nebylo jisté, zda došla, nakonec SMS centrem Vertanix přijata "
              "nebyla (chyba serveru 503).\nMůžete ji zkusit odeslat znovu.");
    EXPECT_EQ(messages.back().caption, "Chyba");
  } else {
    EXPECT_EQ(messages.back().text,
              "Zpráva, o které nebylo jisté, zda došla, byla přece jen "
              "přijata SMS centrem Vertanix.");
    EXPECT_EQ(messages.back().caption, "Zpráva odeslána");
  }
  const QString kept = refused ? "not-sent|http 503\n" : "sent|\n";
  EXPECT_TRUE(waitUntil([&] { return lastRecord() == kept; }, 5000)) << lastRecord().toStdString();
  EXPECT_EQ(databaseRows(QStringLiteral("SELECT sent_at FROM sent_message ORDER BY id DESC LIMIT 1")),
            QString::number(pressed) + "\n");
  EXPECT_EQ(sendRequestsLogged(), 1);
}

// Without the engine module nothing can be sent, and the user is told why and what helps.
TEST_P(SendFailureTest, ABrokenInstallationIsToldAsSuch) {
  QTemporaryDir withoutModules;
  setModuleFolder(withoutModules.path());
  ASSERT_NO_FATAL_FAILURE(startAndFill(false));
  expectToldKeepingTheText(sendAndWaitForTheAnswer(),
                           "Zprávu nelze odeslat: chybí část programu SMS Movarek, modul "
                           "webového prohlížeče.\nProgram je poškozený, přeinstalujte ho prosím.");
  EXPECT_EQ(main().panelWebEurotel->text(),
            "Stránku nelze zobrazit: chybí část programu SMS Movarek, modul webového "
            "prohlížeče.\nProgram je poškozený, přeinstalujte ho prosím.");
  setModuleFolder({});
}

INSTANTIATE_TEST_SUITE_P(BothPages, SendFailureTest, ::testing::Values(Page::Email, Page::Oskar),
                         [](const auto& info) {
                           return info.param == Page::Email ? "Email" : "Oskar";
                         });

}  // namespace
}  // namespace movarek::testing
