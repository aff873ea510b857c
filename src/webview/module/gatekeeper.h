#pragma once
// The web engine's one way out: an HTTP proxy inside the program, on a port of 127.0.0.1 that
// the system picks, which the engine is told to use for every connection of both its profiles,
// loopback included. It passes on requests and tunnels to the gateway's host and port alone,
// straight there or through the user's own proxy (http_proxy), and refuses everything else
// before any name is looked up or any byte leaves: whatever a page does (a redirect, a worker, a
// socket, a real-time connection), it reaches nothing but the gateway. It runs on a thread of its
// own, so that nothing the window does holds a send up.
#include <QMutex>
#include <QObject>
#include <QString>
#include <QUrl>
#include <map>
#include <optional>

class QTcpServer;

namespace movarek {

// Where a request for the gateway goes: the gateway itself, or the user's proxy.
struct Upstream {
  QString host;
  quint16 port = 0;
  bool proxy = false;          // the user's: asked in absolute form, tunnels by CONNECT
  QByteArray authorization{};  // "Basic …" for the user's proxy, when its address names a user
};

class Gatekeeper : public QObject {
 public:
  // The one gatekeeper, started at the first call, passing on to `gateway` ("http://host:port/")
  // from now on.
  static Gatekeeper& forGateway(const QUrl& gateway);

  quint16 port() const { return port_; }
  // Where a request for `host` and `port` goes; none when it is not the gateway's.
  std::optional<Upstream> upstreamFor(const QString& host, quint16 port) const;

  // A request for `url` that could not reach the gateway: the engine's network error code it
  // stands for (the gatekeeper answers it with status 502, which would say otherwise). Told
  // once.
  std::optional<int> takeFailure(const QUrl& url);
  void failed(const QUrl& url, int networkError);

 private:
  Gatekeeper() = default;
  void listen();
  void setGateway(const QUrl& gateway);

  mutable QMutex gatewayLock_;
  QString host_;
  quint16 gatewayPort_ = 0;
  Upstream upstream_;
  QTcpServer* server_ = nullptr;
  quint16 port_ = 0;
  QMutex failuresLock_;
  std::map<QUrl, int> failures_;
};

// The user's own proxy for `host`, from the environment (http_proxy or HTTP_PROXY, unless
// no_proxy or NO_PROXY names the host); none when there is none.
std::optional<Upstream> usersProxy(const QString& host);

}  // namespace movarek
