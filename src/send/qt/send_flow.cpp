#include "send/qt/send_flow.h"

#include <algorithm>

#include "common/qt/memo.h"
#include "common/qt/message_box.h"
#include "common/qt/program_clock.h"
#include "common/qt/qt_text.h"
#include "send/qt/send_recorder.h"
#include "send/qt/send_route.h"
#include "send/send_check.h"

namespace movarek {
namespace {

constexpr std::int64_t kCloseGuardSeconds = 10;

// The answer may come while another page is shown: that page keeps its strip and the focus.
bool pageShown(const TMemo& memo) { return memo.parentWidget()->isVisibleTo(memo.window()); }

}  // namespace

SendFlow::SendFlow(const std::map<Page, Lane>& lanes, SendRecorder& recorder, QObject* parent)
    : QObject(parent), recorder_(recorder), closeGuard_(kCloseGuardSeconds) {
  for (const auto& [page, lane] : lanes) {
    Sending* each = &lanes_.emplace(page, Sending{lane}).first->second;
    connect(lane.route, &SendRoute::ended, this,
            [this, each](quint64, const RouteOutcome& outcome) { ended(*each, outcome); });
    connect(lane.route, &SendRoute::answeredLate, this, &SendFlow::reportLateAnswer);
  }
}

bool SendFlow::busy(Page page) const {
  const Sending& lane = sending(page);
  return !lane.page.route->canSendNow() || !lane.toGo.empty();
}

std::string_view SendFlow::routeOf(Page page) const { return sending(page).page.route->name(); }

void SendFlow::send(Page page, std::vector<SentRecord> records, const QString& message) {
  if (records.empty()) return;
  Sending& sent = lanes_.at(page);
  sent.sentText = message;
  sent.toGo.assign(std::make_move_iterator(records.begin()),
                   std::make_move_iterator(records.end()));
  sent.sent = 0;
  sent.unsent.clear();
  sendNext(sent);
}

void SendFlow::sendNext(Sending& sending) {
  SentRecord record = std::move(sending.toGo.front());
  sending.toGo.pop_front();
  record.route = std::string(sending.page.route->name());
  sending.number = recorder_.issued(record);
  sending.page.route->send(record, sending.number);
  tellCloseGuard();
}

void SendFlow::ended(Sending& sending, const RouteOutcome& outcome) {
  recorder_.ended(sending.number, outcome.state, outcome.reason, outcome.reportReference);
  if (outcome.reportReference) emit referencesWritten();
  if (outcome.sent()) {
    ++sending.sent;
    sending.sentTold = outcome.told;
  } else {
    sending.unsent.push_back(outcome);
  }
  if (!sending.toGo.empty()) return sendNext(sending);
  if (sending.unsent.empty()) return finish(sending);
  if (sending.sent == 0 && sending.unsent.size() == 1) {
    return reportFailure(sending, sending.unsent.front());
  }
  reportPartly(sending);
}

void SendFlow::finish(const Sending& sent) {
  const std::string_view told = sent.sentTold.empty() ? kSentQuestion : sent.sentTold;
  const auto answer =
      showMessage(qtFromUtf8(told), qtFromUtf8(kSentCaption), MessageButtons::YesNo);
  // Text typed after the press was never sent: it stays. The field's change sets the counter.
  if (answer == MessageAnswer::Yes && sent.page.memo->windowsText() == sent.sentText) {
    sent.page.memo->clear();
  }
  focusIfShown(sent);
  armCloseGuard();
}

void SendFlow::reportFailure(const Sending& unsent, const RouteOutcome& outcome) {
  tellCloseGuard();
  const QString told = QString::fromStdString(outcome.told);
  if (!outcome.retry) {
    showError(told);
  } else if (showError(told + QStringLiteral("\n\nOdeslat zprávu samočinně, až bude síť zase k "
                                             "dispozici? Program to zkusí každé dvě minuty po "
                                             "dobu jedné hodiny."),
                       MessageButtons::YesNoDefaultNo) == MessageAnswer::Yes) {
    recorder_.waitForNetwork(unsent.number, ProgramClock::instance().now());
    emit waitingForNetwork();
    offerToClear(unsent);
  }
  focusIfShown(unsent);
}

// Each message that did not surely go is named, so that only those are sent again.
void SendFlow::reportPartly(const Sending& partly) {
  if (partly.sent > 0) armCloseGuard();
  tellCloseGuard();
  QStringList told{QStringLiteral("Odesláno bylo %1 z %2 zpráv.")
                       .arg(partly.sent)
                       .arg(partly.sent + static_cast<int>(partly.unsent.size()))};
  for (const RouteOutcome& outcome : partly.unsent) told << QString::fromStdString(outcome.told);
  showError(told.join(QStringLiteral("\n\n")));
  focusIfShown(partly);
}

void SendFlow::focusIfShown(const Sending& sending) {
  if (pageShown(*sending.page.memo)) sending.page.memo->setFocus();
}

// Left in the field, the text would invite a second send of the same message.
void SendFlow::offerToClear(const Sending& waiting) {
  const auto answer = showMessage(QStringLiteral("Zpráva čeká na síť a odejde sama, jakmile to "
                                                 "půjde.\nChcete vymazat text čekající zprávy?"),
                                  QStringLiteral("Zpráva čeká na síť"), MessageButtons::YesNo);
  if (answer == MessageAnswer::Yes && waiting.page.memo->windowsText() == waiting.sentText) {
    waiting.page.memo->clear();
  }
}

void SendFlow::reportLateAnswer(quint64 number, const RouteOutcome& outcome) {
  recorder_.answeredLate(number, outcome.state, outcome.reason, outcome.reportReference);
  if (outcome.reportReference) emit referencesWritten();
  showMessage(QString::fromStdString(outcome.told),
              outcome.sent() ? qtFromUtf8(kSentCaption) : errorCaption());
}

bool SendFlow::closeHeldBack() const {
  return closeGuard_.isActive() || othersUnderWay_ > 0 ||
         std::ranges::any_of(lanes_, [this](const auto& lane) { return busy(lane.first); });
}

void SendFlow::otherSendBegan() {
  ++othersUnderWay_;
  tellCloseGuard();
}

void SendFlow::otherSendEnded(bool answered) {
  othersUnderWay_ = std::max(0, othersUnderWay_ - 1);
  if (answered) return armCloseGuard();
  tellCloseGuard();
}

// Every send counts its ten seconds afresh.
void SendFlow::armCloseGuard() {
  closeGuard_.start();
  tellCloseGuard();
}

void SendFlow::closeGuardOver() {
  closeGuard_.stop();
  tellCloseGuard();
}

void SendFlow::tellCloseGuard() { emit closeGuardChanged(closeHeldBack()); }

}  // namespace movarek
