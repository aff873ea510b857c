#include <signal.h>

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "app/single_instance.h"
#include "gateway_sim.h"

namespace movarek::testing {
namespace {

// Copies of the real program, each in a program folder of its own, started as a person does.
class SecondStartTest : public ::testing::Test {
 protected:
  // A program folder holding a copy of the program and nothing else.
  QString programFolder(const QString& name) {
    const QString folder = root_.filePath(name);
    QDir().mkpath(folder);
    QFile::copy(QStringLiteral(PROGRAM_PATH), folder + "/sms-movarek");
    return folder;
  }

  QProcess& start(const QString& folder) {
    auto& process = *started_.emplace_back(std::make_unique<QProcess>());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), root_.filePath(QStringLiteral("xdg")));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(root_.path());
    process.start(folder + "/sms-movarek", {});
    EXPECT_TRUE(process.waitForStarted());
    return process;
  }

  // The copy in `folder` has claimed it: a later start finds it.
  static bool claimed(const QString& folder) {
    return waitUntil(
        [&] {
          QLocalSocket probe;
          probe.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
          probe.connectToServer(instanceName(folder.toStdString()));
          return probe.waitForConnected(200);
        },
        15000);
  }

  static QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
  }

  void TearDown() override {
    for (auto& process : started_) {
      process->kill();
      process->waitForFinished();
    }
  }

  QTemporaryDir root_;
  std::vector<std::unique_ptr<QProcess>> started_;
};

TEST_F(SecondStartTest, ASecondStartOnTheSameFolderEndsAndTheFirstGoesOn) {
  const QString folder = programFolder(QStringLiteral("program"));
  QProcess& first = start(folder);
  ASSERT_TRUE(claimed(folder));

  QProcess& second = start(folder);
  ASSERT_TRUE(second.waitForFinished(15000)) << "the second copy kept running";
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);
  // The second copy wrote nothing: the first stays the only writer.
  EXPECT_EQ(filesIn(folder), QStringList{QStringLiteral("sms-movarek")});

  // Another folder is another address book: both run.
  const QString other = programFolder(QStringLiteral("other"));
  QProcess& elsewhere = start(other);
  EXPECT_TRUE(claimed(other));
  EXPECT_EQ(elsewhere.state(), QProcess::Running);
}

TEST_F(SecondStartTest, ACopyThatWasKilledHoldsNoLaterStart) {
  const QString folder = programFolder(QStringLiteral("program"));
  QProcess& killed = start(folder);
  ASSERT_TRUE(claimed(folder));
  ::kill(static_cast<pid_t>(killed.processId()), SIGKILL);
  ASSERT_TRUE(killed.waitForFinished());

  QProcess& next = start(folder);
  EXPECT_TRUE(claimed(folder));
  EXPECT_FALSE(next.waitForFinished(1000));
  EXPECT_EQ(next.state(), QProcess::Running);
}

}  // namespace
}  // namespace movarek::testing
