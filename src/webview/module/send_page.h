#pragma once
// The page of a hidden view: the one gateway request it was given, and nothing after it.
#include <QUrl>
#include <QWebEnginePage>

namespace movarek {

class SendPage : public QWebEnginePage {
 public:
  SendPage(const QUrl& gateway, QObject* parent);

 protected:
  // The request asked for, and the gateway's redirects within the gateway while it answers; no
  // frame, nothing to another host (a redirect there ends the load: the gateway has answered),
  // and nothing once the answer has come, so neither a refresh of the page nor of its headers.
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

 private:
  QUrl gateway_;
  bool requested_ = false;
  bool answered_ = false;
};

}  // namespace movarek
