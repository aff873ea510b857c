#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCoreApplication>

// One application for every test; a file limit high enough for the connections of the cap.
int main(int argc, char** argv) {
  rlimit files{};
  ::getrlimit(RLIMIT_NOFILE, &files);
  files.rlim_cur = files.rlim_max;
  ::setrlimit(RLIMIT_NOFILE, &files);
  QCoreApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
