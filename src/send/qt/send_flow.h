#pragma once
// A send from any page, from the press that passed its checks to its end: the route it goes
// by, what the user is told of the outcome, the text a Yes clears, and the close guard that
// follows every send. A message to several addressees of a route that takes one at a time goes
// as one record each, one after another, and is told once at the end.
#include <QObject>
#include <QString>
#include <deque>
#include <map>
#include <string_view>
#include <vector>

#include "common/page.h"
#include "common/qt/clock_deadline.h"
#include "send/qt/send_route.h"
#include "send/sent_messages.h"

namespace movarek {

class SendRecorder;
class TMemo;

class SendFlow : public QObject {
  Q_OBJECT

 public:
  // A sending page: its message field, which a Yes clears and which has the focus back after
  // the outcome while its page is shown, and the route its messages go by.
  struct Lane {
    TMemo* memo;
    SendRoute* route;
  };

  SendFlow(const std::map<Page, Lane>& lanes, SendRecorder& recorder, QObject* parent);

  // The close guard's wait: it runs for ten seconds after every answered send.
  ClockDeadline* closeGuard() { return &closeGuard_; }

  // The page's send is under way: its send commands wait for it to end.
  bool busy(Page page) const;
  // The name of the route the page's messages go by.
  std::string_view routeOf(Page page) const;
  // The page's send passed its checks: `records` are what the sent messages keep of it, one
  // for each message that goes, their requests included; `message` is the text as the field
  // held it at the press.
  void send(Page page, std::vector<SentRecord> records, const QString& message);

  // A request is on its way, or ten seconds have not passed since one was answered: closing
  // would cut it off.
  bool closeHeldBack() const;
  // A send of the outbox's holds the close back as one of the pages does.
  void otherSendBegan();
  void otherSendEnded(bool answered);
  // The guard's ten seconds are over.
  void closeGuardOver();

 signals:
  // The help strip shows whether the close is held back.
  void closeGuardChanged(bool heldBack);
  // A send that never left waits for the network now: the outbox tries it again.
  void waitingForNetwork();
  // A sent message's reference was handed to the database: a delivery report held for it may
  // be matched now.
  void referencesWritten();

 private:
  struct Sending {
    Lane page;
    QString sentText;
    std::deque<SentRecord> toGo;
    quint64 number = 0;  // the recorder's, of the message under way or the last one
    int sent = 0;
    std::string sentTold;  // the route's own words for a sent message, where it has them
    std::vector<RouteOutcome> unsent;
  };

  const Sending& sending(Page page) const { return lanes_.at(page); }
  void sendNext(Sending& sending);
  void ended(Sending& sending, const RouteOutcome& outcome);
  // The route has the message: offers to clear the sent text and guards the close.
  void finish(const Sending& sent);
  // Not sent, or not known: says so and leaves the text for another try.
  void reportFailure(const Sending& unsent, const RouteOutcome& outcome);
  // Some of several messages went, and some not or not surely.
  void reportPartly(const Sending& partly);
  void focusIfShown(const Sending& sending);
  void reportLateAnswer(quint64 number, const RouteOutcome& outcome);
  void armCloseGuard();
  void tellCloseGuard();

  // Waiting for the network now: the text may be cleared as after a send.
  void offerToClear(const Sending& waiting);

  SendRecorder& recorder_;
  std::map<Page, Sending> lanes_;
  ClockDeadline closeGuard_;
  int othersUnderWay_ = 0;
};

}  // namespace movarek
