#include "send/qt/modem_manager.h"

#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "app/program_schema.h"
#include "child_process.h"
#include "common/program_folder.h"
#include "common/qt/program_database.h"
#include "send/qt/delivery_reports.h"
#include "send/qt/modem_bus.h"
#include "send/qt/send_recorder.h"
#include "send/sent_delivery.h"
#include "test_clock.h"

namespace movarek::testing {
namespace {

const QString kModem = QStringLiteral("/org/freedesktop/ModemManager1/Modem/0");

// A system bus of the test's own, where python3-dbusmock stands in for ModemManager
// (tests/support/modem_manager_fake.py); the program's clock stands still until moved.
class ModemManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bus_.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
    endWithTheTest(bus_);
    ASSERT_TRUE(bus_.waitForReadyRead(10000));
    const QString address = QString::fromUtf8(bus_.readLine()).trimmed();
    connection_.emplace(QDBusConnection::connectToBus(address, QStringLiteral("fake-system")));
    client_.emplace();
    for (const auto told : {&ModemManager::sendEnded, &ModemManager::sendAnsweredLate}) {
      QObject::connect(&*client_, told, [this](quint64, const ModemSendEnd& end) { ends << end; });
    }
    client_->start(*connection_);  // before ModemManager comes: it is seen coming
    fake_.setEnvironment(QProcess::systemEnvironment() << "DBUS_SYSTEM_BUS_ADDRESS=" + address);
    fake_.start(QStringLiteral("/usr/bin/python3"),
                {"-m", "dbusmock", "--system", "--template", MODEM_MANAGER_FAKE});
    endWithTheTest(fake_);
    ASSERT_TRUE(waitFor(
        [this] { return connection_->interface()->isServiceRegistered(modem_bus::kService); }));
  }

  void TearDown() override {
    client_.reset();
    connection_.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-system"));
    for (QProcess* process : {&fake_, &bus_}) {
      process->kill();
      process->waitForFinished();
    }
  }

  QDBusMessage control(const char* method, const QVariantList& arguments = {},
                       const QString& path = QString::fromLatin1(modem_bus::kManagerPath)) {
    return QDBusInterface(modem_bus::kService, path, QStringLiteral("org.freedesktop.DBus.Mock"),
                          *connection_)
        .callWithArgumentList(QDBus::Block, QString::fromLatin1(method), arguments);
  }

  QStringList calls() { return control("Calls").arguments().value(0).toStringList(); }

  // Sends through the modem; the end told first.
  ModemSendEnd send(const ModemMessage& message) {
    ends.clear();
    client_->send(kModem, message);
    EXPECT_TRUE(waitFor([&] { return !ends.isEmpty(); }));
    return ends.value(0);
  }

  static bool waitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 20000);
  }

  TestClock clock;
  QList<ModemSendEnd> ends;  // as they were told, late answers included
  QProcess bus_;
  QProcess fake_;
  std::optional<QDBusConnection> connection_;
  std::optional<ModemManager> client_;
};

