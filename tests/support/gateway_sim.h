#pragma once
// The gateway simulator run beside the program under test: it listens on a free port of
// 127.0.0.1, logs every request it gets, and the test reads back what arrived.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <iostream>
#include <memory>

#include "child_process.h"
#include "forms_fixture.h"
#include "send/gateway.h"

namespace movarek::testing {

// Runs the event loop until `condition` holds or the time is up; tells whether it held.
// QTest::qWaitFor sleeps 10 ms between its rounds of events, and a web view's load hops through
// this thread's event loop many times: under it a request took a second to go out.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 20000) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

// A port of this machine where nothing listens (the web engine itself refuses a few
// well-known ones, such as the discard port, before it ever connects).
inline int closedPort() {
  const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(probe, reinterpret_cast<sockaddr*>(&address), length);
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(probe);
  return ntohs(address.sin_port);
}

// Runs the event loop for `ms` milliseconds.
inline void waitFor(int ms) {
  waitUntil([] { return false; }, ms);
}

// One request as the simulator logged it.
struct LoggedRequest {
  double timeMs = 0;              // when it arrived, in ms since the epoch
  QString path;                   // "/send_sms.php"
  QString query;                  // as the web view sent it, still encoded
  QMap<QString, QString> values;  // decoded: escapes, "+" and code page 1250 undone
  QStringList addresses;          // the "~"-separated pieces of "adr"
  QString proxiedFor;             // "host:port" of a request asked of a proxy

  // "/send_sms.php?go=pricti113", or the bare path without a query.
  QString target() const { return query.isEmpty() ? path : path + '?' + query; }
};

inline LoggedRequest parseLoggedRequest(const QJsonObject& line) {
  LoggedRequest request;
  request.timeMs = line.value("time_ms").toDouble();
  request.path = line.value("path").toString();
  request.query = line.value("query").toString();
  request.proxiedFor = line.value("proxied_for").toString();
  const QJsonObject values = line.value("values").toObject();
  for (auto value = values.begin(); value != values.end(); ++value) {
    request.values.insert(value.key(), value.value().toString());
  }
  for (const auto address : line.value("addresses").toArray()) {
    request.addresses << address.toString();
  }
  return request;
}

// The paths and queries of `requests`, in their order.
inline QStringList targetsOf(const QList<LoggedRequest>& requests) {
  QStringList targets;
  for (const auto& request : requests) targets << request.target();
  return targets;
}

class GatewaySimulator {
 public:
  // `options` go to the simulator as they are, e.g. {"--status", "500"}.
  explicit GatewaySimulator(const QStringList& options = {}) {
    logPath_ = logFolder_.filePath(QStringLiteral("requests.jsonl"));
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    endWithTheTest(process_);
    process_.start(QStringLiteral(GATEWAY_SIM_PATH),
                   QStringList{"--port", "0", "--log", logPath_} + options);
    host_ = readListeningHost();
  }

  ~GatewaySimulator() {
    process_.kill();
    process_.waitForFinished();
    // What the simulator printed tells what arrived when, should a test fail.
    if (::testing::Test::HasFailure()) {
      std::cerr << "gateway simulator said:\n"
                << process_.readAllStandardOutput().toStdString() << std::flush;
    }
  }

  bool running() const { return !host_.isEmpty(); }

  // "127.0.0.1:PORT", for setGatewayHost.
  QString host() const { return host_; }

  // Every request logged so far, in the order they arrived.
  QList<LoggedRequest> requests() const {
    QList<LoggedRequest> requests;
    for (const QJsonObject& line : logLines()) {
      if (line.contains("path")) requests << parseLoggedRequest(line);
    }
    return requests;
  }

  // Whether an endless answer (--endless) stopped being taken.
  bool answerHeld() const {
    const auto lines = logLines();
    return std::any_of(lines.begin(), lines.end(),
                       [](const QJsonObject& line) { return line.contains("held"); });
  }

  // How many connections were taken, whatever came on them (with --log-connections).
  qsizetype connections() const {
    const auto lines = logLines();
    return std::count_if(lines.begin(), lines.end(),
                         [](const QJsonObject& line) { return line.contains("connection"); });
  }

