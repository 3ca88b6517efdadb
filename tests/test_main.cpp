// Test entry: a QApplication on the offscreen platform, so widget tests run without a display.
#include <QApplication>
#include <gtest/gtest.h>
#include <cstdlib>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
