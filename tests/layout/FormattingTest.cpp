#include <gtest/gtest.h>

#include <algorithm>

#include "layout/CPGFData.h"
#include "model/PGMarker.h"
#include "model/PGStyle.h"
#include "model/PictureItems.h"
#include "support/FakeCanvas.h"
#include "support/FakeGraphics.h"

namespace pagora {
namespace {

using test::FakeCanvas;
using test::FakeGraphic;

// Arial 10 pt on the fake canvas at 96 dpi: 13 px; letters 7, spaces 4, ascent 12,
// descent 4, line height 16.
constexpr int kLetter = 7, kSpace = 4, kAscent = 12, kDescent = 4, kLine = 16;

class FormattingTest : public testing::Test {
protected:
  FormattingTest() {
    settings.Style = &sheet;
    doc.Canvas = &canvas;
    doc.Layout.LeftMargin = doc.Layout.RightMargin = doc.Layout.TopMargin = doc.Layout.BottomMargin = 0;
    doc.Layout.AreaWidth = 200;
  }

  std::vector<TPGDrawLineInfo> Items() const {
    std::vector<TPGDrawLineInfo> v;
    for (int i = 0; i < doc.DrawItemCount(); ++i) v.push_back(doc.DrawItem(i));
    return v;
  }
  // The text of each line, "|" between lines.
  std::string Lines() const {
    std::string s;
    for (int i = 0; i < doc.DrawItemCount(); ++i) {
      if (i > 0 && doc.DrawItem(i).StartsLine) s += "|";
      for (char16_t c : doc.DrawItemText(i)) s += static_cast<char>(c);
      if (!doc.ItemAt(doc.DrawItem(i).ItemNo).IsText()) s += "#";
    }
    return s;
  }

