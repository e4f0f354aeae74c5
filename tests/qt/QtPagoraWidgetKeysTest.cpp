// Keys and focus: Qt's keys as virtual keys, the keys the core claims, tab navigation.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QShortcut>
#include <QTest>
#include <QVBoxLayout>

#include <optional>

#include "QtViewerWindow.h"
#include "qt/QtInput.h"

namespace pagora {
namespace {

using test::NumberedLines;
using test::TViewerWindow;

struct TKeyCase {
  Qt::Key Key;
  Qt::KeyboardModifiers Modifiers;
  std::optional<TKeyStroke> Expected;
};

TEST(QtInput, QtKeysAsVirtualKeys) {
  const TShiftState none, shift{ssShift}, ctrl{ssCtrl};
  const TKeyCase cases[] = {
      {Qt::Key_Tab, Qt::NoModifier, TKeyStroke{VK_TAB, none}},
      {Qt::Key_Backtab, Qt::ShiftModifier, TKeyStroke{VK_TAB, shift}},
      {Qt::Key_Backtab, Qt::NoModifier, TKeyStroke{VK_TAB, shift}},
      {Qt::Key_Return, Qt::NoModifier, TKeyStroke{VK_RETURN, none}},
      {Qt::Key_Enter, Qt::KeypadModifier, TKeyStroke{VK_RETURN, none}},
      {Qt::Key_PageUp, Qt::NoModifier, TKeyStroke{VK_PRIOR, none}},
      {Qt::Key_PageDown, Qt::NoModifier, TKeyStroke{VK_NEXT, none}},
      {Qt::Key_Home, Qt::NoModifier, TKeyStroke{VK_HOME, none}},
      {Qt::Key_End, Qt::NoModifier, TKeyStroke{VK_END, none}},
      {Qt::Key_Left, Qt::NoModifier, TKeyStroke{VK_LEFT, none}},
      {Qt::Key_Up, Qt::NoModifier, TKeyStroke{VK_UP, none}},
      {Qt::Key_Right, Qt::NoModifier, TKeyStroke{VK_RIGHT, none}},
      {Qt::Key_Down, Qt::ShiftModifier, TKeyStroke{VK_DOWN, shift}},
      {Qt::Key_Insert, Qt::ControlModifier, TKeyStroke{VK_INSERT, ctrl}},
      {Qt::Key_C, Qt::ControlModifier, TKeyStroke{VK_C, ctrl}},
      {Qt::Key_C, Qt::ControlModifier | Qt::AltModifier, TKeyStroke{VK_C, TShiftState{ssCtrl, ssAlt}}},
      {Qt::Key_F1, Qt::NoModifier, std::nullopt},
      {Qt::Key_Shift, Qt::ShiftModifier, std::nullopt},
  };
  for (const TKeyCase& c : cases) EXPECT_EQ(KeyStrokeOf(c.Key, c.Modifiers), c.Expected) << "Qt key " << c.Key;
}

TEST(QtPagoraWidgetKeys, ScrollingAndCopyingKeysReachTheCore) {
  TViewerWindow w(NumberedLines(100), {200, 100});
  QTest::keyClick(&w.Widget(), Qt::Key_PageDown);
  EXPECT_EQ(w.Core().VPos(), w.Core().VPageUnits());
  QTest::keyClick(&w.Widget(), Qt::Key_Home);
  EXPECT_EQ(w.Core().VPos(), 0);

  w.Core().SelectRange(0, 1, 0, 7);  // "Line 1"
  for (Qt::Key key : {Qt::Key_C, Qt::Key_Insert}) {
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&w.Widget(), key, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Line 1") << "Qt key " << key;
  }
}

// Keys the core wants are not taken by the window's shortcuts; others are.
TEST(QtPagoraWidgetKeys, ClaimsItsKeysFromShortcuts) {
  TViewerWindow w(NumberedLines(100), {200, 100});
  w.Widget().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w.Widget()));
  w.Widget().setFocus();
  int down = 0, f5 = 0;
  QShortcut downShortcut(Qt::Key_Down, &w.Widget(), [&] { ++down; });
  QShortcut f5Shortcut(Qt::Key_F5, &w.Widget(), [&] { ++f5; });

  QTest::keyClick(&w.Widget(), Qt::Key_Down);
  EXPECT_EQ(down, 0);
  EXPECT_EQ(w.Core().VPos(), 1);
  QTest::keyClick(&w.Widget(), Qt::Key_F5);
  EXPECT_EQ(f5, 1);
}

// Tab walks the links before it leaves the viewer; Shift+Tab comes back to the last one.
TEST(QtPagoraWidgetKeys, TabWalksLinksThenLeaves) {
  test::TUnicodeStyle style;
  QWidget window;
  auto* before = new QLineEdit(&window);
  auto* viewer = new TQtPagoraWidget(&window);
  auto* after = new QLineEdit(&window);
  auto* layout = new QVBoxLayout(&window);
  for (QWidget* child : {static_cast<QWidget*>(before), static_cast<QWidget*>(viewer), static_cast<QWidget*>(after)})
    layout->addWidget(child);
  viewer->Core().SetStyle(&style);
  window.resize(300, 300);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  test::LoadText(viewer->Core(), NumberedLines(2), 4);  // two links
  std::vector<int> jumps;
  viewer->Core().OnJump = [&](TCustomPagora&, int id) { jumps.push_back(id); };

  before->setFocus();
  QTest::keyClick(before, Qt::Key_Tab);
  ASSERT_TRUE(viewer->hasFocus());
  EXPECT_EQ(viewer->Core().FocusedJump(), 0);
  QTest::keyClick(viewer, Qt::Key_Tab);
  EXPECT_EQ(viewer->Core().FocusedJump(), 1);
  QTest::keyClick(viewer, Qt::Key_Return);
  EXPECT_EQ(jumps, std::vector<int>{1});
  QTest::keyClick(viewer, Qt::Key_Tab);
  EXPECT_TRUE(after->hasFocus());
  EXPECT_EQ(viewer->Core().FocusedJump(), -1);

  QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
  ASSERT_TRUE(viewer->hasFocus());
  EXPECT_EQ(viewer->Core().FocusedJump(), 1);
}

}  // namespace
}  // namespace pagora
