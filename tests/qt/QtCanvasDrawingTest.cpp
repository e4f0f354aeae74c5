#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <array>
#include <cstdlib>
#include <set>

#include "QtTestImage.h"
#include "platform/Colors.h"
#include "qt/QtCanvas.h"

namespace pagora {
namespace {

using test::TImageDrawing;

TPenSpec PenOf(TPenStyle style, int width = 1, TColor color = clBlack) { return {color, width, style}; }
constexpr TBrushSpec kNoBrush{clWhite, TBrushStyle::Clear};

TEST(QtCanvasShapes, RectangleStaysWithinItsBoundsWithEveryPen) {
  const TRect r{4, 5, 14, 15};
  const struct {
    const char* label;
    TPenSpec pen;
    TBrushSpec brush;
    TRect shape;
    TRect box;  // what gets painted
    int count;  // how many pixels, -1 when not checked
  } cases[] = {
      {"black pen", PenOf(TPenStyle::Solid), kNoBrush, r, r, 36},
      {"pen and brush", PenOf(TPenStyle::Solid), {clRed, TBrushStyle::Solid}, r, r, 100},
      {"brush only", PenOf(TPenStyle::Clear), {clRed, TBrushStyle::Solid}, r, r, 100},
      {"no-colour pen", PenOf(TPenStyle::Solid, 1, clNone), {clRed, TBrushStyle::Solid}, r, r, 100},
      {"inside frame 3", PenOf(TPenStyle::InsideFrame, 3), kNoBrush, r, r, 100 - 16},
      {"inside frame 2", PenOf(TPenStyle::InsideFrame, 2), kNoBrush, r, r, 100 - 36},
      {"inside frame wider than the box", PenOf(TPenStyle::InsideFrame, 12), kNoBrush, r, r, 100},
      {"centred pen 3", PenOf(TPenStyle::Solid, 3), kNoBrush, r, {3, 4, 15, 16}, 144 - 36},
      {"dotted", PenOf(TPenStyle::Dot), kNoBrush, r, r, -1},
      {"dashed", PenOf(TPenStyle::Dash), kNoBrush, r, r, -1},
      {"one column", PenOf(TPenStyle::Solid), kNoBrush, {6, 5, 7, 15}, {6, 5, 7, 15}, 10},
      {"one row, wide pen", PenOf(TPenStyle::Solid, 3), kNoBrush, {4, 5, 14, 6}, {3, 4, 15, 7}, 36},
      {"empty", PenOf(TPenStyle::Solid), {clRed, TBrushStyle::Solid}, {4, 5, 4, 15}, {}, 0},
      {"nothing to draw with", PenOf(TPenStyle::Clear), kNoBrush, r, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    TImageDrawing d;
    d.Canvas().SetPen(c.pen);
    d.Canvas().SetBrush(c.brush);
    d.Canvas().Rectangle(c.shape);
    EXPECT_EQ(d.TouchedBox(), c.box);
    if (c.count >= 0) {
      EXPECT_EQ(d.TouchedCount(), c.count);
    }
  }
}

TEST(QtCanvasShapes, RectangleOfTenCoversPixelsZeroToNine) {
  TImageDrawing d;
  d.Canvas().SetPen(PenOf(TPenStyle::Solid));
  d.Canvas().SetBrush(kNoBrush);
  d.Canvas().Rectangle({0, 0, 10, 10});
  for (int i = 0; i < 10; ++i) {
    EXPECT_TRUE(d.Dark(i, 0) && d.Dark(i, 9) && d.Dark(0, i) && d.Dark(9, i)) << i;
    EXPECT_FALSE(d.Touched(i, 10) || d.Touched(10, i)) << i;
  }
  EXPECT_FALSE(d.Touched(5, 5));
}

TEST(QtCanvasShapes, PenAndBrushColoursIncludingSystemColours) {
  TImageDrawing d;
  d.Canvas().SetPen(PenOf(TPenStyle::Solid, 1, clBlue));
  d.Canvas().SetBrush({clHighlight, TBrushStyle::Solid});
  d.Canvas().Rectangle({0, 0, 10, 10});
  EXPECT_EQ(d.Pixel(0, 0), qRgb(0, 0, 255));  // 0x00BBGGRR
  const TColor highlight = ColorToRGB(clHighlight);
  EXPECT_EQ(d.Pixel(5, 5), qRgb(GetRValue(highlight), GetGValue(highlight), GetBValue(highlight)));
}

TEST(QtCanvasShapes, FillRectFillsExactlyTheRectangle) {
  TImageDrawing d;
  d.Canvas().SetPen(PenOf(TPenStyle::Solid, 3));  // the pen plays no part
  d.Canvas().SetBrush({clBlack, TBrushStyle::Solid});
  d.Canvas().FillRect({3, 4, 8, 9});
  EXPECT_EQ(d.TouchedBox(), (TRect{3, 4, 8, 9}));
  EXPECT_EQ(d.TouchedCount(), 25);

  TImageDrawing clear;
  clear.Canvas().SetBrush(kNoBrush);
  clear.Canvas().FillRect({3, 4, 8, 9});
  clear.Canvas().FillRect({8, 4, 3, 9});  // an inverted rectangle is empty
  EXPECT_EQ(clear.TouchedCount(), 0);
}

TEST(QtCanvasShapes, HatchBrushesRunTheirWayAndLeaveTheGapsAlone) {
  const struct {
    TBrushStyle style;
    int dx;  // a dark pixel's neighbour one row down is dx columns over
  } cases[] = {{TBrushStyle::BDiagonal, -1}, {TBrushStyle::FDiagonal, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.style));
    TImageDrawing d;
    d.Canvas().SetBrush({clBlack, c.style});
    d.Canvas().FillRect({8, 8, 24, 24});
    EXPECT_EQ(d.TouchedBox(), (TRect{8, 8, 24, 24}));
    const int count = d.TouchedCount();
    EXPECT_GT(count, 16);
    EXPECT_LT(count, 128);
    for (int y = 8; y < 23; ++y)
      for (int x = 9; x < 23; ++x)
        if (d.Dark(x, y)) {
          EXPECT_TRUE(d.Dark(x + c.dx, y + 1)) << x << "," << y;
        }
  }
}

TEST(QtCanvasLines, LineToDrawsFromTheCurrentPointAndLeavesOutTheEndPoint) {
  const TPoint start{20, 15};
  const TPoint ends[] = {{30, 15}, {10, 15}, {20, 25}, {20, 5},  {28, 19}, {12, 11}, {11, 19}, {29, 11},
                         {24, 23}, {16, 7},  {17, 25}, {23, 6},  {27, 22}, {13, 8},  {13, 22}, {27, 8},
                         {21, 15}, {20, 14}, {0, 0},   {39, 29}, {39, 0},  {0, 29}};
  for (TPoint end : ends) {
    SCOPED_TRACE(testing::Message() << "to " << end.X << "," << end.Y);
    TImageDrawing d;
    d.Canvas().SetPen(PenOf(TPenStyle::Solid));
    d.Canvas().MoveTo(start.X, start.Y);
    d.Canvas().LineTo(end.X, end.Y);
    EXPECT_EQ(d.Canvas().CurrentPoint(), end);
    EXPECT_TRUE(d.Dark(start.X, start.Y));
    EXPECT_FALSE(d.Touched(end.X, end.Y));
    EXPECT_EQ(d.TouchedCount(), std::max(std::abs(end.X - start.X), std::abs(end.Y - start.Y)));
  }
}

TEST(QtCanvasLines, LinesFarOutsideTheDeviceDrawOnlyWhatShows) {
  TImageDrawing d;
  d.Canvas().SetPen(PenOf(TPenStyle::Solid));
  d.Canvas().MoveTo(-1000000000, -1000000000);
  d.Canvas().LineTo(1000000000, 999999990);
  const int count = d.TouchedCount();
  EXPECT_GT(count, 0);
  EXPECT_LE(count, 40);
}

TEST(QtCanvasLines, WidePensCentreOnTheLineAndStopBeforeTheEnd) {
  TImageDrawing d;
  d.Canvas().SetPen(PenOf(TPenStyle::Solid, 3));
  d.Canvas().MoveTo(5, 10);
  d.Canvas().LineTo(15, 10);
  d.Canvas().LineTo(15, 20);  // a corner: the second line starts where the first ended
  EXPECT_EQ(d.TouchedBox(), (TRect{5, 9, 17, 20}));
  EXPECT_TRUE(d.Dark(14, 11));
  EXPECT_TRUE(d.Dark(15, 19));
  EXPECT_FALSE(d.Touched(15, 20));
}

TEST(QtCanvasLines, ClearPensMoveWithoutDrawingAndStyledPensLeaveGaps) {
  TImageDrawing clear;
  clear.Canvas().SetPen(PenOf(TPenStyle::Clear));
  clear.Canvas().MoveTo(0, 5);
  clear.Canvas().LineTo(30, 5);
  EXPECT_EQ(clear.Canvas().CurrentPoint(), (TPoint{30, 5}));
  EXPECT_EQ(clear.TouchedCount(), 0);

  TImageDrawing dotted;
  dotted.Canvas().SetPen(PenOf(TPenStyle::Dot));
  dotted.Canvas().MoveTo(0, 5);
  dotted.Canvas().LineTo(12, 5);
  const std::array<bool, 12> dots = {true, true, true, false, false, false, true, true, true, false, false, false};
  for (int x = 0; x < 12; ++x) EXPECT_EQ(dotted.Dark(x, 5), dots[static_cast<std::size_t>(x)]) << x;

  TImageDrawing slanted;
  slanted.Canvas().SetPen(PenOf(TPenStyle::Dot));
  slanted.Canvas().MoveTo(12, 12);
  slanted.Canvas().LineTo(0, 0);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(slanted.Dark(12 - i, 12 - i), dots[static_cast<std::size_t>(i)]) << i;
  EXPECT_EQ(slanted.TouchedCount(), 6);

  TImageDrawing dashed;
  dashed.Canvas().SetPen(PenOf(TPenStyle::Dash));
  dashed.Canvas().MoveTo(0, 5);
  dashed.Canvas().LineTo(40, 5);
  EXPECT_EQ(dashed.TouchedCount(), 18 + (40 - 24));
  EXPECT_FALSE(dashed.Touched(20, 5));

  // Wide styled pens draw solid.
  TImageDrawing wide;
  wide.Canvas().SetPen(PenOf(TPenStyle::Dot, 2));
  wide.Canvas().MoveTo(0, 5);
  wide.Canvas().LineTo(12, 5);
  EXPECT_EQ(wide.TouchedCount(), 24);
}

TEST(QtCanvasShapes, EllipsesAndPolygonsKeepToTheirPoints) {
  const TRect r{2, 3, 32, 23};
  const struct {
    const char* label;
    TPenSpec pen;
  } pens[] = {{"thin", PenOf(TPenStyle::Solid)}, {"inside frame", PenOf(TPenStyle::InsideFrame, 4)}};
  for (const auto& p : pens) {
    SCOPED_TRACE(p.label);
    TImageDrawing d;
    d.Canvas().SetPen(p.pen);
    d.Canvas().SetBrush({clRed, TBrushStyle::Solid});
    d.Canvas().Ellipse(r);
    EXPECT_EQ(d.TouchedBox(), r);
    EXPECT_EQ(d.Pixel(17, 13), qRgb(255, 0, 0));
    EXPECT_FALSE(d.Touched(r.Left, r.Top));  // the corners are outside the ellipse
  }
  TImageDrawing fill;
  fill.Canvas().SetPen(PenOf(TPenStyle::Clear));
  fill.Canvas().SetBrush({clRed, TBrushStyle::Solid});
  fill.Canvas().Ellipse(r);
  const TRect box = fill.TouchedBox();
  EXPECT_EQ(box.Intersect(r), box);

  TImageDrawing triangle;
  triangle.Canvas().SetPen(PenOf(TPenStyle::Solid));
  triangle.Canvas().SetBrush({clRed, TBrushStyle::Solid});
  const TPoint points[] = {{2, 2}, {30, 2}, {30, 25}};
  triangle.Canvas().Polygon(points);
  for (TPoint p : points) EXPECT_TRUE(triangle.Dark(p.X, p.Y));
  EXPECT_EQ(triangle.TouchedBox(), (TRect{2, 2, 31, 26}));
  EXPECT_EQ(triangle.Pixel(25, 8), qRgb(255, 0, 0));
  EXPECT_FALSE(triangle.Touched(5, 20));
}

class QtCanvasTextOut : public testing::Test {
protected:
  static TFontSpec Arial(int px) {
    TFontSpec f;
    f.Name = "Arial";
    f.PixelSize = px;
    return f;
  }
};

TEST_F(QtCanvasTextOut, TheCellsTopLeftIsWhereAskedAndTheGlyphsBelowIt) {
  TImageDrawing d(80, 50);
  d.Canvas().SetFont(Arial(20));
  TTextMetrics tm;
  ASSERT_TRUE(d.Canvas().GetTextMetrics(tm));
  const int width = d.Canvas().TextExtent(u"Hg").cx;
  d.Canvas().TextOut(5, 6, u"Hg");
  const TRect box = d.TouchedBox();
  EXPECT_GE(box.Top, 6);
  EXPECT_LT(box.Top, 6 + tm.InternalLeading + tm.Ascent / 2);  // the H reaches up near the top
  EXPECT_GT(box.Bottom, 6 + tm.Ascent);                        // the g's descender under the baseline
  EXPECT_LE(box.Bottom, 6 + tm.Height);
  EXPECT_GE(box.Left, 5);
  EXPECT_LE(box.Left, 5 + 3);
  EXPECT_LE(box.Right, 5 + width + 1);
  EXPECT_FALSE(d.Touched(5, 6));  // the cell's background stays as it was

  TImageDrawing moved(80, 50);
  moved.Canvas().SetFont(Arial(20));
  moved.Canvas().TextOut(12, 9, u"Hg");
  TRect expected = box;
  expected.Offset(7, 3);
  EXPECT_EQ(moved.TouchedBox(), expected);
}

TEST_F(QtCanvasTextOut, DrawsInTheTextColourOverTheBackground) {
  TImageDrawing spaces(80, 50, Qt::green);
  spaces.Canvas().SetFont(Arial(20));
  spaces.Canvas().TextOut(5, 5, u"    ");
  EXPECT_EQ(spaces.TouchedCount(), 0);

  TImageDrawing red(80, 50);
  red.Canvas().SetFont(Arial(20));
  red.Canvas().SetTextColor(clRed);
  red.Canvas().TextOut(5, 5, u"HH");
  QRgb strongest = qRgb(255, 255, 255);  // the pixel most covered by the glyphs
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 80; ++x)
      if (qGreen(red.Pixel(x, y)) < qGreen(strongest)) strongest = red.Pixel(x, y);
  EXPECT_EQ(strongest, qRgb(255, 0, 0));