TEST_F(ModemManagerTest, SendsThroughTheModemAndTellsEachOutcomeTruly) {
  // A modem comes, and goes off the network.
  int changes = 0;
  QObject::connect(&*client_, &ModemManager::modemsChanged, [&] { ++changes; });
  ASSERT_EQ(control("AddModem", {8}).arguments().value(0).value<QDBusObjectPath>().path(), kModem);
  ASSERT_TRUE(waitFor([&] { return changes == 1; }));
  EXPECT_EQ(std::pair(client_->modems(), client_->registered(kModem)),
            std::pair(QStringList{kModem}, true));
  control("EmitSignal", {modem_bus::kModem, "StateChanged", "iiu", QVariantList{8, 6, 0u}}, kModem);
  ASSERT_TRUE(waitFor([&] { return changes == 2; }));
  EXPECT_FALSE(client_->registered(kModem));

  // Sent: one Create with the number, the text and a report asked for, one Send.
  control("SetSendEffect", {"sent", 42u});
  ModemSendEnd end = send({QStringLiteral("+420777123456"), QStringLiteral("Ahoj\nsvěte"), 1});
  EXPECT_EQ(std::tie(end.outcome, end.reference, end.message),
            std::tuple(SendOutcome::Sent, 42u, "/org/freedesktop/ModemManager1/SMS/0"));
  EXPECT_EQ(calls(), (QStringList{"Create +420777123456 True Ahoj\nsvěte",
                                  "Send /org/freedesktop/ModemManager1/SMS/0"}));

  // A locked SIM: nothing went.
  control("SetSendEffect", {"org.freedesktop.ModemManager1.Error.MobileEquipment.SimPin", 0u});
  end = send({QStringLiteral("+420777123456"), QStringLiteral("Kratká"), 1});
  EXPECT_EQ(std::tie(end.outcome, end.reason),
            std::tuple(SendOutcome::NotSent, "modem MobileEquipment.SimPin"));

  // No answer within the minute: not known, until the answer comes after all.
  control("SetSendEffect", {"silent", 0u});
  ends.clear();
  client_->send(kModem, {QStringLiteral("+420601111222"), QStringLiteral("Ticho"), 1});
  ASSERT_TRUE(waitFor([&] { return calls().size() == 6; }));
  clock.moveOn(ModemSend::kBoundSeconds);
  ASSERT_EQ(ends.size(), 1);
  EXPECT_EQ(std::tie(ends[0].outcome, ends[0].reason, ends[0].final),
            std::tuple(SendOutcome::Unknown, "modem no-answer", false));
  EXPECT_EQ(client_->sendsUnderWay(), 0);
  control("AnswerSilentSends", {7u});
  ASSERT_TRUE(waitFor([&] { return ends.size() == 2; }));
  EXPECT_EQ(std::tie(ends[1].outcome, ends[1].reference), std::tuple(SendOutcome::Sent, 7u));

  // The network's report arrives as a message of its own; the program deletes it once matched.
  std::optional<std::pair<QString, DeliveryReport>> report;
  QObject::connect(&*client_, &ModemManager::reportReceived,
                   [&](const QString&, const QString& path, const DeliveryReport& received) {
                     report.emplace(path, received);
                   });
  control("AddStatusReport",
          {QVariant::fromValue(QDBusObjectPath(kModem)), 42u, "+420777123456", 0x46u, 100u});
  ASSERT_TRUE(waitFor([&] { return report.has_value(); }));
  const DeliveryReport& read = report->second;
  EXPECT_EQ(std::tie(read.reference, read.number, read.deliveryState, read.receivedAt),
            std::tuple(42u, "+420777123456", 0x46u, clock.now()));
  client_->deleteMessage(kModem, report->first);
  EXPECT_TRUE(waitFor([&] { return calls().constLast() == "Delete " + report->first; }));

  // ModemManager leaves: its modem goes with it.
  fake_.kill();
  EXPECT_TRUE(waitFor([&] { return client_->modems().isEmpty(); }));
}

// A report is kept with the message it is about, and deleted from the modem once written; one
// about no message sent here is left there; one that came before its message's reference was
// written is matched once it is.
TEST_F(ModemManagerTest, DeliveryReportsAreKeptWithTheirMessages) {
  QTemporaryDir folder;
  const std::string previousFolder = programFolder();
  setProgramFolder(folder.path().toStdString());
  control("AddModem", {8});
  ASSERT_TRUE(waitFor([&] { return !client_->modems().isEmpty(); }));
  {
    ProgramDatabase database(programSchema(), programPreparations());
    SendRecorder recorder(database);
    DeliveryReports reports(database, *client_);
    QList<std::int64_t> changed;
    QObject::connect(&reports, &DeliveryReports::deliveryChanged,
                     [&](std::int64_t id) { changed << id; });
    int received = 0;
    QObject::connect(&*client_, &ModemManager::reportReceived, [&] { ++received; });
    const auto report = [&](unsigned reference, const char* number, unsigned state) {
      control("AddStatusReport",
              {QVariant::fromValue(QDBusObjectPath(kModem)), reference, number, state, 0u});
    };
    SentRecord record;
    record.page = Page::Modem;
    record.route = kModemRoute;
    record.addressees = "+420777123456";
    const quint64 first = recorder.issued(record);
    record.addressees = "+420601111222";
    const quint64 second = recorder.issued(record);
    recorder.ended(first, SentState::Sent, "", 42);
    report(42, "420777123456", 0x00);  // SMS/0
    ASSERT_TRUE(waitFor([&] { return changed == QList<std::int64_t>{1}; }));
    report(41, "+420777123456", 0x00);  // SMS/1: an earlier part's
    report(7, "601111222", 0x46);       // SMS/2: the second's, before its reference is known
    ASSERT_TRUE(waitFor([&] { return received == 3; }));
    recorder.ended(second, SentState::Sent, "", 7);
    reports.referencesWritten();
    ASSERT_TRUE(waitFor([&] { return changed == QList<std::int64_t>{1, 2}; }));
    ASSERT_TRUE(waitFor([&] { return calls().size() == 2; }));
    EXPECT_EQ(calls(), (QStringList{"Delete /org/freedesktop/ModemManager1/SMS/0",
                                    "Delete /org/freedesktop/ModemManager1/SMS/2"}));
  }
  Database file(dataFile(kDatabaseName), programSchema());
  EXPECT_EQ(shownDelivery(SentMessages(file).record(1).value().value_or(SentRecord{})), "doručeno");
  EXPECT_EQ(shownDelivery(SentMessages(file).record(2).value().value_or(SentRecord{})),
            "nedoručeno – vypršela platnost zprávy");
  setProgramFolder(previousFolder);
}

}  // namespace
}  // namespace movarek::testing
