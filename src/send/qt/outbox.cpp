#include "send/qt/outbox.h"

#include <algorithm>

#include "common/qt/desktop_network.h"
#include "common/qt/message_box.h"
#include "common/qt/program_clock.h"
#include "common/qt/program_database.h"
#include "common/qt/qt_text.h"
#include "send/outbox.h"
#include "send/page_names.h"
#include "send/qt/send_recorder.h"
#include "send/qt/send_route.h"

namespace movarek {
namespace {

QString addresseeOf(const SentRecord& plan) {
  return QString::fromStdString(shownAddressees(plan));
}

// One line of the question about missed messages: when, to whom, how it begins.
QString missedLine(const SentRecord& plan) {
  constexpr int kShownText = 30;
  QString text = QString::fromStdString(plan.text).replace(QLatin1Char('\n'), QLatin1Char(' '));
  if (text.size() > kShownText) text = text.left(kShownText) + QStringLiteral("…");
  return QStringLiteral("– %1, %2: %3")
      .arg(QString::fromStdString(shownTime(plan.dueAt)), addresseeOf(plan), text);
}

// The record's state and reason, written on the database's thread in the background.
void keep(ProgramDatabase& database, const SentRecord& plan) { recordPlanOutcome(database, plan); }

// Another program holds the file, or the disk is full: it passes.
bool passing(const DatabaseFault& fault) {
  return fault.kind == DatabaseFault::Kind::Busy || fault.kind == DatabaseFault::Kind::Full;
}

const QString kTooLate = QStringLiteral("Zprávu už nelze zrušit: program ji začal odesílat.");

}  // namespace

Outbox::Outbox(ProgramDatabase& database, std::map<Page, RouteMeans> means, OutboxNotices& notices,
               QObject* parent)
    : QObject(parent), database_(database), means_(std::move(means)), notices_(notices) {
  look_.setSingleShot(true);
  // A look's end: what ended since the one before is told, however long the sends take.
  connect(&look_, &QTimer::timeout, this, [this] {
    notices_.tell();
    look();
  });
  connect(&ProgramClock::instance(), &ProgramClock::moved, this, &Outbox::look);
  connect(&DesktopNetwork::instance(), &DesktopNetwork::back, this, &Outbox::networkBack);
}

void Outbox::start() {
  started_ = true;
  reload();
}

void Outbox::reload() {
  database_.fetch<std::vector<SentRecord>>(
      this, [](Database& kept) { return SentMessages(kept).plans(); },
      [this](std::vector<SentRecord> plans) {
        std::vector<SentRecord> held;
        std::erase_if(plans, [&](const SentRecord& plan) {
          if (going(plan.id)) return true;
          if (std::ranges::find(held_, plan.id, &SentRecord::id) == held_.end()) return false;
          held.push_back(plan);
          return true;
        });
        plans_ = std::move(plans);
        held_ = std::move(held);
        emit changed();
        look();
      });
}

void Outbox::plan(SentRecord record, std::function<void(const SentRecord&)> kept) {
  record.state = SentState::Planned;
  auto id = std::make_shared<std::int64_t>(0);
  database_.change(
      this,
      [record, id](Database& kept) {
        const auto added = SentMessages(kept).add(record);
        if (added) *id = *added;
        return added.has_value();
      },
      [this, record, id, kept = std::move(kept)](const JobEnd& end) mutable {
        if (!database_.doneElseTold(end, QStringLiteral("Zprávu nelze naplánovat"))) return;
        record.id = *id;
        plans_.push_back(record);
        emit changed();
        kept(record);
        look();
      });
}

void Outbox::sendNow(std::int64_t id) {
  for (std::vector<SentRecord>* from : {&plans_, &held_}) {
    const auto found = std::ranges::find(*from, id, &SentRecord::id);
    if (found == from->end()) continue;
    toSend_.push_back({*found, true});
    from->erase(found);
    sendNext();
    return;
  }
  if (!going(id)) readAgain(id);
}

void Outbox::readAgain(std::int64_t id) {
  auto found = std::make_shared<std::optional<SentRecord>>();
  database_.read(
      this,
      [id, found](Database& kept) {
        const auto record = SentMessages(kept).record(id);
        if (record) *found = *record;
        return record.has_value();
      },
      [this, id, found](const JobEnd& end) {
        const QString refused = QStringLiteral("Zprávu nelze odeslat hned");
        if (!end.done) {
          if (end.fault) database_.tellFailure(refused, *end.fault);
        } else if (!*found) {
          showError(refused + QStringLiteral(": program ji už odeslal, nebo byla smazána."));
        } else if (!isPlan((*found)->state)) {
          const auto state = QString::fromStdString(std::string(stateName((*found)->state)));
          showError(refused + QStringLiteral(": už není naplánovaná (stav „%1“).").arg(state));
        } else if (!going(id)) {
          toSend_.push_back({**found, true});
          sendNext();
        }
        emit changed();
      });
}

bool Outbox::mayAlsoSend(const SentRecord& send) {
  const auto same = [&send](const SentRecord& plan) {
    return plan.state == SentState::WaitingForNetwork && plan.page == send.page &&
           plan.addressees == send.addressees && plan.oskarPrefix == send.oskarPrefix &&
           plan.text == send.text;
  };
  const auto waitingIn = [&](std::vector<SentRecord>& from) {
    return std::ranges::find_if(from, same) != from.end();
  };
  if (!waitingIn(plans_) && !waitingIn(held_)) return true;
  const QString caption = QStringLiteral("Zpráva čeká na síť");
  if (showMessage(QStringLiteral("Tato zpráva čeká na síť a odejde sama, jakmile to půjde. "
                                 "Odeslat ji přesto hned?"),
                  caption, MessageButtons::YesNoDefaultNo) != MessageAnswer::Yes) {
    return false;
  }
  // It may have gone while the question was open.
  for (std::vector<SentRecord>* from : {&plans_, &held_}) {
    const auto waiting = std::ranges::find_if(*from, same);
    if (waiting == from->end()) continue;
    database_.record(
        [id = waiting->id](Database& kept) { return SentMessages(kept).cancel({id}).has_value(); });
    from->erase(waiting);
    emit changed();
    return true;
  }
  showMessage(kTooLate, caption);
  return false;
}

int Outbox::pending() const {
  const auto waiting = std::ranges::count_if(plans_, [](const SentRecord& plan) {
    return plan.state == SentState::Planned || plan.state == SentState::WaitingForNetwork;
  });
  return static_cast<int>(waiting + held_.size() + toSend_.size() + (sending_ ? 1 : 0));
}

bool Outbox::going(std::int64_t id) const {
  if (sending_ && (sending_->plan.id == id || sendingWas_ == id)) return true;
  return std::ranges::any_of(toSend_, [id](const Going& next) { return next.plan.id == id; });
}

void Outbox::look() {
  if (!started_ || asking_) return;
  const std::int64_t now = ProgramClock::instance().now();
  for (SentRecord& plan : std::exchange(held_, {})) toSend_.push_back({std::move(plan)});
  std::vector<SentRecord> missed;
  for (auto plan = plans_.begin(); plan != plans_.end();) {
    const PlanStep step = stepAt(*plan, now);
    if (step == PlanStep::Wait) {
      // Its route says when it is back, and it goes then.
      if (plan->state == SentState::WaitingForNetwork) routeFor(*plan);
      ++plan;
      continue;
    }
    if (step == PlanStep::Send) toSend_.push_back({*plan});
    if (step == PlanStep::Ask) missed.push_back(*plan);
    if (step == PlanStep::GiveUp) {
      plan->state = SentState::NotSent;
      keep(database_, *plan);
      tell(QStringLiteral("Zprávu pro %1 se ani za hodinu nepodařilo odeslat.")
               .arg(addresseeOf(*plan)),
           true);
    }
    plan = plans_.erase(plan);
  }
  if (!missed.empty()) askAboutMissed(missed);
  sendNext();
  tellIfIdle();
  const std::int64_t next = nextLook(plans_, ProgramClock::instance().now());
  look_.start(static_cast<int>(std::max<std::int64_t>(0, next - now) * 1000));
}

// Never sent unasked: the user says whether they go now; those that do not stay as missed.
void Outbox::askAboutMissed(const std::vector<SentRecord>& missed) {
  QStringList lines;
  for (const SentRecord& plan : missed) lines << missedLine(plan);
  asking_ = true;
  const auto answer = showMessage(
      QStringLiteral("Tyto naplánované zprávy se měly odeslat, když program neběžel nebo "
                     "počítač spal:\n%1\nOdeslat je hned? (Jinak zůstanou v odeslaných zprávách "
                     "jako zmeškané.)")
          .arg(lines.join(QLatin1Char('\n'))),
      QStringLiteral("Naplánované zprávy"), MessageButtons::YesNoDefaultNo);
  asking_ = false;
  for (SentRecord plan : missed) {
    if (answer == MessageAnswer::Yes) {
      toSend_.push_back({plan});
      continue;
    }
    plan.state = SentState::Missed;
    keep(database_, plan);
    plans_.push_back(plan);
  }
  emit changed();
}

void Outbox::sendNext() {
  if (sending_ || toSend_.empty()) return;
  sending_ = std::move(toSend_.front());
  toSend_.pop_front();
  sendingWas_ = sending_->plan.id;
  // Written as under way before it goes: should the program end before the answer, it is not
  // known whether it arrived, and it is never sent again. One cancelled meanwhile stays unsent.
  auto newId = std::make_shared<std::int64_t>(0);
  database_.change(
      this,
      [id = sendingWas_, now = ProgramClock::instance().now(), newId](Database& kept) {
        const auto marked = SentMessages(kept).markSending(id, now);
        if (marked) *newId = *marked;
        return marked.has_value();
      },
      [this, newId](const JobEnd& end) {
        if (end.done && *newId) return go(*newId);
        if (!end.done && end.fault && passing(*end.fault)) return holdBack(*end.fault);
        database_.doneElseTold(end, QStringLiteral("Naplánovanou zprávu nelze odeslat"));
        sending_.reset();
        emit changed();
        sendNext();
        tellIfIdle();
      });
}

void Outbox::go(std::int64_t newId) {
  SentRecord& plan = sending_->plan;
  heldTold_.erase(plan.id);
  plan.id = newId;
  SendRoute* route = routeFor(plan);
  // Begun before it is sent: a route may end a send before it returns.
  emit sendBegan();
  if (!route) {
    // Planned by a program that knows a route this one does not: it cannot go from here.
    return ended(
        {SentState::NotSent, "route " + plan.route, "program tuto cestu nezná", {}, false});
  }
  route->send(plan, static_cast<quint64>(newId));
  emit changed();
}

void Outbox::holdBack(const DatabaseFault& fault) {
  const std::int64_t now = ProgramClock::instance().now();
  std::deque<Going> back = std::exchange(toSend_, {});
  back.push_front(std::move(*sending_));
  sending_.reset();
  for (Going& next : back) {
    const SentRecord& plan = next.plan;
    if (next.asked || (heldTooLong(plan, now) && !heldTold_.contains(plan.id))) {
      heldTold_.insert(plan.id);
      tell(QStringLiteral("Naplánovanou zprávu pro %1 zatím nelze odeslat: %2. Program to zkouší "
                          "dál.")
               .arg(addresseeOf(plan), faultReason(fault)),
           true);
    }
    held_.push_back(plan);
  }
  emit changed();
  tellIfIdle();
}

SendRoute* Outbox::routeFor(const SentRecord& plan) {
  const auto key = std::pair(plan.page, plan.route);
  if (const auto made = routes_.find(key); made != routes_.end()) return made->second;
  const QString logName = QStringLiteral("planned ") + qtFromUtf8(pageNames(plan.page).log);
  SendRoute* route = makeRoute(plan.route, means_[plan.page], logName, this);
  if (!route) return nullptr;
  connect(route, &SendRoute::ended, this,
          [this](quint64, const RouteOutcome& outcome) { ended(outcome); });
  connect(route, &SendRoute::answeredLate, this, [this](quint64 id, const RouteOutcome& outcome) {
    answeredLate(static_cast<std::int64_t>(id), outcome);
  });
  connect(route, &SendRoute::cameBack, this, &Outbox::networkBack);
  return routes_[key] = route;
}

void Outbox::ended(const RouteOutcome& outcome) {
  if (!sending_) return;
  SentRecord plan = std::exchange(sending_, std::nullopt)->plan;
  emit sendEnded(outcome.sent());
  const std::int64_t now = ProgramClock::instance().now();
  const QString to = addresseeOf(plan);
  const QString why = QString::fromStdString(outcome.why);
  plan.reason = outcome.reason;
  plan.reportReference = outcome.reportReference;
  if (outcome.retry) {
    const bool firstFailure = plan.state != SentState::WaitingForNetwork;
    const auto next = firstFailure ? std::optional(now + kRetryEvery) : nextTry(plan, now);
    if (firstFailure) plan = waitingForNetwork(plan, now);
    if (next) {
      plan.dueAt = *next;
      if (firstFailure) {
        tell(QStringLiteral("Zprávu pro %1 se nepodařilo odeslat (%2). Program ji odešle, až bude "
                            "síť zase k dispozici.")
                 .arg(to, why),
             true);
      }
      replanned(plan);
      return;
    }
  }
  plan.state = outcome.state;
  if (plan.state == SentState::Uncertain) late_.push_back(plan);
  if (outcome.sent()) {
    tell(QStringLiteral("Naplánovaná zpráva pro %1 byla odeslána.").arg(to), false);
  } else if (plan.state == SentState::NotSent) {
    tell(QStringLiteral("Naplánovanou zprávu pro %1 se nepodařilo odeslat (%2).").arg(to, why),
         true);
  } else {
    tell(QStringLiteral("Není jisté, zda naplánovaná zpráva pro %1 došla (%2). Než ji pošlete "
                        "znovu, ověřte si, zda nepřišla.")
             .arg(to, why),
         true);
  }
  replanned(plan);
  if (plan.reportReference) emit referencesWritten();
}

void Outbox::replanned(const SentRecord& plan) {
  keep(database_, plan);
  if (isPlan(plan.state)) plans_.push_back(plan);
  emit changed();
  sendNext();
  look();
}

void Outbox::answeredLate(std::int64_t id, const RouteOutcome& outcome) {
  const auto found = std::ranges::find(late_, id, &SentRecord::id);
  if (found == late_.end()) return;
  late_.erase(found);
  database_.record([id, outcome](Database& kept) {
    return SentMessages(kept).answeredLate(id, outcome.state, outcome.reason,
                                           outcome.reportReference);
  });
  if (outcome.reportReference) emit referencesWritten();
  tell(QString::fromStdString(outcome.told), !outcome.sent());
  tellIfIdle();
}

// The messages waiting for the network go now, rather than at their next try.
void Outbox::networkBack() {
  const std::int64_t now = ProgramClock::instance().now();
  for (SentRecord& plan : plans_) {
    if (plan.state == SentState::WaitingForNetwork) plan.dueAt = std::min(plan.dueAt, now);
  }
  look();
}

void Outbox::tell(const QString& text, bool failed) { notices_.add(text, failed); }

void Outbox::tellIfIdle() {
  if (!sending_ && toSend_.empty()) notices_.tell();
}

}  // namespace movarek
