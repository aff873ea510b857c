// The gateway's Eurotel page as a guest: whatever its scripts do, sends are told truthfully, no
// box of the page holds the window, the page stays on the gateway and gets nothing of the
// user's computer.
#include <signal.h>
#include <unistd.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QToolTip>
#include <algorithm>

#include "common/qt/memo.h"
#include "eurotel_page.h"
#include "gateway_sim.h"

namespace movarek::testing {
namespace {

const QString kEurotelPage = QStringLiteral("/eurotel_nova2.php");

// Stands in for the desktop's opener of web and mail addresses: an xdg-open first on the path,
// which writes down each address it is given and the environment it was started with.
class DesktopOpener {
 public:
  DesktopOpener() : path_(qgetenv("PATH")) {
    QFile script(folder_.filePath(QStringLiteral("xdg-open")));
    EXPECT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(
        "#!/bin/sh\nenv > \"$(dirname \"$0\")/environment\"\n"
        "echo \"$1\" >> \"$(dirname \"$0\")/opened\"\n");
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", QFile::encodeName(folder_.path()) + ':' + path_);
  }
  ~DesktopOpener() { qputenv("PATH", path_); }

  QList<QUrl> opened() const {
    QList<QUrl> urls;
    for (const QString& line : read(QStringLiteral("opened")).split('\n', Qt::SkipEmptyParts)) {
      urls << QUrl(line);
    }
    return urls;
  }
  // The variables as the last program started got them, one "NAME=value" a line.
  QStringList environment() const { return read(QStringLiteral("environment")).split('\n'); }

 private:
  QString read(const QString& name) const {
    QFile file(folder_.filePath(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }

  QTemporaryDir folder_;
  QByteArray path_;
};

class GuestPageTest : public GatewayTest {
 protected:
  void TearDown() override {
    GatewayTest::TearDown();
    elsewhere.reset();
  }

  // A second host on another loopback address, where nothing of the page may go: not even a
  // connection is taken there.
  void startElsewhere() {
    elsewhere = std::make_unique<GatewaySimulator>(
        QStringList{QStringLiteral("--address"), QStringLiteral("127.0.0.2"),
                    QStringLiteral("--log-connections")});
    ASSERT_TRUE(elsewhere->running());
  }

  void expectNothingElsewhere() const {
    EXPECT_EQ(elsewhere->connections(), 0);
    EXPECT_TRUE(elsewhere->requests().isEmpty())
        << targetsOf(elsewhere->requests()).join(' ').toStdString();
  }

  QString elsewhereUrl(const QString& path) const {
    return QStringLiteral("http://") + elsewhere->host() + path;
  }

  // The program with `html` as the gateway's Eurotel page, the simulator run with `options`;
  // the page is loaded when this returns.
  void startWithEurotelPage(const QString& html, const QStringList& options = {}) {
    QFile file(pageFolder_.filePath(QStringLiteral("eurotel.html")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(html.toUtf8());
    file.close();
    ASSERT_NO_FATAL_FAILURE(startProgramWithSimulator(
        QStringList{QStringLiteral("--eurotel-page"), file.fileName()} + options));
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    ASSERT_EQ(simulator->waitForRequests(2).size(), 2);
    ASSERT_TRUE(waitUntil([&] { return main().webEurotel->width() > 0; }));
    page = std::make_unique<EurotelPage>(*main().webEurotel);
  }

  // A file the gateway serves at `path` besides the page: the simulator's options for it.
  QStringList served(const QString& path, const QString& content) {
    QFile file(pageFolder_.filePath(QString(path).remove(QLatin1Char('/'))));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content.toUtf8());
    return {QStringLiteral("--serve"), path, file.fileName()};
  }

  // What the page told the gateway with "/report?what=...", in order.
  QStringList reports() const {
    QStringList told;
    for (const auto& request : simulator->requests()) {
      if (request.path == "/report") told << request.values.value(QStringLiteral("what"));
    }
    return told;
  }

  bool reported(const QString& what, int timeoutMs = 10000) const {
    return waitUntil([&] { return reports().contains(what); }, timeoutMs);
  }

  // The boxes the page brought up.
  QList<MessageRequest> pageBoxes() const {
    QList<MessageRequest> boxes;
    for (const auto& box : messages) {
      if (box.caption == "Eurotel") boxes << box;
    }
    return boxes;
  }

  // Sends from the e-mail page and waits for what the program says.
  MessageRequest sendEmail() {
    main().btnSMStopClick();
    fillEmailSend();
    const auto before = messages.size();
    QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return messages.size() > before; }, 15000));
    return messages.size() > before ? messages.back() : MessageRequest{};
  }

