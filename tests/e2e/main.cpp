#include <gtest/gtest.h>

#include <QApplication>

#include "session_bus.h"

// One application for every test of this binary, on a real X display, which the web engine needs.
int main(int argc, char** argv) {
  movarek::testing::noUnaskedBuses();
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
