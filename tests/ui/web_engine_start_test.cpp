#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QUrl>
#include <algorithm>

#include "common/qt/first_paint.h"
#include "common/qt/memo.h"
#include "forms_fixture.h"
#include "webview/qt/web_browser.h"
#include "webview/qt/web_engine_starter.h"
#include "webview/qt/web_load.h"

namespace movarek::testing {
namespace {

// Loads and the start of the engine take their time on a busy machine.
constexpr int kEngineWaitMs = 30000;

// The engine refuses the discard port outright: every load there ends at once, failed with
// ERR_UNSAFE_PORT.
const std::string kRefusingHost = "http://127.0.0.1:9";

using WebEngineStartTest = FormsTest;

// What happened to the loads followed, in order.
struct LoadLog {
  std::vector<std::string> events;

  void follow(WebLoad* load, const std::string& name) {
    QObject::connect(load, &WebLoad::Issued, [this, name] { events.push_back(name + " issued"); });
    QObject::connect(
        load, &WebLoad::Ended, [this, name](const std::optional<LoadFailure>& failure) {
          events.push_back(name +
                           (failure ? " failed " + std::to_string(failure->code) : " answered"));
        });
  }
};

TEST_F(WebEngineStartTest, TheWindowPaintsBeforeTheEngineStartsThenTheStartUpLoadsGoOut) {
  startProgram();
  LoadLog log;
  ASSERT_EQ(main().CppWebBrowser1->loadsUnderWay().size(), 1u);
  log.follow(main().CppWebBrowser1->loadsUnderWay()[0], "start-up request");
  std::optional<bool> viewAtFirstPaint;
  FirstPaint painted(main());
  QObject::connect(&painted, &FirstPaint::painted,
                   [&] { viewAtFirstPaint = main().webEurotel->view() != nullptr; });

  main().show();
  EXPECT_EQ(main().webEurotel->view(), nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.events.size() >= 2; }, kEngineWaitMs));
  EXPECT_EQ(viewAtFirstPaint, false);
  EXPECT_NE(main().webEurotel->view(), nullptr);
  EXPECT_EQ(log.events,
            (std::vector<std::string>{"start-up request issued", "start-up request failed -312"}));
  // An ended request leaves nothing behind.
  EXPECT_TRUE(QTest::qWaitFor([&] { return main().CppWebBrowser1->loadsUnderWay().empty(); }));
}

TEST_F(WebEngineStartTest, EveryRequestOfAHiddenBrowserGoesOutAtOnceInAViewOfItsOwn) {
  WebEngineStarter engine;
  QWidget window;
  TCppWebBrowser browser(engine, TCppWebBrowser::Kind::Hidden, QUrl("http://127.0.0.1:9/"),
                         &window);
  LoadLog log;
  for (const char* path : {"/a", "/b?x=1", "/c"})
    log.follow(browser.Send(kRefusingHost + path), path);
  EXPECT_TRUE(log.events.empty());

  engine.start();
  // None waits for another: all three go out before any has ended.
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.events.size() >= 6; }, kEngineWaitMs));
  const auto firstEnd = std::find_if(log.events.begin(), log.events.end(),
                                     [](const auto& event) { return !event.ends_with(" issued"); });
  EXPECT_EQ(firstEnd - log.events.begin(), 3) << ::testing::PrintToString(log.events);

  // Once started, a request goes out at once, whatever else is under way.
  WebLoad* hanging = browser.Send(kRefusingHost + "/d");
  log.follow(hanging, "/d");
  EXPECT_TRUE(hanging->issued());
  hanging->abandon();
  WebLoad* next = browser.Send(kRefusingHost + "/e");
  EXPECT_TRUE(next->issued());
}

TEST_F(WebEngineStartTest, ASendBeforeTheEngineHasStartedGoesOutOnceItHas) {
  startProgram();
  // The gateway refuses the start-up request in a way of its own: its failure is not the send's.
  main().CppWebBrowser1->loadsUnderWay().front()->end(
      LoadFailure{LoadFailure::Kind::HttpStatus, 503});
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  fillEmailSend();
  main().btnPoslatClick();
  EXPECT_EQ(requestsUnderWay(*main().CppWebBrowser1),
            QStringList{QString::fromStdString(kRefusingHost) +
                        "/send_sms.php?go=sms2&adr=jan@sms.cz&zprava=Ahoj"});
  EXPECT_FALSE(main().CppWebBrowser1->loadsUnderWay().back()->issued());
  EXPECT_TRUE(messages.empty());

  main().show();
  // Its own failure is told, not the start-up request's.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); }, kEngineWaitMs));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text.toStdString(),
            "Zprávu se nepodařilo odeslat na SMS centrum Vertanix (chyba sítě -312).\n"
            "Text zprávy zůstává v okně, můžete ji zkusit odeslat znovu.");
}

TEST_F(WebEngineStartTest, WindowsThatAreNeverShownStillIssueTheirLoads) {
  startProgram();
  LoadLog log;
  log.follow(main().CppWebBrowser1->loadsUnderWay()[0], "start-up request");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !log.events.empty(); }, kEngineWaitMs));
  EXPECT_FALSE(main().isVisible());
  EXPECT_EQ(log.events[0], "start-up request issued");
}

}  // namespace
}  // namespace movarek::testing
