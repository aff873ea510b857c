#pragma once
// A send from the moment its request is handed to the web view until the gateway has
// answered it, or it has failed, or ten seconds have passed without an answer since the
// request went out. Only the send's own request counts: other loads of the program never
// hold it back or end it. A request left unanswered after ten seconds is still listened to for
// a while: should its answer come, the send was delivered after all, or certainly refused.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <optional>
#include <string>

#include "common/load_failure.h"
#include "common/qt/clock_deadline.h"

namespace movarek {

class TCppWebBrowser;
class WebLoad;

class SendWatch : public QObject {
  Q_OBJECT

 public:
  // `name` tells the page's sends apart in the log.
  SendWatch(TCppWebBrowser& browser, QString name, QObject* parent);

  // A send under way: the page's send commands wait for it to end.
  bool busy() const { return !load_.isNull(); }

  // `number` names the send in answeredLate.
  void send(const std::string& cp1250Url, quint64 number);

 signals:
  void delivered();
  // Not sent, or not known whether it was (sendOutcome tells which).
  void failed(movarek::LoadFailure failure);
  // A send told as unknown has been answered after all: delivered (no failure), or refused.
  void answeredLate(quint64 number, std::optional<movarek::LoadFailure> failure);

 private:
  void ended(const std::optional<LoadFailure>& failure);
  // The answer did not come in time: the user is told now, and the load listened to a while.
  void waitedInVain();
  void log(const char* what, const std::optional<LoadFailure>& failure) const;

  TCppWebBrowser& browser_;
  QString name_;
  QPointer<WebLoad> load_;
  quint64 number_ = 0;
  ClockDeadline noAnswer_;
  QElapsedTimer sinceIssued_;
};

}  // namespace movarek
