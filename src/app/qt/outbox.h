#pragma once
// Messages sent later: planned for a time, or waiting for the network after a send that never
// left. One timer serves them all; each goes out within half a minute of its time, as a send
// from its page does (the same request, the same ten seconds, the same three outcomes), without
// touching what the user is writing. Its outcome updates its record and is told on the desktop
// while the window is not in front, in the program's box while it is. A planned message overdue
// by more than five minutes goes only when the user says so, and none is ever sent twice: one
// whose send was under way when the program ended is not known to have arrived.
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "common/load_failure.h"
#include "send/sent_messages.h"

class QWidget;

namespace movarek {

class ProgramDatabase;
class SendWatch;
class TCppWebBrowser;

class Outbox : public QObject {
  Q_OBJECT

 public:
  // Sends through the pages' hidden browsers; tells within `window`.
  Outbox(ProgramDatabase& database, TCppWebBrowser& emailBrowser, TCppWebBrowser& oskarBrowser,
         QWidget& window);

  // Reads the messages still to go, asks about those overdue and looks after the rest. Done
  // after the main window's first paint.
  void start();
  // Reads them anew (another window changed them).
  void reload();
  // A message planned: kept, and sent at its time. `kept` is called once it is stored; a plan
  // that could not be stored is told and never calls it.
  void plan(SentRecord record, std::function<void(const SentRecord&)> kept);
  // A message still to go, sent now ("Odeslat hned").
  void sendNow(std::int64_t id);

  // Planned messages and those waiting for the network: they go only while the program runs.
  int pending() const;
  // A send of the outbox is under way: closing would cut it off.
  bool busy() const;

 signals:
  void changed();

 private:
  // What is due goes, what was missed is asked about, and the timer is set for the next look.
  void look();
  void askAboutMissed(const std::vector<SentRecord>& missed);
  void sendNext();
  void ended(const std::optional<LoadFailure>& failure);
  void answeredLate(std::int64_t id, const std::optional<LoadFailure>& failure);
  // `plan` changed state: its record written, and it is still to go or no longer.
  void replanned(const SentRecord& plan);
  void tell(const QString& text, bool failed);
  SendWatch& watchFor(Page page);

  ProgramDatabase& database_;
  QWidget& window_;
  SendWatch* emailWatch_;
  SendWatch* oskarWatch_;
  std::vector<SentRecord> plans_;  // still to go: planned, missed, waiting for the network
  std::deque<SentRecord> toSend_;
  std::optional<SentRecord> sending_;
  std::vector<SentRecord> late_;  // sent, not known whether they arrived; still listened to
  QTimer look_;
  bool started_ = false;
  bool asking_ = false;
};

}  // namespace movarek
