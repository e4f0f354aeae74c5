// Mouse and wheel events reach the viewer's core through the widget.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

#include <vector>

#include "QtViewerWindow.h"
#include "qt/QtCursors.h"

namespace pagora {
namespace {

using test::NumberedLines;
using test::TViewerWindow;

constexpr int kJumpStyle = 4;  // "Jump 1" in the default style sheet

TEST(QtPagoraWidgetMouse, DragSelectsAndAClickDeselects) {
  TViewerWindow w(NumberedLines(5));
  QWidget* viewport = w.Viewport();
  QTest::mousePress(viewport, Qt::LeftButton, {}, {10, 8});
  QTest::mouseMove(viewport, {60, 30});
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, {60, 30});
  ASSERT_TRUE(w.Core().HasSelection());
  EXPECT_NE(w.Core().GetSelectionTextW().find(u"Line 2"), std::u16string::npos);

  QTest::mouseClick(viewport, Qt::LeftButton, {}, {100, 60});
  EXPECT_FALSE(w.Core().HasSelection());
}

TEST(QtPagoraWidgetMouse, DoubleClickSelectsAWordAndAThirdClickTheParagraph) {
  TViewerWindow w("alpha beta gamma\nnext line\n");
  QWidget* viewport = w.Viewport();
  const QPoint inBeta{50, 8};
  QTest::mouseClick(viewport, Qt::LeftButton, {}, inBeta);
  QTest::mouseDClick(viewport, Qt::LeftButton, {}, inBeta);
  EXPECT_EQ(w.Core().GetSelectionTextW(), u"beta");
  QTest::mouseClick(viewport, Qt::LeftButton, {}, inBeta, 10);
  EXPECT_EQ(w.Core().GetSelectionTextW(), u"alpha beta gamma");
  // Later, the same press is a click again.
  QTest::mouseClick(viewport, Qt::LeftButton, {}, inBeta, QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100);
  EXPECT_FALSE(w.Core().HasSelection());
}

void MoveTo(QWidget* viewport, QPoint p) {
  QMouseEvent move(QEvent::MouseMove, p, viewport->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
}

TEST(QtPagoraWidgetMouse, HoverSetsCursorsAndLeavingEndsIt) {
  TViewerWindow w(NumberedLines(2), {300, 200}, kJumpStyle);
  QWidget* viewport = w.Viewport();
  MoveTo(viewport, {15, 8});
  EXPECT_GE(w.Core().HoveredJump(), 0);
  EXPECT_EQ(viewport->cursor().shape(), Qt::PointingHandCursor);

  MoveTo(viewport, {1, 8});  // the left margin selects lines
  EXPECT_EQ(viewport->cursor().shape(), Qt::BitmapCursor);

  MoveTo(viewport, {15, 8});
  ASSERT_GE(w.Core().HoveredJump(), 0);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(viewport, &leave);
  EXPECT_EQ(w.Core().HoveredJump(), -1);
}

TEST(QtPagoraWidgetMouse, ClickOnLinkJumps) {
  TViewerWindow w(NumberedLines(2), {300, 200}, kJumpStyle);
  w.Core().FirstJumpNo = 10;
  std::vector<int> jumps;
  w.Core().OnJump = [&](TCustomPagora&, int id) { jumps.push_back(id); };
  QTest::mouseClick(w.Viewport(), Qt::LeftButton, {}, {15, 8});
  EXPECT_EQ(jumps, std::vector<int>{10});
}

// Holding the button below the window scrolls on the core's timer.
TEST(QtPagoraWidgetMouse, DragBelowTheWindowScrollsOnTheTimer) {
  TViewerWindow w(NumberedLines(100), {200, 100});
  QWidget* viewport = w.Viewport();
  QTest::mousePress(viewport, Qt::LeftButton, {}, {10, 8});
  QTest::mouseMove(viewport, {10, viewport->height() + 40});
  const int before = w.Core().VPos();
  EXPECT_TRUE(QTest::qWaitFor([&] { return w.Core().VPos() > before; }, 2000));
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, {10, viewport->height() + 40});
}

TEST(QtPagoraWidgetMouse, RightClickOpensTheMenuOrAsksForOne) {
  TViewerWindow w(NumberedLines(3));
  QSignalSpy asked(&w.Widget(), &TQtPagoraWidget::PopupMenuRequested);
  QTest::mouseClick(w.Viewport(), Qt::RightButton, {}, {20, 8});
  ASSERT_EQ(asked.count(), 1);
  EXPECT_EQ(asked.at(0).at(0).toPoint(), w.Viewport()->mapToGlobal(QPoint(20, 8)));

  QMenu menu;
  menu.addAction("Copy");
  w.Widget().setContextMenu(&menu);
  QTest::mouseClick(w.Viewport(), Qt::RightButton, {}, {20, 8});
  EXPECT_TRUE(menu.isVisible());
  EXPECT_EQ(asked.count(), 1);
  menu.hide();
}

// A window that takes the wheel events its children leave.
class TWheelParent : public QWidget {
public:
  int Received = 0;

protected:
  void wheelEvent(QWheelEvent* e) override {
    ++Received;
    e->accept();
  }
};

struct TWheelCase {
  const char* Name;
  std::vector<int> Deltas;  // eighths of a degree, negative towards the user
  int WheelStep;
  int Units;  // the scroll position afterwards
  bool ToParent;
};

TEST(QtPagoraWidgetMouse, WheelScrollsByNotchesOrGoesToTheParent) {
  QApplication::setWheelScrollLines(3);
  const TWheelCase cases[] = {
      {"a notch scrolls by the wheel step", {-120}, 2, 2, false},
      {"half notches add up", {-60, -60}, 2, 2, false},
      {"half a notch waits", {-60}, 2, 0, false},
      {"up at the top stays", {120}, 2, 0, false},
      {"no wheel step: the parent's", {-120}, 0, 0, true},
  };
  for (const TWheelCase& c : cases) {
    SCOPED_TRACE(c.Name);
    test::TUnicodeStyle style;
    TWheelParent parent;
    auto* widget = new TQtPagoraWidget(&parent);
    widget->Core().SetStyle(&style);
    widget->Core().WheelStep = c.WheelStep;
    widget->setGeometry(0, 0, 200, 100);
    parent.resize(200, 100);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    test::LoadText(widget->Core(), NumberedLines(100));
    ASSERT_EQ(widget->Core().VPos(), 0);

    QWidget* viewport = widget->viewport();
    const QPointF at(50, 50);
    for (int delta : c.Deltas) {
      QWheelEvent wheel(at, viewport->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
      QSpontaneKeyEvent::setSpontaneous(&wheel);  // so that an ignored one travels up
      QApplication::instance()->notify(viewport, &wheel);
    }
    EXPECT_EQ(widget->Core().VPos(), c.Units);
    EXPECT_EQ(parent.Received > 0, c.ToParent);
  }
}

}  // namespace
}  // namespace pagora
