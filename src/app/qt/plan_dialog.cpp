#include "app/qt/plan_dialog.h"

#include <QDateTimeEdit>
#include <QLabel>
#include <QPushButton>

#include "common/qt/accessibility.h"
#include "common/qt/message_box.h"
#include "common/qt/placed_controls.h"
#include "common/qt/program_clock.h"
#include "send/outbox.h"

namespace movarek {
namespace {

constexpr QSize kWindowSize(330, 110);
constexpr std::int64_t kHour = 60 * 60;

// A time as the field shows it: to the minute.
QDateTime local(std::int64_t when) {
  QDateTime time = QDateTime::fromSecsSinceEpoch(when);
  time.setTime(QTime(time.time().hour(), time.time().minute()));
  return time;
}

}  // namespace

PlanDialog::PlanDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Odeslat později"));
  fixAndCentre(*this, kWindowSize);
  QLabel* label = labelAt(this, QStringLiteral("Kdy:"), QPoint(8, 13));
  editKdy = new QDateTimeEdit(this);
  editKdy->setGeometry(50, 8, 160, 23);
  editKdy->setDisplayFormat(QStringLiteral("d. M. yyyy HH:mm"));
  editKdy->setCalendarPopup(true);
  nameByLabel(*label, *editKdy, QStringLiteral("Kdy"));
  btnZaHodinu = placedButton(this, QStringLiteral("Za hodinu"), QRect(8, 42, 100, 25));
  btnZitra = placedButton(this, QStringLiteral("Zítra v 8:00"), QRect(114, 42, 100, 25));
  btnNaplanovat = placedButton(this, QStringLiteral("Naplánovat"), QRect(142, 78, 90, 25));
  btnZrusit = placedButton(this, QStringLiteral("Zrušit"), QRect(238, 78, 84, 25));
  btnNaplanovat->setDefault(true);
  connect(btnZaHodinu, &QPushButton::clicked, this,
          [this] { offer(ProgramClock::instance().now() + kHour); });
  connect(btnZitra, &QPushButton::clicked, this, [this] {
    const QDateTime tomorrow =
        QDateTime(local(ProgramClock::instance().now()).date().addDays(1), QTime(8, 0));
    offer(tomorrow.toSecsSinceEpoch());
  });
  connect(btnNaplanovat, &QPushButton::clicked, this, &PlanDialog::btnNaplanovatClick);
  connect(btnZrusit, &QPushButton::clicked, this, &QDialog::reject);
}

void PlanDialog::FormActivate() {
  offer(ProgramClock::instance().now() + kHour);
  editKdy->setFocus();
}

void PlanDialog::offer(std::int64_t when) { editKdy->setDateTime(local(when)); }

std::int64_t PlanDialog::chosen() const { return editKdy->dateTime().toSecsSinceEpoch(); }

void PlanDialog::btnNaplanovatClick() {
  if (const auto refusal = planRefusal(chosen(), ProgramClock::instance().now())) {
    showMessage(QString::fromStdString(*refusal), QStringLiteral("Chyba"));
    editKdy->setFocus();
    return;
  }
  accept();
}

}  // namespace movarek
