#include "app/qt/outcome_report.h"

#include <QWidget>

#include "common/qt/qt_text.h"
#include "common/qt/desktop_notification.h"
#include "common/qt/message_box.h"
#include "send/send_check.h"

namespace movarek {
namespace {

QString captionOf(bool failed) {
  return failed
             ? errorCaption()
             : qtFromUtf8(kSentCaption);
}

}  // namespace

void OutcomeReport::Told::add(const Told& more) {
  lines += more.lines;
  failed = failed || more.failed;
}

OutcomeReport::OutcomeReport(QWidget& window, QObject* parent) : QObject(parent), window_(window) {}

void OutcomeReport::add(const QString& text, bool failed) { waiting_.add({{text}, failed}); }

void OutcomeReport::tell() {
  if (waiting_.lines.isEmpty()) return;
  const Told told = std::exchange(waiting_, {});
  if (inBox_ || window_.isActiveWindow()) return tellInBox(told);
  notifyOnDesktop(told.lines.join(QLatin1Char('\n')), this, [this, told] { tellInBox(told); });
}

void OutcomeReport::tellInBox(const Told& told) {
  if (inBox_ && openMessages() == boxDepth_) {
    inBox_->add(told);
    retellOpenMessage(inBox_->lines.join(QLatin1Char('\n')), captionOf(inBox_->failed));
    return;
  }
  if (inBox_) return afterBox_.add(told);
  inBox_ = told;
  boxDepth_ = openMessages() + 1;
  showMessage(told.lines.join(QLatin1Char('\n')), captionOf(told.failed));
  inBox_.reset();
  if (!afterBox_.lines.isEmpty()) tellInBox(std::exchange(afterBox_, {}));
}

}  // namespace movarek
