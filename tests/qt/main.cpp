#include <gtest/gtest.h>

#include <QGuiApplication>

// Fonts and painting need a running application; tests draw into images, so the
// window-system plugin can be the offscreen one.
int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  QGuiApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
