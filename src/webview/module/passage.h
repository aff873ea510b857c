#pragma once
// One connection of the web engine through the gatekeeper: its request head read whole and
// checked, then passed on to the gateway with its body and the answer passed back; or a tunnel.
// Each socket is read only while the other side has taken what it was given, so that neither a
// page that never reads an answer nor a gateway that never reads a request makes the program
// hold more than a few buffers of it.
#include <QAbstractSocket>
#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QUrl>

#include "webview/http_answer.h"
#include "webview/http_request.h"
#include "webview/module/gatekeeper.h"

class QTcpSocket;

namespace movarek {

class Passage : public QObject {
  Q_OBJECT

 public:
  // Takes `client`, a connection of this program's engine.
  Passage(Gatekeeper& keeper, QTcpSocket* client);
  ~Passage() override;

  // Ends it when its time is up: the head's, the gateway's to take the connection, or one
  // without a byte either way.
  void checkTime(Gatekeeper::Clock::time_point now);
  PassageReport report() const;

 private:
  enum class Stage { Head, Connecting, Passing, Closing, Ended };

  void readHead();
  void begin(const QByteArray& rest);
  void connectUpstream();
  void connectNext();
  void upstreamConnected();
  void upstreamFailed(QAbstractSocket::SocketError error);
  void pumpClient();
  void pumpGateway();
  void passOn(const QByteArray& bytes);
  void passBack(const QByteArray& bytes);
  void readTunnelAnswer(const QByteArray& bytes);
  void finishAnswer();
  void refuse(int status, const QByteArray& reason);
  void badGateway(int networkError);
  void closeClient();
  void end();
  void touched();

  Gatekeeper& keeper_;
  QTcpSocket* client_;
  QTcpSocket* gateway_ = nullptr;
  Pool pool_ = Pool::Arriving;
  Stage stage_ = Stage::Head;
  RequestHead request_;
  Upstream upstream_;
  QUrl url_;                       // a request's, not a tunnel's
  QList<QHostAddress> addresses_;  // the gateway's, still to try
  QByteArray head_;                // the request's head while it comes
  QByteArray pending_;             // what goes to the gateway once it took the connection
  AnswerReader answer_;
  QByteArray tunnelHead_;  // the user's proxy's answer to a tunnel, while it comes
  bool tunnelOpen_ = false;
  bool gatewayEnded_ = false;
  QAbstractSocket::SocketError endedBy_ = QAbstractSocket::RemoteHostClosedError;
  Gatekeeper::Clock::time_point deadline_;
};

}  // namespace movarek
