#pragma once
// A way a checked message goes. A route takes one message at a time and tells how it ended,
// exactly once, as one of three outcomes: sent, not sent, or not known; one told as not known
// may still be answered later, while the program runs. The send flow, the outbox and the
// history speak to routes, whatever carries the message.
#include <QObject>
#include <optional>
#include <string>
#include <string_view>

#include "send/sent_messages.h"

namespace movarek {

// How a send ended, made once where the route's answer is read.
struct RouteOutcome {
  SentState state = SentState::Sent;  // Sent, NotSent or Uncertain
  std::string reason;                 // a reason's code, as the records keep it; none when sent
  std::string why;                    // the reason in a few words, for a line of a note
  std::string told;                   // what the user reads in the send's box
  bool retry = false;                 // the message may go once the network is back
  // A sent message's reference, which the network's delivery report names; none where no
  // report was asked for.
  std::optional<unsigned> reportReference;

  bool sent() const { return state == SentState::Sent; }
};

class SendRoute : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  // The stable code a record keeps of the route it went by.
  virtual std::string_view name() const = 0;
  // The route can take a message now: none of its own is under way.
  virtual bool canSendNow() const = 0;
  // Sends `message` (its request and fields as checked); `number` names the send in the
  // signals.
  virtual void send(const SentRecord& message, quint64 number) = 0;

 signals:
  // The route can carry messages again after it could not (a network, a modem on one): those
  // waiting for it may go now.
  void cameBack();
  void ended(quint64 number, const movarek::RouteOutcome& outcome);
  // A send that ended as not known has been answered after all: sent, or certainly not.
  void answeredLate(quint64 number, const movarek::RouteOutcome& outcome);
};

}  // namespace movarek
