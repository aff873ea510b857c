#include "app/qt/outbox.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDateTimeEdit>
#include <QPushButton>
#include <QTreeView>

#include "app/qt/plan_dialog.h"
#include "common/qt/program_clock.h"
#include "gateway_sim.h"
#include "send/qt/sent_messages_window.h"

namespace movarek::testing {
namespace {

// The program's clock stands at the test's time, moved on by the test; the desktop's
// notifications go to python3-dbusmock's notification daemon on the test's own D-Bus session.
class OutboxSession : public GatewayTest {
 protected:
  void SetUp() override {
    GatewayTest::SetUp();
    ProgramClock::instance().standIn([this] { return now; });
    notifications_.start(QStringLiteral("/usr/bin/python3"),
                         {"-m", "dbusmock", "--template", "notification_daemon", "-l",
                          QString::fromStdString(filePath("notifications.log"))});
    endWithTheTest(notifications_);
    ASSERT_TRUE(waitUntil([] {
      return QDBusConnection::sessionBus().interface()->isServiceRegistered(
          QStringLiteral("org.freedesktop.Notifications"));
    }));
  }

  void TearDown() override {
    GatewayTest::TearDown();
    ProgramClock::instance().standIn({});
  }

  void moveClockTo(std::int64_t time) {
    now = time;
    ProgramClock::instance().movedOn();
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

  std::int64_t now = QDateTime(QDate(2027, 1, 4), QTime(10, 0)).toSecsSinceEpoch();
  QProcess notifications_;
};

}  // namespace

TEST_F(OutboxSession, APlannedMessageGoesOnceAtItsTimeAndAMissedOneOnlyWhenAsked) {
  const std::int64_t start = now;
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
  moveClockTo(start + 59);
  waitForTheDatabase();
  EXPECT_EQ(sends().size(), 1);
  moveClockTo(start + 85);
  EXPECT_TRUE(waitUntil([&] {
    return notified().contains(
        "Notify \"SMS Movarek\" 0 \"cz.vertanix.SmsMovarek\" \"SMS Movarek\" \"Naplánovaná "
        "zpráva pro jan@sms.cz byla odeslána.\"");
  }));
  moveClockTo(start + 600);
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
  main().timerVypnutiTimer();  // the first send's ten seconds are over
  answers = {MessageAnswer::Yes};
  EXPECT_TRUE(main().close());
  EXPECT_EQ(messages.back().caption, "Naplánované zprávy");
  EXPECT_EQ(messages.back().text,
            "Naplánované zprávy (1) se odešlou, jen když program běží.\n"
            "Chcete program přesto ukončit?");
  now = start + 60 * 60;
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