  TPGStyle sheet;
  TPGDocumentSettings settings;
  FakeCanvas canvas;
  TCustomPGFormattedData doc{&settings};
};

TEST_F(FormattingTest, EmptyDocument) {
  doc.Layout.TopMargin = 3;
  doc.Layout.BottomMargin = 4;
  doc.Format();
  EXPECT_EQ(doc.DrawItemCount(), 0);
  EXPECT_EQ(doc.DocumentHeight(), 7);
}

TEST_F(FormattingTest, AnEmptyTextItemHasTheHeightOfASpace) {
  doc.AppendText("", 0, 0);
  doc.Format();
  ASSERT_EQ(doc.DrawItemCount(), 1);
  const TPGDrawLineInfo d = doc.DrawItem(0);
  EXPECT_EQ(d.Width, 0);
  EXPECT_EQ(d.Height, kLine);
  EXPECT_EQ(d.Length, 0);
  EXPECT_EQ(doc.DocumentHeight(), kLine);
}

TEST_F(FormattingTest, WrappingAtSpaces) {
  // "aaaa bbbb cccc": 4 letters 28 px, a space 4: two words in 60 px, not three.
  doc.Layout.AreaWidth = 62;
  doc.AppendText("aaaa bbbb cccc", 0, 0);
  doc.Format();
  EXPECT_EQ(Lines(), "aaaa bbbb|cccc");  // the space at the wrap belongs to no line
  const auto items = Items();
  EXPECT_EQ(items[0].Width, 4 * kLetter + kSpace + 4 * kLetter);
  EXPECT_EQ(items[1].Top, kLine);
  EXPECT_EQ(items[1].Offset, 11);
  EXPECT_EQ(doc.DocumentHeight(), 2 * kLine);
}

TEST_F(FormattingTest, LeadingSpacesOfAParagraphStay) {
  doc.AppendText("  aa", 0, 0);
  doc.Format();
  EXPECT_EQ(Lines(), "  aa");
}

TEST_F(FormattingTest, AWordLongerThanTheLineIsBrokenAndEveryLineHoldsACharacter) {
  doc.Layout.AreaWidth = 3 * kLetter + 1;
  doc.AppendText("aaaaaaa", 0, 0);
  doc.Format();
  EXPECT_EQ(Lines(), "aaa|aaa|a");
  // A character wider than the narrowest line the document allows (20 px for text).
  sheet.TextStyles[0].Size = 40;  // 53 px: letters of 29
  doc.Layout.AreaWidth = 2;
  doc.Format();
  EXPECT_EQ(doc.WrapWidth(), 20);
  EXPECT_EQ(Lines(), "a|a|a|a|a|a|a");
}

TEST_F(FormattingTest, LineSpacing) {
  struct Case {
    int spacing;
    TPGLineSpacingType type;
    int below;
  };
  const Case cases[] = {{100, pglsPercent, 0}, {40, pglsPercent, 0}, {150, pglsPercent, kLine / 2},
                        {200, pglsPercent, kLine}, {7, pglsSpaceBetween, 7}, {-3, pglsSpaceBetween, 0}};
  for (const Case& c : cases) {
    sheet.ParaStyles[0].LineSpacing = c.spacing;
    sheet.ParaStyles[0].LineSpacingType = c.type;
    doc.Clear();
    doc.Layout.AreaWidth = 30;
    doc.AppendText("aaa aaa", 0, 0);
    doc.Format();
    ASSERT_EQ(doc.DrawItemCount(), 2) << c.spacing;
    EXPECT_EQ(doc.DrawItem(0).SpacingBelow, c.below) << c.spacing;
    EXPECT_EQ(doc.DrawItem(1).Top, kLine + c.below) << c.spacing;
    EXPECT_EQ(doc.DocumentHeight(), 2 * kLine + 2 * c.below) << c.spacing;
  }
}

TEST_F(FormattingTest, AlignmentOfLines) {
  doc.Layout.AreaWidth = 100;
  sheet.ParaStyles[0].Alignment = pgaRight;
  doc.AppendText("aa", 0, 0);
  doc.AppendText("aa", 0, 1);  // centred
  doc.Format();
  EXPECT_EQ(doc.DrawItem(0).Left, 100 - 2 * kLetter);
  EXPECT_EQ(doc.DrawItem(1).Left, (100 - 2 * kLetter) / 2);
}

TEST_F(FormattingTest, JustificationSpreadsTheRemainderOverTheLastGaps) {
  sheet.ParaStyles[0].Alignment = pgaJustify;
  // "a a a a" + a wrapping word: four words of 7 + three gaps of 4 = 40; width 47 leaves 7.
  doc.Layout.AreaWidth = 47;
  doc.AppendText("a a a a bbbbbb", 0, 0);
  doc.Format();
  const auto items = Items();
  ASSERT_GE(items.size(), 5u);
  EXPECT_EQ(items[1].JustifyExtra, 2);
  EXPECT_EQ(items[2].JustifyExtra, 2);
  EXPECT_EQ(items[3].JustifyExtra, 3);
  EXPECT_EQ(items[3].Right(), 47);
  // The last line of the paragraph is not justified.
  EXPECT_EQ(items.back().JustifyExtra, 0);
  EXPECT_EQ(items.back().Left, 0);
}

TEST_F(FormattingTest, TheLineBeforeAnExplicitLineBreakIsNotJustified) {
  sheet.ParaStyles[0].Alignment = pgaJustify;
  doc.Layout.AreaWidth = 100;
  doc.AppendText("a a", 0, 0);
  doc.SetParagraphMode(false);
  doc.AppendText("b b", 0, 0);
  doc.SetParagraphMode(true);
  doc.Format();
  for (const auto& d : Items()) EXPECT_EQ(d.JustifyExtra, 0);
}

TEST_F(FormattingTest, ABreakIsElevenPixelsHighAndTakesTheSpaceBeforeOfStyleZero) {
  sheet.ParaStyles[0].SpaceBefore = 3;
  doc.Layout.LeftMargin = 5;
  doc.AppendBreak();
  doc.Format();
  ASSERT_EQ(doc.DrawItemCount(), 1);
  const TPGDrawLineInfo d = doc.DrawItem(0);
  EXPECT_EQ(d.Height, 11);
  EXPECT_EQ(d.Width, doc.WrapWidth());
  EXPECT_EQ(d.Left, 5);
  EXPECT_EQ(d.Top, 6);  // its paragraph's space before and that of style 0
}

TEST_F(FormattingTest, ATallPictureRaisesTheLine) {
  doc.AppendText("ab", 0, 0);
  doc.AppendPicture("p", std::make_unique<FakeGraphic>(10, 40), -1, pgvaBaseline);
  doc.Format();
  // Baseline: the picture (42 with spacing) sits on the baseline, 1 px of spacing below it.
  TPGDrawLineInfo text = doc.DrawItem(0), pic = doc.DrawItem(1);
  EXPECT_EQ(pic.Top, 0);
  EXPECT_EQ(text.Top + kAscent, pic.Bottom() - 1);
  doc.Clear();
  doc.AppendText("ab", 0, 0);
  doc.AppendPicture("p", std::make_unique<FakeGraphic>(10, 40), -1, pgvaMiddle);
  doc.Format();
  text = doc.DrawItem(0);
  pic = doc.DrawItem(1);
  EXPECT_EQ(text.Top + kAscent, pic.Top + pic.Height / 2);  // the baseline through the middle
}

TEST_F(FormattingTest, MaxTextWidthAndClientTextWidth) {
  doc.Layout.AreaWidth = 500;
  doc.Layout.MaxTextWidth = 300;
  doc.AppendText("x", 0, 0);
  doc.Format();
  EXPECT_EQ(doc.WrapWidth(), 300);
  EXPECT_EQ(doc.DocumentWidth(), 500);

  doc.Layout.MaxTextWidth = 0;
  doc.Layout.AreaWidth = 400;
  doc.AppendPicture("wide", std::make_unique<FakeGraphic>(600, 10), 0);
  settings.Options.Include(pgoClientTextWidth);
  doc.Format();
  EXPECT_EQ(doc.WrapWidth(), 400);
  EXPECT_EQ(doc.DocumentWidth(), 602);  // the picture with its spacing
  settings.Options.Exclude(pgoClientTextWidth);
  doc.Format();
  EXPECT_EQ(doc.WrapWidth(), 602);
}

TEST_F(FormattingTest, ParagraphSpacingAndIndents) {
  TParaInfo& p = sheet.ParaStyles.Add();  // 2
  p.SpaceBefore = 10;
  p.SpaceAfter = 6;
  p.LeftIndent = 20;
  p.FirstIndent = 8;
  p.RightIndent = 5;
  doc.Layout.AreaWidth = 20 + 5 + 8 * kLetter;
  doc.AppendText("aaaaaaaa aaaa", 0, 2);
  doc.AppendText("next", 0, 0);
  doc.Format();
  const auto items = Items();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].Left, 28);  // the first line is indented further
  EXPECT_EQ(items[0].Top, 10);
  EXPECT_EQ(items[1].Left, 20);
  EXPECT_EQ(items[2].Top, 10 + 2 * kLine + 6);
  EXPECT_EQ(doc.DocumentHeight(), 10 + 3 * kLine + 6);
}

