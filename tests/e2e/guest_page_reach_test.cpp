// The gateway's Eurotel page as a guest: it gets nothing of the user's computer, its links open
// outside only at the user's click, and what goes wrong with it is told in Czech.
#include <signal.h>
#include <unistd.h>

#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTextDocument>
#include <QToolTip>
#include <algorithm>

#include "guest_page_fixture.h"

namespace movarek::testing {
namespace {

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
