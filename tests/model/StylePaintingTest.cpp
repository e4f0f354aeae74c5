#include <gtest/gtest.h>

#include "support/FakeCanvas.h"
#include "model/PGStyle.h"

namespace pagora {
namespace {

using test::FakeCanvas;

TEST(ApplyFont, SelectsTheStylesFontAtTheCanvasResolution) {
  TPGStyle sheet;
  FakeCanvas canvas(96);
  sheet.TextStyles[1].Style.Include(fsItalic);
  sheet.ApplyFontToCanvas(canvas, 1, pgbdUnspecified);
  ASSERT_EQ(canvas.FontsSelected.size(), 1u);
  const TFontSpec& f = canvas.FontsSelected[0];
  EXPECT_EQ(f.Name, "Arial");
  EXPECT_EQ(f.PixelSize, 13);  // 10 pt at 96 dpi, rounded
  EXPECT_EQ(f.Weight, FW_BOLD);
  EXPECT_TRUE(f.Italic);
  EXPECT_EQ(f.Width, 0);
  EXPECT_EQ(canvas.CharExtra, 0);
}

TEST(ApplyFont, FontResolutionOverridesTheCanvas) {
  TPGStyle sheet;
  sheet.TextStyles.FontResolution = 600;
  FakeCanvas canvas(96);
  sheet.ApplyFontToCanvas(canvas, 0, pgbdUnspecified);
  EXPECT_EQ(canvas.Font().PixelSize, 83);  // 10 * 600 / 72 = 83.3
}

TEST(ApplyFont, ScaledFontIsMadeTwiceFromTheAverageWidth) {
  TPGStyle sheet;
  sheet.TextStyles[0].CharScale = 200;
  FakeCanvas canvas(96);
  sheet.ApplyFontToCanvas(canvas, 0, pgbdUnspecified);
  ASSERT_EQ(canvas.FontsSelected.size(), 2u);
  const int average = FakeCanvas::MetricsFor(canvas.FontsSelected[0]).AveCharWidth;
  EXPECT_EQ(canvas.FontsSelected[0].Width, 0);
  EXPECT_EQ(canvas.FontsSelected[1].Width, 2 * average);
}

TEST(ApplyFont, WithoutMetricsTheWidthOfXIsTheAverage) {
  TPGStyle sheet;
  sheet.TextStyles[0].CharScale = 50;
  FakeCanvas canvas(96);
  canvas.MetricsFail = true;
  sheet.ApplyFontToCanvas(canvas, 0, pgbdUnspecified);
  ASSERT_EQ(canvas.FontsSelected.size(), 2u);
  EXPECT_EQ(canvas.FontsSelected[1].Width, FakeCanvas::CharWidth(u'x', canvas.FontsSelected[0]) / 2);
}

TEST(ApplyFont, DirectionDecidesSpacingAndReadingOrder) {
  struct Case {
    TPGBiDiMode style, doc;
    int extra;
    bool alignSet;
    unsigned align;
  };
  const Case cases[] = {
      {pgbdUnspecified, pgbdUnspecified, 3, false, 0},
      {pgbdRightToLeft, pgbdUnspecified, 0, true, TA_RTLREADING},
      {pgbdUnspecified, pgbdRightToLeft, 0, true, TA_RTLREADING},
      {pgbdLeftToRight, pgbdRightToLeft, 0, true, TA_LEFT},
  };
  for (const Case& c : cases) {
    TPGStyle sheet;
    sheet.TextStyles[0].CharSpacing = 3;
    sheet.TextStyles[0].BiDiMode = c.style;
    FakeCanvas canvas;
    canvas.TextAlignFlags = 99;
    sheet.ApplyFontToCanvas(canvas, 0, c.doc);
    EXPECT_EQ(canvas.CharExtra, c.extra);
    EXPECT_EQ(canvas.TextAlignFlags, c.alignSet ? c.align : 99u);
  }
}

TEST(ApplyFont, HandlerCanReplaceTheDefault) {
  TPGStyle sheet;
  int seen = -1;
  sheet.OnApplyStyle = [&](TPGStyle&, ICanvas&, int styleNo, bool& doDefault) {
    seen = styleNo;
    doDefault = false;
  };
  FakeCanvas canvas;
  sheet.ApplyFontToCanvas(canvas, 2, pgbdUnspecified);
  EXPECT_EQ(seen, 2);
  EXPECT_TRUE(canvas.FontsSelected.empty());
}

struct ColorCase {
  const char* name;
  TColor color, back;
  TPGTextDrawStates state;
  TPGColorMode mode;
  bool useMode;
  TColor wantText, wantBrush;
};

class ApplyColors : public testing::TestWithParam<ColorCase> {};

TEST_P(ApplyColors, TextAndBrush) {
  const ColorCase& c = GetParam();
  TPGStyle sheet;
  sheet.TextStyles[0].Color = c.color;
  sheet.TextStyles[0].BackColor = c.back;
  sheet.TextStyles[0].HoverColor = clNone;
  sheet.TextStyles[0].HoverBackColor = 0x00AA00;
  sheet.HoverColor = 0x0000AA;
  FakeCanvas canvas;
  sheet.ApplyColorsToCanvas(canvas, 0, c.state, c.mode, c.useMode);
  EXPECT_EQ(canvas.CurrentTextColor, c.wantText);
  EXPECT_EQ(canvas.Brush().Color, c.wantBrush);
  EXPECT_EQ(canvas.Brush().Style, c.wantBrush == clNone ? TBrushStyle::Clear : TBrushStyle::Solid);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ApplyColors,
    testing::Values(
        ColorCase{"plain", clRed, clNone, {}, pgcmColor, false, clRed, clNone},
        ColorCase{"selected_focused", clRed, clNone, {pgtsSelected, pgtsControlFocused}, pgcmColor, false,
                  clHighlightText, clHighlight},
        ColorCase{"selected_unfocused", clRed, clNone, {pgtsSelected}, pgcmColor, false, clHighlightText, clHighlight},
        ColorCase{"hover", clRed, clNone, {pgtsHover}, pgcmColor, false, 0x0000AA, 0x00AA00},
        ColorCase{"printer", clWindowText, clBtnFace, {}, pgcmPrinterColor, true, clBlack, clSilver},
        ColorCase{"printer_unused_without_flag", clWindowText, clBtnFace, {}, pgcmPrinterColor, false, clWindowText,
                  clBtnFace},
        ColorCase{"gray", 0x0000FF, clNone, {}, pgcmGrayScale, true, RGB(76, 76, 76), clNone},  // 76.5 to even
        ColorCase{"bw_no_back_white_text", clWhite, clNone, {}, pgcmBlackAndWhite, true, clWhite, clNone},
        ColorCase{"bw_no_back", clRed, clNone, {}, pgcmBlackAndWhite, true, clBlack, clNone},
        ColorCase{"bw_dark_on_light", clNavy, clSilver, {}, pgcmBlackAndWhite, true, clBlack, clWhite},
        ColorCase{"bw_light_on_dark", clSilver, clNavy, {}, pgcmBlackAndWhite, true, clWhite, clBlack},
        ColorCase{"black_on_white", clRed, clBlue, {}, pgcmBlackOnWhite, true, clBlack, clNone}),
    [](const testing::TestParamInfo<ColorCase>& info) { return std::string(info.param.name); });

TEST(ApplyColors, SelectionWithoutTextColourKeepsTheStyles) {
  TPGStyle sheet;
  sheet.SelTextColor = clNone;
  sheet.TextStyles[0].Color = clMaroon;
  FakeCanvas canvas;
  sheet.ApplyColorsToCanvas(canvas, 0, {pgtsSelected, pgtsControlFocused}, pgcmColor, false);
  EXPECT_EQ(canvas.CurrentTextColor, clMaroon);
}

TEST(BorderGeometry, TotalWidths) {
  struct Case {
    TPGBorderStyle style;
    int width, internal, total;
  };
  const Case cases[] = {{pgbNone, 2, 1, 0},        {pgbSingle, 2, 1, 2},        {pgbDouble, 2, 1, 5},
                        {pgbTriple, 2, 3, 12},     {pgbThickInside, 2, 1, 7},   {pgbThickOutside, 1, 2, 5}};
  for (const Case& c : cases) {
    TPGBorder b;
    b.Style = c.style;
    b.Width = c.width;
    b.InternalWidth = c.internal;
    EXPECT_EQ(b.GetTotalWidth(), c.total) << static_cast<int>(c.style);
  }
}

TEST(BorderDrawing, DoubleBorderDrawsTwoFramesOutwards) {
  TPGBorder b;
  b.Style = pgbDouble;
  b.Color = clRed;
  b.BorderOffsets.SetAll(2);
  b.VisibleBorders.Left = false;
  FakeCanvas canvas;
  b.Draw({10, 10, 50, 30}, canvas);
  const std::vector<std::string> expected = {
      "pen 000000FF 1 insideframe",
      "moveto 8,8", "lineto 52,8", "moveto 52,8", "lineto 52,32", "moveto 52,32", "lineto 8,32",
      "pen 000000FF 1 insideframe",
      "moveto 6,6", "lineto 54,6", "moveto 54,6", "lineto 54,34", "moveto 54,34", "lineto 6,34",
      "pen 000000FF 1 insideframe",
  };
  EXPECT_EQ(canvas.Log, expected);
}

TEST(BorderDrawing, ThickOutsideHasTheWideOuterLineAndPrintsScaled) {
  TPGBorder b;
  b.Style = pgbThickOutside;
  b.Width = 1;
  b.VisibleBorders = TPGBooleanRect(false);
  b.VisibleBorders.Top = true;
  FakeCanvas canvas;
  b.Draw({0, 0, 100, 20}, canvas, pgcmBlackAndWhite, 96, 192);
  // Inner line first at width 1 (scaled to 2), then the outer line doubled (scaled to 4);
  // between them the frame grows by unit + gap (2 + 2) and its bottom-right by a unit.
  const std::vector<std::string> expected = {
      "pen 00000000 2 insideframe", "moveto 0,0", "lineto 100,0",
      "pen 00000000 4 insideframe", "moveto -4,-4", "lineto 106,-4",
      "pen 00000000 1 insideframe",
  };
  EXPECT_EQ(canvas.Log, expected);
}

TEST(DefaultDrawings, CheckpointMarks) {
  TPGStyle sheet;
  FakeCanvas canvas;
  sheet.PaintCheckpoint(canvas, 30, 40, 5, 0, true, nullptr, 200);
  const std::vector<std::string> expected = {
      "brush 1FFFFFFF clear", "pen 0000FF00 1 solid", "ellipse 28,38-32,42",
      "pen 0000FF00 1 dot",   "moveto 0,40",          "lineto 200,40",
      "pen 0000FF00 1 solid"};
  EXPECT_EQ(canvas.Log, expected);

  FakeCanvas pending;
  sheet.PaintCheckpoint(pending, 30, 40, -1, 10, false, nullptr, 200);
  EXPECT_EQ(pending.Log[1], "pen 00008000 1 dot");  // no circle without an item
}

TEST(DefaultDrawings, PageBreakEndsInATriangle) {
  TPGStyle sheet;
  FakeCanvas canvas;
  sheet.PaintPageBreak(canvas, 100, 0, pgpbPageBreak, nullptr, 300);
  const std::vector<std::string> expected = {"pen FF000010 1 solid", "brush FF000005 solid", "moveto 0,100",
                                             "lineto 292,100", "polygon 292,100 300,108 292,108"};
  EXPECT_EQ(canvas.Log, expected);
  FakeCanvas soft;
  sheet.PaintPageBreak(soft, 100, 0, pgpbSoftPageBreak, nullptr, 300);
  EXPECT_EQ(soft.Log[0], "pen FF00000F 1 solid");
}

TEST(DefaultDrawings, ParagraphBackground) {
  TPGStyle sheet;
  sheet.ParaStyles[1].Background.Color = clBtnFace;
  FakeCanvas canvas;
  sheet.PaintParaBack(canvas, 0, {0, 0, 10, 10}, pgcmColor);  // no colour: nothing
  EXPECT_TRUE(canvas.Log.empty());
  sheet.PaintParaBack(canvas, 1, {0, 0, 10, 10}, pgcmPrinterColor);
  const std::vector<std::string> expected = {"brush 00C0C0C0 solid", "fillrect 0,0-11,11"};
  EXPECT_EQ(canvas.Log, expected);
  FakeCanvas bw;
  sheet.PaintParaBack(bw, 1, {0, 0, 10, 10}, pgcmBlackAndWhite);
  EXPECT_TRUE(bw.Log.empty());
}

TEST(StyleText, EffectsOfTheDefaultDrawing) {
  // "a b" in Arial 10 pt on the fake canvas: 7 + 4 + 7 px, ascent 12.
  struct Case {
    const char* name;
    void (*setUp)(TFontInfo&);
    TPGTextDrawStates state;
    std::vector<std::string> drawn;  // the drawing calls after the colours are set
  };
  const Case cases[] = {
      {"plain", [](TFontInfo&) {}, {}, {"text 12,0 \"a b\""}},
      {"background over the whole width, the text after the room before it",
       [](TFontInfo& f) { f.BackColor = clLime; }, {}, {"fillrect 10,0-30,16", "text 12,0 \"a b\""}},
      {"capitals", [](TFontInfo& f) { f.StyleEx.Include(pgfsAllCaps); }, {}, {"text 12,0 \"A B\""}},
      {"overline from the text to the end", [](TFontInfo& f) { f.StyleEx.Include(pgfsOverline); }, {},
       {"text 12,0 \"a b\"", "moveto 12,0", "lineto 30,0"}},
      {"a dot in the middle of each space", [](TFontInfo&) {}, {pgtsSpecialCharacters},
       {"text 12,0 \"a b\"", "fillrect 21,9-22,10"}},
  };
  for (const Case& c : cases) {
    TPGStyle sheet;
    c.setUp(sheet.TextStyles[0]);
    FakeCanvas canvas;
    sheet.ApplyFontToCanvas(canvas, 0, pgbdUnspecified);
    canvas.Log.clear();
    sheet.PaintStyleText(u"a b", canvas, 3, 1, nullptr, 0, 2, 10, 0, 20, 16, c.state);
    std::vector<std::string> drawn;
    for (const std::string& l : canvas.Log) {
      if (l.rfind("text ", 0) == 0 || l.rfind("fillrect", 0) == 0 || l.rfind("moveto", 0) == 0 || l.rfind("lineto", 0) == 0)
        drawn.push_back(l);
    }
    EXPECT_EQ(drawn, c.drawn) << c.name;
    EXPECT_EQ(sheet.DrawItemNo, 3) << c.name;
  }
}

TEST(StyleText, AHandlerSeesTheShownTextAndCanReplaceTheDrawing) {
  TPGStyle sheet;
  sheet.TextStyles[0].StyleEx.Include(pgfsAllCaps);
  std::u16string seen;
  sheet.OnDrawStyleText = [&](TPGStyle&, const std::u16string& s, ICanvas&, int, int, int, int, int, int,
                              TPGTextDrawStates, bool& doDefault) {
    seen = s;
    doDefault = false;
  };
  FakeCanvas canvas;
  sheet.PaintStyleText(u"ab", canvas, 0, 1, nullptr, 0, 0, 0, 0, 14, 16, {});
  EXPECT_EQ(seen, u"AB");
  EXPECT_TRUE(canvas.Log.empty());
}

}  // namespace
}  // namespace pagora
