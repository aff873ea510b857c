#include "send/qt/plan_dialog.h"

#include <QDateTimeEdit>
#include <QLabel>
#include <QPushButton>

#include "common/qt/qt_text.h"
#include "common/qt/accessibility.h"
#include "common/qt/message_box.h"
#include "common/qt/placed_controls.h"
#include "common/qt/program_clock.h"
#include "common/wall_time.h"
#include "send/outbox.h"

namespace movarek {
namespace {

constexpr QSize kWindowSize(330, 134);
constexpr std::int64_t kHour = 60 * 60;
constexpr std::int64_t kMinute = 60;

// The wall clock's time as the field holds it: its fields as written, in a time that no clock
// changes (UTC), so that the field never moves a time the night's change would skip.
QDateTime shown(const WallTime& time) {
  return {QDate(time.year, time.month, time.day), QTime(time.hour, time.minute), Qt::UTC};
}

WallTime wallTimeOf(const QDateTime& shown) {
  return {shown.date().year(), shown.date().month(), shown.date().day(), shown.time().hour(),
          shown.time().minute()};
}

}  // namespace

PlanDialog::PlanDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Odeslat později"));
  fixAndCentre(*this, kWindowSize);
  QLabel* label = labelAt(this, QStringLiteral("Kdy:"), QPoint(8, 13));
  editKdy = new QDateTimeEdit(this);
  editKdy->setGeometry(50, 8, 160, 23);
  editKdy->setTimeSpec(Qt::UTC);
  editKdy->setDisplayFormat(QStringLiteral("d. M. yyyy HH:mm"));
  editKdy->setCalendarPopup(true);
  nameByLabel(*label, *editKdy, QStringLiteral("Kdy"));
  labelDvakrat = placedLabel(this, qtFromUtf8(kTwiceTime), QRect(50, 34, 272, 28));
  labelDvakrat->setWordWrap(true);
  btnZaHodinu = placedButton(this, QStringLiteral("Za hodinu"), QRect(8, 66, 100, 25));
  btnZitra = placedButton(this, QStringLiteral("Zítra v 8:00"), QRect(114, 66, 100, 25));
  btnNaplanovat = placedButton(this, QStringLiteral("Naplánovat"), QRect(142, 102, 90, 25));
  btnZrusit = placedButton(this, QStringLiteral("Zrušit"), QRect(238, 102, 84, 25));
  btnNaplanovat->setDefault(true);
  connect(btnZaHodinu, &QPushButton::clicked, this,
          [this] { offer(ProgramClock::instance().now() + kHour); });
  connect(btnZitra, &QPushButton::clicked, this, [this] {
    WallTime tomorrow = wallTimeAt(ProgramClock::instance().now());
    const QDate day = QDate(tomorrow.year, tomorrow.month, tomorrow.day).addDays(1);
    tomorrow = {day.year(), day.month(), day.day(), 8, 0};
    const auto moments = momentsOf(tomorrow);
    if (!moments.empty()) offer(moments.front());
  });
  connect(btnNaplanovat, &QPushButton::clicked, this, &PlanDialog::btnNaplanovatClick);
  connect(btnZrusit, &QPushButton::clicked, this, &QDialog::reject);
  connect(editKdy, &QDateTimeEdit::dateTimeChanged, this, &PlanDialog::editKdyChange);
}

void PlanDialog::FormActivate() {
  offer(ProgramClock::instance().now() + kHour);
  editKdy->setFocus();
}

// To the minute, as the field shows it.
void PlanDialog::offer(std::int64_t when) {
  offered_ = when - when % kMinute;
  editKdy->setDateTime(shown(wallTimeAt(offered_)));
  editKdyChange();
}

std::optional<std::int64_t> PlanDialog::chosen() const {
  const WallTime time = wallTimeOf(editKdy->dateTime());
  if (time == wallTimeAt(offered_)) return offered_;
  const auto moments = momentsOf(time);
  if (moments.empty()) return std::nullopt;
  return moments.front();
}

void PlanDialog::editKdyChange() {
  const auto moments = momentsOf(wallTimeOf(editKdy->dateTime()));
  const bool twice = moments.size() == 2 && chosen() == moments.front();
  labelDvakrat->setVisible(twice);
  // Heard with the field, as it is seen under it.
  editKdy->setAccessibleDescription(twice ? labelDvakrat->text() : QString());
}

void PlanDialog::btnNaplanovatClick() {
  const auto when = chosen();
  const auto refusal = when ? planRefusal(*when, ProgramClock::instance().now())
                            : std::optional(std::string(kSkippedTime));
  if (refusal) {
    showError(QString::fromStdString(*refusal));
    editKdy->setFocus();
    return;
  }
  accept();
}

}  // namespace movarek
