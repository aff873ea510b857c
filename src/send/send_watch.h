#pragma once
// A send from the moment its request is handed to the web view until the gateway has
// answered it, or it has failed, or ten seconds have passed without an answer since the
// request went out. Only the send's own request counts: other loads of the program never
// hold it back or end it.
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <optional>
#include <string>

#include "webview/load_failure.h"

namespace movarek {

class TCppWebBrowser;
class WebLoad;

class SendWatch : public QObject {
  Q_OBJECT

 public:
  SendWatch(TCppWebBrowser& browser, QObject* parent);

  // A send under way: the page's send commands wait for it to end.
  bool busy() const { return !load_.isNull(); }

  void send(const std::string& cp1250Url);

 signals:
  void delivered();
  void failed(movarek::LoadFailure failure);

 private:
  void ended(const std::optional<LoadFailure>& failure);

  TCppWebBrowser& browser_;
  QPointer<WebLoad> load_;
  QTimer noAnswer_;
};

}  // namespace movarek
