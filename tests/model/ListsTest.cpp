#include <gtest/gtest.h>

#include "model/CPGData.h"
#include "model/DocumentCheck.h"
#include "model/ListNumbering.h"
#include "model/MarkerList.h"
#include "model/PGMarker.h"
#include "model/PGStyle.h"
#include "model/PlainText.h"
#include "support/FakeCanvas.h"
#include "support/FakeGraphics.h"

namespace pagora {
namespace {

TEST(NumberText, EveryType) {
  struct Case {
    int n;
    TPGListType type;
    const char* text;
  };
  const Case cases[] = {
      {1, pglstDecimal, "1"},        {-3, pglstDecimal, "-3"},      {12, pglstImageListCounter, "12"},
      {1, pglstLowerAlpha, "a"},     {26, pglstLowerAlpha, "z"},    {27, pglstLowerAlpha, "aa"},
      {702, pglstLowerAlpha, "zz"},  {703, pglstUpperAlpha, "AAA"}, {0, pglstLowerAlpha, ""},
      {1994, pglstUpperRoman, "MCMXCIV"}, {4000, pglstUpperRoman, "MMMM"}, {9, pglstLowerRoman, "ix"},
      {0, pglstUpperRoman, "?"},     {-1, pglstLowerRoman, "?"},    {5, pglstBullet, ""},
      {kMaxRomanNumber + 1, pglstUpperRoman, "100001"},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberText(c.n, c.type), c.text) << c.n << " " << int(c.type);
}

TEST(MarkerFormat, OnlySubstitutionsWeKnow) {
  TPGMarkerArguments args;
  args[0] = "3";
  args[1] = "1";
  args[2] = "ii";
  struct Case {
    const char* format;
    const char* text;
  };
  const Case cases[] = {
      {"%0:s.%1:s.", "3.1."}, {"%s.%s.%s", "3.1.ii"}, {"(%2:s)", "(ii)"}, {"%1:s-%s", "1-ii"},
      {"100%%", "100%"},      {"%d%x%n", "%d%x%n"},   {"%5s|", "    3|"}, {"%-3s|", "3  |"},
      {"%.0s|", "|"},          {"%300:s|", "|"},       {"%99999999999s", ""}, {"%", "%"},
  };
  for (const Case& c : cases) {
    const std::string out = FormatMarkerString(c.format, args);
    if (std::string(c.format) == "%99999999999s") EXPECT_LE(out.size(), 1024u);
    else EXPECT_EQ(out, c.text) << c.format;
  }
}

// A document with list styles: 0 decimal with "%0:s." / "%0:s.%1:s.", 1 lower alpha then
// legal decimal, 2 bullets in the Symbol font.
class ListsTest : public testing::Test {
protected:
  ListsTest() {
    settings.Style = &sheet;
    TPGListInfo& decimal = sheet.ListStyles.Add();
    for (int l = 0; l < 3; ++l) {
      TPGListLevel& level = decimal.AddLevel();
      level.ListType = pglstDecimal;
      level.FormatString = l == 0 ? "%0:s." : l == 1 ? "%0:s.%1:s." : "%0:s.%1:s.%2:s.";
    }
    TPGListInfo& legal = sheet.ListStyles.Add();
    TPGListLevel& a = legal.AddLevel();
    a.ListType = pglstLowerAlpha;
    a.FormatString = "%0:s)";
    TPGListLevel& b = legal.AddLevel();
    b.ListType = pglstDecimal;
    b.FormatString = "%0:s.%1:s";
    TPGListLevel& c = legal.AddLevel();
    c.ListType = pglstDecimal;
    c.FormatString = "%0:s.%1:s.%2:s";
    TPGListInfo& bullets = sheet.ListStyles.Add();
    bullets.AddLevel().Font().Name = "Symbol";
  }

  // Adds a list paragraph: marker and text.
  void Para(int list, int level, const char* text = "x") {
    const int m = doc.ApplyListToPara(-1, list, level, 1, false, 0);
    ASSERT_GE(m, 0);
    doc.AppendText(text, 0, -1);
  }

  std::string Texts() const {
    std::string s;
    for (int i = 0; i < doc.CountItems(); ++i)
      if (const auto* m = dynamic_cast<const TPGMarkerItemInfo*>(&doc.ItemAt(i))) s += m->MarkerText + " ";
    if (!s.empty()) s.pop_back();
    return s;
  }

