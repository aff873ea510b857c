#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "addressbook/qt/contacts_dialog.h"
#include "app/qt/modem_page.h"
#include "common/qt/memo.h"
#include "contact_file.h"
#include "flat/qt/flat_edit.h"
#include "gateway_sim.h"
#include "test_clock.h"

namespace movarek::testing {
namespace {

constexpr auto kModemManager = "org.freedesktop.ModemManager1";
constexpr auto kErrors = "org.freedesktop.ModemManager1.Error.";

// The program with python3-dbusmock standing in for ModemManager (modem_manager_fake.py) on the
// test's own system bus; the program's clock stands at the test's time.
class ModemSession : public GatewayTest {
 protected:
  void SetUp() override {
    GatewayTest::SetUp();
    endWithTheTest(fake_);
    fake_.start(QStringLiteral("/usr/bin/python3"),
                {"-m", "dbusmock", "--system", "--template", MODEM_MANAGER_FAKE});
    ASSERT_TRUE(waitUntil([] {
      return QDBusConnection::systemBus().interface()->isServiceRegistered(kModemManager);
    }));
  }

  QDBusInterface mock(const QString& path = QStringLiteral("/org/freedesktop/ModemManager1")) {
    return QDBusInterface(kModemManager, path, QStringLiteral("org.freedesktop.DBus.Mock"),
                          QDBusConnection::systemBus());
  }
  QStringList calls() { return QDBusReply<QStringList>(mock().call(QStringLiteral("Calls"))); }

  QList<int> tabWidths() {
    QList<int> widths;
    for (QPushButton* tab :
         {main().btnSMStop, main().btnEurotel, main().btnOskar, main().modemPage().btnModem}) {
      if (!tab->isHidden()) widths << tab->width();
    }
    return widths;
  }

  // The page's fields filled (the numbers as they are, where none are given) and sent with
  // Ctrl+P; waits for the box that tells the outcome.
  void send(const QString& numbers, const QString& text) {
    ModemPage& page = main().modemPage();
    if (!numbers.isEmpty()) page.editCislo->setText(numbers);
    page.memoTextModem->setPlainText(text);
    const std::size_t shown = messages.size();
    QTest::keyClick(page.memoTextModem, Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return messages.size() > shown; }));
  }

  // The newest record's `columns`, once they read `expected`: the records are written in the
  // background.
  void expectLastRecord(const QString& columns, const QString& expected) {
    const auto read = [&] {
      return databaseRows("SELECT " + columns + " FROM sent_message ORDER BY id DESC LIMIT 1")
          .trimmed();
    };
    EXPECT_TRUE(waitUntil([&] { return read() == expected; }, 5000)) << read().toStdString();
  }

  TestClock clock{QDateTime(QDate(2027, 1, 4), QTime(10, 0)).toSecsSinceEpoch()};
  QProcess fake_;
};

