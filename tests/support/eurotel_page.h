#pragma once
// The Eurotel page of the real program as a test reaches into it: its scripts run, its elements
// found and clicked as a person clicks them.
#include <QApplication>
#include <QPoint>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>
#include <optional>

#include "gateway_sim.h"
#include "webview/qt/web_browser.h"

namespace movarek::testing {

class EurotelPage {
 public:
  explicit EurotelPage(TCppWebBrowser& browser) : browser_(browser) {}

  QWebEngineView* view() const { return qobject_cast<QWebEngineView*>(browser_.view()); }
  // The widget inside the view that takes the keys and the mouse.
  QWidget* input() const { return view()->focusProxy(); }

  // Runs `script` in the page and waits for its result.
  QVariant run(const QString& script) const {
    // Shared with the callback, which may still come after a timeout.
    auto result = std::make_shared<std::optional<QVariant>>();
    view()->page()->runJavaScript(script, [result](const QVariant& value) { *result = value; });
    EXPECT_TRUE(waitUntil([&] { return result->has_value(); })) << script.toStdString();
    return result->value_or(QVariant());
  }

  QString text() const {
    return run(QStringLiteral("document.body ? document.body.innerText : ''")).toString();
  }

  // The middle of the page's first element that `selector` (CSS) finds, in the view's
  // coordinates.
  QPoint centreOf(const QString& selector) const {
    const auto centre =
        run(QStringLiteral("(() => { const r = document.querySelector('%1')"
                           ".getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / "
                           "2]; })()")
                .arg(selector))
            .toList();
    EXPECT_EQ(centre.size(), 2) << selector.toStdString();
    return centre.size() == 2 ? QPoint(centre[0].toInt(), centre[1].toInt()) : QPoint();
  }

  // Moves the pointer onto the element and clicks it with `button`.
  void click(const QString& selector, Qt::MouseButton button = Qt::LeftButton) const {
    const QPoint at = centreOf(selector);
    run(
        QStringLiteral("if (!('movarekPointer' in window)) addEventListener('mousemove', (e) => {"
                       "window.movarekPointer = e.clientX + ',' + e.clientY; }, true);"
                       "window.movarekPointer = '';"));
    // From beside it, so that the pointer moves even when it is there already.
    QTest::mouseMove(input(), at + QPoint(1, 1));
    QTest::mouseMove(input(), at);
    // The page learns where the pointer is before the button goes down, as with a person.
    const QString there = QStringLiteral("%1,%2").arg(at.x()).arg(at.y());
    EXPECT_TRUE(waitUntil([&] {
      return run(QStringLiteral("movarekPointer")).toString() == there;
    })) << selector.toStdString();
    QTest::mouseClick(input(), button, {}, at);
  }

 private:
  TCppWebBrowser& browser_;
};

}  // namespace movarek::testing
