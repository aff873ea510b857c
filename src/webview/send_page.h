#pragma once
// The page of a hidden view: the one gateway request it was given, and nothing after it.
#include <QUrl>
#include <QWebEnginePage>

namespace movarek {

class SendPage : public QWebEnginePage {
 public:
  SendPage(const QUrl& gateway, QObject* parent);

 protected:
  // The request asked for, and a redirect within the gateway; no refresh, no frame, and
  // nothing goes to another host (a redirect there ends the load: the gateway has answered).
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

 private:
  QUrl gateway_;
  bool requested_ = false;
};

}  // namespace movarek
