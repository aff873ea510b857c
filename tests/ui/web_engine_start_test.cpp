#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QUrl>

#include "app/memo.h"
#include "forms_fixture.h"
#include "webview/web_browser.h"
#include "webview/web_engine_starter.h"

namespace movarek::testing {
namespace {

// Loads and the start of the engine take their time on a busy machine.
constexpr int kEngineWaitMs = 30000;

// The engine refuses the discard port outright: every load there ends at once, failed with
// ERR_UNSAFE_PORT.
const std::string kRefusingHost = "http://127.0.0.1:9";

using WebEngineStartTest = FormsTest;

// What a browser issued and when its loads ended, in order.
struct BrowserLog {
  std::vector<std::string> events;

  void follow(TCppWebBrowser& browser, const std::string& name) {
    QObject::connect(&browser, &TCppWebBrowser::LoadIssued,
                     [this, name] { events.push_back(name + " issued"); });
    QObject::connect(&browser, &TCppWebBrowser::DocumentComplete, [this, name, &browser] {
      // The engine's view tells which URL it ended on.
      events.push_back(name + " ended " +
                       browser.view()->property("url").toUrl().toString().toStdString());
    });
    QObject::connect(&browser, &TCppWebBrowser::LoadFailed, [this, name](LoadFailure failure) {
      events.push_back(name + " failed " + std::to_string(failure.code));
    });
  }
};

bool anyViewOf(TfrmMain& window) {
  return window.webEurotel->view() || window.CppWebBrowser1->view() || window.webOskarSend->view();
}

TEST_F(WebEngineStartTest, TheWindowPaintsBeforeTheEngineStartsThenTheStartUpLoadsGoOutInOrder) {
  startProgram();
  BrowserLog log;
  log.follow(*main().webEurotel, "webEurotel");
  log.follow(*main().CppWebBrowser1, "CppWebBrowser1");
  std::optional<bool> viewsAtFirstPaint;
  struct FirstPaint : QObject {
    std::function<void()> painted;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) painted();
      return false;
    }
  } firstPaint;
  firstPaint.painted = [&] {
    if (!viewsAtFirstPaint) viewsAtFirstPaint = anyViewOf(main());
  };
  main().installEventFilter(&firstPaint);

  EXPECT_FALSE(anyViewOf(main()));
  main().show();
  EXPECT_FALSE(anyViewOf(main()));
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.events.size() >= 2; }, kEngineWaitMs));
  EXPECT_EQ(viewsAtFirstPaint, false);
  EXPECT_NE(main().webOskarSend->view(), nullptr);
  EXPECT_EQ(std::vector<std::string>(log.events.begin(), log.events.begin() + 2),
            (std::vector<std::string>{"webEurotel issued", "CppWebBrowser1 issued"}));
}

TEST_F(WebEngineStartTest, LoadsAskedForBeforeTheStartGoOutInOrderEachAfterTheOneBefore) {
  WebEngineStarter engine;
  QWidget window;
  TCppWebBrowser browser(engine, TCppWebBrowser::Kind::Hidden, &window);
  BrowserLog log;
  log.follow(browser, "browser");
  for (const char* path : {"/a", "/b?x=1", "/c"}) browser.Navigate(kRefusingHost + path);
  EXPECT_TRUE(log.events.empty());
  EXPECT_EQ(browser.view(), nullptr);

  engine.start();
  // A load that replaced another would cancel it: each goes out once the one before has ended.
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.events.size() >= 5; }, kEngineWaitMs));
  EXPECT_EQ(log.events, (std::vector<std::string>{
                            "browser ended " + kRefusingHost + "/a",
                            "browser ended " + kRefusingHost + "/b?x=1",
                            "browser issued",
                            "browser ended " + kRefusingHost + "/c",
                            "browser failed -312",
                        }));

  // Once started, a load goes out at once.
  browser.Navigate(kRefusingHost + "/d");
  EXPECT_EQ(log.events.back(), "browser issued");
}

TEST_F(WebEngineStartTest, ASendBeforeTheEngineHasStartedGoesOutOnceItHas) {
  startProgram();
  BrowserLog log;
  log.follow(*main().CppWebBrowser1, "CppWebBrowser1");
  main().editAdresa->setText(QStringLiteral("jan@sms.cz"));
  main().memoText->setPlainText(QStringLiteral("Ahoj"));
  main().btnPoslatClick();
  EXPECT_TRUE(log.events.empty());
  EXPECT_TRUE(messages.empty());

  main().show();
  // The start-up request first, then the send; its failure is told.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); }, kEngineWaitMs));
  EXPECT_EQ(log.events, (std::vector<std::string>{
                            "CppWebBrowser1 ended " + kRefusingHost + "/send_sms.php?go=pricti113",
                            "CppWebBrowser1 issued",
                            "CppWebBrowser1 ended " + kRefusingHost +
                                "/send_sms.php?go=sms2&adr=jan@sms.cz&zprava=Ahoj",
                            "CppWebBrowser1 failed -312",
                        }));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text.toStdString(),
            "Zprávu se nepodařilo odeslat na SMS centrum Vertanix (chyba sítě -312).\n"
            "Text zprávy zůstává v okně, můžete ji zkusit odeslat znovu.");
}

TEST_F(WebEngineStartTest, WindowsThatAreNeverShownStillIssueTheirLoads) {
  startProgram();
  BrowserLog log;
  log.follow(*main().webEurotel, "webEurotel");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !log.events.empty(); }, kEngineWaitMs));
  EXPECT_FALSE(main().isVisible());
  EXPECT_EQ(log.events[0], "webEurotel issued");
}

}  // namespace
}  // namespace movarek::testing
