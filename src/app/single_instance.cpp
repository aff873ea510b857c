#include "app/single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

namespace movarek {
namespace {

constexpr int kAnswerWaitMs = 3000;
const QByteArray kRaise = "raise\n";
const QByteArray kRaised = "raised\n";

}  // namespace

// In the abstract socket namespace: the name lives exactly as long as the process that holds
// it, and no file is left behind. The user is part of the name, so that another user's copy
// is never asked.
QString instanceName(const std::string& dataFolder) {
  const QString folder = QDir(QString::fromStdString(dataFolder)).canonicalPath();
  const QByteArray hash = QCryptographicHash::hash(
      (folder.isEmpty() ? QString::fromStdString(dataFolder) : folder).toUtf8(),
      QCryptographicHash::Sha256);
  return QStringLiteral("sms-movarek-%1-%2")
      .arg(::getuid())
      .arg(QString::fromLatin1(hash.toHex().left(32)));
}

SingleInstance::SingleInstance(const std::string& dataFolder, QObject* parent)
    : QObject(parent), name_(instanceName(dataFolder)) {
  server_.setSocketOptions(QLocalServer::AbstractNamespaceOption);
  claimed_ = server_.listen(name_);
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* asking = server_.nextPendingConnection()) answer(asking);
  });
}

void SingleInstance::answer(QLocalSocket* asking) {
  connect(asking, &QLocalSocket::disconnected, asking, &QObject::deleteLater);
  connect(asking, &QLocalSocket::readyRead, this, [this, asking] {
    if (!asking->canReadLine() || asking->readLine() != kRaise) return;
    if (raise_) raise_();
    asking->write(kRaised);
    asking->flush();
  });
}

bool SingleInstance::raiseRunningCopy() const {
  QLocalSocket socket;
  socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kAnswerWaitMs)) return false;
  socket.write(kRaise);
  if (!socket.waitForBytesWritten(kAnswerWaitMs)) return false;
  while (!socket.canReadLine()) {
    if (!socket.waitForReadyRead(kAnswerWaitMs)) return false;
  }
  return socket.readLine() == kRaised;
}

}  // namespace movarek
