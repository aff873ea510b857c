#include "webview/module/link_check.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "webview/module/link_question.h"
#include "webview/module/local_network.h"

namespace movarek {
namespace {

constexpr int kLookupMs = 2000;

QString reachedHost(const QUrl& url) {
  QString host = url.host(QUrl::FullyEncoded).toLower();
  while (host.endsWith(QLatin1Char('.'))) host.chop(1);
  return host;
}

QString ownName() {
  QString name = QHostInfo::localHostName().toLower();
  while (name.endsWith(QLatin1Char('.'))) name.chop(1);
  return name;
}

// What is known of `host` before any lookup.
enum class Known { Nothing, Opens, NotInternet, ThisComputer };

Known knownAtOnce(const QUrl& url, const QString& host) {
  if (url.scheme() == QLatin1String("mailto")) return Known::Opens;
  const QHostAddress address(host);
  if (!address.isNull()) return onLocalNetwork(address) ? Known::ThisComputer : Known::Opens;
  if (host == QLatin1String("localhost") || host.endsWith(QLatin1String(".localhost")) ||
      host.endsWith(QLatin1String(".local")) || host == ownName() ||
      host.startsWith(ownName() + QLatin1Char('.'))) {
    return Known::ThisComputer;
  }
  return host.contains(QLatin1Char('.')) ? Known::Nothing : Known::NotInternet;
}

// One lookup and those waiting for it: decided once, by the answer or by the time running out.
class Lookup : public QObject {
 public:
  explicit Lookup(const QString& host) {
    timeout_.setSingleShot(true);
    connect(&timeout_, &QTimer::timeout, this, [this] { decide(LinkRefusal::Unverified); });
    timeout_.start(kLookupMs);
    id_ = QHostInfo::lookupHost(host, this, [this](const QHostInfo& info) { looked(info); });
  }

  void whenDecided(std::function<void(std::optional<LinkRefusal>)> checked) {
    if (decided_) return checked(*decided_);
    waiting_.push_back(std::move(checked));
  }

 private:
  void looked(const QHostInfo& info) {
    const auto& addresses = info.addresses();
    if (info.error() != QHostInfo::NoError || addresses.isEmpty()) {
      return decide(LinkRefusal::Unverified);
    }
    const bool local = std::any_of(addresses.begin(), addresses.end(), onLocalNetwork);
    decide(local ? std::optional(LinkRefusal::ThisComputer) : std::nullopt);
  }

  void decide(std::optional<LinkRefusal> refusal) {
    if (decided_) return;
    timeout_.stop();
    QHostInfo::abortHostLookup(id_);
    decided_ = refusal;
    for (const auto& checked : std::exchange(waiting_, {})) checked(refusal);
  }

  QTimer timeout_;
  int id_ = 0;
  std::optional<std::optional<LinkRefusal>> decided_;
  std::vector<std::function<void(std::optional<LinkRefusal>)>> waiting_;
};

}  // namespace

LinkOut checkedLink(const QUrl& url) {
  const QString host = reachedHost(url);
  const bool mail = url.scheme() == QLatin1String("mailto");
  LinkOut link{mail ? mailPassedOn(url) : url, host, linkQuestion(url, host), {}, {}};
  const Known known = knownAtOnce(url, host);
  if (known != Known::Nothing) {
    if (known == Known::NotInternet) link.refused = LinkRefusal::NotInternet;
    if (known == Known::ThisComputer) link.refused = LinkRefusal::ThisComputer;
    link.whenChecked = [refusal = link.refused](const auto& checked) { checked(refusal); };
    return link;
  }
  // Kept by the link and by whoever waits for its answer; gone, later, once neither does.
  const std::shared_ptr<Lookup> lookup(new Lookup(host), [](Lookup* done) { done->deleteLater(); });
  link.whenChecked = [lookup](std::function<void(std::optional<LinkRefusal>)> checked) {
    lookup->whenDecided([lookup, checked = std::move(checked)](std::optional<LinkRefusal> refusal) {
      checked(refusal);
    });
  };
  return link;
}

}  // namespace movarek
