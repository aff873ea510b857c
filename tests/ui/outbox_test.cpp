#include "send/outbox.h"

#include <QDateTimeEdit>
#include <QLabel>
#include <QPushButton>

#include "app/qt/plan_dialog.h"
#include "common/qt/program_clock.h"
#include "forms_fixture.h"

namespace movarek::testing {
namespace {

std::int64_t utc(int year, int month, int day, int hour, int minute) {
  return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC).toSecsSinceEpoch();
}

// The program on the test's clock.
class OutboxTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    ProgramClock::instance().standIn([this] { return now; });
    startProgram();
    showMain();
  }

  void TearDown() override {
    FormsTest::TearDown();
    ProgramClock::instance().standIn({});
  }

  std::int64_t now = utc(2027, 1, 4, 9, 0);
};

TEST_F(OutboxTest, KdyMeansTheFirstOfATimeTwiceRefusesOneSkippedAndZaHodinuIsAnHourAhead) {
  struct Case {
    std::int64_t now;
    QDateTime typed;  // none: "Za hodinu"
    std::optional<std::int64_t> planned;
    bool twice;
  };
  const auto night = [](int month, int day) {
    return QDateTime(QDate(2027, month, day), QTime(2, 30), Qt::UTC);
  };
  const Case cases[] = {
      {utc(2027, 3, 27, 12, 0), night(3, 28), {}, false},
      {utc(2027, 10, 30, 12, 0), night(10, 31), utc(2027, 10, 31, 0, 30), true},
      {utc(2027, 10, 31, 0, 10), {}, utc(2027, 10, 31, 1, 10), false},
  };
  PlanDialog dialog(&main());
  for (const Case& c : cases) {
    now = c.now;
    dialog.FormActivate();
    if (c.typed.isValid()) dialog.editKdy->setDateTime(c.typed);
    dialog.setResult(QDialog::Rejected);
    dialog.btnNaplanovat->click();
    EXPECT_EQ(dialog.result() == QDialog::Accepted ? dialog.chosen() : std::nullopt, c.planned);
    EXPECT_EQ(dialog.labelDvakrat->isVisibleTo(&dialog), c.twice);
  }
  EXPECT_EQ(messages, (std::vector<MessageRequest>{
                          {QString::fromUtf8(kSkippedTime.data()), "Chyba", MessageButtons::Ok}}));
}

}  // namespace
}  // namespace movarek::testing
