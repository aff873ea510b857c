#include "webview/module/gatekeeper.h"

#include <QCoreApplication>
#include <QNetworkProxy>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "webview/module/module_log.h"
#include "webview/module/passage.h"
#include "webview/peer_socket.h"

Q_LOGGING_CATEGORY(moduleLog, "sms-movarek", QtWarningMsg)

namespace movarek {
namespace {

// A page can open this many connections, and the sends as many besides, and as many again may
// be on their way in before their requests have come.
constexpr int kMostConnections = 256;
constexpr int kSweepMs = 1000;

// The peers that are not let in, for the log.
const char* strangerOf(PeerSocket peer) {
  switch (peer) {
    case PeerSocket::AnotherUser:
      return "another user of the machine";
    case PeerSocket::AnotherProcess:
      return "another program";
    case PeerSocket::Unknown:
    case PeerSocket::ThisProcess:
      break;
  }
  return "a program whose socket cannot be told";
}

QByteArray randomMark() {
  QByteArray bytes(16, '\0');
  QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
  return bytes.toHex();
}

}  // namespace

Gatekeeper& Gatekeeper::forGateway(const QUrl& gateway) {
  static RunningGatekeeper* const running = [&gateway] {
    auto* made = new RunningGatekeeper(gateway);
    // Its connections end with the program; the gatekeeper itself stays for whatever still
    // asks it.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                     QCoreApplication::instance(), [made] { made->stop(); });
    return made;
  }();
  (*running)->setGateway(gateway);
  return **running;
}

Gatekeeper::Gatekeeper(const QUrl& gateway, Seams seams)
    : seams_(std::move(seams)), sendMark_(randomMark()) {
  setGateway(gateway);
}

// Its connections go first: they leave their pools as they go.
Gatekeeper::~Gatekeeper() { qDeleteAll(findChildren<Passage*>(Qt::FindDirectChildrenOnly)); }

void Gatekeeper::listen() {
  server_ = new QTcpServer(this);
  server_->setProxy(QNetworkProxy::NoProxy);
  connect(server_, &QTcpServer::newConnection, this, &Gatekeeper::take);
  if (!server_->listen(QHostAddress::LocalHost, 0)) {
    qCWarning(moduleLog).noquote()
        << "the web engine's gatekeeper cannot listen:" << server_->errorString();
  }
  port_ = server_->serverPort();
  auto* sweep = new QTimer(this);
  connect(sweep, &QTimer::timeout, this, &Gatekeeper::checkTimes);
  sweep->start(kSweepMs);
}

void Gatekeeper::setGateway(const QUrl& gateway) {
  QMutexLocker held(&gatewayLock_);
  gateway_ = {gateway.host().toLower().toStdString(), static_cast<std::uint16_t>(gateway.port(80))};
  const QString host = QString::fromStdString(gateway_.host);
  upstream_ = usersProxy(host).value_or(Upstream{host, gateway_.port});
}

// Only this program's engine gets in: a connection whose other end is not a socket of this
// very process is ended before a byte of it is read.
void Gatekeeper::take() {
  while (QTcpSocket* client = server_->nextPendingConnection()) {
    const PeerSocket peer = peerSocketOf(static_cast<int>(client->socketDescriptor()));
    if (peer != PeerSocket::ThisProcess) {
      refused(QString::fromLatin1(strangerOf(peer)));
    } else if (enter(std::nullopt, Pool::Arriving)) {
      new Passage(*this, client);
      continue;
    }
    client->abort();
    client->deleteLater();
  }
}

bool Gatekeeper::enter(std::optional<Pool> from, Pool to) {
  if (counts_[to] >= kMostConnections) return false;
  ++counts_[to];
  if (from) --counts_[*from];
  return true;
}

void Gatekeeper::checkTimes() {
  const Clock::time_point now = seams_.now();
  for (Passage* passage : findChildren<Passage*>(Qt::FindDirectChildrenOnly)) {
    passage->checkTime(now);
  }
  for (const RefusalLog::Line& line : refusals_.due(now)) {
    qCWarning(moduleLog).noquote()
        << "the web engine's connections to" << line.host.c_str() << "refused" << line.refusals
        << (line.refusals == 1 ? "time" : "times") << "more: only the gateway is reached";
  }
}

void Gatekeeper::checkTimesNow() {
  QMetaObject::invokeMethod(this, &Gatekeeper::checkTimes, Qt::BlockingQueuedConnection);
}

std::vector<PassageReport> Gatekeeper::report() {
  std::vector<PassageReport> reports;
  QMetaObject::invokeMethod(
      this,
      [&] {
        for (const Passage* passage : findChildren<Passage*>(Qt::FindDirectChildrenOnly)) {
          reports.push_back(passage->report());
        }
      },
      Qt::BlockingQueuedConnection);
  return reports;
}

std::optional<Upstream> Gatekeeper::upstreamFor(const HostPort& place) const {
  QMutexLocker held(&gatewayLock_);
  if (place.port != gateway_.port || place.host != gateway_.host) return std::nullopt;
  return upstream_;
}

void Gatekeeper::resolveGateway(const QString& name, QObject* context,
                                std::function<void(const QList<QHostAddress>&)> answered) {
  seams_.resolve(name, context,
                 [this, name, answered = std::move(answered)](const QList<QHostAddress>& answer) {
                   const QList<QHostAddress> admitted = addresses_.admitted(answer);
                   if (admitted.size() < answer.size()) {
                     refused(name + QStringLiteral(" (its name answered with an address of the "
                                                   "local network)"));
                   }
                   answered(admitted);
                 });
}

// Where a refused connection was to go, for the log: never its path or query.
void Gatekeeper::refused(const QString& place) {
  for (const RefusalLog::Line& line : refusals_.refused(place.toStdString(), seams_.now())) {
    qCWarning(moduleLog).noquote() << "the web engine's connection to" << line.host.c_str()
                                   << "refused: only the gateway is reached";
  }
}

std::optional<int> Gatekeeper::takeFailure(const QUrl& url) {
  QMutexLocker held(&failuresLock_);
  const auto found = failures_.find(url);
  if (found == failures_.end()) return std::nullopt;
  const int failure = found->second;
  failures_.erase(found);
  return failure;
}

void Gatekeeper::failed(const QUrl& url, int networkError) {
  QMutexLocker held(&failuresLock_);
  // The sends look them up at once; those nobody took are not kept for long.
  if (failures_.size() > 100) failures_.clear();
  failures_[url] = networkError;
}

RunningGatekeeper::RunningGatekeeper(const QUrl& gateway, Gatekeeper::Seams seams)
    : keeper_(new Gatekeeper(gateway, std::move(seams))) {
  thread_.setObjectName(QStringLiteral("gatekeeper"));
  keeper_->moveToThread(&thread_);
  thread_.start();
  QMetaObject::invokeMethod(keeper_, &Gatekeeper::listen, Qt::BlockingQueuedConnection);
}

// Deleted on its own thread, as the thread ends.
RunningGatekeeper::~RunningGatekeeper() {
  keeper_->deleteLater();
  stop();
}

void RunningGatekeeper::stop() {
  thread_.quit();
  thread_.wait();
}

}  // namespace movarek
