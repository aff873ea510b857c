#pragma once
// The way from the gatekeeper to the gateway: straight there, or through the user's own proxy,
// and the gateway's addresses as the name resolver gives them, where an answer that would put
// the gateway on this computer or its local network is not followed unless the gateway was
// there from the first answer of the run: a DNS answer changed under a page cannot make the
// gateway the user's router.
#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QObject;

namespace movarek {

// Where a request for the gateway goes: the gateway itself, or the user's proxy.
struct Upstream {
  QString host;
  quint16 port = 0;
  bool proxy = false;          // the user's: asked in absolute form, tunnels by CONNECT
  QByteArray authorization{};  // "Basic …" for the user's proxy, when its address names a user
};

// The user's own proxy for `host`, from the environment (http_proxy or HTTP_PROXY, unless
// no_proxy or NO_PROXY names the host); none when there is none.
std::optional<Upstream> usersProxy(const QString& host);

// Looks `name` up and tells `answered` its addresses (none when it has none) on the thread of
// `context`, unless `context` is gone by then.
using Resolver = std::function<void(const QString& name, QObject* context,
                                    std::function<void(const QList<QHostAddress>&)> answered)>;
// The system's name resolver.
Resolver systemResolver();

class GatewayAddresses {
 public:
  // The addresses of `answer` that may be connected to, in its order.
  QList<QHostAddress> admitted(const QList<QHostAddress>& answer);

 private:
  std::optional<QList<QHostAddress>> first_;  // the run's first answer
};

}  // namespace movarek