  TPGMarkerItemInfo& Marker(int k) {
    int seen = 0;
    for (int i = 0; i < doc.CountItems(); ++i)
      if (auto* m = dynamic_cast<TPGMarkerItemInfo*>(&doc.ItemAt(i)))
        if (seen++ == k) return *m;
    throw std::runtime_error("no such marker");
  }

  TPGStyle sheet;
  TPGDocumentSettings settings;
  TCustomPGData doc{&settings};
};

TEST_F(ListsTest, ConsecutiveNumbersAndRestart) {
  Para(0, 0);
  Para(0, 0);
  Para(0, 0);
  EXPECT_EQ(Texts(), "1. 2. 3.");
  const int second = doc.ListMarkerInfo(3).ItemNo;
  ASSERT_EQ(second, 2);
  ASSERT_EQ(doc.ApplyListToPara(3, 0, 0, 10, true, 0), 2);
  EXPECT_EQ(Texts(), "1. 10. 11.");
  std::string why;
  EXPECT_TRUE(CheckDocumentStructure(doc, &why)) << why;
}

TEST_F(ListsTest, LevelsCountInsideTheirParents) {
  Para(0, 0);
  Para(0, 1);
  Para(0, 1);
  Para(0, 0);
  Para(0, 1);
  Para(0, 2);
  EXPECT_EQ(Texts(), "1. 1.1. 1.2. 2. 2.1. 2.1.1.");
}

TEST_F(ListsTest, LevelResetAndItsAbsence) {
  Para(0, 0);
  Para(0, 1);
  Para(0, 1);
  Para(0, 0);
  Para(0, 1);
  std::vector<int> counters;
  for (int k = 0; k < 5; ++k) counters.push_back(Marker(k).CounterValue);
  EXPECT_EQ(counters, (std::vector<int>{1, 1, 2, 2, 1}));
  sheet.ListStyles[0].Levels[1].Options.Exclude(pgloLevelReset);
  doc.RenumberFromMarker(0);
  EXPECT_EQ(Marker(4).CounterValue, 3);  // level 1 goes on counting across level 0
}

TEST_F(ListsTest, AListThatBeginsDeeperCountsTheFirstShallowItemAsSecond) {
  Para(0, 1);
  Para(0, 0);
  EXPECT_EQ(Marker(1).CounterValue, 2);
  EXPECT_EQ(Texts(), "1.1. 2.");  // level 0 missing above the first: its StartFrom
}

TEST_F(ListsTest, LegalNumberingWritesHigherLevelsInDecimal) {
  Para(1, 0);
  Para(1, 1);
  EXPECT_EQ(Texts(), "a) a.1");
  sheet.ListStyles[1].Levels[1].Options.Include(pgloLegalStyleNumbering);
  doc.RenumberFromMarker(0);
  EXPECT_EQ(Texts(), "a) 1.1");
  // A level-2 marker right under level 0 fills level 1 with its StartFrom.
  sheet.ListStyles[1].Levels[2].Options.Include(pgloLegalStyleNumbering);
  Para(1, 2);
  EXPECT_EQ(Marker(2).MarkerText, "1.1.1");
  doc.Clear();
  Para(1, 0);
  Para(1, 2);
  EXPECT_EQ(Marker(1).MarkerText, "1.1.1");
}

TEST_F(ListsTest, InterleavedListsAreIndependentAndRemovalRenumbers) {
  Para(0, 0);
  Para(1, 0);
  Para(0, 0);
  Para(1, 0);
  Para(0, 0);
  EXPECT_EQ(Texts(), "1. a) 2. b) 3.");
  doc.RemoveItems(4, 2);  // the second paragraph of list 0
  EXPECT_EQ(Texts(), "1. a) b) 2.");
  EXPECT_EQ(doc.GetMarkerList()->Count(), 4);
}

TEST_F(ListsTest, RebuildingAfterAppendingIsTheSameAsRegisteringOneByOne) {
  TCustomPGData bulk(&settings);
  for (int i = 0; i < 20; ++i) {
    auto marker = std::make_unique<TPGMarkerItemInfo>(&bulk, i == 7, 40, i % 3, i % 2);
    marker->ParaNo = 0;
    bulk.AppendItem("", std::move(marker));
    bulk.AppendText("t", 0, -1);
  }
  EXPECT_EQ(bulk.GetMarkerList(), nullptr);  // appending does not register
  bulk.RebuildMarkerList();
  for (int i = 0; i < 20; ++i) Para(i % 2, i % 3);
  ASSERT_EQ(doc.ApplyListToPara(14, 1, 1, 40, true, 0), 14);
  ASSERT_EQ(bulk.GetMarkerList()->Count(), 20);
  for (int k = 0; k < 20; ++k) {
    const auto& m = dynamic_cast<const TPGMarkerItemInfo&>(bulk.ItemAt(2 * k));
    EXPECT_EQ(m.MarkerText, Marker(k).MarkerText) << k;
    EXPECT_EQ(m.CounterValue, Marker(k).CounterValue) << k;
  }
}

TEST_F(ListsTest, ApplyingToExistingParagraphs) {
  doc.AppendText("one", 0, 1);
  doc.AppendText("more", 0, -1);
  doc.AppendBreak();
  doc.AppendText("two", 0, 0);
  doc.SetPageBreak(3, true);
  EXPECT_EQ(doc.ApplyListToPara(1, 0, 0, 1, false, 0), 0);
  EXPECT_EQ(doc.ApplyListToPara(3, 99 /*any*/, 0, 1, false, 0), -1);  // the break's paragraph
  EXPECT_EQ(doc.ApplyListToPara(4, 0, 0, 1, false, 0), 4);
  EXPECT_EQ(doc.ApplyListToPara(2, 0, 0, 1, false, 0), 0);  // already a list paragraph
  std::string why;
  EXPECT_TRUE(CheckDocumentStructure(doc, &why)) << why;
  EXPECT_EQ(doc.ItemAt(0).ParaNo, 1);  // the marker takes the paragraph's style
  EXPECT_TRUE(doc.HasPageBreak(5));    // a page break now belongs to the marker
  EXPECT_EQ(Texts(), "1. 2.");
  const auto info = doc.ListMarkerInfo(2);
  EXPECT_EQ(info.ItemNo, 0);
  EXPECT_EQ(doc.ListMarkerInfo(3).ItemNo, -1);
}

TEST_F(ListsTest, PlainTextOfMarkers) {
  TPGListLevel& unicodeLevel = sheet.ListStyles[2].AddLevel();
  unicodeLevel.ListType = pglstUnicodeBullet;
  unicodeLevel.FormatStringW = u"\u25AA";
  Para(2, 0, "first");  // Symbol bullet 0xB7
  Para(0, 0, "second");
  Para(2, 1, "third");
  TPGTextWriteOptions o;
  std::string out;
  ASSERT_TRUE(WritePlainText(doc, out, o));
  EXPECT_EQ(out, "* first\r\n1. second\r\n* third");
  o.Encoding = TPGTextEncoding::UTF8;
  out.clear();
  ASSERT_TRUE(WritePlainText(doc, out, o));
  EXPECT_EQ(out, "* first\r\n1. second\r\n\xE2\x96\xAA third");
  // A selection from inside a list paragraph starts with its marker.
  TPGTextRange inside{3, 3, 3, 7};
  o.Range = &inside;
  out.clear();
  ASSERT_TRUE(WritePlainText(doc, out, o));
  EXPECT_EQ(out, "1. cond");
}

TEST_F(ListsTest, MarkerBoxes) {
  test::FakeCanvas canvas;
  TPGListLevel& level = sheet.ListStyles[0].Levels[0];
  level.LeftIndent = 20;
  level.FirstIndent = 10;
  level.MarkerIndent = 5;
  Para(0, 0);
  const auto& m = Marker(0);
  // The text "1." measured in the level font, Arial 8 pt: 11 px at 96 dpi.
  TFontSpec levelFont;
  levelFont.PixelSize = 11;
  const int textW = test::FakeCanvas::CharWidth(u'1', levelFont) + test::FakeCanvas::CharWidth(u'.', levelFont);
  struct Case {
    TPGMarkerAlignment align;
    bool rtl;
    int width, offset, contentX;
  };
  const int gap = 25;  // 20 + 10 - 5, larger than the text
  const Case cases[] = {
      {pgmaLeft, false, gap, 0, 0},
      {pgmaRight, false, textW + gap, -textW, 0},
      {pgmaCenter, false, textW - textW / 2 + gap, -(textW - textW / 2), 0},
      {pgmaLeft, true, gap, 0, gap - textW},
  };
  for (const Case& c : cases) {
    level.MarkerAlignment = c.align;
    const TPGMarkerBox box = m.ComputeBox(&sheet, &canvas, nullptr, c.rtl);
    EXPECT_EQ(box.Width, c.width) << int(c.align);
    EXPECT_EQ(box.Offset, c.offset) << int(c.align);
    EXPECT_EQ(box.ContentX, c.contentX) << int(c.align);
    EXPECT_EQ(box.MinWidth, gap);
  }
  EXPECT_EQ(canvas.Font().PixelSize, 11);  // the level font: Arial 8 pt at 96 dpi

  test::FakeImageList images(16, 12, 3);
  level.ListType = pglstImageList;
  level.ImageList = &images;
  level.MarkerAlignment = pgmaLeft;
  level.FirstIndent = -20;  // a gap smaller than the image
  const TPGDeviceScale printer{96, 96, 192, 192, 0};
  const TPGMarkerBox box = m.ComputeBox(&sheet, &canvas, &printer, false);
  EXPECT_EQ(box.Width, 32);
  EXPECT_EQ(box.Height, 24);
  EXPECT_EQ(box.MinWidth, 32);
  TPGMarkerItemInfo none(&doc);
  EXPECT_EQ(none.ComputeBox(&sheet, &canvas, nullptr, false).Width, 0);  // no list: nothing
}

TEST_F(ListsTest, MarkersWithoutAListAreSkippedAndPurgeRenumbersLists) {
  Para(0, 0);
  Para(2, 0);
  Para(0, 0);
  sheet.ListStyles[0].Standard = sheet.ListStyles[1].Standard = sheet.ListStyles[2].Standard = false;
  doc.PurgeStyles(false, false, true);  // list 1 is unused
  ASSERT_EQ(sheet.ListStyles.Count(), 2);
  EXPECT_EQ(Marker(1).ListStyleNo, 1);
  Marker(1).ListStyleNo = -1;
  doc.RenumberFromMarker(0);
  EXPECT_EQ(Texts(), "1. \xB7 2.");  // the unlisted marker keeps what it had
}

TEST_F(ListsTest, FindPrecedingMarkerAndLastMarkerOfLists) {
  doc.AppendText("intro", 0, 0);
  Para(0, 0);
  Para(1, 0);
  Para(0, 0);
  EXPECT_EQ(doc.FindPrecedingMarker(0), nullptr);
  EXPECT_EQ(doc.FindPrecedingMarker(2), &Marker(0));
  EXPECT_EQ(doc.FindPrecedingMarker(99), &Marker(2));
  EXPECT_EQ(doc.LastMarkerOfLists(-1, {0}), 2);
  EXPECT_EQ(doc.LastMarkerOfLists(-1, {1}), 1);
  EXPECT_EQ(doc.LastMarkerOfLists(1, {1}), -1);
}

TEST_F(ListsTest, ClearingFreesTheRegistry) {
  Para(0, 0);
  ASSERT_NE(doc.GetMarkerList(), nullptr);
  doc.Clear();
  EXPECT_EQ(doc.GetMarkerList(), nullptr);
  Para(0, 0);
  doc.RemoveItems(0, 2);
  EXPECT_EQ(doc.GetMarkerList(), nullptr);
}

TEST_F(ListsTest, AppendingAfterATrailingMarkerAddsItsText) {
  doc.ApplyListToPara(-1, 0, 0, 1, false, 1);
  doc.AppendText("next paragraph", 0, 0);
  ASSERT_EQ(doc.CountItems(), 3);
  EXPECT_EQ(doc.ItemAt(1).StyleNo, 0);
  EXPECT_TRUE(doc.ItemAt(1).HasFlag(pgifContinuesPara));
  EXPECT_EQ(doc.ItemAt(0).ParaNo, 1);
}

}  // namespace
}  // namespace pagora
