#pragma once
// The page of a hidden view: the one gateway request it was given, and nothing after it.
#include <QString>
#include <QUrl>
#include <QWebEnginePage>

namespace movarek {

class SendPage : public QWebEnginePage {
 public:
  SendPage(const QUrl& gateway, QObject* parent);

  // The server a redirect of the gateway's answer pointed to, when it was not the gateway
  // itself; empty otherwise.
  const QString& redirectedAwayTo() const { return redirectedAwayTo_; }

 protected:
  // The request asked for, and the gateway's redirects within the gateway while it answers; no
  // frame, nothing to another host (a redirect there ends the load unfollowed), and nothing
  // once the answer has come, so neither a refresh of the page nor of its headers.
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

 private:
  QUrl gateway_;
  bool requested_ = false;
  bool answered_ = false;
  QString redirectedAwayTo_;
};

// "host" or "host:port" of `url`, as the user is told where an answer came from.
QString serverOf(const QUrl& url);

}  // namespace movarek
