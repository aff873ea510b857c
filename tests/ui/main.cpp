#include <gtest/gtest.h>

#include <QApplication>

// One application for every test of this binary, on the offscreen platform.
int main(int argc, char** argv) {
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
