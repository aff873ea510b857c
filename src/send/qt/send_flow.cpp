#include "send/qt/send_flow.h"

#include <algorithm>

#include "common/qt/memo.h"
#include "common/qt/message_box.h"
#include "common/qt/program_clock.h"
#include "send/gateway.h"
#include "send/outbox.h"
#include "send/qt/send_recorder.h"
#include "send/qt/send_watch.h"
#include "send/send_check.h"
#include "send/send_failure.h"

namespace movarek {
namespace {

constexpr int kCloseGuardMs = 10000;

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The answer may come while another page is shown: that page keeps its strip and the focus.
bool pageShown(const TMemo& memo) { return memo.parentWidget()->isVisibleTo(memo.window()); }

}  // namespace

SendFlow::SendFlow(const SendingPage& email, const SendingPage& oskar, SendRecorder& recorder,
                   QObject* parent)
    : QObject(parent),
      recorder_(recorder),
      email_{email, new SendWatch(*email.browser, email.name, this), {}, 0},
      oskar_{oskar, new SendWatch(*oskar.browser, oskar.name, this), {}, 0} {
  closeGuard_.setInterval(kCloseGuardMs);
  for (Sending* each : {&email_, &oskar_}) {
    connect(each->watch, &SendWatch::delivered, this, [this, each] { finish(*each); });
    connect(each->watch, &SendWatch::failed, this,
            [this, each](const LoadFailure& failure) { reportFailure(*each, failure); });
    connect(each->watch, &SendWatch::answeredLate, this, &SendFlow::reportLateAnswer);
  }
}

SendFlow::Sending& SendFlow::sending(Page page) { return page == Page::Oskar ? oskar_ : email_; }

bool SendFlow::busy(Page page) const {
  return (page == Page::Oskar ? oskar_ : email_).watch->busy();
}

void SendFlow::send(Page page, const std::string& url, const QString& message, SentRecord record) {
  Sending& sent = sending(page);
  sent.sentText = message;
  record.request = pathAndQueryOf(url);
  sent.number = recorder_.issued(std::move(record));
  sent.watch->send(url, sent.number);
  tellCloseGuard();
}

void SendFlow::finish(const Sending& sent) {
  recorder_.ended(sent.number, SentState::Sent, {});
  const auto answer =
      showMessage(fromUtf8(kSentQuestion), fromUtf8(kSentCaption), MessageButtons::YesNo);
  // Text typed after the press was never sent: it stays. The field's change sets the counter.
  if (answer == MessageAnswer::Yes && sent.page.memo->windowsText() == sent.sentText) {
    sent.page.memo->clear();
  }
  if (pageShown(*sent.page.memo)) sent.page.memo->setFocus();
  armCloseGuard();
}

void SendFlow::reportFailure(const Sending& unsent, const LoadFailure& failure) {
  recorder_.ended(unsent.number, stateAfter(failure), reasonCode(failure));
  tellCloseGuard();
  const QString told = QString::fromStdString(sendFailureMessage(failure));
  if (!worthRetrying(failure)) {
    showMessage(told, QStringLiteral("Chyba"));
  } else if (showMessage(told + QStringLiteral("\n\nOdeslat zprávu samočinně, až bude síť zase k "
                                               "dispozici? Program to zkusí každé dvě minuty po "
                                               "dobu jedné hodiny."),
                         QStringLiteral("Chyba"),
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

void SendFlow::reportLateAnswer(quint64 number, const std::optional<LoadFailure>& failure) {
  recorder_.answeredLate(number, stateAfter(failure), failure ? reasonCode(*failure) : "");
  showMessage(QString::fromStdString(lateAnswerMessage(failure)),
              failure ? QStringLiteral("Chyba") : fromUtf8(kSentCaption));
}

bool SendFlow::closeHeldBack() const {
  return closeGuard_.isActive() || email_.watch->busy() || oskar_.watch->busy() ||
         othersUnderWay_ > 0;
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

// Stopped first, so that every send counts its ten seconds afresh.
void SendFlow::armCloseGuard() {
  closeGuard_.stop();
  closeGuard_.start();
  tellCloseGuard();
}

void SendFlow::closeGuardOver() {
  closeGuard_.stop();
  tellCloseGuard();
}

void SendFlow::tellCloseGuard() { emit closeGuardChanged(closeHeldBack()); }

}  // namespace movarek
