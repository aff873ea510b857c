#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/qt/memo.h"
#include "eurotel_page.h"
#include "gateway_sim.h"
#include "webview/qt/web_browser.h"

namespace movarek::testing {
namespace {

const QString kEurotelPage = QStringLiteral("/eurotel_nova2.php");
const QString kStartUpRequest = QStringLiteral("/send_sms.php?go=pricti113");

class GatewayRequestsTest : public GatewayTest {
 protected:
  void SetUp() override {
    GatewayTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(startProgramWithSimulator());
    ASSERT_EQ(simulator->waitForRequests(2).size(), 2);
  }

  // Presses the button and waits until the request it sends has arrived and the question
  // about the sent text has been answered; gives that request.
  LoggedRequest send(QPushButton* button) {
    const auto before = simulator->requests().size();
    const auto questionsBefore = messages.size();
    QTest::mouseClick(button, Qt::LeftButton);
    const auto requests = simulator->waitForRequests(before + 1);
    EXPECT_EQ(requests.size(), before + 1) << targetsOf(requests).join('\n').toStdString();
    EXPECT_TRUE(waitUntil([&] { return messages.size() > questionsBefore; }));
    return requests.size() > before ? requests[before] : LoggedRequest{};
  }
};

// Each goes out on connections of its own: either may arrive first.
TEST_F(GatewayRequestsTest, StartUpLoadsTheEurotelPageAndCountsTheStart) {
  QStringList arrived = targetsOf(simulator->requests());
  arrived.sort();
  EXPECT_EQ(arrived, (QStringList{kEurotelPage, kStartUpRequest}));
}

TEST_F(GatewayRequestsTest, TypedEmailSendArrivesExactlyAsTyped) {
  QTest::keyClicks(main().editAdresa, QStringLiteral("jan@sms.cz; eva@sms.cz; "));
  main().memoText->setFocus();
  main().memoText->insertPlainText(QStringLiteral("Ahoj, jak se máš?\nČau & ahoj"));
  answers = {MessageAnswer::Yes};

  const LoggedRequest request = send(main().btnPoslat);

  EXPECT_EQ(request.path, "/send_sms.php");
  EXPECT_EQ(request.query,
            "go=sms2&adr=jan@sms.cz~eva@sms.cz~&zprava=Ahoj,+jak+se+mas?%0ACau+%26+ahoj");
  EXPECT_EQ(request.addresses, (QStringList{"jan@sms.cz", "eva@sms.cz"}));
  EXPECT_EQ(request.values.value("zprava"), "Ahoj, jak se mas?\nCau & ahoj");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, "Zpráva odeslána");
  EXPECT_EQ(main().memoText->toPlainText(), "");
}

TEST_F(GatewayRequestsTest, OskarSendArrivesWithAllFiveValues) {
  main().btnOskarClick();
  main().comboPredcisliOskar->setCurrentIndex(3);
  QTest::keyClicks(main().editAdresaOskar, QStringLiteral("123456"));
  main().memoTextOskar->insertPlainText(QStringLiteral("Dobrý den"));
  QTest::keyClicks(main().editSenderPredOskar, QStringLiteral("777"));
  // The sender fields go out as typed: the web view escapes a space and each letter outside
  // ASCII as its code page 1250 byte.
  struct Case {
    QString sender;
    QString senderOnTheWire;
  };
  const Case cases[] = {
      {QStringLiteral("123 456"), QStringLiteral("123%20456")},
      {QStringLiteral("Kůň Šafr"), QStringLiteral("K%F9%F2%20%8Aafr")},
  };
  for (const auto& [sender, senderOnTheWire] : cases) {
    main().editSenderOskar->setText(sender);
    answers = {MessageAnswer::No};

    const LoggedRequest request = send(main().btnPoslatOskar);

    EXPECT_EQ(request.path, "/send_oskar.php");
    EXPECT_EQ(request.query, "go=sms2&adr=123456&zprava=Dobry+den&predvolba=777&sender=" +
                                 senderOnTheWire + "&senderpred=777");
    const QMap<QString, QString> values{{"go", "sms2"},          {"adr", "123456"},
                                        {"zprava", "Dobry den"}, {"predvolba", "777"},
                                        {"sender", sender},      {"senderpred", "777"}};
    EXPECT_EQ(request.values, values);
  }
}

TEST_F(GatewayRequestsTest, EurotelPageFillsItsPanelAndItsFormReachesTheGateway) {
  main().btnEurotelClick();
  EXPECT_TRUE(
      waitUntil([&] { return main().webEurotel->size() == main().panelWebEurotel->size(); }));
  EXPECT_EQ(main().webEurotel->width(), 369);

  // Away and back: the page is kept as it was, not loaded again.
  main().btnSMStopClick();
  main().btnEurotelClick();
  const EurotelPage page(*main().webEurotel);
  page.run(
      QStringLiteral("const form = document.forms[0];"
                     "form.cislo.value = '777123456';"
                     "form.zprava.value = 'Dobrý den & ahoj';"
                     "form.submit();"));

  const auto requests = simulator->waitForRequests(3);
  EXPECT_EQ(targetsOf(requests).value(2),
            kEurotelPage + "?odeslat=1&cislo=777123456&zprava=Dobr%FD+den+%26+ahoj");
  ASSERT_EQ(requests.size(), 3);
  EXPECT_EQ(requests[2].values.value("zprava"), "Dobrý den & ahoj");
  EXPECT_TRUE(waitUntil([&] {
    return page.text().startsWith(QStringLiteral("Zpráva pro číslo 777123456 byla přijata:"));
  }));
}

using BehindAProxyTest = GatewayTest;

// Behind a company's proxy (http_proxy), every request goes to the gateway through it, and the
// gateway's name is never looked up here.
TEST_F(BehindAProxyTest, TheGatewayIsReachedThroughTheUsersProxy) {
  GatewaySimulator proxy({QStringLiteral("--address"), QStringLiteral("127.0.0.3")});
  ASSERT_TRUE(proxy.running());
  qputenv("http_proxy", "http://" + proxy.host().toLatin1());
  setGatewayHost("brana.invalid:8123");
  startProgram();
  ASSERT_NO_FATAL_FAILURE(showMain());
  fillEmailSend();
  QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
  EXPECT_TRUE(waitUntil([&] { return !messages.empty(); }));
  EXPECT_EQ(messages.front().caption, "Zpráva odeslána");
  QStringList arrived;
  for (const auto& request : proxy.waitForRequests(3)) {
    arrived << request.proxiedFor + request.target();
  }
  arrived.sort();
  EXPECT_EQ(arrived,
            (QStringList{"brana.invalid:8123/eurotel_nova2.php",
                         "brana.invalid:8123/send_sms.php?go=pricti113",
                         "brana.invalid:8123/send_sms.php?go=sms2&adr=jan@sms.cz&zprava=Ahoj"}));
  qunsetenv("http_proxy");
}

}  // namespace
}  // namespace movarek::testing