  TImageDrawing none(80, 50);
  none.Canvas().SetFont(Arial(20));
  none.Canvas().SetTextColor(clNone);
  none.Canvas().TextOut(5, 5, u"HH");
  EXPECT_EQ(none.TouchedCount(), 0);
}

TEST_F(QtCanvasTextOut, UnderlineRunsUnderTheWholeText) {
  TFontSpec font = Arial(20);
  font.Underline = true;
  TImageDrawing d(80, 50);
  d.Canvas().SetFont(font);
  TTextMetrics tm;
  ASSERT_TRUE(d.Canvas().GetTextMetrics(tm));
  const int width = d.Canvas().TextExtent(u"ab").cx;
  d.Canvas().TextOut(5, 5, u"ab");
  int longest = 0;
  for (int y = 5 + tm.Ascent; y < 5 + tm.Height; ++y) {
    int run = 0;
    for (int x = 0; x < 80; ++x) run += d.Dark(x, y) ? 1 : 0;
    longest = std::max(longest, run);
  }
  EXPECT_GE(longest, width - 2);
}

TEST_F(QtCanvasTextOut, RightToLeftReadingReordersFromTheSameLeftEdge) {
  const std::u16string text = u"ab אבג";
  const auto draw = [&](unsigned align) {
    TImageDrawing d(80, 40);
    d.Canvas().SetFont(Arial(20));
    d.Canvas().SetTextAlign(align);
    d.Canvas().TextOut(10, 5, text);
    EXPECT_GE(d.TouchedBox().Left, 10);
    EXPECT_LE(d.TouchedBox().Left, 13);
    return d.Image().copy();
  };
  EXPECT_NE(draw(TA_LEFT), draw(TA_RTLREADING));
}

TEST(QtCanvasImages, DrawImageStretchesTheRasterToTheDestination) {
  TRasterImage raster;
  raster.Width = 2;
  raster.Height = 2;
  raster.Pixels = {MakeARGB(255, 255, 0, 0), MakeARGB(255, 0, 255, 0), MakeARGB(255, 0, 0, 255), MakeARGB(0, 0, 0, 0)};
  for (bool smooth : {false, true}) {
    SCOPED_TRACE(smooth);
    TImageDrawing d;
    d.Canvas().DrawImage({4, 4, 14, 14}, raster, smooth);
    EXPECT_EQ(d.TouchedBox(), (TRect{4, 4, 14, 14}));
    EXPECT_EQ(d.Pixel(4, 4), qRgb(255, 0, 0));
    EXPECT_EQ(d.Pixel(13, 4), qRgb(0, 255, 0));
    EXPECT_EQ(d.Pixel(4, 13), qRgb(0, 0, 255));
    EXPECT_EQ(d.Pixel(13, 13), qRgb(255, 255, 255));  // transparent
    std::set<QRgb> colours;
    for (int y = 4; y < 14; ++y)
      for (int x = 4; x < 14; ++x) colours.insert(d.Pixel(x, y));
    if (smooth) {
      EXPECT_GT(colours.size(), 4u);
    } else {
      EXPECT_EQ(colours.size(), 4u);
    }
  }
}

TEST(QtCanvasImages, AlphaIsStraightNotPremultiplied) {
  TRasterImage raster;
  raster.Width = 1;
  raster.Height = 1;
  raster.Pixels = {MakeARGB(128, 255, 0, 0)};
  TImageDrawing d(10, 10, Qt::black);
  d.Canvas().DrawImage({0, 0, 10, 10}, raster);
  EXPECT_NEAR(qRed(d.Pixel(5, 5)), 128, 2);
  EXPECT_EQ(qGreen(d.Pixel(5, 5)), 0);

  TImageDrawing empty;
  empty.Canvas().DrawImage({0, 0, 10, 10}, TRasterImage{});
  empty.Canvas().DrawImage({10, 0, 0, 10}, raster);
  EXPECT_EQ(empty.TouchedCount(), 0);
}

TEST(QtCanvasState, ClippingNarrowsUntilRestore) {
  TImageDrawing d;
  TQtCanvas& c = d.Canvas();
  EXPECT_EQ(c.ClipBox(), (TRect{0, 0, 40, 30}));
  c.SetBrush({clBlack, TBrushStyle::Solid});
  c.IntersectClip({5, 5, 15, 15});
  EXPECT_EQ(c.ClipBox(), (TRect{5, 5, 15, 15}));
  c.Save();
  c.IntersectClip({10, 0, 40, 30});
  EXPECT_EQ(c.ClipBox(), (TRect{10, 5, 15, 15}));
  c.FillRect({0, 0, 40, 8});
  c.Restore();
  EXPECT_EQ(c.ClipBox(), (TRect{5, 5, 15, 15}));
  c.FillRect({0, 20, 40, 30});  // outside the clip: nothing
  c.FillRect({0, 12, 8, 13});   // the part the inner clip had taken away
  c.IntersectClip({20, 20, 30, 30});
  EXPECT_TRUE(c.ClipBox().IsEmpty());
  c.FillRect({0, 0, 40, 30});
  EXPECT_EQ(d.TouchedCount(), 5 * 3 + 3);
  EXPECT_EQ(d.TouchedBox(), (TRect{5, 5, 15, 13}));
}

TEST(QtCanvasState, SaveAndRestoreCoverPenBrushFontTextAndTheCurrentPoint) {
  TImageDrawing d;
  TQtCanvas& c = d.Canvas();
  TFontSpec font;
  font.Name = "Times New Roman";
  c.SetFont(font);
  c.SetPen(PenOf(TPenStyle::Dot, 1, clRed));
  c.SetBrush({clBlue, TBrushStyle::BDiagonal});
  c.SetTextCharacterExtra(3);
  c.MoveTo(3, 4);
  const int spaced = c.TextExtent(u"abc").cx;
  c.Save();
  c.SetFont(TFontSpec{});
  c.SetPen(PenOf(TPenStyle::Solid, 5));
  c.SetBrush(kNoBrush);
  c.SetTextCharacterExtra(0);
  c.MoveTo(20, 20);
  c.Restore();
  c.Restore();  // one too many is harmless
  EXPECT_EQ(c.Font(), font);
  EXPECT_EQ(c.Pen(), PenOf(TPenStyle::Dot, 1, clRed));
  EXPECT_EQ(c.Brush(), (TBrushSpec{clBlue, TBrushStyle::BDiagonal}));
  EXPECT_EQ(c.CurrentPoint(), (TPoint{3, 4}));
  EXPECT_EQ(c.TextExtent(u"abc").cx, spaced);
  c.LineTo(3, 10);
  EXPECT_EQ(d.Pixel(3, 4), qRgb(255, 0, 0));
}

TEST(QtCanvasState, ThePainterIsGivenBackAsItWas) {
  QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setPen(QPen(Qt::green, 4));
  painter.setRenderHint(QPainter::Antialiasing, true);
  {
    TQtCanvas canvas(painter);
    canvas.SetPen(PenOf(TPenStyle::Solid, 1, clRed));
    canvas.Save();
    canvas.IntersectClip({0, 0, 5, 5});  // left unbalanced on purpose
    canvas.MoveTo(0, 0);
    canvas.LineTo(10, 0);
  }
  EXPECT_FALSE(painter.hasClipping());
  EXPECT_EQ(painter.pen(), QPen(Qt::green, 4));
  EXPECT_TRUE(painter.testRenderHint(QPainter::Antialiasing));
  painter.end();
  EXPECT_EQ(image.pixel(4, 0), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(6, 0), qRgb(255, 255, 255));
}

TEST(QtCanvasState, TheClipBoxOfAPainterAlreadyClippedOrMoved) {
  QImage image(40, 30, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  painter.translate(10, 5);
  painter.setClipRect(QRect(0, 0, 8, 6));
  TQtCanvas canvas(painter);
  EXPECT_EQ(canvas.ClipBox(), (TRect{0, 0, 8, 6}));

  QPainter idle;
  EXPECT_THROW(TQtCanvas{idle}, std::invalid_argument);
}

TEST(QtCanvasState, AMeasuringCanvasMeasuresLikeAPaintingOneAndDrawsNothing) {
  QImage image(40, 30, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  const QImage before = image.copy();
  TQtCanvas measuring(image);
  EXPECT_FALSE(measuring.IsPainting());
  EXPECT_EQ(measuring.ClipBox(), (TRect{0, 0, 40, 30}));
  TFontSpec font;
  font.PixelSize = 17;
  measuring.SetFont(font);
  measuring.SetBrush({clBlack, TBrushStyle::Solid});
  measuring.FillRect({0, 0, 40, 30});
  measuring.MoveTo(0, 0);
  measuring.LineTo(30, 20);
  measuring.TextOut(0, 0, u"Text");
  EXPECT_EQ(image, before);
  EXPECT_EQ(measuring.CurrentPoint(), (TPoint{30, 20}));

  TImageDrawing painting;
  painting.Canvas().SetFont(font);
  EXPECT_EQ(painting.Canvas().TextExtent(u"Measured alike"), measuring.TextExtent(u"Measured alike"));
}

}  // namespace
}  // namespace pagora
