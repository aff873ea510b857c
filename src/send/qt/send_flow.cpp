#include "send/qt/send_flow.h"

#include <algorithm>

#include "common/qt/qt_text.h"
#include "common/qt/memo.h"
#include "common/qt/message_box.h"
#include "common/qt/program_clock.h"
#include "send/qt/send_recorder.h"
#include "send/qt/send_route.h"
#include "send/send_check.h"

namespace movarek {
namespace {

constexpr std::int64_t kCloseGuardSeconds = 10;

// The answer may come while another page is shown: that page keeps its strip and the focus.
bool pageShown(const TMemo& memo) { return memo.parentWidget()->isVisibleTo(memo.window()); }

}  // namespace

SendFlow::SendFlow(const Lane& email, const Lane& oskar, SendRecorder& recorder, QObject* parent)
    : QObject(parent),
      recorder_(recorder),
      email_{email, {}, 0},
      oskar_{oskar, {}, 0},
      closeGuard_(kCloseGuardSeconds) {
  for (Sending* each : {&email_, &oskar_}) {
    connect(each->page.route, &SendRoute::ended, this,
            [this, each](quint64, const RouteOutcome& outcome) {
              if (outcome.sent()) return finish(*each);
              reportFailure(*each, outcome);
            });
    connect(each->page.route, &SendRoute::answeredLate, this, &SendFlow::reportLateAnswer);
  }
}

SendFlow::Sending& SendFlow::sending(Page page) { return page == Page::Oskar ? oskar_ : email_; }

bool SendFlow::busy(Page page) const {
  return !(page == Page::Oskar ? oskar_ : email_).page.route->canSendNow();
}

std::string_view SendFlow::routeOf(Page page) const {
  return (page == Page::Oskar ? oskar_ : email_).page.route->name();
}

void SendFlow::send(Page page, SentRecord record, const QString& message) {
  Sending& sent = sending(page);
  sent.sentText = message;
  record.route = std::string(routeOf(page));
  sent.number = recorder_.issued(record);
  sent.page.route->send(record, sent.number);
  tellCloseGuard();
}

void SendFlow::finish(const Sending& sent) {
  recorder_.ended(sent.number, SentState::Sent, {});
  const auto answer =
      showMessage(qtFromUtf8(kSentQuestion), qtFromUtf8(kSentCaption), MessageButtons::YesNo);
  // Text typed after the press was never sent: it stays. The field's change sets the counter.
  if (answer == MessageAnswer::Yes && sent.page.memo->windowsText() == sent.sentText) {
    sent.page.memo->clear();
  }
  if (pageShown(*sent.page.memo)) sent.page.memo->setFocus();
  armCloseGuard();
}

void SendFlow::reportFailure(const Sending& unsent, const RouteOutcome& outcome) {
  recorder_.ended(unsent.number, outcome.state, outcome.reason);
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
  if (pageShown(*unsent.page.memo)) unsent.page.memo->setFocus();
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
  recorder_.answeredLate(number, outcome.state, outcome.reason);
  showMessage(QString::fromStdString(outcome.told),
              outcome.sent() ? qtFromUtf8(kSentCaption) : errorCaption());
}

bool SendFlow::closeHeldBack() const {
  return closeGuard_.isActive() || busy(Page::Sms) || busy(Page::Oskar) || othersUnderWay_ > 0;
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