  // Runs the event loop until at least `count` requests have arrived or the time is up, and
  // gives every request logged by then.
  QList<LoggedRequest> waitForRequests(qsizetype count, int timeoutMs = 20000) const {
    // The caller checks what arrived: the list tells more than a timeout would.
    waitUntil([&] { return requests().size() >= count; }, timeoutMs);
    return requests();
  }

 private:
  QList<QJsonObject> logLines() const {
    QFile log(logPath_);
    if (!log.open(QIODevice::ReadOnly)) return {};
    QList<QJsonObject> lines;
    const QByteArray bytes = log.readAll();
    // A line still being written has no line break yet: it is read next time.
    for (const QByteArray& line : bytes.left(bytes.lastIndexOf('\n') + 1).split('\n')) {
      if (line.isEmpty()) continue;
      QJsonParseError error;
      const auto json = QJsonDocument::fromJson(line, &error);
      EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
      lines << json.object();
    }
    return lines;
  }

  // The simulator's first line: "listening on 127.0.0.1:PORT".
  QString readListeningHost() {
    static const QByteArray kPrefix = "listening on ";
    while (!process_.canReadLine()) {
      if (!process_.waitForReadyRead(10000)) return {};
    }
    const QByteArray line = process_.readLine().trimmed();
    return line.startsWith(kPrefix) ? QString::fromLatin1(line.mid(kPrefix.size())) : QString();
  }

  QTemporaryDir logFolder_;
  QString logPath_;
  QProcess process_;
  QString host_;
};

// The program's windows with the gateway simulator as their gateway.
class GatewayTest : public FormsTest {
 protected:
  void TearDown() override {
    FormsTest::TearDown();
    simulator.reset();
  }

  // Starts the simulator and points the program's requests at it.
  void startSimulator(const QStringList& options = {}) {
    simulator = std::make_unique<GatewaySimulator>(options);
    ASSERT_TRUE(simulator->running()) << "the gateway simulator did not start";
    setGatewayHost(simulator->host().toStdString());
  }

  // The simulator, then the program with its window shown as a person sees it.
  void startProgramWithSimulator(const QStringList& simulatorOptions = {}) {
    ASSERT_NO_FATAL_FAILURE(startSimulator(simulatorOptions));
    startProgram();
    main().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
  }

  // The program started anew, with a gateway that answers as `options` say; its files stay.
  void restartProgram(const QStringList& options = {}) {
    forms.reset();
    ASSERT_NO_FATAL_FAILURE(startProgramWithSimulator(options));
    ASSERT_NO_FATAL_FAILURE(showMain());
    ASSERT_EQ(simulator->waitForRequests(2).size(), 2);
  }

  // `dialog`, opened with Ctrl+`key` in the main window's message field, shown for real and
  // worked by `work` as a person would; closed as "Storno" would close it, should `work` leave
  // it open.
  template <class Dialog, class Work>
  void workDialog(Dialog& dialog, Qt::Key key, Work work) {
    ASSERT_NO_FATAL_FAILURE(showMain());
    setModalHandler({});
    QTimer::singleShot(0, [&] {
      // The desktop gives the window the focus a moment after it is shown.
      EXPECT_TRUE(waitUntil([&] { return QApplication::activeWindow() == &dialog; }, 5000));
      work(dialog);
      if (dialog.isVisible()) dialog.reject();
    });
    QTest::keyClick(main().memoText, key, Qt::ControlModifier);
    EXPECT_TRUE(dialog.isHidden());
  }

  // What SQLite itself reads of the program's database: one line a row, columns split by "|";
  // it waits while the program writes.
  QString databaseRows(const QString& select) const {
    QProcess sqlite;
    sqlite.start(
        QStringLiteral("sqlite3"),
        {QStringLiteral("-readonly"), QStringLiteral("-cmd"), QStringLiteral(".timeout 5000"),
         QString::fromStdString(filePath("movarek.db")), select});
    sqlite.waitForFinished();
    return QString::fromUtf8(sqlite.readAllStandardOutput());
  }

  std::unique_ptr<GatewaySimulator> simulator;
};

}  // namespace movarek::testing
