#include <gtest/gtest.h>

#include "model/PGStyle.h"

namespace pagora {
namespace {

TEST(StyleSheetDefaults, SixTextStylesAndTwoParagraphStyles) {
  TPGStyle sheet;
  ASSERT_EQ(sheet.TextStyles.Count(), 6);
  ASSERT_EQ(sheet.ParaStyles.Count(), 2);
  EXPECT_EQ(sheet.ListStyles.Count(), 0);

  struct Expected {
    const char* name;
    TFontStyles style;
    TColor color;
    bool jump;
  };
  const Expected expected[] = {
      {"Normal text", {}, clWindowText, false},
      {"Heading", {fsBold}, 0xFF0000, false},
      {"Subheading", {fsBold}, 0x800000, false},
      {"Keywords", {fsItalic}, 0x000080, false},
      {"Jump 1", {fsUnderline}, 0x008000, true},
      {"Jump 2", {fsUnderline}, 0x008000, true},
  };
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    const TFontInfo& f = sheet.TextStyles[i];
    EXPECT_EQ(f.StyleName, expected[i].name);
    EXPECT_EQ(f.Style, expected[i].style);
    EXPECT_EQ(f.Color, expected[i].color);
    EXPECT_EQ(f.Jump, expected[i].jump);
    EXPECT_EQ(f.FontName, "Arial");
    EXPECT_EQ(f.Size, 10);
    EXPECT_EQ(f.BackColor, clNone);
    EXPECT_EQ(f.JumpCursor, 101);
    EXPECT_TRUE(f.Standard);
  }
  EXPECT_EQ(sheet.ParaStyles[0].StyleName, "Paragraph Style");
  EXPECT_EQ(sheet.ParaStyles[0].Alignment, pgaLeft);
  EXPECT_EQ(sheet.ParaStyles[1].StyleName, "Centered");
  EXPECT_EQ(sheet.ParaStyles[1].Alignment, pgaCenter);
  EXPECT_EQ(sheet.SelColor, clHighlight);
  EXPECT_EQ(sheet.CheckpointColor, clGreen);
  EXPECT_EQ(sheet.SpacesInTab, 8);
  EXPECT_EQ(sheet.SelectionMode, pgsmWord);
}

TEST(StyleSheetDefaults, JumpStylesTakeTheSheetsCursor) {
  TPGStyle sheet;
  sheet.JumpCursor = 55;
  sheet.CreateDefaultTextStyles();
  EXPECT_EQ(sheet.TextStyles[4].JumpCursor, 55);
  EXPECT_EQ(sheet.TextStyles[0].JumpCursor, 101);
}

TEST(StyleFallback, OutOfRangeIndexesShareOneMarkedCopyOfStyleZero) {
  TPGStyle sheet;
  sheet.TextStyles[0].FontName = "Courier New";
  const TFontInfo& below = sheet.TextStyles[-1];
  const TFontInfo& above = sheet.TextStyles[sheet.TextStyles.Count()];
  EXPECT_EQ(&below, &above);
  EXPECT_EQ(below.FontName, "Courier New");
  EXPECT_EQ(below.BackColor, clRed);
  EXPECT_EQ(below.Color, clWhite);
  // Created once: later changes to style 0 do not reach it.
  sheet.TextStyles[0].FontName = "Times New Roman";
  EXPECT_EQ(sheet.TextStyles[99].FontName, "Courier New");
}

TEST(StyleFallback, ParagraphFallbackHasARedBorder) {
  TPGStyle sheet;
  const TParaInfo& p = sheet.ParaStyles[7];
  EXPECT_EQ(p.SpaceBefore, 1);
  EXPECT_EQ(p.SpaceAfter, 1);
  EXPECT_EQ(p.LeftIndent, 1);
  EXPECT_EQ(p.RightIndent, 1);
  EXPECT_EQ(p.Border.Style, pgbSingle);
  EXPECT_EQ(p.Border.Color, clRed);
  EXPECT_EQ(p.Border.Width, 2);
  EXPECT_EQ(p.Border.BorderOffsets.Left, 1);
  EXPECT_EQ(p.Border.BorderOffsets.Bottom, 1);
}

TEST(StyleFallback, EmptyCollectionFallsBackToClassDefaults) {
  TPGStyle sheet;
  sheet.TextStyles.Clear();
  EXPECT_EQ(sheet.TextStyles[0].FontName, "Arial");
  EXPECT_EQ(sheet.TextStyles[0].BackColor, clRed);
}

TEST(StyleEquality, NamesAndBaseStyleDoNotCountButBaseStyleCountsInFindLike) {
  TFontInfo a, b;
  b.StyleName = "Other";
  b.Standard = false;
  EXPECT_TRUE(a.EqualsStyle(b, false));
  b.BaseStyleNo = 3;
  EXPECT_TRUE(a.EqualsStyle(b, false));
  EXPECT_FALSE(a.EqualsStyleMasked(b, {}));
  EXPECT_TRUE(a.EqualsStyleMasked(b, {tspBaseStyleNo}));
}

TEST(StyleEquality, FontNamesCompareWithoutCase) {
  TFontInfo a, b;
  b.FontName = "ARIAL";
  EXPECT_TRUE(a.EqualsStyle(b, false));
}

TEST(StyleEquality, HoverPropertiesCountOnlyForLinks) {
  TFontInfo a, b;
  b.HoverColor = clRed;
  b.JumpCursor = 5;
  EXPECT_TRUE(a.EqualsStyle(b, false));
  a.Jump = b.Jump = true;
  EXPECT_FALSE(a.EqualsStyle(b, false));
  b.HoverColor = clNone;
  b.JumpCursor = a.JumpCursor;
  EXPECT_TRUE(a.EqualsStyle(b, false));
}

TEST(StyleEquality, ReferencesCanBeIgnored) {
  TFontInfo a, b;
  b.NextStyleNo = 2;
  EXPECT_FALSE(a.EqualsStyle(b, false));
  EXPECT_TRUE(a.EqualsStyle(b, true));
  TParaInfo p, q;
  q.DefStyleNo = 4;
  EXPECT_FALSE(p.EqualsStyle(q, false));
  EXPECT_TRUE(p.EqualsStyle(q, true));
  q.Border.BorderOffsets.Top = 1;
  EXPECT_FALSE(p.EqualsStyle(q, true));
}

TEST(StyleEquality, EveryTextPropertyBitMasksItsProperty) {
  struct Case {
    TPGTextStyleProperty prop;
    void (*change)(TFontInfo&);
  };
  const Case cases[] = {
      {tspFontName, [](TFontInfo& f) { f.FontName = "Tahoma"; }},
      {tspSize, [](TFontInfo& f) { f.Size = 12; }},
      {tspCharset, [](TFontInfo& f) { f.Charset = 204; }},
      {tspUnicode, [](TFontInfo& f) { f.Unicode = true; }},
      {tspBold, [](TFontInfo& f) { f.Style.Include(fsBold); }},
      {tspItalic, [](TFontInfo& f) { f.Style.Include(fsItalic); }},
      {tspUnderline, [](TFontInfo& f) { f.Style.Include(fsUnderline); }},
      {tspStrikeOut, [](TFontInfo& f) { f.Style.Include(fsStrikeOut); }},
      {tspOverline, [](TFontInfo& f) { f.StyleEx.Include(pgfsOverline); }},
      {tspAllCaps, [](TFontInfo& f) { f.StyleEx.Include(pgfsAllCaps); }},
      {tspVShift, [](TFontInfo& f) { f.VShift = 30; }},
      {tspColor, [](TFontInfo& f) { f.Color = clRed; }},
      {tspBackColor, [](TFontInfo& f) { f.BackColor = clRed; }},
      {tspJump, [](TFontInfo& f) { f.Jump = true; }},
      {tspNextStyleNo, [](TFontInfo& f) { f.NextStyleNo = 1; }},
      {tspProtection, [](TFontInfo& f) { f.Protection.Include(pgprDeleteProtect); }},
      {tspCharScale, [](TFontInfo& f) { f.CharScale = 150; }},
      {tspBaseStyleNo, [](TFontInfo& f) { f.BaseStyleNo = 1; }},
      {tspBiDiMode, [](TFontInfo& f) { f.BiDiMode = pgbdRightToLeft; }},
      {tspCharSpacing, [](TFontInfo& f) { f.CharSpacing = 2; }},
      {tspHTMLCode, [](TFontInfo& f) { f.Options.Include(pgteoHTMLCode); }},
      {tspRTFCode, [](TFontInfo& f) { f.Options.Include(pgteoRTFCode); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.prop));
    TFontInfo templ, other;
    c.change(other);
    EXPECT_FALSE(templ.EqualsStyleMasked(other, {}));
    EXPECT_TRUE(templ.EqualsStyleMasked(other, {c.prop}));
    EXPECT_FALSE(templ.EqualsStyleMasked(other, kAllTextStyleProperties - TPGTextStyleProperties{c.prop}));
  }
}

TEST(StyleEquality, EveryParagraphPropertyBitMasksItsProperty) {
  struct Case {
    TPGParaStyleProperty prop;
    void (*change)(TParaInfo&);
  };
  const Case cases[] = {
      {pspFirstIndent, [](TParaInfo& p) { p.FirstIndent = 5; }},
      {pspLeftIndent, [](TParaInfo& p) { p.LeftIndent = 5; }},
      {pspRightIndent, [](TParaInfo& p) { p.RightIndent = 5; }},
      {pspSpaceBefore, [](TParaInfo& p) { p.SpaceBefore = 5; }},
      {pspSpaceAfter, [](TParaInfo& p) { p.SpaceAfter = 5; }},
      {pspAlignment, [](TParaInfo& p) { p.Alignment = pgaJustify; }},
      {pspNextParaNo, [](TParaInfo& p) { p.NextParaNo = 1; }},
      {pspDefStyleNo, [](TParaInfo& p) { p.DefStyleNo = 1; }},
      {pspLineSpacing, [](TParaInfo& p) { p.LineSpacing = 150; }},
      {pspLineSpacingType, [](TParaInfo& p) { p.LineSpacingType = pglsSpaceBetween; }},
      {pspBackgroundColor, [](TParaInfo& p) { p.Background.Color = clRed; }},
      {pspBackgroundOffsetLeft, [](TParaInfo& p) { p.Background.BorderOffsets.Left = 2; }},
      {pspBackgroundOffsetTop, [](TParaInfo& p) { p.Background.BorderOffsets.Top = 2; }},
      {pspBackgroundOffsetRight, [](TParaInfo& p) { p.Background.BorderOffsets.Right = 2; }},
      {pspBackgroundOffsetBottom, [](TParaInfo& p) { p.Background.BorderOffsets.Bottom = 2; }},
      {pspBorderColor, [](TParaInfo& p) { p.Border.Color = clRed; }},
      {pspBorderStyle, [](TParaInfo& p) { p.Border.Style = pgbDouble; }},
      {pspBorderWidth, [](TParaInfo& p) { p.Border.Width = 3; }},
      {pspBorderInternalWidth, [](TParaInfo& p) { p.Border.InternalWidth = 3; }},
      {pspBorderOffsetLeft, [](TParaInfo& p) { p.Border.BorderOffsets.Left = 2; }},
      {pspBorderOffsetTop, [](TParaInfo& p) { p.Border.BorderOffsets.Top = 2; }},
      {pspBorderOffsetRight, [](TParaInfo& p) { p.Border.BorderOffsets.Right = 2; }},
      {pspBorderOffsetBottom, [](TParaInfo& p) { p.Border.BorderOffsets.Bottom = 2; }},
      {pspBorderVisibleLeft, [](TParaInfo& p) { p.Border.VisibleBorders.Left = false; }},
      {pspBorderVisibleTop, [](TParaInfo& p) { p.Border.VisibleBorders.Top = false; }},
      {pspBorderVisibleRight, [](TParaInfo& p) { p.Border.VisibleBorders.Right = false; }},
      {pspBorderVisibleBottom, [](TParaInfo& p) { p.Border.VisibleBorders.Bottom = false; }},
      {pspNoWrap, [](TParaInfo& p) { p.Options.Include(pgpaoNoWrap); }},
      {pspReadOnly, [](TParaInfo& p) { p.Options.Include(pgpaoReadOnly); }},
      {pspStyleProtect, [](TParaInfo& p) { p.Options.Include(pgpaoStyleProtect); }},
      {pspDoNotWantReturns, [](TParaInfo& p) { p.Options.Include(pgpaoDoNotWantReturns); }},
      {pspKeepLinesTogether, [](TParaInfo& p) { p.Options.Include(pgpaoKeepLinesTogether); }},
      {pspKeepWithNext, [](TParaInfo& p) { p.Options.Include(pgpaoKeepWithNext); }},
      {pspBiDiMode, [](TParaInfo& p) { p.BiDiMode = pgbdLeftToRight; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.prop));
    TParaInfo templ, other;
    c.change(other);
    EXPECT_FALSE(templ.EqualsStyleMasked(other, {}));
    EXPECT_TRUE(templ.EqualsStyleMasked(other, {c.prop}));
  }
}

TEST(FindLike, PrefersTheGivenIndexThenTheLowestMatch) {
  TPGStyle sheet;
  TFontInfo copy3;
  copy3.Assign(sheet.TextStyles[3]);
  sheet.TextStyles.Add().Assign(copy3);  // 6
  sheet.TextStyles.Add().Assign(copy3);  // 7, identical to 3
  EXPECT_EQ(sheet.TextStyles.FindLike(3, copy3, kAllTextStyleProperties), 3);
  EXPECT_EQ(sheet.TextStyles.FindLike(7, copy3, kAllTextStyleProperties), 7);
  EXPECT_EQ(sheet.TextStyles.FindLike(-1, copy3, kAllTextStyleProperties), 3);
  copy3.Size = 99;
  EXPECT_EQ(sheet.TextStyles.FindLike(3, copy3, kAllTextStyleProperties), -1);
  EXPECT_EQ(sheet.TextStyles.FindLike(3, copy3, kAllTextStyleProperties - TPGTextStyleProperties{tspSize}), 3);
}

TEST(FindLike, AStyleDerivedFromAnotherBaseNeverMatches) {
  TPGStyle sheet;
  TFontInfo derived;
  derived.Assign(sheet.TextStyles[0]);
  derived.BaseStyleNo = 2;
  EXPECT_EQ(sheet.TextStyles.FindLike(0, derived, kAllTextStyleProperties), -1);
}

TEST(FindVariants, CharsetAndAlignmentVariants) {
  TPGStyle sheet;
  EXPECT_EQ(sheet.TextStyles.FindCharsetVariant(0, DEFAULT_CHARSET), 0);  // already qualifies
  EXPECT_EQ(sheet.TextStyles.FindCharsetVariant(0, RUSSIAN_CHARSET), -1);
  TFontInfo& russian = sheet.TextStyles.Add();
  russian.Assign(sheet.TextStyles[0]);
  russian.Charset = RUSSIAN_CHARSET;
  EXPECT_EQ(sheet.TextStyles.FindCharsetVariant(0, RUSSIAN_CHARSET), 6);
  russian.Unicode = true;  // Unicode styles are no charset variants
  EXPECT_EQ(sheet.TextStyles.FindCharsetVariant(0, RUSSIAN_CHARSET), -1);

  EXPECT_EQ(sheet.ParaStyles.FindAlignmentVariant(0, pgaCenter), 1);
  EXPECT_EQ(sheet.ParaStyles.FindAlignmentVariant(1, pgaLeft), 0);
  EXPECT_EQ(sheet.ParaStyles.FindAlignmentVariant(1, pgaCenter), 1);
  EXPECT_EQ(sheet.ParaStyles.FindAlignmentVariant(0, pgaJustify), -1);
}

TEST(HoverRepaint, NeededOnlyWhenHoverChangesSomething) {
  TPGStyle sheet;
  EXPECT_FALSE(sheet.NeedsHoverRepaint(4));
  sheet.TextStyles[4].HoverBackColor = clRed;
  EXPECT_TRUE(sheet.NeedsHoverRepaint(4));
  sheet.TextStyles[4].HoverBackColor = clNone;
  sheet.HoverColor = clBlue;  // the sheet's colour stands in for the style's
  EXPECT_TRUE(sheet.NeedsHoverRepaint(4));
  sheet.OnStyleHoverSensitive = [](TPGStyle&, int, bool& sensitive) { sensitive = false; };
  EXPECT_FALSE(sheet.NeedsHoverRepaint(4));
  EXPECT_EQ(sheet.EffectiveHoverColor(clRed), clRed);
  EXPECT_EQ(sheet.EffectiveHoverColor(clNone), clBlue);
}

TEST(StyleCollections, AssignCopiesAndNamesListTheStyles) {
  TPGStyle a, b;
  a.TextStyles[1].Size = 20;
  b.TextStyles.Assign(a.TextStyles);
  EXPECT_EQ(b.TextStyles[1].Size, 20);
  a.TextStyles[1].Size = 30;
  EXPECT_EQ(b.TextStyles[1].Size, 20);
  const auto names = b.ParaStyles.Names();
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[1], "Centered");
}

TEST(StyleAssign, FontInfoTakesAPlatformFont) {
  TFontInfo f;
  f.Jump = true;
  TPGFontDesc font{"Times New Roman", 14, clRed, {fsItalic}, GREEK_CHARSET};
  f.AssignFont(font);
  EXPECT_EQ(f.FontName, "Times New Roman");
  EXPECT_EQ(f.Size, 14);
  EXPECT_EQ(f.Color, clRed);
  EXPECT_EQ(f.Style, TFontStyles{fsItalic});
  EXPECT_EQ(f.Charset, GREEK_CHARSET);
  EXPECT_TRUE(f.Jump);
}

}  // namespace
}  // namespace pagora
