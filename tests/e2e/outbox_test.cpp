#include "send/qt/outbox.h"

#include <sqlite3.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDateTimeEdit>
#include <QPushButton>
#include <QTreeView>

#include "gateway_sim.h"
#include "send/qt/plan_dialog.h"
#include "send/qt/sent_messages_window.h"
#include "test_clock.h"

namespace movarek::testing {
namespace {

// The program's clock stands at the test's time, moved on by the test; the desktop's
// notifications go to python3-dbusmock's notification daemon on the test's own D-Bus session, and
// its NetworkManager, on the same bus as the system's, tells whether the network is there.
class OutboxSession : public GatewayTest {
 protected:
  void SetUp() override {
    GatewayTest::SetUp();
    endWithTheTest(notifications_);
    notifications_.start(QStringLiteral("/usr/bin/python3"),
                         {"-m", "dbusmock", "--template", "notification_daemon", "-l",
                          QString::fromStdString(filePath("notifications.log"))});
    endWithTheTest(network_);
    network_.start(QStringLiteral("/usr/bin/python3"),
                   {"-m", "dbusmock", "--template", "networkmanager"});
    ASSERT_TRUE(waitUntil([] {
      return QDBusConnection::sessionBus().interface()->isServiceRegistered(
                 QStringLiteral("org.freedesktop.Notifications")) &&
             QDBusConnection::systemBus().interface()->isServiceRegistered(
                 QStringLiteral("org.freedesktop.NetworkManager"));
    }));
  }

  // NetworkManager's state: 20 disconnected, 70 on the internet.
  void networkTurns(quint32 state) {
    QDBusMessage set = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.NetworkManager"), QStringLiteral("/org/freedesktop"),
        QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("SetGlobalConnectionState"));
    set << state;
    EXPECT_EQ(QDBusConnection::systemBus().call(set).type(), QDBusMessage::ReplyMessage);
  }

  QList<LoggedRequest> sends() const {
    QList<LoggedRequest> sends;
    for (const LoggedRequest& request : simulator->requests())
      if (request.values.contains("zprava")) sends << request;
    return sends;
  }

  // Plans what the e-mail page holds, for `due`, as the user does with Ctrl+Shift+P.
  void planFor(std::int64_t due) {
    onModal = [due](QDialog& dialog) {
      auto& plan = dynamic_cast<PlanDialog&>(dialog);
      plan.offer(due);
      plan.btnNaplanovat->click();
      return plan.result();
    };
    pressPlanLater();
  }

