#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/qt/help_window.h"
#include "common/qt/clock_deadline.h"
#include "common/qt/memo.h"
#include "eurotel_page.h"
#include "gateway_sim.h"
#include "test_clock.h"

namespace movarek::testing {
namespace {

const QString kStartUpRequest = QStringLiteral("/send_sms.php?go=pricti113");

class SilentGatewayTest : public GatewayTest {
 protected:
  TestClock clock;

  // The requests of the sends that reached the gateway.
  QList<LoggedRequest> sends() const {
    QList<LoggedRequest> found;
    for (const auto& request : simulator->requests()) {
      if (request.values.value(QStringLiteral("go")) == "sms2") found << request;
    }
    return found;
  }

  // Sends `text` from the e-mail page and waits for what the program says, which must come
  // while the start-up request is still under way.
  void sendWhileTheStartUpRequestIsUnderWay(const QString& text) {
    main().memoText->setPlainText(text);
    const auto sendsBefore = sends().size();
    const auto messagesBefore = messages.size();
    answers = {MessageAnswer::Yes};
    QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return messages.size() > messagesBefore; }, 15000))
        << text.toStdString();
    EXPECT_TRUE(requestsUnderWay(*main().CppWebBrowser1).join(' ').contains(kStartUpRequest));
    EXPECT_EQ(sends().size(), sendsBefore + 1) << text.toStdString();
    EXPECT_EQ(messages.size(), messagesBefore + 1);
    if (messages.size() > messagesBefore) {
      EXPECT_EQ(messages.back().caption, "Zpráva odeslána") << messages.back().text.toStdString();
    }
  }
};

TEST_F(SilentGatewayTest, AStartUpRequestThatIsNeverAnsweredHoldsNoSendAndNoClose) {
  ASSERT_NO_FATAL_FAILURE(startSimulator({QStringLiteral("--hang"), kStartUpRequest}));
  startProgram();
  ASSERT_NO_FATAL_FAILURE(showMain());
  ASSERT_EQ(simulator->waitForRequests(2).size(), 2);
  main().editAdresa->setText(QStringLiteral("jan@sms.cz"));

  sendWhileTheStartUpRequestIsUnderWay(QStringLiteral("Prvni"));
  // Beyond the ten seconds a send is given: the start-up request is still unanswered.
  clock.moveOn(10);
  EXPECT_FALSE(main().timerVypnuti->isActive());
  sendWhileTheStartUpRequestIsUnderWay(QStringLiteral("Druha"));
  const auto arrived = sends();
  ASSERT_EQ(arrived.size(), 2);
  EXPECT_EQ(arrived[0].values.value("zprava"), "Prvni");
  EXPECT_EQ(arrived[1].values.value("zprava"), "Druha");

  // Ten seconds after the last send the window closes, the start-up request still hanging.
  messages.clear();
  EXPECT_FALSE(main().close());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, "Program nelze vypnout");
  clock.moveOn(10);
  EXPECT_FALSE(main().timerVypnuti->isActive());
  EXPECT_TRUE(main().close());
  EXPECT_EQ(sends().size(), 2);
}

TEST_F(SilentGatewayTest, ASlowStartUpRequestDelaysNoSend) {
  ASSERT_NO_FATAL_FAILURE(
      startSimulator({QStringLiteral("--startup-delay-ms"), QStringLiteral("8000")}));
  startProgram();
  ASSERT_NO_FATAL_FAILURE(showMain());
  ASSERT_EQ(simulator->waitForRequests(2).size(), 2);
  main().editAdresa->setText(QStringLiteral("jan@sms.cz"));
  sendWhileTheStartUpRequestIsUnderWay(QStringLiteral("Hned"));
  EXPECT_EQ(sends().size(), 1);
}

TEST_F(SilentGatewayTest, ASendAfterAnUnknownOutcomeGoesOutAgainAndEnds) {
  ASSERT_NO_FATAL_FAILURE(
      startSimulator({QStringLiteral("--hang"), QStringLiteral("/send_sms.php?go=sms2")}));
  startProgram();
  ASSERT_NO_FATAL_FAILURE(showMain());
  ASSERT_EQ(simulator->waitForRequests(2).size(), 2);
  fillEmailSend(QStringLiteral("jan@sms.cz"), QStringLiteral("Znovu"));
  for (int attempt = 1; attempt <= 2; ++attempt) {
    const auto before = messages.size();
    QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return sends().size() == attempt; })) << attempt;
    clock.moveOn(9);
    EXPECT_EQ(messages.size(), before) << attempt;
    clock.moveOn(1);
    ASSERT_EQ(messages.size(), before + 1) << attempt;
    EXPECT_EQ(messages.back().text,
              "Není jisté, zda zpráva došla na SMS centrum Vertanix (server neodpověděl).\n"
              "Zpráva mohla dorazit: než ji pošlete znovu, ověřte si, zda nepřišla.\n"
              "Text zprávy zůstává v okně.");
    EXPECT_EQ(sends().size(), attempt);
    EXPECT_EQ(main().memoText->toPlainText(), "Znovu");
  }
  // Each unanswered request is listened to for five minutes after its ten seconds, the first
  // from 10 s on the test's clock, the second from 20 s, and then given up.
  const auto sendsUnderWay = [&] {
    return requestsUnderWay(*main().CppWebBrowser1).filter(QStringLiteral("go=sms2")).size();
  };
  clock.moveOn(289);
  EXPECT_EQ(sendsUnderWay(), 2);
  clock.moveOn(1);
  EXPECT_TRUE(waitUntil([&] { return sendsUnderWay() == 1; }));
  clock.moveOn(10);
  EXPECT_TRUE(waitUntil([&] { return sendsUnderWay() == 0; }));
  // Nothing holds the close once the sends have ended.
  EXPECT_TRUE(main().close());
}

TEST_F(SilentGatewayTest, KeysPressedInTheEurotelFormAreTheForms) {
  ASSERT_NO_FATAL_FAILURE(startProgramWithSimulator());
  ASSERT_EQ(simulator->waitForRequests(2).size(), 2);
  main().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
  main().btnEurotelClick();
  ASSERT_TRUE(
      waitUntil([&] { return main().webEurotel->size() == main().panelWebEurotel->size(); }));
  const EurotelPage page(*main().webEurotel);
  QApplication::clipboard()->setText(QStringLiteral("Vloženo schránkou"));
  page.click(QStringLiteral("[name=zprava]"));
  ASSERT_TRUE(waitUntil([&] {
    return QApplication::focusWidget() == page.input() &&
           page.run(QStringLiteral("document.hasFocus() && document.activeElement.name"))
                   .toString() == QStringLiteral("zprava");
  }));
  const auto pasted = [&] {
    return page.run(QStringLiteral("document.forms[0].zprava.value")).toString();
  };
  QTest::keyClick(page.input(), Qt::Key_V, Qt::ControlModifier);
  waitUntil([&] { return !pasted().isEmpty(); }, 3000);
  EXPECT_EQ(pasted(), QStringLiteral("Vloženo schránkou"));
  page.run(QStringLiteral("document.forms[0].submit()"));
  const auto requests = simulator->waitForRequests(3);
  ASSERT_EQ(requests.size(), 3);
  EXPECT_EQ(requests[2].values.value("zprava"), "Vloženo schránkou");
  // The window's own keys did not act meanwhile; those that open its windows still do.
  EXPECT_TRUE(shownDialogs.empty());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
  EXPECT_EQ(shownDialogs, std::vector<QDialog*>{&forms->napoveda()});
}

}  // namespace
}  // namespace movarek::testing
