// The gateway's Eurotel page as a guest: whatever its scripts do, sends are told truthfully, no
// box of the page holds the window and the page stays on the gateway.
#include <QFile>
#include <optional>

#include "guest_page_fixture.h"

namespace movarek::testing {
namespace {

// The send is answered while the page's script is still busy, thirty seconds long.
TEST_F(GuestPageTest, ABusyPageHoldsNoSendBack) {
  ASSERT_NO_FATAL_FAILURE(startWithEurotelPage(
      kReport + QStringLiteral("<p>Eurotel</p><script>setTimeout(() => {"
                               "const told = new XMLHttpRequest();"
                               "told.open('GET', '/report?what=busy', false); told.send();"
                               "const start = Date.now(); while (Date.now() - start < 30000) {}"
                               "report('done'); }, 300);</script>")));
  ASSERT_TRUE(reported(QStringLiteral("busy")));
  const auto answer = sendEmail();
  EXPECT_EQ(answer.caption, "Zpráva odeslána") << answer.text.toStdString();
  EXPECT_FALSE(reports().contains("done"));
}

TEST_F(GuestPageTest, AHiddenPagesDialogsNeverAppear) {
  ASSERT_NO_FATAL_FAILURE(startWithEurotelPage(
      kReport + QStringLiteral("<script>let round = 0; setInterval(() => { alert('Pozor');"
                               "report('confirm-' + confirm('Opravdu?'));"
                               "report('prompt-' + prompt('Heslo?', 'x'));"
                               "report('round-' + ++round); }, 50);</script>")));
  ASSERT_TRUE(reported(QStringLiteral("round-5")));
  EXPECT_TRUE(pageBoxes().isEmpty());
  EXPECT_TRUE(reports().contains("confirm-false"));
  EXPECT_TRUE(reports().contains("prompt-null"));
  const auto answer = sendEmail();
  EXPECT_EQ(answer.caption, "Zpráva odeslána") << answer.text.toStdString();
  EXPECT_TRUE(pageBoxes().isEmpty());
}

// A box the page put up and the user left open stops nothing: the engine goes on working, and
// a send is told as it ended.
TEST_F(GuestPageTest, AnAlertLeftOpenHoldsNoSendBack) {
  ASSERT_NO_FATAL_FAILURE(
      startWithEurotelPage(QStringLiteral("<script>document.onvisibilitychange = () => {"
                                          "if (!document.hidden) alert('Pozor'); };</script>"),
                           {QStringLiteral("--delay-ms"), QStringLiteral("2000")}));
  bool alertOpen = false;
  std::optional<bool> sentToldWhileAlertOpen;
  setMessageHandler([&](const MessageRequest& request) {
    messages.push_back(request);
    if (request.caption == "Zpráva odeslána") sentToldWhileAlertOpen = alertOpen;
    // The user leaves the page's box open until the send has been told.
    if (request.caption == "Eurotel" && pageBoxes().size() == 1) {
      alertOpen = true;
      waitUntil([&] { return sentToldWhileAlertOpen.has_value(); }, 20000);
      alertOpen = false;
    }
    return MessageAnswer::No;
  });
  fillEmailSend();
  QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
  main().btnEurotelClick();
  ASSERT_TRUE(waitUntil([&] { return sentToldWhileAlertOpen.has_value(); }, 20000));
  EXPECT_TRUE(*sentToldWhileAlertOpen);
  ASSERT_FALSE(pageBoxes().isEmpty());
  EXPECT_EQ(pageBoxes()[0].text, "Pozor");
}

TEST_F(GuestPageTest, AShownPageAsksInTheProgramsBoxTwiceUntilTheUserActsInIt) {
  ASSERT_NO_FATAL_FAILURE(startWithEurotelPage(
      kReport + QStringLiteral("<p id=text>Eurotel</p><script>let round = 0;"
                               "setInterval(() => { if (document.hidden) return;"
                               "report('confirm-' + confirm('Opravdu?'));"
                               "report('prompt-' + prompt('Heslo?', 'x'));"
                               "alert('<b>Pozor</b>'); report('round-' + ++round); }, 50);"
                               "</script>")));
  answers = {MessageAnswer::Yes};
  main().btnEurotelClick();
  ASSERT_TRUE(reported(QStringLiteral("round-10")));
  ASSERT_EQ(pageBoxes().size(), 2);
  // A question would stop the engine while it waited for the user: it is answered No at once.
  EXPECT_EQ(pageBoxes()[0].text, "Opravdu?\n\n(Stránka dostala odpověď Ne.)");
  EXPECT_EQ(pageBoxes()[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(pageBoxes()[1].text, "<b>Pozor</b>");
  EXPECT_EQ(pageBoxes()[1].buttons, MessageButtons::Ok);
  EXPECT_FALSE(reports().contains("confirm-true"));
  EXPECT_FALSE(reports().contains("prompt-x"));

  // The user clicks into the page: it may ask again, twice.
  page->click(QStringLiteral("#text"));
  EXPECT_TRUE(waitUntil([&] { return pageBoxes().size() == 4; }));
  // Five rounds more of the page's asking, and no box of them.
  const int round = page->run(QStringLiteral("round")).toInt();
  ASSERT_TRUE(reported(QStringLiteral("round-%1").arg(round + 5)));
  EXPECT_EQ(pageBoxes().size(), 4);
}

TEST_F(GuestPageTest, ThePageStaysOnTheGatewayWhateverItsScriptsDo) {
  ASSERT_NO_FATAL_FAILURE(startElsewhere());
  ASSERT_NO_FATAL_FAILURE(startWithEurotelPage(
      kReport +
      QStringLiteral("<meta http-equiv=refresh content='0; url=%1'>"
                     "<form id=form action='%2'><input name=x></form><script>"
                     "setTimeout(() => { location.href = '%3'; report('href'); }, 100);"
                     "setTimeout(() => { document.getElementById('form').submit();"
                     "report('form'); }, 200);"
                     "setTimeout(() => { location.href = 'mailto:jan@sms.cz';"
                     "window.open('%3'); report('mailto'); }, 300);</script>")
          .arg(elsewhereUrl("/refresh"), elsewhereUrl("/form"), elsewhereUrl("/href")) +
      // Nor does anything it fetches go anywhere else.
      QStringLiteral("<img src='%1'><iframe src='%2'></iframe><link rel=stylesheet href='%3'>"
                     "<script src='%4'></script><script>new Image().src = '%5';"
                     "fetch('%6').catch(() => {}); navigator.sendBeacon('%7', 'x');"
                     "new EventSource('%8'); new WebSocket('ws://%9/ws');</script>")
          .arg(elsewhereUrl("/img"), elsewhereUrl("/frame"), elsewhereUrl("/css"),
               elsewhereUrl("/js"), elsewhereUrl("/image"), elsewhereUrl("/f"),
               elsewhereUrl("/beacon"), elsewhereUrl("/es"), elsewhere->host())));
  DesktopOpener opener;
  main().btnEurotelClick();
  ASSERT_TRUE(reported(QStringLiteral("mailto")));
  waitForALaterReport();
  expectNothingElsewhere();
  EXPECT_TRUE(opener.opened().isEmpty());
  EXPECT_EQ(page->view()->url().path(), kEurotelPage);
}

// Whatever the page does, every connection of the engine goes through the gatekeeper, which
// lets through the gateway's alone: another host takes no connection at all.
TEST_F(GuestPageTest, NothingThePageDoesReachesAnotherHost) {
  ASSERT_NO_FATAL_FAILURE(startElsewhere());
  const QString other = elsewhere->host();
  QStringList options =
      served(QStringLiteral("/w.js"),
             QStringLiteral("onconnect = (e) => { const port = e.ports[0];"
                            "const socket = new WebSocket('ws://%1/worker-ws');"
                            "socket.onopen = () => port.postMessage('open');"
                            "socket.onerror = () => port.postMessage('closed'); };")
                 .arg(other));
  options += served(QStringLiteral("/d.js"),
                    QStringLiteral("fetch('http://%1/worker-fetch').then("
                                   "() => postMessage('fetched'), () => postMessage('refused'));")
                        .arg(other));
  for (int picture = 0; picture < 20; ++picture) {
    options << QStringLiteral("--redirect-path") << QStringLiteral("/obrazek%1").arg(picture)
            << QStringLiteral("http://%1/leak%2").arg(other).arg(picture);
  }
  options << QStringLiteral("--eurotel-header")
          << QStringLiteral("Link: <http://%1/>; rel=preconnect").arg(other);
  ASSERT_NO_FATAL_FAILURE(startWithEurotelPage(
      kReport +
          QStringLiteral(
              "<link rel=preconnect href='http://%1/'><p>Eurotel</p><script>"
              "let failed = 0; for (let n = 0; n < 20; ++n) { const picture = new Image();"
              "picture.onload = picture.onerror = () => { if (++failed == 20) report('pictures'); "
              "};"
              "picture.src = '/obrazek' + n; }"
              "const shared = new SharedWorker('/w.js');"
              "shared.port.onmessage = (e) => report('shared-' + e.data); shared.port.start();"
              "new Worker('/d.js').onmessage = (e) => report('worker-' + e.data);"
              "const peer = new RTCPeerConnection({iceTransportPolicy: 'relay', iceServers: [{"
              "urls: 'turn:%1?transport=tcp', username: 'u', credential: 'p'}]});"
              "peer.createDataChannel('x'); peer.onicegatheringstatechange = () => {"
              "if (peer.iceGatheringState == 'complete') report('real-time'); };"
              "peer.createOffer().then((offer) => peer.setLocalDescription(offer));</script>")
              .arg(other),
      options));
  for (const char* what : {"pictures", "shared-closed", "worker-refused", "real-time"}) {
    EXPECT_TRUE(reported(QString::fromLatin1(what), 30000)) << what;
  }
  waitForALaterReport();
  expectNothingElsewhere();
}

// The memory the program's own process takes, in bytes.
qint64 residentBytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  status.open(QIODevice::ReadOnly);
  const QByteArray text = status.readAll();
  return text.mid(text.indexOf("VmRSS:") + 6).simplified().split(' ').value(0).toLongLong() * 1024;
}

// The user's flags switch the engine's proxy off, the page never reads an endless answer: nothing
// reaches another host, the memory stays as it was, a send answered with bare line feeds is sent.
TEST_F(GuestPageTest, TheGatekeeperHoldsWhateverThePageAndTheUsersFlagsDo) {
  // On this computer's own address, which the engine's name rules leave to the gatekeeper.
  elsewhere = std::make_unique<GatewaySimulator>(QStringList{"--log-connections"});
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-proxy-server");
  QStringList options = served(
      QStringLiteral("/w.js"),
      QStringLiteral("onconnect = (e) => { const port = e.ports[0];"
                     "const socket = new WebSocket('ws://%1/ws');"
                     "socket.onopen = socket.onerror = (what) => port.postMessage(what.type); };")
          .arg(elsewhere->host()));
  options += {"--endless", "/endless", "--bare-line-feeds"};
  ASSERT_NO_FATAL_FAILURE(startWithEurotelPage(
      kReport + QStringLiteral(
                    "<script>function endless() { fetch('/endless').then(() => report('endless'));"
                    "const shared = new SharedWorker('/w.js'); shared.port.start();"
                    "shared.port.onmessage = (e) => report('socket-' + e.data); }</script>"),
      options));
  waitForALaterReport();
  const qint64 plain = residentBytes();
  page->run(QStringLiteral("endless()"));
  ASSERT_TRUE(reported(QStringLiteral("endless")));
  EXPECT_TRUE(reported(QStringLiteral("socket-error")));
  ASSERT_TRUE(waitUntil([&] { return simulator->answerHeld(); }, 30000));
  EXPECT_LE(residentBytes() - plain, 16 << 20);
  expectNothingElsewhere();
  const auto answer = sendEmail();
  EXPECT_EQ(answer.caption, "Zpráva odeslána") << answer.text.toStdString();
}

}  // namespace
}  // namespace movarek::testing