  // Ctrl+Shift+P; the question to clear the text comes once the plan is stored.
  void pressPlanLater() {
    const std::size_t shown = messages.size();
    QTest::keyClick(main().memoText, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(waitUntil([&] {
      return messages.size() > shown && messages.back().caption == "Zpráva naplánována";
    }));
  }

  QString notified() const {
    QFile log(QString::fromStdString(filePath("notifications.log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
  }

  TestClock clock{QDateTime(QDate(2027, 1, 4), QTime(10, 0)).toSecsSinceEpoch()};
  QProcess notifications_;
  QProcess network_;
};

}  // namespace

// First: Qt listens to the NetworkManager there is at the program's first start, once a process.
TEST_F(OutboxSession, APlanHeldByALockOrCancelledTooLateGoesOnceAndAWaitingOneAsTheNetworkIsBack) {
  const std::int64_t start = clock.now();
  ASSERT_NO_FATAL_FAILURE(restartProgram());
  const QString port = simulator->host().section(QLatin1Char(':'), 1);

  // Due while another program holds the file: told once five minutes after its time, it goes
  // once that program lets go, listed as of when it went (the newest id, its time).
  fillEmailSend(QStringLiteral("jan@sms.cz"), QStringLiteral("Drzeno"));
  ASSERT_NO_FATAL_FAILURE(planFor(start + 60));
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(filePath("movarek.db").c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  for (const std::int64_t at : {start + 60, start + 90, start + 360, start + 390}) {
    clock.moveTo(at);
    waitForTheDatabase();
  }
  sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_TRUE(sends().isEmpty());
  const QString held = QStringLiteral(
                           "Naplánovanou zprávu pro jan@sms.cz zatím nelze odeslat: soubor %1 "
                           "právě používá jiný program. Program to zkouší dál.")
                           .arg(QString::fromStdString(filePath("movarek.db")));
  EXPECT_EQ(std::ranges::count(messages, held, &MessageRequest::text), 1);
  clock.moveTo(start + 420);
  EXPECT_TRUE(waitUntil([&] { return messages.back().caption == "Zpráva odeslána"; }));
  main().outbox().sendNow(1);  // as listed before it went
  waitForTheDatabase();
  EXPECT_EQ(messages.back().text,
            "Zprávu nelze odeslat hned: program ji už odeslal, nebo byla smazána.");
  EXPECT_EQ(sends().size(), 1);

  // Sends that never left wait for the network, their texts offered for clearing, and
  // "Poslat!" of the same again asks first: Yes sends it now, the other goes once the network is.
  simulator.reset();
  for (const char* text : {"Az bude sit", "Hned"}) {
    fillEmailSend(QStringLiteral("jan@sms.cz"), QString::fromUtf8(text));
    answers = {MessageAnswer::Yes, MessageAnswer::No};
    const auto shown = messages.size();
    QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return messages.size() == shown + 2; }));
    waitForTheDatabase();
  }
  EXPECT_EQ(messages.back().text,
            "Zpráva čeká na síť a odejde sama, jakmile to půjde.\nChcete vymazat text čekající "
            "zprávy?");
  ASSERT_NO_FATAL_FAILURE(startSimulator({"--port", port, "--delay-ms", "3000"}));
  for (const auto answer : {MessageAnswer::No, MessageAnswer::Yes}) {
    answers = {answer};
    QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
    EXPECT_EQ(messages.back(),
              (MessageRequest{"Tato zpráva čeká na síť a odejde sama, jakmile to "
                              "půjde. Odeslat ji přesto hned?",
                              "Zpráva čeká na síť", MessageButtons::YesNoDefaultNo}));
  }
  EXPECT_TRUE(waitUntil([&] { return sends().size() == 1; }));
  networkTurns(20);
  networkTurns(70);
  EXPECT_TRUE(waitUntil([&] { return sends().size() == 2; }));

  // Deleted while its send is under way: it stays, and ends as the send does.
  fillEmailSend(QStringLiteral("jan@sms.cz"), QStringLiteral("Pozde"));
  ASSERT_NO_FATAL_FAILURE(planFor(start + 480));
  workDialog(forms->odeslane(), Qt::Key_H, [&](SentMessagesWindow& window) {
    clock.moveTo(start + 480);
    EXPECT_TRUE(waitUntil([&] { return sends().size() == 3; }));
    waitForTheDatabase();
    answers = {MessageAnswer::Yes};
    window.btnSmazat->click();
    EXPECT_TRUE(waitUntil([&] {
      return messages.back().text == "Zprávu už nelze zrušit: program ji začal odesílat.";
    }));
  });
  EXPECT_TRUE(waitUntil([&] {
    return databaseRows("SELECT text, state FROM sent_message ORDER BY id") ==
           "Drzeno|sent\nHned|sent\nAz bude sit|sent\nPozde|sent\n";
  }));
  EXPECT_EQ(databaseRows("SELECT sent_at FROM sent_message WHERE id = 2"),
            QStringLiteral("%1\n").arg(start + 420));
}

TEST_F(OutboxSession, APlannedMessageGoesOnceAtItsTimeAndAMissedOneOnlyWhenAsked) {
  const std::int64_t start = clock.now();
  ASSERT_NO_FATAL_FAILURE(restartProgram());
  ASSERT_NO_FATAL_FAILURE(showMain());
  fillEmailSend(QStringLiteral("jan@sms.cz"), QStringLiteral("Za minutu"));
  QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
  ASSERT_TRUE(
      waitUntil([&] { return databaseRows("SELECT state FROM sent_message") == "sent\n"; }));

  // A time gone is refused in the dialog; the message is checked now and kept as planned.
  onModal = [&](QDialog& dialog) {
    auto& plan = dynamic_cast<PlanDialog&>(dialog);
    EXPECT_EQ(plan.windowTitle(), "Odeslat později");
    plan.offer(start - 60);
    plan.btnNaplanovat->click();
    EXPECT_EQ(messages.back().text, "Zvolený čas už uplynul. Zvolte čas, který teprve přijde.");
    plan.offer(start + 60);
    plan.btnNaplanovat->click();
    return plan.result();
  };
  ASSERT_NO_FATAL_FAILURE(pressPlanLater());
  EXPECT_EQ(messages.back().text,
            "Zpráva je naplánována na 04.01.2027 10:01.\nChcete vymazat text naplánované zprávy?");
  waitForTheDatabase();
  EXPECT_EQ(databaseRows("SELECT state, due_at FROM sent_message"),
            QStringLiteral("sent|0\nplanned|%1\n").arg(start + 60));

  // The user works elsewhere; the message goes within half a minute of its time, once, as the
  // page sent it, and leaves what is being written alone.
  main().showMinimized();
  QWidget elsewhere;
  elsewhere.show();
  elsewhere.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
  main().memoText->setPlainText(QStringLiteral("Rozepsaná"));
  clock.moveTo(start + 59);
  waitForTheDatabase();
  EXPECT_EQ(sends().size(), 1);
  clock.moveTo(start + 85);
  EXPECT_TRUE(waitUntil([&] {
    return notified().contains(
        "Notify \"SMS Movarek\" 0 \"cz.vertanix.SmsMovarek\" \"SMS Movarek\" \"Naplánovaná "
        "zpráva pro jan@sms.cz byla odeslána.\"");
  }));
  clock.moveTo(start + 600);
  waitForTheDatabase();
  ASSERT_EQ(sends().size(), 2);
  EXPECT_EQ(sends()[1].target(), sends()[0].target());
  EXPECT_EQ(main().memoText->toPlainText(), "Rozepsaná");
  EXPECT_TRUE(waitUntil([&] {
    return databaseRows("SELECT state, length(request) FROM sent_message") == "sent|0\nsent|0\n";
  }));

  // Planned again, the program closed (asked first) and started after the time.
  ASSERT_NO_FATAL_FAILURE(showMain());
  main().memoText->setPlainText(QStringLiteral("Za minutu"));
  ASSERT_NO_FATAL_FAILURE(planFor(start + 660));
  clock.moveOn(10);  // the ten seconds after the last send are over
  answers = {MessageAnswer::Yes};
  EXPECT_TRUE(main().close());
  EXPECT_EQ(messages.back().caption, "Naplánované zprávy");
  EXPECT_EQ(messages.back().text,
            "Naplánované zprávy (1) se odešlou, jen když program běží.\n"
            "Chcete program přesto ukončit?");
  clock.standAt(start + 60 * 60);
  ASSERT_NO_FATAL_FAILURE(restartProgram());
  ASSERT_TRUE(waitUntil([&] { return messages.back().caption == "Naplánované zprávy"; }));
  EXPECT_EQ(messages.back().text,
            "Tyto naplánované zprávy se měly odeslat, když program neběžel nebo počítač spal:\n"
            "– 04.01.2027 10:11, jan@sms.cz: Za minutu\n"
            "Odeslat je hned? (Jinak zůstanou v odeslaných zprávách jako zmeškané.)");
  EXPECT_TRUE(waitUntil(
      [&] { return databaseRows("SELECT state FROM sent_message WHERE id = 4") == "missed\n"; }));
  EXPECT_TRUE(sends().isEmpty());

  // The missed one goes from the list, with "Odeslat hned".
  workDialog(forms->odeslane(), Qt::Key_H, [&](SentMessagesWindow& window) {
    waitForTheDatabase();
    const QModelIndex first = window.listZpravy->model()->index(0, 3);
    EXPECT_EQ(first.data().toString(), "zmeškáno");
    window.listZpravy->selectionModel()->setCurrentIndex(
        first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    window.btnOdeslatHned->click();
    EXPECT_TRUE(waitUntil([&] { return sends().size() == 1; }));
  });
  // Listed as the newest, since it went last.
  EXPECT_TRUE(waitUntil(
      [&] { return databaseRows("SELECT state FROM sent_message WHERE id = 5") == "sent\n"; }));
}

}  // namespace movarek::testing
