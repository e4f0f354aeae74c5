#include <gtest/gtest.h>

#include <QApplication>

// Fonts and painting need a running application, and the widgets a widget one; tests draw
// into images, so the window-system plugin can be the offscreen one.
int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
