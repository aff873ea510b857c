#pragma once
// Messages sent later: planned for a time, or waiting for the network after a send that never
// left. One timer serves them all; each goes out within half a minute of its time, as a send
// from its page does (the same request, the same ten seconds, the same three outcomes), without
// touching what the user is writing. One waiting for the network goes as soon as the desktop
// says the network is back. Its outcome updates its record and is told (OutboxNotices). A
// planned message overdue by more than five minutes goes only when the user says so, and none is
// ever sent twice: one whose send was under way when the program ended is not known to have
// arrived. One that cannot be marked as going while another program holds the file is tried at
// each look until it can.
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "send/qt/routes.h"
#include "send/sent_messages.h"

namespace movarek {

class ProgramDatabase;
class SendRoute;
struct RouteOutcome;
struct DatabaseFault;

// Where the outbox's outcomes are told: what is added is told together at the next tell.
class OutboxNotices {
 public:
  virtual ~OutboxNotices() = default;
  // `failed` gives the caption "Chyba".
  virtual void add(const QString& text, bool failed) = 0;
  virtual void tell() = 0;
};

class Outbox : public QObject {
  Q_OBJECT

 public:
  // Sends by the route each message names, with what its page has for it (`means`); tells
  // through `notices`.
  Outbox(ProgramDatabase& database, std::map<Page, RouteMeans> means, OutboxNotices& notices,
         QObject* parent);

  // Reads the messages still to go, asks about those overdue and looks after the rest. Done
  // after the main window's first paint.
  void start();
  // Reads them anew (another window changed them).
  void reload();
  // A message planned: kept, and sent at its time. `kept` is called once it is stored; a plan
  // that could not be stored is told and never calls it.
  void plan(SentRecord record, std::function<void(const SentRecord&)> kept);
  // "Odeslat hned": a message still to go sent now. One the outbox does not hold is read anew,
  // and the user is told why it cannot be sent.
  void sendNow(std::int64_t id);
  // A send the user asked for on its page: where the same message waits for the network, the
  // user is asked first, and Yes cancels the waiting one. False when the send is not to go.
  bool mayAlsoSend(const SentRecord& send);

  // Planned messages and those waiting for the network: they go only while the program runs.
  int pending() const;

 signals:
  void changed();
  // A send of the outbox's is under way, or has ended (`answered`: the gateway has it): closing
  // would cut it off, as it would a send from a page.
  void sendBegan();
  void sendEnded(bool answered);
  // A sent message's reference was handed to the database (see SendFlow::referencesWritten).
  void referencesWritten();

 private:
  // A message taken to be sent; `asked` by the user, who hears at once what keeps it.
  struct Going {
    SentRecord plan;
    bool asked = false;
  };

  // What is due goes, what was missed is asked about, and the timer is set for the next look.
  void look();
  void askAboutMissed(const std::vector<SentRecord>& missed);
  void sendNext();
  void go(std::int64_t newId);
  // The file could not be written: the message, and those queued after it, go at a later look.
  void holdBack(const DatabaseFault& fault);
  void ended(const RouteOutcome& outcome);
  void answeredLate(std::int64_t id, const RouteOutcome& outcome);
  // `plan` changed state: its record written, and it is still to go or no longer.
  void replanned(const SentRecord& plan);
  // What the file says of a message the outbox does not hold: why it cannot go, or that it can.
  void readAgain(std::int64_t id);
  void networkBack();
  void tell(const QString& text, bool failed);
  // What ended is told once nothing more is going.
  void tellIfIdle();
  bool going(std::int64_t id) const;
  // The route `plan` goes by, made when first needed; none that this program has.
  SendRoute* routeFor(const SentRecord& plan);

  ProgramDatabase& database_;
  std::map<Page, RouteMeans> means_;
  std::map<std::pair<Page, std::string>, SendRoute*> routes_;
  OutboxNotices& notices_;
  std::vector<SentRecord> plans_;  // still to go: planned, missed, waiting for the network
  std::vector<SentRecord> held_;   // due, but the file could not be written: tried at each look
  std::set<std::int64_t> heldTold_;
  std::deque<Going> toSend_;
  std::optional<Going> sending_;
  std::int64_t sendingWas_ = 0;   // the id of the message going, before it went
  std::vector<SentRecord> late_;  // sent, not known whether they arrived; still listened to
  QTimer look_;
  bool started_ = false;
  bool asking_ = false;
};

}  // namespace movarek
