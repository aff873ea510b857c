#pragma once
// The web engine's one way out: an HTTP proxy inside the program, on a port of 127.0.0.1 that
// the system picks, which the engine is told to use for every connection of both its profiles,
// loopback included. It passes on requests and tunnels to the gateway's host and port alone,
// straight there or through the user's own proxy (http_proxy), and refuses everything else
// before any name is looked up or any byte leaves: whatever a page does (a redirect, a worker, a
// socket, a real-time connection), it reaches nothing but the gateway. Only connections of this
// program's own engine get in; each carries one request, framed and checked, and is bounded in
// the memory it takes, in time and in number. It runs on a thread of its own, so that nothing
// the window does holds a send up.
#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QThread>
#include <QUrl>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "webview/http_request.h"
#include "webview/module/gateway_route.h"
#include "webview/refusal_log.h"

class QTcpServer;

namespace movarek {

// The header that marks a send's request, with a value known to this run alone. It never
// leaves the gatekeeper.
inline constexpr char kSendMarkHeader[] = "X-Movarek-Send";

// Whose a connection is: one whose request has not come yet, the shown page's, or a send's.
// Each is counted apart, so that a page can never take what a send needs.
enum class Pool { Arriving, Page, Send };

// A connection as the tests look at it.
struct PassageReport {
  Pool pool = Pool::Arriving;
  qint64 buffered = 0;       // bytes held for it in the program, both ways
  bool clientHeld = false;   // the engine's side not read: the gateway has not taken enough
  bool gatewayHeld = false;  // the gateway's side not read: the engine has not taken enough
};

class Gatekeeper : public QObject {
 public:
  using Clock = std::chrono::steady_clock;

  // What tests stand in for: the time its bounds are measured in, the name resolver.
  struct Seams {
    std::function<Clock::time_point()> now = Clock::now;
    Resolver resolve = systemResolver();
  };

  // The program's one gatekeeper, started at the first call, passing on to `gateway`
  // ("http://host:port/") from now on.
  static Gatekeeper& forGateway(const QUrl& gateway);

  Gatekeeper(const QUrl& gateway, Seams seams);
  ~Gatekeeper() override;
  // Takes the engine's connections from now on, on the thread it lives on.
  void listen();

  quint16 port() const { return port_; }
  const QByteArray& sendMark() const { return sendMark_; }
  void setGateway(const QUrl& gateway);

  // A send's request that could not reach the gateway: the engine's network error code it
  // stands for (the gatekeeper answers it with status 502, which would say otherwise). Told
  // once.
  std::optional<int> takeFailure(const QUrl& url);

  // What the tests ask, from any thread: the time bounds checked now, and the connections.
  void checkTimesNow();
  std::vector<PassageReport> report();

  // For its connections, on its own thread.
  Clock::time_point now() const { return seams_.now(); }
  // Where a request for `place` goes; none when it is not the gateway's.
  std::optional<Upstream> upstreamFor(const HostPort& place) const;
  // The gateway's addresses that may be connected to, told to `answered` on `context`'s thread.
  void resolveGateway(const QString& name, QObject* context,
                      std::function<void(const QList<QHostAddress>&)> answered);
  // A connection, new or of the pool `from`, enters the pool `to`; false when that is full.
  bool enter(std::optional<Pool> from, Pool to);
  void leave(Pool pool) { --counts_[pool]; }
  void refused(const QString& place);
  void failed(const QUrl& url, int networkError);

 private:
  void take();
  void checkTimes();

  Seams seams_;
  mutable QMutex gatewayLock_;
  HostPort gateway_;
  Upstream upstream_;
  GatewayAddresses addresses_;
  QTcpServer* server_ = nullptr;
  quint16 port_ = 0;
  QByteArray sendMark_;
  std::map<Pool, int> counts_;
  RefusalLog refusals_;
  QMutex failuresLock_;
  std::map<QUrl, int> failures_;
};

// A gatekeeper on a thread of its own; both end with it.
class RunningGatekeeper {
 public:
  RunningGatekeeper(const QUrl& gateway, Gatekeeper::Seams seams = {});
  ~RunningGatekeeper();

  Gatekeeper& operator*() { return *keeper_; }
  Gatekeeper* operator->() { return keeper_; }
  // Its thread ends: no connection is taken or served any more.
  void stop();

 private:
  QThread thread_;
  Gatekeeper* keeper_ = nullptr;
};

}  // namespace movarek
