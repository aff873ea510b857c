#include "send/qt/sent_messages_window.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>

#include "app/program_schema.h"
#include "common/database.h"
#include "common/program_folder.h"
#include "common/qt/message_box.h"
#include "common/qt/program_database.h"
#include "temporary_program_folder.h"
#include "test_clock.h"

namespace movarek {
namespace {

using SentMessagesWindowTest = testing::TemporaryProgramFolder;

// Every state shows whole in the list, a planned message's time included, with the list's scroll
// bar shown, and the columns fit the list's width. A delivery shows in its state's place, found
// by its words, and shown anew when reported.
TEST_F(SentMessagesWindowTest, EveryStateShowsWhole) {
  testing::TestClock clock;
  const std::pair<SentState, std::int64_t> kept[] = {
      {SentState::Sent, 0},
      {SentState::NotSent, 0},
      {SentState::Uncertain, 0},
      {SentState::Missed, 1796900000},
      {SentState::Planned, 1796903100},  // 10.12.2026 12:45 in Prague
      {SentState::WaitingForNetwork, 1796990000},
  };
  {
    Database file(dataFile(kDatabaseName), programSchema());
    SentMessages store(file);
    for (int older = 0; older < 30; ++older) ASSERT_TRUE(store.add(SentRecord{}));
    for (const auto& [state, dueAt] : kept) {
      SentRecord record;
      record.addressees = "jana@sms.cz";
      record.text = "Ahoj";
      record.state = state;
      record.dueAt = dueAt;
      ASSERT_TRUE(store.add(record));
    }
    for (const auto& [delivery, reason] : {std::pair(Delivery::Awaiting, ""),
                                           {Delivery::Delivered, ""},
                                           {Delivery::NotDelivered, "report 0x46"}}) {
      SentRecord record;
      record.sentAt = clock.now() - 3 * 3600;
      record.page = Page::Modem;
      record.delivery = delivery;
      record.deliveryReason = reason;
      ASSERT_TRUE(store.add(record));
    }
  }
  std::vector<QString> told;
  setMessageHandler([&told](const MessageRequest& request) {
    told.push_back(request.text);
    return MessageAnswer::Ok;
  });
  ProgramDatabase database(programSchema(), programPreparations());
  SentMessagesWindow window(
      database, [](const SentRecord&) { return false; }, nullptr);
  window.show();
  window.FormActivate();
  QTreeView& list = *window.listZpravy;
  ASSERT_TRUE(QTest::qWaitFor([&] { return list.model()->rowCount() == 39; }, 20000));
  const auto states = [&](int rows) {
    QStringList shown;
    for (int row = 0; row < rows; ++row) shown << list.model()->index(row, 3).data().toString();
    return shown;
  };
  EXPECT_EQ(states(9), (QStringList{"zmeškáno", "naplánováno na 10.12.2026 12:45", "čeká na síť",
                                    "nedoručeno", "doručeno", "čeká na doručenku (3 h)", "nejisté",
                                    "neodesláno", "odesláno"}));
  // The awaiting one's report comes while the window is open.
  database.change(&window,
                  [](Database& kept) {
                    return SentMessages(kept).setDelivery(37, {Delivery::Delivered, ""});
                  },
                  {});
  window.deliveryChanged(37);
  EXPECT_TRUE(QTest::qWaitFor([&] { return states(6).at(5) == "doručeno"; }));
  ASSERT_TRUE(QTest::qWaitFor([&] { return list.verticalScrollBar()->isVisible(); }, 5000));
  // What the list's own rows need, measured as the view measures them.
  EXPECT_GE(list.columnWidth(3), static_cast<QAbstractItemView&>(list).sizeHintForColumn(3));
  EXPECT_LE(list.header()->length(), list.viewport()->width());
  window.editHledat->setText(QStringLiteral("NEDORUCENO"));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return states(list.model()->rowCount()) == QStringList{"nedoručeno"}; }));
  EXPECT_TRUE(told.empty());
  setMessageHandler({});
}

}  // namespace
}  // namespace movarek