  // The page reports once more when told to: what it did before has been done by then.
  void waitForALaterReport() {
    static int later = 0;
    const QString what = QStringLiteral("later-%1").arg(++later);
    page->run(QStringLiteral("report('%1')").arg(what));
    EXPECT_TRUE(reported(what));
  }

  QTemporaryDir pageFolder_;
  std::unique_ptr<GatewaySimulator> elsewhere;
  std::unique_ptr<EurotelPage> page;
};

// Tells the gateway what happened: /report?what=...
const QString kReport = QStringLiteral(
    "<script>function report(what) { new Image().src = '/report?what=' + "
    "encodeURIComponent(what); }</script>");

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

// Only the user's own mouse click on a link opens it outside, after a question that shows the
// whole address; the program started gets the user's environment, not the engine's.
TEST_F(GuestPageTest, ALinkTheUserClicksOpensOutsideAndNothingElseDoes) {
  // Only handed to the stand-in opener: nothing goes there.
  const QString kOutside = QStringLiteral("http://198.51.100.7");
  char ownName[256] = {};
  ::gethostname(ownName, sizeof ownName - 1);
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--users-own");
  qunsetenv("QT_XCB_GL_INTEGRATION");
  ASSERT_NO_FATAL_FAILURE(startWithEurotelPage(
      QStringLiteral("<a id=out href='%1'>ven</a> <a id=window href='%2' target=_blank>"
                     "okno</a> <a id=mail href='mailto:jan@sms.cz'>mail</a> "
                     "<a id=posing href='http://www.banka.cz@198.51.100.7/x'>banka</a> "
                     "<a id=unknown href='http://neexistuje.invalid/'>nikde</a> "
                     "<a id=other href='ftp://127.0.0.2/x'>ftp</a> "
                     "<a id=router href='http://192.168.1.1/'>router</a> "
                     "<a id=dotted href='http://LOCALHOST.:8080/'>localhost</a> "
                     "<a id=own href='http://%4/'>tento pocitac</a> "
                     "<a id=single href='http://tiskarna/'>tiskarna</a> "
                     "<a id=hidden href='%3'></a><input id=field><script>"
                     "document.getElementById('field').onkeydown = (key) => {"
                     "if (key.key == ' ') { hidden.focus(); hidden.click(); }"
                     "location.href = 'mailto:eva@sms.cz'; window.open('%2'); };</script>")
          .arg(kOutside + "/odkaz", kOutside + "/okno", kOutside + "/skryty",
               QString::fromLatin1(ownName))));
  DesktopOpener opener;
  answers = {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::No,
             MessageAnswer::Yes};
  main().btnEurotelClick();
  const QString local =
      QStringLiteral(", tedy na tento počítač nebo do místní sítě.\nProgram ho neotevře.");
  const QStringList told{
      "Otevřít v prohlížeči?\n\n198.51.100.7\n\n" + kOutside + "/odkaz",
      "Otevřít v prohlížeči?\n\n198.51.100.7\n\n" + kOutside + "/okno",
      "Otevřít v poštovním programu?\n\nKomu: jan@sms.cz",
      // Never the name before "@", which could pass for the server.
      "Otevřít v prohlížeči?\n\n198.51.100.7\n\n" + kOutside + "/x",
      // Asked while it is looked up; Yes, and where it leads is not known.
      "Otevřít v prohlížeči?\n\nneexistuje.invalid\n\nhttp://neexistuje.invalid/",
      "Nepodařilo se ověřit, kam odkaz na neexistuje.invalid vede.\nProgram ho neotevře.",
      // Refused at once: this computer, under any of its names, its network, a single name.
      "Odkaz vede na 192.168.1.1" + local,
      "Odkaz vede na localhost" + local,
      "Odkaz vede na " + QString::fromLatin1(ownName).toLower() + local,
      "Odkaz vede na tiskarna, což není adresa v internetu.\nProgram ho neotevře.",
  };
  int expected = 0;
  for (const char* link : {"#out", "#window", "#mail", "#posing", "#unknown", "#other", "#router",
                           "#dotted", "#own", "#single"}) {
    page->click(QString::fromLatin1(link));
    if (QByteArray(link) == "#other") continue;  // no box: it is not for the desktop to open
    expected += QByteArray(link) == "#unknown" ? 2 : 1;
    ASSERT_TRUE(waitUntil([&] { return pageBoxes().size() == expected; })) << link;
  }
  page->click(QStringLiteral("#field"));
  QTest::keyClicks(page->input(), QStringLiteral("a b"));
  QTest::keyClick(page->input(), Qt::Key_Space);
  // A later click that asks: whatever the clicks and keys before it did has been done.
  answers = {MessageAnswer::No};
  page->click(QStringLiteral("#out"));
  ASSERT_TRUE(waitUntil([&] { return pageBoxes().size() == told.size() + 1; }));
  for (int i = 0; i < told.size(); ++i) {
    EXPECT_EQ(pageBoxes()[i].text, told[i]);
    EXPECT_EQ(pageBoxes()[i].buttons,
              told[i].startsWith("Otevřít") ? MessageButtons::YesNoDefaultNo : MessageButtons::Ok);
  }
  EXPECT_EQ(opener.opened(), (QList<QUrl>{QUrl(kOutside + "/odkaz"), QUrl(kOutside + "/okno")}));
  EXPECT_TRUE(opener.environment().contains("QTWEBENGINE_CHROMIUM_FLAGS=--users-own"));
  EXPECT_FALSE(opener.environment().join('\n').contains("QT_XCB_GL_INTEGRATION"));
  EXPECT_EQ(page->view()->url().path(), kEurotelPage);
}

// A page whose renderer ends comes back; one that ends again at once is told as stopped and
// comes back when the user asks.
TEST_F(GuestPageTest, ADeadPageComesBack) {
  ASSERT_NO_FATAL_FAILURE(startWithEurotelPage(QStringLiteral("<p>Eurotel</p>")));
  main().btnEurotelClick();
  const auto pageLoads = [&] { return targetsOf(simulator->requests()).count(kEurotelPage); };
  const auto endRenderer = [&] { ::kill(page->view()->page()->renderProcessPid(), SIGKILL); };
  const auto shown = [&](qsizetype loads) {
    return waitUntil([&] { return pageLoads() == loads && main().webEurotel->width() > 0; });
  };
  endRenderer();
  ASSERT_TRUE(shown(2));
  EXPECT_EQ(page->text(), "Eurotel");

  endRenderer();
  ASSERT_TRUE(waitUntil(
      [&] { return main().panelWebEurotel->text() == "Stránka Eurotel přestala fungovat."; }));
  EXPECT_EQ(main().webEurotel->width(), 0);
  auto* reload = main().panelWebEurotel->findChild<QPushButton*>();
  ASSERT_NE(reload, nullptr);
  EXPECT_TRUE(reload->isVisible());
  EXPECT_EQ(reload->text(), "Načíst znovu");
  // Loaded once more only at the click: a load of its own would have come before it.
  QTest::mouseClick(reload, Qt::LeftButton);
  ASSERT_TRUE(shown(3));
  EXPECT_FALSE(reload->isVisible());
  EXPECT_EQ(page->text(), "Eurotel");
}

TEST_F(GuestPageTest, ThePageGetsNoPermissionNoDownloadAndNoRichTooltip) {
  ASSERT_NO_FATAL_FAILURE(startWithEurotelPage(
      kReport +
      QStringLiteral(
          "<p id=text title='<b>tučně</b>'>Eurotel</p><a id=file href='/download'>soubor</a>"
          "<script>const answer = (what) => [() => report(what + '-granted'),"
          "  (e) => report(what + '-' + (e.name || e.code))];"
          "Notification.requestPermission().then((r) => report('notifications-' + r));"
          "navigator.geolocation.getCurrentPosition(...answer('geolocation'));"
          "navigator.mediaDevices.getUserMedia({audio: true, video: true})"
          "  .then(...answer('media'));"
          "document.getElementById('text').onclick = () => {"
          "  document.documentElement.requestFullscreen().then(...answer('fullscreen'));"
          "  navigator.clipboard.readText().then(...answer('clipboard'));"
          "  navigator.mediaDevices.getDisplayMedia({video: true}).then(...answer('screen'));"
          "  document.onpointerlockerror = () => report('pointerlock-denied');"
          "  document.onpointerlockchange = () => report('pointerlock-granted');"
          "  document.body.requestPointerLock(); };</script>")));
  main().btnEurotelClick();
  page->click(QStringLiteral("#text"));
  // A machine without a camera or a microphone says so before anything is asked.
  const QStringList expected{"notifications-denied",
                             "geolocation-1",
                             "media-NotAllowedError|media-NotFoundError",
                             "fullscreen-TypeError",
                             "clipboard-NotAllowedError",
                             "screen-NotAllowedError",
                             "pointerlock-denied"};
  for (const auto& answers : expected) {
    const QStringList either = answers.split('|');
    EXPECT_TRUE(waitUntil([&] {
      return std::any_of(either.begin(), either.end(),
                         [&](const QString& answer) { return reports().contains(answer); });
    })) << answers.toStdString();
  }
  EXPECT_TRUE(pageBoxes().isEmpty());

  // Hovered, the title shows as the text it is.
  ASSERT_TRUE(waitUntil([&] { return !page->view()->toolTip().isEmpty(); }));
  QHelpEvent hover(QEvent::ToolTip, page->centreOf("#text"),
                   page->view()->mapToGlobal(page->centreOf("#text")));
  QApplication::sendEvent(page->view(), &hover);
  QTextDocument shown;
  shown.setHtml(QToolTip::text());
  EXPECT_EQ(shown.toPlainText(), "<b>tučně</b>");

  const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
  const QStringList downloadedBefore = QDir(downloads).entryList(QDir::Files);
  page->click(QStringLiteral("#file"));
  ASSERT_TRUE(waitUntil([&] { return targetsOf(simulator->requests()).contains("/download"); }));
  waitForALaterReport();
  EXPECT_EQ(QDir(downloads).entryList(QDir::Files), downloadedBefore);
  EXPECT_EQ(QDir(folderPath()).entryList(QDir::Files), QStringList{});
  EXPECT_EQ(page->view()->url().path(), kEurotelPage);
}

// The items of the menu that a right click on the element brings up, "-" for a separator and
// "(off)" after an item that is not enabled; the menu is closed again.
QStringList contextMenuOf(const EurotelPage& page, const QString& selector) {
  page.click(selector, Qt::RightButton);
  QMenu* menu = nullptr;
  EXPECT_TRUE(waitUntil([&] {
    menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    return menu != nullptr;
  })) << selector.toStdString();
  if (!menu) return {};
  QStringList items;
  for (const QAction* action : menu->actions()) {
    items << (action->isSeparator() ? QStringLiteral("-")
                                    : action->text() + (action->isEnabled() ? "" : " (off)"));
  }
  menu->close();
  return items;
}

TEST_F(GuestPageTest, TheContextMenuIsCzechWithWhatWorksThere) {
  ASSERT_NO_FATAL_FAILURE(startWithEurotelPage(
      QStringLiteral("<input id=field value='Ahoj'><br><a id=link href='/jinam'>odkaz</a>"
                     "<p id=plain>Prostý text</p>")));
  main().btnEurotelClick();
  QApplication::clipboard()->setText(QStringLiteral("schránka"));
  EXPECT_EQ(contextMenuOf(*page, QStringLiteral("#field")),
            (QStringList{"Zpět (off)", "Znovu (off)", "-", "Vyjmout (off)", "Kopírovat (off)",
                         "Vložit", "-", "Vybrat vše"}));
  EXPECT_EQ(contextMenuOf(*page, QStringLiteral("#link")), QStringList{"Kopírovat adresu odkazu"});
  EXPECT_EQ(contextMenuOf(*page, QStringLiteral("#plain")), QStringList{"Načíst znovu"});
  page->run(QStringLiteral("getSelection().selectAllChildren(document.getElementById('plain'))"));
  EXPECT_EQ(contextMenuOf(*page, QStringLiteral("#plain")), QStringList{"Kopírovat"});
}

// The views are drawn in software, OpenGL left unloaded: the page must still reach the screen.
TEST_F(GuestPageTest, ThePageReachesTheScreen) {
  ASSERT_NO_FATAL_FAILURE(
      startWithEurotelPage(QStringLiteral("<body style='background: rgb(0, 0, 128)'></body>")));
  main().btnEurotelClick();
  const QColor navy(0, 0, 128);
  const auto onScreen = [&] {
    const QRect area(main().webEurotel->mapTo(&main(), QPoint()), main().webEurotel->size());
    return main()
        .screen()
        ->grabWindow(main().winId(), area.x(), area.y(), area.width(), area.height())
        .toImage();
  };
  EXPECT_TRUE(waitUntil([&] {
    const QImage shown = onScreen();
    return shown.pixelColor(shown.rect().center()) == navy &&
           shown.pixelColor(5, shown.height() - 5) == navy;
  }));
}

// The page says in Czech why the gateway could not be reached.
TEST_F(GuestPageTest, AnUnreachableGatewayIsToldInCzech) {
  setGatewayHost("127.0.0.1:" + std::to_string(closedPort()));
  startProgram();
  ASSERT_NO_FATAL_FAILURE(showMain());
  main().btnEurotelClick();
  ASSERT_TRUE(waitUntil([&] { return main().webEurotel->width() > 0; }));
  EurotelPage unreachable(*main().webEurotel);
  EXPECT_TRUE(waitUntil([&] {
    return unreachable.text() ==
           QStringLiteral("Stránku SMS centra Vertanix nelze načíst: server odmítl spojení.");
  })) << unreachable.text().toStdString();
}

}  // namespace
}  // namespace movarek::testing
