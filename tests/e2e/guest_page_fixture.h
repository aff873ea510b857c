// The gateway's Eurotel page as a guest, for the tests of what its scripts may and may not do:
// the program with a page of the test's own, a second host where nothing may go, and a stand-in
// for the desktop's opener.
#pragma once

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>

#include "eurotel_page.h"
#include "gateway_sim.h"

namespace movarek::testing {

inline const QString kEurotelPage = QStringLiteral("/eurotel_nova2.php");

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
inline const QString kReport = QStringLiteral(
    "<script>function report(what) { new Image().src = '/report?what=' + "
    "encodeURIComponent(what); }</script>");


}  // namespace movarek::testing
