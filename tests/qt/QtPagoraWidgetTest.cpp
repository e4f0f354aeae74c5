// The viewer widget as the core's host: painting, posted messages, scroll bars, odd sizes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "QtViewerWindow.h"

namespace pagora {
namespace {

using test::NumberedLines;
using test::TViewerWindow;

TEST(QtPagoraWidget, PaintsDarkTextOnWhite) {
  TViewerWindow w(NumberedLines(3));
  const QImage image = w.Viewport()->grab().toImage();
  ASSERT_FALSE(image.isNull());
  int dark = 0, light = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const int grey = qGray(image.pixel(x, y));
      dark += grey < 100 ? 1 : 0;
      light += grey > 240 ? 1 : 0;
    }
  EXPECT_GT(dark, 50);
  EXPECT_GT(light, image.width() * image.height() * 9 / 10);
  EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), qRgb(255, 255, 255));
}

TEST(QtPagoraWidget, PostedMessagesComeAfterTheCurrentEvent) {
  TViewerWindow w(NumberedLines(3));
  std::vector<std::string> log;
  w.Core().OnJump = [&](TCustomPagora&, int id) { log.push_back("jump " + std::to_string(id)); };
  w.Core().OnPGMouseDown = [&](TCustomPagora& core, TMouseButton, TShiftState, int, int, int) {
    core.PostEvent(std::make_unique<TPGJumpMessageData>(7));
    log.push_back("down");
  };
  QTest::mousePress(w.Viewport(), Qt::LeftButton, {}, {10, 8});
  EXPECT_EQ(log, std::vector<std::string>{"down"});
  QCoreApplication::sendPostedEvents(&w.Widget());
  EXPECT_EQ(log, (std::vector<std::string>{"down", "jump 7"}));
  QTest::mouseRelease(w.Viewport(), Qt::LeftButton, {}, {10, 8});
}

TEST(QtPagoraWidget, PostedMessagesDieWithTheWidget) {
  int delivered = 0;
  {
    TViewerWindow w(NumberedLines(1));
    w.Core().OnJump = [&](TCustomPagora&, int) { ++delivered; };
    w.Core().PostEvent(std::make_unique<TPGJumpMessageData>(1));
  }
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(delivered, 0);
}

TEST(QtPagoraWidget, ScrollBarShowsTheCoresRange) {
  TViewerWindow w(NumberedLines(100), {200, 100});
  const TPagora& core = w.Core();
  const QScrollBar& bar = *w.Widget().verticalScrollBar();
  ASSERT_GT(core.VUnits(), core.VPageUnits());
  EXPECT_EQ(bar.minimum(), 0);
  EXPECT_EQ(bar.maximum(), core.VUnits() - core.VPageUnits());
  EXPECT_EQ(bar.pageStep(), core.VPageUnits());
  EXPECT_TRUE(bar.isVisible());
  EXPECT_FALSE(w.Widget().horizontalScrollBar()->isVisible());  // the lines fit

  w.Core().SetVScrollVisible(false);
  EXPECT_EQ(w.Widget().verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

struct TBarCase {
  const char* Name;
  QAbstractSlider::SliderAction Action;
  int Position;  // for SliderMove
  int Units;     // expected; -1 for the last position
};

TEST(QtPagoraWidget, ScrollBarActionsScrollTheCore) {
  TViewerWindow w(NumberedLines(100), {200, 100});
  QScrollBar& bar = *w.Widget().verticalScrollBar();
  const int last = w.Core().VUnits() - w.Core().VPageUnits();
  const int page = w.Core().VPageUnits();
  const TBarCase cases[] = {
      {"line down", QAbstractSlider::SliderSingleStepAdd, 0, 1},
      {"page down", QAbstractSlider::SliderPageStepAdd, 0, page},
      {"to the end", QAbstractSlider::SliderToMaximum, 0, -1},
      {"the thumb moved", QAbstractSlider::SliderMove, 5, 5},
  };
  for (const TBarCase& c : cases) {
    SCOPED_TRACE(c.Name);
    w.Core().SetVPos(0);
    if (c.Action == QAbstractSlider::SliderMove)
      bar.setSliderPosition(c.Position);  // as a drag does; it triggers the action
    else
      bar.triggerAction(c.Action);
    const int expected = c.Units < 0 ? last : c.Units;
    EXPECT_EQ(w.Core().VPos(), expected);
    EXPECT_EQ(bar.value(), expected);
  }
}

// Scrolling paints what came into view as strips; they must join up to the whole.
TEST(QtPagoraWidget, StripsPaintLikeTheWhole) {
  TViewerWindow w(NumberedLines(100), {200, 100});
  const QSize size = w.Viewport()->size();
  auto paint = [&](QImage& image, const QRect& r) {
    QPainter painter(&image);
    TQtFontCache fonts;
    TQtCanvas canvas(painter, &fonts);
    w.Core().Paint(canvas, Bounds(r.x(), r.y(), r.width(), r.height()));
  };
  QImage whole(size, QImage::Format_RGB32), strips(size, QImage::Format_RGB32);
  whole.fill(Qt::black);
  strips.fill(Qt::black);
  paint(whole, QRect(QPoint(0, 0), size));
  for (int y = 0; y < size.height(); y += 10) paint(strips, QRect(0, y, size.width(), 10));
  int differing = 0;
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x)
      if (whole.pixel(x, y) != strips.pixel(x, y)) ++differing;
  EXPECT_EQ(differing, 0);
}

// Without tracking the document stays while the thumb is dragged and follows on release.
TEST(QtPagoraWidget, ThumbWithoutTrackingScrollsOnRelease) {
  TViewerWindow w(NumberedLines(100), {200, 100});
  w.Core().Tracking = false;
  w.Core().UpdateScrollBars();
  QScrollBar& bar = *w.Widget().verticalScrollBar();
  EXPECT_FALSE(bar.hasTracking());
  bar.setSliderDown(true);
  bar.setSliderPosition(7);
  EXPECT_EQ(w.Core().VPos(), 0);
  bar.setSliderDown(false);
  EXPECT_EQ(w.Core().VPos(), 7);
}

TEST(QtPagoraWidget, TinySizesPaintAndTakeInput) {
  for (const QSize size : {QSize(0, 0), QSize(1, 1), QSize(1, 300), QSize(300, 1)}) {
    SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
    test::TUnicodeStyle style;
    TQtPagoraWidget widget;
    widget.Core().SetStyle(&style);
    widget.resize(200, 100);
    widget.show();
    test::LoadText(widget.Core(), NumberedLines(30));
    widget.resize(size);
    QCoreApplication::processEvents();
    (void)widget.grab();
    QTest::mouseClick(widget.viewport(), Qt::LeftButton, {}, {0, 0});
    QTest::keyClick(&widget, Qt::Key_PageDown);
    widget.Core().Resized();
    QCoreApplication::processEvents();
    EXPECT_GE(widget.Core().VPos(), 0);
  }
}

}  // namespace
}  // namespace pagora
