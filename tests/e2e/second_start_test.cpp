#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <cstring>
#include <memory>
#include <vector>

#include "common/instance_endpoint.h"
#include "gateway_sim.h"

namespace movarek::testing {
namespace {

constexpr char kOtherUser[] = "movarek-tester";

// Copies of the real program, each in a program folder of its own, started as a person does,
// with a runtime folder of their user's own.
class SecondStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime_ = root_.filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtime_);
    QFile::setPermissions(runtime_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  // A program folder holding a copy of the program and nothing else.
  QString programFolder(const QString& name) {
    const QString folder = root_.filePath(name);
    QDir().mkpath(folder);
    QFile::copy(QStringLiteral(PROGRAM_PATH), folder + "/sms-movarek");
    return folder;
  }

  QProcess& start(const QString& folder, const QProcessEnvironment& extra = {}) {
    auto& process = *started_.emplace_back(std::make_unique<QProcess>());
    endWithTheTest(process);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), root_.filePath(QStringLiteral("xdg")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_);
    environment.insert(extra);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(root_.path());
    process.start(folder + "/sms-movarek", {});
    EXPECT_TRUE(process.waitForStarted());
    return process;
  }

  QString socketOf(const QString& folder) const {
    return QString::fromStdString(
        instanceEndpoint(runtime_.toStdString(), folder.toStdString()).socket);
  }

  // A connection to the socket of `folder`'s running copy; -1 when there is none.
  int connectTo(const QString& folder) const {
    const std::string path = socketOf(folder).toStdString();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
    ::close(fd);
    return -1;
  }

  // The copy in `folder` has claimed it: a later start finds it.
  bool claimed(const QString& folder) const {
    return waitUntil(
        [&] {
          const int fd = connectTo(folder);
          if (fd >= 0) ::close(fd);
          return fd >= 0;
        },
        15000);
  }

  // Every file and folder under the test's root with its size and time of change.
  QStringList everythingWritten() const {
    QStringList found;
    QDirIterator it(root_.path(),
                    QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QFileInfo info(it.next());
      found << info.filePath() + ' ' + QString::number(info.size()) + ' ' +
                   QString::number(info.lastModified().toMSecsSinceEpoch());
    }
    found.sort();
    return found;
  }

  void TearDown() override {
    for (auto& process : started_) {
      process->kill();
      process->waitForFinished();
    }
  }

  QTemporaryDir root_;
  QString runtime_;
  std::vector<std::unique_ptr<QProcess>> started_;
};

TEST_F(SecondStartTest, ASecondStartOnTheSameFolderEndsAndTheFirstGoesOn) {
  const QString folder = programFolder(QStringLiteral("program"));
  QProcess& first = start(folder);
  ASSERT_TRUE(claimed(folder));
  const QStringList before = everythingWritten();

  QProcess& second = start(folder);
  ASSERT_TRUE(second.waitForFinished(15000)) << "the second copy kept running";
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);
  // The second copy wrote nothing anywhere: the first stays the only writer.
  EXPECT_EQ(everythingWritten(), before);

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
  EXPECT_EQ(next.state(), QProcess::Running);
}

TEST_F(SecondStartTest, EndlessOrSilentTalkHoldsNeitherTheRunningCopyNorALaterStart) {
  const QString folder = programFolder(QStringLiteral("program"));
  QProcess& first = start(folder);
  ASSERT_TRUE(claimed(folder));
  const int silent = connectTo(folder);
  const int endless = connectTo(folder);
  ASSERT_GE(silent, 0);
  ASSERT_GE(endless, 0);
  // A line without end: the running copy stops reading long before it.
  const std::string chunk(4096, 'x');
  int sent = 0;
  while (sent < 1000 && ::send(endless, chunk.data(), chunk.size(), MSG_NOSIGNAL) > 0) ++sent;
  EXPECT_LT(sent, 1000) << "the running copy went on reading an endless line";

  QProcess& second = start(folder);
  ASSERT_TRUE(second.waitForFinished(15000));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);
  // The silent connection is given up after a while.
  char byte = 0;
  EXPECT_EQ(::recv(silent, &byte, 1, 0), 0);
  ::close(silent);
  ::close(endless);
}