TEST_F(FormattingTest, ListParagraphsIndentByTheirLevel) {
  TPGListInfo& list = sheet.ListStyles.Add();
  TPGListLevel& level = list.AddLevel();
  level.ListType = pglstDecimal;
  level.FormatString = "%0:s.";
  level.LeftIndent = 30;
  level.FirstIndent = 0;
  level.MarkerIndent = 10;
  doc.Layout.AreaWidth = 30 + 4 * kLetter;
  doc.ApplyListToPara(-1, 0, 0, 1, false, 0);
  doc.AppendText("aaaa aaaa", 0, -1);
  doc.Format();
  const auto items = Items();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].Left, 10);  // the marker at its indent
  EXPECT_EQ(items[0].Width, 20);  // up to the text
  EXPECT_EQ(items[1].Left, 30);
  EXPECT_EQ(items[2].Left, 30);  // later lines at the level's left indent
  EXPECT_EQ(doc.MarkerBoxOf(0).Width, 20);
}

TEST_F(FormattingTest, MinimumWidthKeepsObjectsInside) {
  doc.Layout.AreaWidth = 50;
  doc.AppendPicture("p", std::make_unique<FakeGraphic>(80, 10), 0);
  EXPECT_EQ(doc.CalculateMinDocumentWidth(), 82);
  doc.Format();
  EXPECT_EQ(doc.DocumentWidth(), 82);
}

