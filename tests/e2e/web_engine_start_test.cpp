#include <QLineEdit>

#include "app/qt/memo.h"
#include "gateway_sim.h"

namespace movarek::testing {
namespace {

using WebEngineStartTest = GatewayTest;

TEST_F(WebEngineStartTest, ASendAskedForBeforeTheWindowHasPaintedReachesTheGateway) {
  ASSERT_NO_FATAL_FAILURE(startSimulator());
  startProgram();
  main().editAdresa->setText(QStringLiteral("jan@sms.cz"));
  main().memoText->setPlainText(QStringLiteral("Ahoj"));
  main().btnPoslatClick();
  main().show();

  // The send goes out once the start-up request of its view has ended, never in its place.
  QStringList targets = targetsOf(simulator->waitForRequests(3));
  ASSERT_EQ(targets.size(), 3);
  EXPECT_EQ(targets.removeAll("/eurotel_nova2.php"), 1);
  EXPECT_EQ(targets, (QStringList{"/send_sms.php?go=pricti113",
                                  "/send_sms.php?go=sms2&adr=jan@sms.cz&zprava=Ahoj"}));
  EXPECT_TRUE(waitUntil([&] { return !messages.empty(); }));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, "Zpráva odeslána");
}

}  // namespace
}  // namespace movarek::testing
