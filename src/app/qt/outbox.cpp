#include "app/qt/outbox.h"

#include <QWidget>
#include <algorithm>

#include "common/qt/desktop_notification.h"
#include "common/qt/message_box.h"
#include "common/qt/program_clock.h"
#include "common/qt/program_database.h"
#include "send/gateway.h"
#include "send/outbox.h"
#include "send/qt/send_recorder.h"
#include "send/qt/send_watch.h"
#include "send/send_check.h"
#include "send/send_failure.h"

namespace movarek {
namespace {

QString addresseeOf(const SentRecord& plan) {
  return QString::fromStdString(shownAddressees(plan));
}

QString reasonOf(const LoadFailure& failure) {
  return QString::fromStdString(failureReason(failure));
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

}  // namespace

Outbox::Outbox(ProgramDatabase& database, TCppWebBrowser& emailBrowser,
               TCppWebBrowser& oskarBrowser, QWidget& window)
    : QObject(&window),
      database_(database),
      window_(window),
      emailWatch_(new SendWatch(emailBrowser, "planned e-mail", this)),
      oskarWatch_(new SendWatch(oskarBrowser, "planned Oskar", this)) {
  for (SendWatch* watch : {emailWatch_, oskarWatch_}) {
    connect(watch, &SendWatch::delivered, this, [this] { ended(std::nullopt); });
    connect(watch, &SendWatch::failed, this,
            [this](const LoadFailure& failure) { ended(failure); });
    connect(watch, &SendWatch::answeredLate, this,
            [this](quint64 id, const std::optional<LoadFailure>& failure) {
              answeredLate(static_cast<std::int64_t>(id), failure);
            });
  }
  look_.setSingleShot(true);
  connect(&look_, &QTimer::timeout, this, &Outbox::look);
  connect(&ProgramClock::instance(), &ProgramClock::moved, this, &Outbox::look);
}

void Outbox::start() {
  started_ = true;
  reload();
}

void Outbox::reload() {
  database_.fetch<std::vector<SentRecord>>(
      this, [](Database& kept) { return SentMessages(kept).plans(); },
      [this](std::vector<SentRecord> plans) {
        std::erase_if(plans, [this](const SentRecord& plan) {
          const auto going = [&](const SentRecord& other) { return other.id == plan.id; };
          return (sending_ && going(*sending_)) || std::ranges::any_of(toSend_, going);
        });
        plans_ = std::move(plans);
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
  const auto found = std::ranges::find(plans_, id, &SentRecord::id);
  if (found == plans_.end()) return;
  toSend_.push_back(*found);
  plans_.erase(found);
  sendNext();
}

int Outbox::pending() const {
  const auto waiting = std::ranges::count_if(plans_, [](const SentRecord& plan) {
    return plan.state == SentState::Planned || plan.state == SentState::WaitingForNetwork;
  });
  return static_cast<int>(waiting + toSend_.size() + (sending_ ? 1 : 0));
}

bool Outbox::busy() const { return sending_.has_value(); }

void Outbox::look() {
  if (!started_ || asking_) return;
  const std::int64_t now = ProgramClock::instance().now();
  std::vector<SentRecord> missed;
  for (auto plan = plans_.begin(); plan != plans_.end();) {
    const PlanStep step = stepAt(*plan, now);
    if (step == PlanStep::Wait) {
      ++plan;
      continue;
    }
    if (step == PlanStep::Send) toSend_.push_back(*plan);
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
      toSend_.push_back(plan);
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
  sending_ = toSend_.front();
  toSend_.pop_front();
  // Written as under way before it goes: should the program end before the answer, it is not
  // known whether it arrived, and it is never sent again. One cancelled meanwhile stays unsent.
  // It goes under the newest id, as of now: the records list in the order they went.
  auto newId = std::make_shared<std::int64_t>(0);
  database_.change(
      this,
      [id = sending_->id, now = ProgramClock::instance().now(), newId](Database& kept) {
        const auto marked = SentMessages(kept).markSending(id, now);
        if (marked) *newId = *marked;
        return marked.has_value();
      },
      [this, newId](const JobEnd& end) {
        if (database_.doneElseTold(end, QStringLiteral("Naplánovanou zprávu nelze odeslat")) &&
            *newId) {
          sending_->id = *newId;
          watchFor(sending_->page)
              .send(gatewayUrl(sending_->request), static_cast<quint64>(sending_->id));
          emit changed();
          return;
        }
        sending_.reset();
        emit changed();
        sendNext();
      });
}

SendWatch& Outbox::watchFor(Page page) { return page == Page::Oskar ? *oskarWatch_ : *emailWatch_; }

void Outbox::ended(const std::optional<LoadFailure>& failure) {
  if (!sending_) return;
  SentRecord plan = *std::exchange(sending_, std::nullopt);
  const std::int64_t now = ProgramClock::instance().now();
  const QString to = addresseeOf(plan);
  plan.reason = failure ? reasonCode(*failure) : std::string();
  if (failure && worthRetrying(*failure)) {
    const bool firstFailure = plan.state != SentState::WaitingForNetwork;
    const auto next = firstFailure ? std::optional(now + kRetryEvery) : nextTry(plan, now);
    if (firstFailure) plan = waitingForNetwork(plan, now);
    if (next) {
      plan.dueAt = *next;
      replanned(plan);
      if (firstFailure) {
        tell(QStringLiteral("Zprávu pro %1 se nepodařilo odeslat (%2). Program ji odešle, až bude "
                            "síť zase k dispozici.")
                 .arg(to, reasonOf(*failure)),
             true);
      }
      return;
    }
  }
  plan.state = stateAfter(failure);
  replanned(plan);
  if (plan.state == SentState::Uncertain) late_.push_back(plan);
  if (!failure) {
    tell(QStringLiteral("Naplánovaná zpráva pro %1 byla odeslána.").arg(to), false);
  } else if (plan.state == SentState::NotSent) {
    tell(QStringLiteral("Naplánovanou zprávu pro %1 se nepodařilo odeslat (%2).")
             .arg(to, reasonOf(*failure)),
         true);
  } else {
    tell(QStringLiteral("Není jisté, zda naplánovaná zpráva pro %1 došla (%2). Než ji pošlete "
                        "znovu, ověřte si, zda nepřišla.")
             .arg(to, reasonOf(*failure)),
         true);
  }
}

void Outbox::replanned(const SentRecord& plan) {
  keep(database_, plan);
  if (isPlan(plan.state)) plans_.push_back(plan);
  emit changed();
  sendNext();
  look();
}

void Outbox::answeredLate(std::int64_t id, const std::optional<LoadFailure>& failure) {
  const auto found = std::ranges::find(late_, id, &SentRecord::id);
  if (found == late_.end()) return;
  late_.erase(found);
  database_.record([id, state = stateAfter(failure),
                    reason = failure ? reasonCode(*failure) : std::string()](Database& kept) {
    return SentMessages(kept).answeredLate(id, state, reason);
  });
  tell(QString::fromStdString(lateAnswerMessage(failure)), failure.has_value());
}

// On the desktop while the window is not in front, where no notification service answers
// and while it is in front, in the program's box.
void Outbox::tell(const QString& text, bool failed) {
  const QString caption = failed ? QStringLiteral("Chyba")
                                 : QString::fromUtf8(kSentCaption.data(), kSentCaption.size());
  if (window_.isActiveWindow()) {
    showMessage(text, caption);
    return;
  }
  notifyOnDesktop(text, this, [text, caption] { showMessage(text, caption); });
}

}  // namespace movarek
