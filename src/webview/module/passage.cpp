#include "webview/module/passage.h"

#include <QNetworkProxy>
#include <QTcpSocket>
#include <algorithm>
#include <string_view>

#include "common/engine_error.h"

namespace movarek {
namespace {

using namespace engine_error;
using namespace std::chrono_literals;

// Each socket reads this much at most before it is passed on, and is not read while the other
// side holds more than kHighWater unwritten: a connection holds a few tens of kilobytes.
constexpr qint64 kReadBuffer = 16 * 1024;
constexpr qint64 kHighWater = 64 * 1024;
constexpr auto kHeadWait = 10s;
constexpr auto kConnectWait = 30s;
constexpr auto kIdle = 5min;

constexpr char kTunnelOpen[] = "HTTP/1.1 200 Connection established\r\n\r\n";

std::string_view view(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

QByteArray bytesOf(const std::string& text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// Why the connection to `upstream` could not be made, as the engine would have said it.
int connectFailure(QAbstractSocket::SocketError error, const Upstream& upstream) {
  if (upstream.proxy) return kProxyConnectionFailed;
  switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
      return kConnectionRefused;
    case QAbstractSocket::HostNotFoundError:
      return kNameNotResolved;
    case QAbstractSocket::NetworkError:
      return kAddressUnreachable;
    case QAbstractSocket::SocketTimeoutError:
      return kConnectionTimedOut;
    default:
      return kConnectionFailed;
  }
}

QByteArray answer(int status, const QByteArray& reason, const QByteArray& page = {}) {
  const QByteArray body = page.isEmpty() ? reason + "\n" : page;
  return "HTTP/1.1 " + QByteArray::number(status) + " " + reason +
         "\r\nContent-Type: " + (page.isEmpty() ? "text/plain" : "text/html; charset=utf-8") +
         "\r\nContent-Length: " + QByteArray::number(body.size()) +
         "\r\nConnection: close\r\nProxy-Connection: close\r\n\r\n" + body;
}

// What the Eurotel page shows when the gateway could not be reached, in the engine's place.
QByteArray unreachablePage(int networkError) {
  return QStringLiteral(
             "<!DOCTYPE html><html lang=\"cs\"><meta charset=\"utf-8\">"
             "<title>SMS centrum Vertanix</title><p>Stránku SMS centra Vertanix nelze "
             "načíst: %1.</p></html>")
      .arg(QString::fromStdString(networkReason(networkError)))
      .toUtf8();
}

}  // namespace

Passage::Passage(Gatekeeper& keeper, QTcpSocket* client)
    : QObject(&keeper), keeper_(keeper), client_(client), deadline_(keeper.now() + kHeadWait) {
  client_->setParent(this);
  client_->setReadBufferSize(kReadBuffer);
  connect(client_, &QTcpSocket::readyRead, this, &Passage::pumpClient);
  connect(client_, &QTcpSocket::bytesWritten, this, &Passage::pumpGateway);
  connect(client_, &QTcpSocket::disconnected, this, &Passage::end);
  connect(client_, &QTcpSocket::errorOccurred, this, &Passage::end);
}

Passage::~Passage() { keeper_.leave(pool_); }

void Passage::checkTime(Gatekeeper::Clock::time_point now) {
  if (stage_ == Stage::Ended || now < deadline_) return;
  if (stage_ == Stage::Connecting) {
    return badGateway(connectFailure(QAbstractSocket::SocketTimeoutError, upstream_));
  }
  // A request the gateway took and never answered may have been acted on.
  if (stage_ == Stage::Passing && !request_.tunnel() && !answer_.answered()) {
    return badGateway(kTimedOut);
  }
  end();
}

PassageReport Passage::report() const {
  const qint64 toGateway = gateway_ ? gateway_->bytesToWrite() : 0;
  const qint64 fromGateway = gateway_ ? gateway_->bytesAvailable() : 0;
  return {pool_,
          head_.size() + pending_.size() + tunnelHead_.size() +
              static_cast<qint64>(answer_.held()) + client_->bytesAvailable() +
              client_->bytesToWrite() + toGateway + fromGateway,
          toGateway >= kHighWater, client_->bytesToWrite() >= kHighWater};
}

void Passage::touched() {
  if (stage_ == Stage::Passing || stage_ == Stage::Closing) deadline_ = keeper_.now() + kIdle;
}

void Passage::readHead() {
  while (stage_ == Stage::Head && client_->bytesAvailable() > 0) {
    head_ += client_->readAll();
    const auto length = requestHeadLength(view(head_));
    if (length && *length <= kLongestRequestHead) {
      const QByteArray rest = head_.mid(static_cast<qsizetype>(*length));
      head_.truncate(static_cast<qsizetype>(*length));
      return begin(rest);
    }
    if (head_.size() > static_cast<qsizetype>(kLongestRequestHead)) {
      return refuse(431, "Request Header Fields Too Large");
    }
  }
}

void Passage::begin(const QByteArray& rest) {
  static const std::string markName = QByteArray(kSendMarkHeader).toLower().toStdString();
  const ReadRequest read = readRequestHead(view(std::exchange(head_, {})), markName);
  request_ = read.head;
  if (read.refusal == 400) return refuse(400, "Bad Request");
  const auto upstream = read.refusal ? std::nullopt : keeper_.upstreamFor(request_.place);
  if (!upstream) {
    keeper_.refused(QString::fromStdString(request_.place.authority()));
    return refuse(403, "Forbidden");
  }
  const bool send = !request_.mark.empty() && view(keeper_.sendMark()) == request_.mark;
  const Pool pool = send ? Pool::Send : Pool::Page;
  if (!keeper_.enter(pool_, pool)) return refuse(503, "Service Unavailable");
  pool_ = pool;
  upstream_ = *upstream;
  const QByteArray authorization = upstream_.authorization.isEmpty()
                                       ? QByteArray()
                                       : "Proxy-Authorization: " + upstream_.authorization + "\r\n";
  if (request_.tunnel()) {
    if (upstream_.proxy) {
      pending_ = bytesOf(headToPassOn(request_, request_.place, true, view(authorization)));
    }
    pending_ += rest;
  } else {
    // One request a connection: what comes after its body is not passed on.
    if (request_.body.take(view(rest)) < static_cast<std::size_t>(rest.size()) ||
        request_.body.broken()) {
      return end();
    }
    url_ = QUrl::fromEncoded(
        bytesOf("http://" + request_.place.authority(80) + request_.originForm), QUrl::StrictMode);
    pending_ =
        bytesOf(headToPassOn(request_, request_.place, upstream_.proxy, view(authorization))) +
        rest;
  }
  stage_ = Stage::Connecting;
  deadline_ = keeper_.now() + kConnectWait;
  connectUpstream();
}

void Passage::connectUpstream() {
  gateway_ = new QTcpSocket(this);
  gateway_->setProxy(QNetworkProxy::NoProxy);
  gateway_->setReadBufferSize(kReadBuffer);
  connect(gateway_, &QTcpSocket::connected, this, &Passage::upstreamConnected);
  connect(gateway_, &QTcpSocket::readyRead, this, &Passage::pumpGateway);
  connect(gateway_, &QTcpSocket::bytesWritten, this, &Passage::pumpClient);
  connect(gateway_, &QTcpSocket::errorOccurred, this, &Passage::upstreamFailed);
  // The user's proxy is found by its name as the system finds it; the gateway's own name is
  // looked up here, so that its answer is checked before anything connects to it.
  if (upstream_.proxy || !QHostAddress(upstream_.host).isNull()) {
    gateway_->connectToHost(upstream_.host, upstream_.port);
    return;
  }
  keeper_.resolveGateway(upstream_.host, this, [this](const QList<QHostAddress>& admitted) {
    if (stage_ != Stage::Connecting) return;
    addresses_ = admitted;
    if (addresses_.isEmpty()) return badGateway(kNameNotResolved);
    connectNext();
  });
}

void Passage::connectNext() {
  if (stage_ != Stage::Connecting) return;
  gateway_->abort();
  gateway_->connectToHost(addresses_.takeFirst(), upstream_.port);
}

void Passage::upstreamConnected() {
  stage_ = Stage::Passing;
  touched();
  if (request_.tunnel() && !upstream_.proxy) {
    tunnelOpen_ = true;
    client_->write(kTunnelOpen);
  }
  gateway_->write(std::exchange(pending_, {}));
  pumpClient();
}

// The gateway could not be reached, or it ended the connection (or the connection broke):
// what it answered stays the answer.
void Passage::upstreamFailed(QAbstractSocket::SocketError error) {
  if (stage_ == Stage::Connecting) {
    if (!addresses_.isEmpty()) {
      // Not from within the socket's own report.
      QMetaObject::invokeMethod(this, &Passage::connectNext, Qt::QueuedConnection);
      return;
    }
    return badGateway(connectFailure(error, upstream_));
  }
  if (stage_ != Stage::Passing) return;
  gatewayEnded_ = true;
  endedBy_ = error;
  pumpGateway();
}

void Passage::pumpClient() {
  touched();
  if (stage_ == Stage::Head) return readHead();
  while (stage_ == Stage::Passing && gateway_->bytesToWrite() < kHighWater &&
         client_->bytesAvailable() > 0) {
    passOn(client_->readAll());
  }
}

void Passage::pumpGateway() {
  touched();
  while (stage_ == Stage::Passing && client_->bytesToWrite() < kHighWater &&
         gateway_->bytesAvailable() > 0) {
    passBack(gateway_->readAll());
  }
  if (stage_ == Stage::Passing && gatewayEnded_ && gateway_->bytesAvailable() == 0) {
    finishAnswer();
  }
}

void Passage::passOn(const QByteArray& bytes) {
  if (!request_.tunnel()) {
    const std::size_t inBody = request_.body.take(view(bytes));
    if (inBody < static_cast<std::size_t>(bytes.size()) || request_.body.broken()) return end();
  }
  gateway_->write(bytes);
}

void Passage::passBack(const QByteArray& bytes) {
  if (tunnelOpen_) {
    client_->write(bytes);
  } else if (request_.tunnel()) {
    readTunnelAnswer(bytes);
  } else {
    const std::string passed = answer_.take(view(bytes));
    if (answer_.tooLong()) return badGateway(kResponseHeadersTooBig);
    client_->write(passed.data(), static_cast<qint64>(passed.size()));
  }
}

// The user's proxy opened the tunnel, or it did not: the engine is told as the gatekeeper
// itself would tell it.
void Passage::readTunnelAnswer(const QByteArray& bytes) {
  tunnelHead_ += bytes;
  const auto length = answerHeadLength(view(tunnelHead_));
  if (!length) {
    if (tunnelHead_.size() > static_cast<qsizetype>(kLongestAnswerHead)) refuse(502, "Bad Gateway");
    return;
  }
  const auto status = answerStatus(view(tunnelHead_.left(static_cast<qsizetype>(*length))));
  if (!status || *status / 100 != 2) return refuse(502, "Bad Gateway");
  tunnelOpen_ = true;
  client_->write(kTunnelOpen + tunnelHead_.mid(static_cast<qsizetype>(*length)));
  tunnelHead_.clear();
}

void Passage::finishAnswer() {
  if (request_.tunnel()) return tunnelOpen_ ? closeClient() : refuse(502, "Bad Gateway");
  const std::string rest = answer_.end();
  if (!answer_.answered()) {
    return badGateway(endedBy_ == QAbstractSocket::RemoteHostClosedError ? kEmptyResponse
                                                                         : kConnectionReset);
  }
  client_->write(rest.data(), static_cast<qint64>(rest.size()));
  closeClient();
}

void Passage::refuse(int status, const QByteArray& reason) {
  client_->write(answer(status, reason));
  closeClient();
}

// A request that could not be passed on, or whose answer could not be, told to the engine as
// its network error would have been; a send's end reads back which one it was.
void Passage::badGateway(int networkError) {
  if (pool_ == Pool::Send && url_.isValid()) keeper_.failed(url_, networkError);
  client_->write(answer(502, "Bad Gateway", unreachablePage(networkError)));
  closeClient();
}

// What was written to the engine still goes; nothing more comes from the gateway.
void Passage::closeClient() {
  stage_ = Stage::Closing;
  touched();
  if (gateway_) gateway_->abort();
  client_->disconnectFromHost();
}

void Passage::end() {
  if (stage_ == Stage::Ended) return;
  stage_ = Stage::Ended;
  if (gateway_) gateway_->abort();
  client_->abort();
  deleteLater();
}

}  // namespace movarek