TEST_F(ModemSession, AModemBringsItsPageAndEachSendEndsAsTheModemSays) {
  writeFile("kontakty.dat", std::string("\x02\x00", 2) +
                                contactRecord("Auto", "auto@sms.cz", "777 000 001") +
                                contactRecord("Banka", "banka@sms.cz", "601111222"));
  ASSERT_NO_FATAL_FAILURE(startProgramWithSimulator());
  ASSERT_NO_FATAL_FAILURE(showMain());
  const QSize size = main().size();
  EXPECT_EQ(tabWidths(), (QList<int>{123, 123, 123}));

  const QDBusObjectPath modem =
      QDBusReply<QDBusObjectPath>(mock().call(QStringLiteral("AddModem"), 8)).value();
  ASSERT_TRUE(waitUntil([&] { return main().modemPage().available(); }));
  EXPECT_EQ(tabWidths(), (QList<int>{92, 92, 92, 93}));
  EXPECT_EQ(main().size(), size);
  main().modemPage().btnModem->click();
  EXPECT_EQ(main().shownPage(), Page::Modem);
  // The counter counts as the modem sends, and names what makes it send in UCS-2.
  main().modemPage().memoTextModem->setPlainText(QStringLiteral("Ça va"));
  EXPECT_EQ(main().panelMezera->text(), "5 / 1");
  main().modemPage().memoTextModem->setPlainText(QStringLiteral("ça va"));
  EXPECT_EQ(main().panelMezera->accessibleDescription(),
            "Délka napsaného textu / počet zpráv, do kterých se text rozdělí. Znak „ç“ nemá místo "
            "v abecedě GSM, proto modem pošle celý text v kódování UCS-2: jedna zpráva pojme 70 "
            "znaků.");

  // The contacts dialog's OK puts the marked contacts' telephones here.
  setModalHandler({});
  TfrmKontakty& contacts = forms->kontakty();
  QTimer::singleShot(0, [&] {
    EXPECT_TRUE(QTest::qWaitForWindowActive(&contacts));
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Down, Qt::Key_Space, Qt::Key_Return}) {
      QTest::keyClick(contacts.listboxJmena, key);
    }
    if (contacts.isVisible()) contacts.reject();
  });
  QTest::keyClick(main().modemPage().memoTextModem, Qt::Key_K, Qt::ControlModifier);
  EXPECT_EQ(main().modemPage().editCislo->text(), "777 000 001; 601111222; ");

  // Sent: for each number one Create with the number in international form and the text, one
  // Send, and the message made on the modem deleted once its outcome is kept.
  mock().call(QStringLiteral("SetSendEffect"), QStringLiteral("sent"), 42u);
  ASSERT_NO_FATAL_FAILURE(send({}, QStringLiteral("Ahoj\nčau")));
  EXPECT_EQ(messages.back().text,
            "Zpráva byla úspěšně odeslána modemem.\nChcete vymazat text odeslané zprávy?");
  ASSERT_TRUE(waitUntil([&] { return calls().size() == 6; }));
  QStringList made = calls();
  made.sort();
  const QString sms = QStringLiteral("/org/freedesktop/ModemManager1/SMS/");
  EXPECT_EQ(made, (QStringList{"Create +420601111222 True Ahoj\nčau",
                               "Create +420777000001 True Ahoj\nčau", "Delete " + sms + "0",
                               "Delete " + sms + "1", "Send " + sms + "0", "Send " + sms + "1"}));
  expectLastRecord("page, route, addressees, text, state, reason, delivery, report_reference",
                   "modem|modem|+420601111222|Ahoj\nčau|sent||awaiting|42");

  // Each class of error: certainly not sent, or not known.
  const struct {
    QString error;
    QString told;
    QString kept;
  } failures[] = {
      {"MobileEquipment.SimPin",
       "Zprávu pro +420777123456 se nepodařilo odeslat modemem (SIM karta čeká na zadání PIN).\n"
       "Text zprávy zůstává v okně, můžete ji zkusit odeslat znovu.",
       "not-sent|modem MobileEquipment.SimPin"},
      {"Message.NetworkTimeout",
       "Není jisté, zda zpráva pro +420777123456 odešla z modemu (mobilní síť neodpověděla "
       "včas).\nZpráva mohla dorazit: než ji pošlete znovu, ověřte si, zda nepřišla.\nText "
       "zprávy zůstává v okně.",
       "uncertain|modem Message.NetworkTimeout"},
  };
  for (const auto& failure : failures) {
    mock().call(QStringLiteral("SetSendEffect"), kErrors + failure.error, 0u);
    ASSERT_NO_FATAL_FAILURE(send(QStringLiteral("+420777123456"), QStringLiteral("Ahoj")));
    EXPECT_EQ(messages.back().caption, "Chyba") << failure.error.toStdString();
    EXPECT_EQ(messages.back().text, failure.told) << failure.error.toStdString();
    expectLastRecord("state, reason", failure.kept);
  }

  // A Send that does not answer within its minute is not known to have gone; its real answer,
  // when it comes, is told and kept.
  mock().call(QStringLiteral("SetSendEffect"), QStringLiteral("silent"), 0u);
  const std::size_t before = messages.size();
  QTest::keyClick(main().modemPage().memoTextModem, Qt::Key_P, Qt::ControlModifier);
  ASSERT_TRUE(waitUntil([&] { return calls().last().startsWith("Send "); }));
  clock.moveOn(59);  // the minute's wait ends as the clock moves, not later
  EXPECT_EQ(messages.size(), before);
  clock.moveOn(1);
  ASSERT_TRUE(waitUntil([&] { return messages.size() > before; }));
  EXPECT_TRUE(messages.back().text.contains("modem do minuty neodpověděl"));
  mock().call(QStringLiteral("AnswerSilentSends"), 43u);
  ASSERT_TRUE(waitUntil([&] { return messages.size() > before + 1; }));
  EXPECT_EQ(messages.back().text,
            "Zpráva pro +420777123456, o které nebylo jisté, zda odešla, byla přece jen "
            "odeslána modemem.");
  expectLastRecord("state, report_reference", "sent|43");

  // The first message's report comes after a restart, and is matched all the same.
  ASSERT_NO_FATAL_FAILURE(restartProgram());
  mock().call(QStringLiteral("AddStatusReport"), QVariant::fromValue(modem), 42u,
              QStringLiteral("420777000001"), 0u, 100u);
  ASSERT_TRUE(waitUntil([&] {
    return databaseRows("SELECT delivery FROM sent_message WHERE id = 1").trimmed() == "delivered";
  }));
}

}  // namespace
}  // namespace movarek::testing
