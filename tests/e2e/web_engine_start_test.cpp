#include <QLineEdit>

#include "common/qt/memo.h"
#include "gateway_sim.h"

namespace movarek::testing {
namespace {

using WebEngineStartTest = GatewayTest;

TEST_F(WebEngineStartTest, ASendAskedForBeforeTheWindowHasPaintedReachesTheGateway) {
  ASSERT_NO_FATAL_FAILURE(startSimulator());
  startProgram();
  fillEmailSend();
  main().btnPoslatClick();
  main().show();

  // The send goes out beside the start-up loads, never in their place; each load has a view and
  // connections of its own, so they may arrive in any order.
  QStringList targets = targetsOf(simulator->waitForRequests(3));
  targets.sort();
  EXPECT_EQ(targets, (QStringList{"/eurotel_nova2.php", "/send_sms.php?go=pricti113",
                                  "/send_sms.php?go=sms2&adr=jan@sms.cz&zprava=Ahoj"}));
  EXPECT_TRUE(waitUntil([&] { return !messages.empty(); }));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, "Zpráva odeslána");
}

}  // namespace
}  // namespace movarek::testing
