#pragma once
// A shown, active window for the flat controls to live on, and pixel helpers.
#include <gtest/gtest.h>

#include <QCursor>
#include <QTest>
#include <QWidget>

#include "flat/qt/flat_drawing.h"

namespace movarek::testing {

class FlatControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.setGeometry(100, 100, 300, 200);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QCursor::setPos(0, 0);  // away from the window
  }

  static QColor pixelAt(QWidget& widget, QPoint point) {
    return widget.grab().toImage().pixelColor(point);
  }

  QWidget window;
};

}  // namespace movarek::testing
