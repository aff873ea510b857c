#include <gtest/gtest.h>

#include <QApplication>

#include "session_bus.h"

// One application for every test of this binary, offscreen, in a time zone whose clocks change.
int main(int argc, char** argv) {
  movarek::testing::noUnaskedBuses();
  qputenv("TZ", "Europe/Prague");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
