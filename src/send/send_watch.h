#pragma once
// A send from the moment its request is handed to the web view until the gateway has
// answered, or the request has failed, or ten seconds have passed without an answer since the
// request went out.
#include <QObject>
#include <QTimer>
#include <string>

#include "send/send_failure.h"

namespace movarek {

class TCppWebBrowser;

class SendWatch : public QObject {
  Q_OBJECT

 public:
  SendWatch(TCppWebBrowser& browser, QObject* parent);

  // A send under way: the page's send commands wait for it to end.
  bool busy() const { return busy_; }

  void send(const std::string& cp1250Url);

 signals:
  void delivered();
  void failed(movarek::LoadFailure failure);

 private:
  void end();

  TCppWebBrowser& browser_;
  QTimer noAnswer_;
  bool busy_ = false;
};

}  // namespace movarek