// Another user prepares everything a copy of this user might look for: the runtime folder
// shared with everyone, a lock and a socket of the data folder's name answering "raised", and
// the folder a copy makes when the runtime folder is not its own. The program starts all the
// same, and stays single: its endpoint moves to the user's own cache folder.
TEST_F(SecondStartTest, AnotherUsersEndpointNeitherKeepsTheProgramFromStartingNorDoublesIt) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can act as another user here";
  if (!::getpwnam(kOtherUser)) {
    ASSERT_EQ(QProcess::execute(QStringLiteral("useradd"),
                                {"--system", "--no-create-home", "--shell", "/usr/sbin/nologin",
                                 QString::fromLatin1(kOtherUser)}),
              0);
  }
  const QString shared = root_.filePath(QStringLiteral("shared"));
  QDir().mkpath(shared);
  ::chmod(root_.path().toLocal8Bit().constData(), 0755);
  ::chmod(shared.toLocal8Bit().constData(), 01777);
  const QString folder = programFolder(QStringLiteral("program"));
  const QString taken =
      QString::fromStdString(instanceEndpoint(shared.toStdString(), folder.toStdString()).socket);
  const QString ownFolder = shared + "/sms-movarek-" + QString::number(::geteuid());
  const QString ownSocket = QString::fromStdString(
      instanceEndpoint(ownFolder.toStdString(), folder.toStdString()).socket);
  QProcess squatter;
  squatter.start(QStringLiteral("runuser"),
                 {"-u", QString::fromLatin1(kOtherUser), "--", "python3", "-c",
                  "import fcntl, os, socket, sys\n"
                  "os.makedirs(sys.argv[3], mode=0o777, exist_ok=True)\n"
                  "servers = []\n"
                  "for path in sys.argv[1:3]:\n"
                  "    lock = open(path[:-len('.socket')] + '.lock', 'w')\n"
                  "    fcntl.flock(lock, fcntl.LOCK_EX)\n"
                  "    server = socket.socket(socket.AF_UNIX)\n"
                  "    server.bind(path)\n"
                  "    os.chmod(path, 0o777)\n"
                  "    server.listen()\n"
                  "    servers.append((lock, server))\n"
                  "print('ready', os.getpid(), flush=True)\n"
                  "while True:\n"
                  "    for lock, server in servers:\n"
                  "        server.settimeout(0.05)\n"
                  "        try:\n"
                  "            connection, _ = server.accept()\n"
                  "            connection.sendall(b'raised\\n')\n"
                  "            connection.close()\n"
                  "        except socket.timeout:\n"
                  "            pass\n",
                  taken, ownSocket, ownFolder});
  ASSERT_TRUE(waitUntil([&] { return squatter.canReadLine(); }, 10000))
      << squatter.readAllStandardError().toStdString();
  const QList<QByteArray> ready = squatter.readLine().trimmed().split(' ');
  const pid_t squatterPid = ready.value(1).toInt();
  ASSERT_EQ(ready.value(0), "ready");
  ASSERT_GT(squatterPid, 1);
  // runuser does not pass its end on: the other user's process is ended by its own number.
  const auto endSquatter = qScopeGuard([squatterPid] { ::kill(squatterPid, SIGKILL); });

  runtime_ = shared;
  QProcessEnvironment sharedTemporary;
  sharedTemporary.insert(QStringLiteral("TMPDIR"), shared);
  sharedTemporary.insert(QStringLiteral("XDG_CACHE_HOME"), root_.filePath(QStringLiteral("cache")));
  QProcess& program = start(folder, sharedTemporary);
  EXPECT_FALSE(program.waitForFinished(3000)) << "the program ended: " << program.exitCode();
  EXPECT_EQ(program.state(), QProcess::Running);
  QProcess& again = start(folder, sharedTemporary);
  EXPECT_TRUE(again.waitForFinished(10000));
  EXPECT_EQ(again.exitCode(), 0);
  EXPECT_EQ(program.state(), QProcess::Running);
}

}  // namespace
}  // namespace movarek::testing