TEST_F(FormattingTest, RunsAgainstTheParagraphsDirectionAreReordered) {
  TFontInfo& rtl = sheet.TextStyles.Add();
  rtl.BiDiMode = pgbdRightToLeft;
  const int r = sheet.TextStyles.Count() - 1;
  struct Case {
    const char* name;
    TPGBiDiMode para;
    std::vector<std::pair<const char*, bool>> runs;  // text, right to left
    const char* visual;                              // the runs from left to right
  };
  const Case cases[] = {
      {"left to right keeps its order", pgbdLeftToRight, {{"aa", false}, {"bb", false}, {"cc", false}}, "aa bb cc"},
      {"a right-to-left stretch turns round in place", pgbdLeftToRight,
       {{"aa", false}, {"xx", true}, {"yy", true}, {"bb", false}}, "aa yy xx bb"},
      {"right to left turns everything round", pgbdRightToLeft, {{"xx", true}, {"yy", true}, {"zz", true}}, "zz yy xx"},
      {"a left-to-right stretch keeps its order", pgbdRightToLeft, {{"aa", false}, {"bb", false}, {"xx", true}},
       "xx aa bb"},
      {"alternating", pgbdRightToLeft, {{"aa", false}, {"xx", true}, {"bb", false}}, "bb xx aa"},
  };
  for (const Case& c : cases) {
    sheet.ParaStyles[0].BiDiMode = c.para;
    doc.Clear();
    for (std::size_t k = 0; k < c.runs.size(); ++k) doc.AppendText(c.runs[k].first, c.runs[k].second ? r : 0, k == 0 ? 0 : -1);
    doc.Format();
    std::vector<std::pair<int, std::string>> placed;
    int right = 0;
    for (int i = 0; i < doc.DrawItemCount(); ++i) {
      const TPGDrawLineInfo d = doc.DrawItem(i);
      std::string t;
      for (char16_t ch : doc.DrawItemText(i)) t += static_cast<char>(ch);
      placed.emplace_back(d.Left, t);
      right = std::max(right, d.Right());
    }
    std::sort(placed.begin(), placed.end());
    std::string visual;
    for (const auto& [left, t] : placed) visual += (visual.empty() ? "" : " ") + t;
    EXPECT_EQ(visual, c.visual) << c.name;
    // The runs still touch: the line is as wide as before.
    EXPECT_EQ(right - placed.front().first, static_cast<int>(c.runs.size()) * 2 * kLetter) << c.name;
  }
}

TEST_F(FormattingTest, HitTesting) {
  doc.Layout.AreaWidth = 62;
  doc.AppendText("aaaa bbbb cccc", 0, 0);
  doc.Format();
  auto at = doc.FindDrawItemAtPoint(3, 2, false);
  EXPECT_EQ(at.DrawItem, 0);
  EXPECT_EQ(at.Offset, 1);
  at = doc.FindDrawItemAtPoint(2 * kLetter + 2, 2, false);
  EXPECT_EQ(at.Offset, 3);
  at = doc.FindDrawItemAtPoint(500, kLine + 3, false);  // right of the second line: its end
  EXPECT_EQ(at.DrawItem, 1);
  EXPECT_EQ(at.Offset, 5);
  EXPECT_EQ(doc.FindDrawItemAtPoint(500, kLine + 3, true).DrawItem, -1);
  EXPECT_EQ(doc.FindDrawItemUnderPoint(1, kLine + 1), 1);
  EXPECT_EQ(doc.FindDrawItemUnderPoint(100, 1), -1);
  EXPECT_EQ(doc.FindDrawItemByY(kLine, false), 1);
  EXPECT_EQ(doc.FindDrawItemByY(1000, true), 1);
}

TEST_F(FormattingTest, HotAreasForLinks) {
  doc.AppendText("see ", 0, 0);
  doc.AppendText("here", 4, -1);
  doc.AppendText("", 4, -1);
  doc.AppendHotPicture("hot", std::make_unique<FakeGraphic>(10, 10), -1);
  doc.Format();
  ASSERT_EQ(doc.Jumps().size(), 2u);
  EXPECT_EQ(doc.LinkIndexOf(1), 0);
  EXPECT_EQ(doc.LinkIndexOf(2), -3);  // an empty link has no area
  EXPECT_EQ(doc.LinkIndexOf(3), 1);
  EXPECT_EQ(doc.Jumps()[0].Left, 3 * kLetter + kSpace);
}

}  // namespace
}  // namespace pagora
