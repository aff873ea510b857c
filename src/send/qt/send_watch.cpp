#include "send/qt/send_watch.h"

#include "common/qt/log.h"
#include "send/send_failure.h"
#include "webview/qt/web_browser.h"
#include "webview/qt/web_load.h"

namespace movarek {
namespace {

constexpr std::int64_t kAnswerWaitSeconds = 10;
// How long a request told as unknown is still listened to. The engine itself never gives up
// on a connection that stays open, so the program does.
constexpr std::int64_t kLateAnswerWaitSeconds = 5 * 60;

QString describe(const std::optional<LoadFailure>& failure) {
  if (!failure) return QStringLiteral("answered");
  switch (failure->kind) {
    case LoadFailure::Kind::HttpStatus:
      return QStringLiteral("HTTP status %1").arg(failure->code);
    case LoadFailure::Kind::NetworkError:
      return QStringLiteral("network error %1").arg(failure->code);
    case LoadFailure::Kind::NoAnswer:
      return QStringLiteral("no answer");
    case LoadFailure::Kind::NoEngine:
      return QStringLiteral("no web engine module");
    case LoadFailure::Kind::EngineFailed:
      return QStringLiteral("the web engine failed");
    case LoadFailure::Kind::ForeignAnswer:
      return QStringLiteral("answered by another server, %1")
          .arg(QString::fromStdString(failure->host));
  }
  return {};
}

}  // namespace

SendWatch::SendWatch(TCppWebBrowser& browser, QString name, QObject* parent)
    : QObject(parent), browser_(browser), name_(std::move(name)), noAnswer_(kAnswerWaitSeconds) {
  connect(&noAnswer_, &ClockDeadline::timeout, this, &SendWatch::waitedInVain);
}

void SendWatch::send(const std::string& cp1250Url, quint64 number) {
  load_ = browser_.Send(cp1250Url);
  number_ = number;
  sinceIssued_.start();
  // The answer is waited for from when the request has really gone out: a send asked for
  // before the web engine has started waits for it first.
  const auto issued = [this] {
    sinceIssued_.start();
    noAnswer_.start();
  };
  connect(load_, &WebLoad::Issued, this, issued);
  connect(load_, &WebLoad::Ended, this, &SendWatch::ended);
  if (load_->issued()) issued();
}

void SendWatch::ended(const std::optional<LoadFailure>& failure) {
  noAnswer_.stop();
  load_ = nullptr;
  const SendOutcome outcome = sendOutcome(failure);
  log(outcome == SendOutcome::Sent      ? "sent"
      : outcome == SendOutcome::NotSent ? "not sent"
                                        : "unknown",
      failure);
  if (failure) {
    emit failed(*failure);
  } else {
    emit delivered();
  }
}

void SendWatch::waitedInVain() {
  WebLoad* late = load_;
  disconnect(late, &WebLoad::Ended, this, &SendWatch::ended);
  connect(late, &WebLoad::Ended, this,
          [this, number = number_](const std::optional<LoadFailure>& failure) {
            log("ended late", failure);
            if (sendOutcome(failure) != SendOutcome::Unknown) emit answeredLate(number, failure);
          });
  auto* lateWait = new ClockDeadline(kLateAnswerWaitSeconds, late);
  connect(lateWait, &ClockDeadline::timeout, late, &WebLoad::abandon);
  lateWait->start();
  ended(LoadFailure{LoadFailure::Kind::NoAnswer});
}

// The outcome and its timing only: never an address or a text.
void SendWatch::log(const char* what, const std::optional<LoadFailure>& failure) const {
  const qint64 ms = sinceIssued_.elapsed();
  if (sendOutcome(failure) == SendOutcome::Sent) {
    qCInfo(movarekLog).noquote() << name_ << "send" << what << "after" << ms << "ms";
  } else {
    qCWarning(movarekLog).noquote()
        << name_ << "send" << what << "after" << ms << "ms:" << describe(failure);
  }
}

}  // namespace movarek
