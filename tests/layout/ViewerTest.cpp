#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layout/Pagora.h"
#include "model/ControlItem.h"
#include "model/PGFFormat.h"
#include "model/PGStyle.h"
#include "support/FakeGraphics.h"
#include "support/FakeHost.h"
#include "support/MemoryClipboard.h"

namespace pagora {
namespace {

using test::FakeHost;
using test::MemoryClipboard;

// Arial 10 pt on the fake canvas: these letters are 7 px wide, spaces 4, lines 16 high.
// With the default margins of 5 the first line spans y 5..20 and text starts at x 5.
constexpr int kLetter = 7, kSpace = 4, kLine = 16, kMargin = 5;

// The x of the middle of character k of a first-line run of letters and single spaces.
int CharX(const std::string& text, int k) {
  int x = kMargin;
  for (int i = 0; i < k; ++i) x += text[static_cast<std::size_t>(i)] == ' ' ? kSpace : kLetter;
  return x + (text[static_cast<std::size_t>(k)] == ' ' ? kSpace : kLetter) / 2;
}
int LineY(int line) { return kMargin + line * kLine + kLine / 2; }

class ViewerTest : public testing::Test {
protected:
  ViewerTest() {
    viewer.SetStyle(&sheet);
    viewer.SetClipboard(&clipboard);
    linkStyle = sheet.TextStyles.Count();
    sheet.TextStyles.Add().Jump = true;
  }

  void Show() {
    viewer.AttachHost(&host);
    viewer.Format();
  }
  TPagoraPGData& Data() { return viewer.PGData(); }
  std::string Selected() const { return viewer.GetSelectionText(); }
  void Drag(int x0, int y0, int x1, int y1, TShiftState shift = {}) {
    viewer.MouseDown(mbLeft, shift, x0, y0);
    viewer.MouseMove(shift | TShiftState{ssLeft}, x1, y1);
    viewer.MouseUp(mbLeft, shift, x1, y1);
  }
  void Click(int x, int y, TMouseButton button = mbLeft) {
    viewer.MouseDown(button, {}, x, y);
    viewer.MouseUp(button, {}, x, y);
  }

  TPGStyle sheet;
  int linkStyle = 0;
  FakeHost host;
  MemoryClipboard clipboard;
  TPagora viewer;
};

// ---------------------------------------------------------------- scrolling

TEST(ScrollStepTest, LongDocumentsGetALargerStepSoTheRangeStaysWithinTheLimit) {
  struct Case {
    int step, height, expected;
  };
  for (const Case c : {Case{10, 3000, 10}, Case{10, 320000, 10}, Case{10, 320010, 11}, Case{10, 500000, 16},
                       Case{16, 3000, 10}, Case{16, 400000, 16}, Case{10, 0, 10}}) {
    EXPECT_EQ(TPGScroller::ChooseVStep(c.step, c.height), c.expected) << c.step << " " << c.height;
  }
}

TEST_F(ViewerTest, ScrollRangesFollowTheDocumentAndTheStepReturnsToTenForShortDocuments) {
  viewer.TopMargin = 0;
  viewer.BottomMargin = 3000 - kLine;
  Data().AppendText("abc", 0, 0);
  Show();
  EXPECT_EQ(Data().DocumentHeight(), 3000);
  EXPECT_EQ(viewer.VStep(), 10);
  EXPECT_EQ(host.ScrollBars[TScrollBarKind::Vertical].Max, 299);
  EXPECT_EQ(host.ScrollBars[TScrollBarKind::Vertical].Page, 20);

  viewer.BottomMargin = 500000 - kLine;
  viewer.Format();
  EXPECT_EQ(viewer.VStep(), 16);
  EXPECT_EQ(viewer.VUnits(), 31250);

  viewer.BottomMargin = 3000 - kLine;
  viewer.FormatKeepingPosition();  // not a full format: the step stays
  EXPECT_EQ(viewer.VStep(), 16);
  viewer.Format();
  EXPECT_EQ(viewer.VStep(), 10);
}

TEST_F(ViewerTest, ScrollingMovesThePaintedContentsAndRaisesTheEvent) {
  for (int i = 0; i < 100; ++i) Data().AppendText("abc", 0, 0);
  Show();
  int scrolled = 0;
  viewer.OnVScrolled = [&](TCustomPagora&) { ++scrolled; };
  viewer.SetVPos(7);
  ASSERT_EQ(host.Scrolled.size(), 1u);
  EXPECT_EQ(host.Scrolled[0], std::make_pair(0, -70));
  EXPECT_EQ(scrolled, 1);
  viewer.SetVPos(7);  // no change, no event
  EXPECT_EQ(scrolled, 1);
  viewer.SetVPos(1000000);  // clamped to the last page
  EXPECT_EQ(viewer.VPos(), viewer.VUnits() - viewer.VPageUnits());

  // A background fixed to the window is repainted instead of moved.
  viewer.SetBackgroundBitmap(std::make_unique<test::FakeGraphic>(10, 10));
  viewer.SetBackgroundStyle(bsStretched);
  host.Scrolled.clear();
  const int before = host.InvalidateAllCount;
  viewer.SetVPos(0);
  EXPECT_TRUE(host.Scrolled.empty());
  EXPECT_GT(host.InvalidateAllCount, before);
}

TEST_F(ViewerTest, WheelNotchesScrollByTheStepAndTheUsersLines) {
  for (int i = 0; i < 200; ++i) Data().AppendText("abc", 0, 0);
  Show();
  struct Case {
    int wheelStep, lines, notches, moved;
  };
  for (const Case c : {Case{2, 3, -1, 2}, Case{2, 3, -3, 6}, Case{2, 1, -1, 1}, Case{4, 3, -1, 4}, Case{2, 6, -1, 4}}) {
    viewer.SetVPos(0);
    viewer.WheelStep = c.wheelStep;
    host.Lines = c.lines;
    EXPECT_TRUE(viewer.MouseWheel(c.notches));
    EXPECT_EQ(viewer.VPos(), c.moved) << c.wheelStep << " " << c.lines << " " << c.notches;
  }
  viewer.WheelStep = 0;
  EXPECT_FALSE(viewer.MouseWheel(-1));  // left to the parent
  EXPECT_EQ(viewer.VPos(), 4);
}

TEST_F(ViewerTest, ScrollKeysAndScrollBarActions) {
  for (int i = 0; i < 200; ++i) Data().AppendText("abc", 0, 0);
  Show();
  const int page = host.Client.cy / 10;
  EXPECT_TRUE(viewer.KeyDown(VK_NEXT, {}));
  EXPECT_EQ(viewer.VPos(), page);
  EXPECT_TRUE(viewer.KeyDown(VK_DOWN, {}));
  EXPECT_EQ(viewer.VPos(), page + 1);
  EXPECT_TRUE(viewer.KeyDown(VK_END, {}));
  EXPECT_EQ(viewer.VPos(), viewer.VUnits() - page);
  EXPECT_TRUE(viewer.KeyDown(VK_HOME, {}));
  EXPECT_EQ(viewer.VPos(), 0);
  EXPECT_FALSE(viewer.KeyDown('A', {}));

  // A window lower than a unit still pages, down to the end.
  host.Client = {300, 1};
  viewer.Resized();
  viewer.KeyDown(VK_NEXT, {});
  EXPECT_EQ(viewer.VPos(), 1);
  for (int i = 0; i < 1000; ++i) viewer.KeyDown(VK_NEXT, {});
  EXPECT_EQ(viewer.VPos(), viewer.VUnits());
  viewer.KeyDown(VK_HOME, {});
  host.Client = {300, 200};
  viewer.Resized();

  viewer.Tracking = false;
  viewer.ScrollAction(TScrollBarKind::Vertical, TScrollAction::ThumbTrack, 30);
  EXPECT_EQ(viewer.VPos(), 0);
  viewer.ScrollAction(TScrollBarKind::Vertical, TScrollAction::ThumbPosition, 30);
  EXPECT_EQ(viewer.VPos(), 30);
}

TEST_F(ViewerTest, ShortDocumentsAreAlignedAndClicksMapAccordingly) {
  viewer.TopMargin = viewer.BottomMargin = 0;
  host.Client = {300, 300};
  for (int i = 0; i < 6; ++i) Data().AppendText("abc", 0, 0);  // 96 px
  viewer.BottomMargin = 100 - 6 * kLine;
  struct Case {
    TTextLayout align;
    int offset;
  };
  for (const Case c : {Case{tlTop, 0}, Case{tlCenter, 100}, Case{tlBottom, 200}}) {
    viewer.VAlign = c.align;
    Show();
    EXPECT_EQ(viewer.VAlignOffset(), c.offset);
    EXPECT_EQ(viewer.ClientToDocument({10, c.offset + 20}).Y, 20);
    EXPECT_EQ(viewer.FindItemAtClientPoint(kMargin + 1, c.offset + kLine + 1), 1);
    EXPECT_EQ(viewer.FindItemAtClientPoint(kMargin + 1, c.offset - 1), -1);
  }
  // A document taller than the window is never offset.
  viewer.BottomMargin = 1000;
  viewer.Format();
  EXPECT_EQ(viewer.VAlignOffset(), 0);
}

TEST_F(ViewerTest, ResizingKeepsTheTopItemAndTheSelection) {
  for (int i = 0; i < 100; ++i) Data().AppendText("abc def " + std::to_string(i), 0, 0);
  viewer.Options.Include(pgoClientTextWidth);
  Show();
  viewer.SelectRange(50, 1, 50, 4);
  viewer.ScrollToY(50 * kLine);
  const int topItem = Data().DrawItem(Data().FindDrawItemByY(viewer.DocumentTopInWindow(), false)).ItemNo;
  host.Client = {40, 200};  // every paragraph now wraps
  viewer.Resized();
  const int newTop = Data().DrawItem(Data().FindDrawItemByY(viewer.DocumentTopInWindow(), false)).ItemNo;
  EXPECT_NEAR(newTop, topItem, 2);
  EXPECT_EQ(Selected(), "abc");
}

// ---------------------------------------------------------------- selection

TEST_F(ViewerTest, DraggingSelectsInEachSelectionMode) {
  const std::string first = "abc def gh";
  Data().AppendText(first, 0, 0);
  Data().AppendText("xyz uvw", 0, 0);
  Show();
  struct Case {
    TPGSelectionMode mode;
    int fromChar, toChar;  // characters of the first line
    int toLine;
    std::string expected;
  };
  const std::vector<Case> cases{
      {pgsmChar, 1, 5, 0, "bc d"},
      {pgsmWord, 1, 5, 0, "abc def"},      // left the anchor word: whole words
      {pgsmWord, 5, 1, 0, "abc def"},      // backwards too
      {pgsmWord, 1, 2, 0, "b"},            // inside the anchor word: characters
      {pgsmParagraph, 1, 5, 0, "bc d"},    // one paragraph: characters
      {pgsmParagraph, 1, 1, 1, "abc def gh\r\nxyz uvw"},
  };
  for (const Case& c : cases) {
    sheet.SelectionMode = c.mode;
    const int x1 = c.toLine == 0 ? CharX(first, c.toChar) - 2 : kMargin + 2 * kLetter;
    Drag(CharX(first, c.fromChar) - 2, LineY(0), x1, LineY(c.toLine));
    EXPECT_EQ(Selected(), c.expected) << c.mode << " " << c.fromChar << "->" << c.toChar;
  }
}

TEST_F(ViewerTest, WordSelectionFollowsCharactersAgainInsideTheEndWord) {
  const std::string text = "abc defgh xy";
  Data().AppendText(text, 0, 0);
  Show();
  sheet.SelectionMode = pgsmWord;
  viewer.MouseDown(mbLeft, {}, CharX(text, 1) - 2, LineY(0));
  viewer.MouseMove({ssLeft}, CharX(text, 6) - 2, LineY(0));  // into "defgh": snaps to its end
  EXPECT_EQ(Selected(), "abc defgh");
  viewer.MouseMove({ssLeft}, CharX(text, 5) - 2, LineY(0));  // back within the same word
  EXPECT_EQ(Selected(), "abc d");
  viewer.MouseMove({ssLeft}, CharX(text, 11) - 2, LineY(0));  // another word
  EXPECT_EQ(Selected(), "abc defgh xy");
  viewer.MouseMove({ssLeft}, CharX(text, 2) - 2, LineY(0));  // back into the anchor word
  EXPECT_EQ(Selected(), "b");
  viewer.MouseUp(mbLeft, {}, CharX(text, 2) - 2, LineY(0));
}

TEST_F(ViewerTest, LeftMarginSelectsWholeLinesUpToTheLastDrawingItem) {
  Data().AppendText("abc", 0, 0);
  Data().AppendText("def", 0, 0);
  Data().AppendText("gh", 0, 0);
  Data().AppendText("xy", 0, -1);  // same line as "gh"
  Show();
  viewer.MouseDown(mbLeft, {}, 2, LineY(1));
  EXPECT_EQ(Selected(), "def");
  viewer.MouseMove({ssLeft}, 2, LineY(2));
  viewer.MouseUp(mbLeft, {}, 2, LineY(2));
  EXPECT_EQ(Selected(), "def\r\nghxy");
  // Upwards, from the last line.
  Drag(2, LineY(2), 2, LineY(0));
  EXPECT_EQ(Selected(), "abc\r\ndef\r\nghxy");
}

TEST_F(ViewerTest, ShiftClickExtendsFromTheAnchor) {
  const std::string text = "abc def gh";
  Data().AppendText(text, 0, 0);
  Show();
  sheet.SelectionMode = pgsmChar;
  Click(CharX(text, 1) - 2, LineY(0));
  viewer.MouseDown(mbLeft, {ssShift}, CharX(text, 6) - 2, LineY(0));
  viewer.MouseUp(mbLeft, {ssShift}, CharX(text, 6) - 2, LineY(0));
  EXPECT_EQ(Selected(), "bc de");
}

TEST_F(ViewerTest, DoubleClickSelectsTheWordAndReportsIt) {
  const std::string text = "abc def.gh";
  Data().AppendText(text, 0, 0);
  Show();
  std::u16string word;
  int style = -100;
  viewer.OnPGDblClick = [&](TCustomPagora&, const std::u16string& w, int s) {
    word = w;
    style = s;
  };
  int selects = 0;
  viewer.OnSelect = [&](TCustomPagora&) { ++selects; };
  Click(CharX(text, 5), LineY(0));
  viewer.DoubleClick({}, CharX(text, 5), LineY(0));
  viewer.MouseUp(mbLeft, {}, CharX(text, 9), LineY(0));  // the release keeps the word
  EXPECT_EQ(Selected(), "def");
  EXPECT_EQ(word, u"def");
  EXPECT_EQ(style, 0);
  EXPECT_EQ(selects, 2);
}

TEST_F(ViewerTest, TripleClickSelectsTheParagraph) {
  Data().AppendText("abc def", 0, 0);
  Data().AppendText("gh ", 0, 0);
  Data().AppendText("xy", linkStyle, -1);
  Data().AppendText("uvw", 0, 0);
  Show();
  int selects = 0;
  viewer.OnSelect = [&](TCustomPagora&) { ++selects; };
  Click(kMargin + 3, LineY(1));
  viewer.DoubleClick({}, kMargin + 3, LineY(1));
  viewer.MouseUp(mbLeft, {}, kMargin + 3, LineY(1));
  viewer.TripleClick({}, kMargin + 3, LineY(1));
  viewer.MouseUp(mbLeft, {}, kMargin + 40, LineY(2));  // the release keeps it
  EXPECT_EQ(Selected(), "gh xy");
  EXPECT_EQ(selects, 3);
}

TEST_F(ViewerTest, RightToLeftRunsAreHitFromTheirRightEdge) {
  const int rtl = sheet.TextStyles.Count();
  sheet.TextStyles.Add().BiDiMode = pgbdRightToLeft;
  Data().AppendText("abc def", rtl, 0);
  Show();
  const TPGDrawLineInfo di = Data().DrawItem(0);
  // "abc" is drawn at the right end of the run, "def" at its left.
  EXPECT_EQ(viewer.WordAtClientPoint(di.Right() - 3, LineY(0)).Word, u"abc");
  EXPECT_EQ(viewer.WordAtClientPoint(di.Left + 3, LineY(0)).Word, u"def");
  EXPECT_EQ(viewer.FindDrawItemAtClientPoint(di.Right() - 1, LineY(0), false).Offset, 1);
  EXPECT_EQ(viewer.FindDrawItemAtClientPoint(di.Left + 1, LineY(0), false).Offset, 8);
}

TEST_F(ViewerTest, RightClickKeepsTheSelectionInsideItAndMovesItOutside) {
  const std::string text = "abc def gh";
  Data().AppendText(text, 0, 0);
  Show();
  sheet.SelectionMode = pgsmChar;
  Drag(CharX(text, 1) - 2, LineY(0), CharX(text, 6) - 2, LineY(0));
  ASSERT_EQ(Selected(), "bc de");
  int selects = 0;
  viewer.OnSelect = [&](TCustomPagora&) { ++selects; };
  Click(CharX(text, 3), LineY(0), mbRight);
  EXPECT_EQ(Selected(), "bc de");
  EXPECT_EQ(selects, 0);
  Click(CharX(text, 9), LineY(0), mbRight);
  EXPECT_FALSE(viewer.HasSelection());
  EXPECT_EQ(selects, 1);
  EXPECT_EQ(host.Popups, 2);
}

TEST_F(ViewerTest, AutoScrollWhileSelectingBelowTheWindow) {
  for (int i = 0; i < 100; ++i) Data().AppendText("abc", 0, 0);
  Show();
  viewer.MouseDown(mbLeft, {}, 10, LineY(0));
  EXPECT_EQ(host.Timers.count(kAutoScrollTimerId), 1u);
  host.Cursor = {10, host.Client.cy + 30};
  viewer.MouseMove({ssLeft}, host.Cursor.X, host.Cursor.Y);
  viewer.TimerFired(kAutoScrollTimerId);
  EXPECT_EQ(viewer.VPos(), 10);
  viewer.TimerFired(kAutoScrollTimerId);
  EXPECT_EQ(viewer.VPos(), 20);
  viewer.MouseUp(mbLeft, {}, host.Cursor.X, host.Cursor.Y);
  EXPECT_EQ(host.Timers.count(kAutoScrollTimerId), 0u);
  EXPECT_FALSE(host.Captured);
  // The selection reaches the line at the window's bottom edge.
  TPGTextRange r;
  ASSERT_TRUE(Data().SelectionAsItemRange(r));
  EXPECT_GE(r.LastItem, (20 * 10 + host.Client.cy) / kLine - 2);
}

// ---------------------------------------------------------------- links

class ViewerLinkTest : public ViewerTest {
protected:
  ViewerLinkTest() {
    Data().AppendText("abc ", 0, 0);
    Data().AppendText("link", linkStyle, -1);
    Data().AppendText(" def", 0, -1);
    Data().AppendText("next", linkStyle, 0);
    viewer.FirstJumpNo = 100;
    viewer.OnJump = [this](TCustomPagora&, int id) { jumps.push_back(id); };
    viewer.OnPGMouseMove = [this](TCustomPagora&, int id) { moves.push_back(id); };
    Show();
  }
  const int linkX = kMargin + 3 * kLetter + kSpace + 5;  // inside "link"
  std::vector<int> jumps, moves;
};

TEST_F(ViewerLinkTest, AJumpNeedsPressAndReleaseOnTheSameLink) {
  Click(linkX, LineY(0));
  EXPECT_EQ(jumps, std::vector<int>{100});
  jumps.clear();
  viewer.MouseDown(mbLeft, {}, linkX, LineY(0));  // released outside
  viewer.MouseUp(mbLeft, {}, kMargin + 1, LineY(0));
  EXPECT_TRUE(jumps.empty());
  viewer.MouseDown(mbLeft, {}, linkX, LineY(0));  // out and back in
  viewer.MouseMove({ssLeft}, 250, LineY(0));
  viewer.MouseMove({ssLeft}, linkX, LineY(0));
  viewer.MouseUp(mbLeft, {}, linkX, LineY(0));
  EXPECT_EQ(jumps, std::vector<int>{100});
  jumps.clear();
  viewer.MouseDown(mbLeft, {}, linkX, LineY(0));  // pressed on one link, released on the other
  viewer.MouseUp(mbLeft, {}, kMargin + 5, LineY(1));
  EXPECT_TRUE(jumps.empty());
}

TEST_F(ViewerLinkTest, HoverChangesTheCursorAndReportsTheLink) {
  viewer.MouseMove({}, linkX, LineY(0));
  EXPECT_EQ(host.CursorShape, crJump);
  viewer.MouseMove({}, linkX + 1, LineY(0));  // same link: no new event
  viewer.MouseMove({}, kMargin + 5, LineY(1));
  viewer.MouseMove({}, 200, LineY(1));
  EXPECT_EQ(host.CursorShape, kCursorDefault);
  viewer.MouseMove({}, linkX, LineY(0));
  viewer.MouseLeave();
  EXPECT_EQ(moves, (std::vector<int>{100, 101, -1, 100, -1}));
  // The left margin shows the line-selection cursor.
  viewer.MouseMove({}, 2, LineY(0));
  EXPECT_EQ(host.CursorShape, sheet.LineSelectCursor);
}

TEST_F(ViewerLinkTest, OnlyHoverSensitiveLinksAreRepaintedGrownByFive) {
  viewer.MouseMove({}, linkX, LineY(0));
  EXPECT_TRUE(host.Invalidated.empty());  // no hover colours: nothing to repaint
  viewer.MouseMove({}, 200, LineY(1));
  sheet.TextStyles[linkStyle].HoverColor = clRed;
  viewer.MouseMove({}, linkX, LineY(0));
  EXPECT_TRUE(viewer.HoverActive());
  const TPGDrawLineInfo di = Data().DrawItem(1);
  ASSERT_EQ(host.Invalidated.size(), 1u);
  EXPECT_EQ(host.Invalidated[0], (TRect{di.Left - 5, di.Top - 5, di.Right() + 5, di.Bottom() + 5}));
  viewer.MouseMove({}, 200, LineY(1));  // leaving repaints it once more
  EXPECT_EQ(host.Invalidated.size(), 2u);
}

TEST_F(ViewerLinkTest, TakingTheStyleSheetAwayLeavesAViewerThatStillTakesInput) {
  viewer.SetStyle(nullptr);
  test::FakeCanvas canvas;
  viewer.Paint(canvas, {0, 0, 300, 200});
  viewer.MouseMove({}, linkX, LineY(0));
  Drag(linkX, LineY(0), 100, LineY(1));
  viewer.DoubleClick({}, linkX, LineY(0));
  viewer.KeyDown(VK_TAB, {});
  viewer.Format();
  SUCCEED();
}

TEST(ViewerStyleSheetTest, DestroyingTheStyleSheetClearsTheControlsStyle) {
  FakeHost host;
  TPagora viewer;
  auto sheet = std::make_unique<TPGStyle>();
  viewer.SetStyle(sheet.get());
  viewer.AttachHost(&host);
  viewer.PGData().AppendText("abc", 0, 0);
  viewer.Format();
  TPGStyle other;
  viewer.SetStyle(&other);  // no longer a user of the first
  viewer.SetStyle(sheet.get());
  sheet.reset();
  EXPECT_EQ(viewer.Style, nullptr);
  test::FakeCanvas canvas;
  viewer.Paint(canvas, {0, 0, 300, 200});
  viewer.MouseMove({}, 10, 10);
  viewer.Format();
  EXPECT_FALSE(viewer.PGData().IsFormatted());
}

TEST_F(ViewerLinkTest, TabMovesThroughTheLinksAndEnterFollowsTheFocusedOne) {
  host.Focused = true;
  viewer.FocusIn(false, true);
  EXPECT_EQ(viewer.FocusedJump(), 0);
  EXPECT_TRUE(viewer.WantsKey(VK_RETURN, {}));
  EXPECT_TRUE(viewer.KeyDown(VK_TAB, {}));
  EXPECT_EQ(viewer.FocusedJump(), 1);
  EXPECT_TRUE(viewer.KeyDown(VK_RETURN, {}));
  EXPECT_EQ(jumps, std::vector<int>{101});
  EXPECT_TRUE(viewer.KeyDown(VK_TAB, {}));  // past the last link: the next control
  EXPECT_EQ(viewer.FocusedJump(), -1);
  EXPECT_EQ(host.FocusNextCount, 1);
  viewer.FocusIn(true, true);  // Shift+Tab comes in at the last link
  EXPECT_EQ(viewer.FocusedJump(), 1);
  viewer.TabNavigation = pgtnCtrlTab;
  EXPECT_FALSE(viewer.WantsKey(VK_TAB, {}) && viewer.FocusedJump() < 0);
}

// ---------------------------------------------------------------- copying

TEST_F(ViewerTest, CopyWritesTheFormatsInOrder) {
  Data().AppendText("abc def", 0, 0);
  Data().AppendText("second", 0, 0);
  Show();
  viewer.SelectAll();
  std::vector<int> seenAtCopy;
  viewer.OnCopy = [&](TCustomPagora&) { seenAtCopy = {clipboard.Opens, clipboard.Clears}; };
  ASSERT_TRUE(viewer.CopySelection());
  EXPECT_EQ(seenAtCopy, (std::vector<int>{1, 1}));
  ASSERT_EQ(clipboard.Formats.size(), 2u);
  EXPECT_EQ(clipboard.Formats[0].first, TClipFormat::PGF);
  EXPECT_EQ(clipboard.Formats[1].first, TClipFormat::Text);
  EXPECT_EQ(clipboard.Formats[1].second, "abc def\r\nsecond");
  std::string_view pgf;
  ASSERT_TRUE(UnwrapPGFFromClipboard(clipboard.Formats[0].second, pgf));
  TPGDocumentSettings settings;
  settings.Style = &sheet;
  TCustomPGData copy(&settings);
  int at = 0;
  ASSERT_TRUE(ReadPGF(copy, pgf, at, {}).Ok);
  ASSERT_EQ(copy.CountItems(), 2);
  EXPECT_EQ(copy.TextOf(1), "second");

  // Unicode text replaces 8-bit text and comes after it in the order.
  viewer.Options.Include(pgoAutoCopyUnicodeText);
  ASSERT_TRUE(viewer.CopySelection());
  ASSERT_EQ(clipboard.Formats.size(), 2u);
  EXPECT_EQ(clipboard.Formats[1].first, TClipFormat::UnicodeText);
  const std::string& u = clipboard.Formats[1].second;
  EXPECT_EQ(u.size(), 2 * std::string("abc def\r\nsecond").size() + 2);
  EXPECT_EQ(u.substr(u.size() - 2), std::string(2, '\0'));
}

TEST_F(ViewerTest, UnicodeTextGoesAlongWithEightBitTextWhenTheSelectionHasIt) {
  const int unicode = sheet.TextStyles.Count();
  sheet.TextStyles.Add().Unicode = true;
  Data().AppendText("abc", 0, 0);
  Data().AppendTextUTF16(u"\u65e5\u672c", unicode, -1);
  Show();
  viewer.SelectAll();
  ASSERT_TRUE(viewer.CopySelection());
  ASSERT_EQ(clipboard.Formats.size(), 3u);
  EXPECT_EQ(clipboard.Formats[1].first, TClipFormat::Text);
  EXPECT_EQ(clipboard.Formats[2].first, TClipFormat::UnicodeText);
  EXPECT_EQ(clipboard.Formats[2].second, std::string("a\0b\0c\0\xe5\x65\x2c\x67\0\0", 12));
}

TEST_F(ViewerTest, CopyWithoutSelectionOrFormatsLeavesTheClipboardAlone) {
  Data().AppendText("abc", 0, 0);
  Show();
  EXPECT_FALSE(viewer.CopySelection());
  viewer.SelectAll();
  viewer.Options = viewer.Options - TPGOptions{pgoAutoCopyText, pgoAutoCopyPGF, pgoAutoCopyImage, pgoAutoCopyRTF};
  EXPECT_FALSE(viewer.CopySelection());
  EXPECT_EQ(clipboard.Opens, 0);
  clipboard.Refuse = true;  // a clipboard that cannot be had
  viewer.Options.Include(pgoAutoCopyText);
  EXPECT_FALSE(viewer.CopySelection());
  // Ctrl+C copies.
  clipboard.Refuse = false;
  EXPECT_TRUE(viewer.KeyDown(VK_C, {ssCtrl}));
  EXPECT_EQ(clipboard.GetData(TClipFormat::Text), "abc");
}

TEST_F(ViewerTest, ASelectedPictureIsCopiedAsAnImage) {
  Data().AppendPicture("p", std::make_unique<test::FakeGraphic>(20, 10), 0);
  Show();
  viewer.SelectAll();
  ASSERT_NE(viewer.GetSelectionPicture(), nullptr);
  ASSERT_TRUE(viewer.CopySelection());
  EXPECT_TRUE(clipboard.HasImage);
  EXPECT_EQ(clipboard.Image.Width, 20);
}

TEST_F(ViewerTest, SavedDocumentsKeepTheLayoutAndColourWhenAskedTo) {
  Data().AppendText("abc def", 0, 0);
  viewer.LeftMargin = 20;
  viewer.MaxTextWidth = 300;
  viewer.Color = clLime;
  viewer.PGFOptions.Include(pgfoSaveLayout);
  viewer.PGFOptions.Include(pgfoSaveBack);
  Show();
  std::string whole;
  ASSERT_TRUE(viewer.SavePGFToStream(whole, false));

  TPagora other;
  other.SetStyle(&sheet);
  other.PGFOptions.Include(pgfoLoadLayout);
  other.PGFOptions.Include(pgfoLoadBack);
  ASSERT_TRUE(other.LoadPGFFromStream(whole));
  EXPECT_EQ(other.LeftMargin, 20);
  EXPECT_EQ(other.MaxTextWidth, 300);
  EXPECT_EQ(other.Color, clLime);
  EXPECT_EQ(other.PGData().TextOf(0), "abc def");

  // Only the selection; an empty one saves nothing.
  std::string part;
  ASSERT_TRUE(viewer.SavePGFToStream(part, true));
  EXPECT_TRUE(part.empty());
  viewer.SelectRange(0, 5, 0, 8);
  ASSERT_TRUE(viewer.SavePGFToStream(part, true));
  ASSERT_TRUE(other.LoadPGFFromStream(part));
  EXPECT_EQ(other.PGData().TextOf(0), "def");
}

TEST_F(ViewerTest, DataThatCannotBeReadLeavesTheShownDocumentAlone) {
  // Something to show, with a style the sheet gained from a file.
  TPagora source;
  TPGStyle sourceSheet;
  sourceSheet.TextStyles.Add().Jump = true;
  sourceSheet.TextStyles.Add().FontName = "Courier New";
  source.SetStyle(&sourceSheet);
  source.PGFOptions.Include(pgfoSaveTextStyles);
  source.PGFOptions.Include(pgfoSaveParaStyles);
  source.PGData().AppendText("shown", sourceSheet.TextStyles.Count() - 1, 0);
  std::string good;
  ASSERT_TRUE(source.SavePGFToStream(good, false));
  std::string why;
  ASSERT_TRUE(viewer.LoadPGFFromStream(good, &why)) << why;
  Show();
  const int styles = sheet.TextStyles.Count();
  viewer.SelectAll();

  std::string error;
  // Other styles, then a record that cannot be read.
  for (int i = 0; i < 3; ++i) sourceSheet.TextStyles.Add();
  std::string other;
  ASSERT_TRUE(source.SavePGFToStream(other, false));
  const std::string broken = other + "\n-9 7 not a record\n";
  EXPECT_FALSE(viewer.LoadPGFFromStream(broken, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(viewer.LoadPGF("/no/such/file.pgf", &error));
  EXPECT_FALSE(error.empty());
  ASSERT_EQ(Data().CountItems(), 1);
  EXPECT_EQ(Data().TextOf(0), "shown");
  EXPECT_EQ(sheet.TextStyles.Count(), styles);
  EXPECT_EQ(Selected(), "shown");  // even the selection

  // Good data replaces it.
  Data().AppendText(" and more", 0, -1);
  ASSERT_TRUE(viewer.LoadPGFFromStream(good));
  viewer.Format();
  EXPECT_EQ(Data().CountItems(), 1);
  EXPECT_FALSE(viewer.HasSelection());
}

// ---------------------------------------------------------------- events

TEST_F(ViewerTest, PostedEventsAreDeliveredInOrderAfterTheCurrentOne) {
  Data().AppendText("abc", 0, 0);
  Show();
  std::vector<std::string> seen;
  viewer.OnJump = [&](TCustomPagora&, int id) { seen.push_back("jump " + std::to_string(id)); };
  viewer.OnPGDblClick = [&](TCustomPagora&, const std::u16string& w, int s) {
    seen.push_back("word " + std::to_string(w.size()) + " " + std::to_string(s));
  };
  viewer.OnPGMouseUp = [&](TCustomPagora&, TMouseButton b, TShiftState, int item, int x, int y) {
    seen.push_back("up " + std::to_string(b) + " " + std::to_string(item) + " " + std::to_string(x) + "," +
                   std::to_string(y));
  };
  viewer.OnMouseMove = [&](TCustomPagora&, TShiftState, int x, int y) {
    seen.push_back("move " + std::to_string(x) + "," + std::to_string(y));
  };
  viewer.PostEvent(std::make_unique<TPGJumpMessageData>(3));
  viewer.PostEvent(std::make_unique<TPGDblClickMessageData>(u"word", 2));
  viewer.PostEvent(std::make_unique<TPGMouseUpDownMessageData>(false, mbRight, TShiftState{}, 0, 7, 8));
  viewer.PostEvent(std::make_unique<TPGMouseMoveMessageData>(TShiftState{}, 1, 2));
  EXPECT_TRUE(seen.empty());
  host.RunPosted([&](std::unique_ptr<IPostedMessage> m) { viewer.Deliver(std::move(m)); });
  EXPECT_EQ(seen, (std::vector<std::string>{"jump 3", "word 4 2", "up 1 0 7,8", "move 1,2"}));
}

TEST_F(ViewerTest, MouseEventsReportTheItemUnderThePoint) {
  Data().AppendText("abc", 0, 0);
  Data().AppendText("def", 0, 0);
  Show();
  std::vector<int> items;
  viewer.OnPGMouseDown = [&](TCustomPagora&, TMouseButton, TShiftState, int item, int, int) { items.push_back(item); };
  viewer.OnPGMouseUp = [&](TCustomPagora&, TMouseButton, TShiftState, int item, int, int) { items.push_back(item); };
  Click(kMargin + 3, LineY(1));
  Click(250, LineY(1));
  EXPECT_EQ(items, (std::vector<int>{1, 1, -1, -1}));
  EXPECT_TRUE(host.Focused);
}

TEST_F(ViewerTest, AClickOnAnEmbeddedControlGivesItTheFocus) {
  auto control = std::make_unique<test::FakeControl>(40, 20);
  test::FakeControl* button = control.get();
  Data().AppendControl("button", std::move(control), 0);
  Show();
  const TPGDrawLineInfo di = Data().DrawItem(0);
  Click(di.Left + 10, di.Top + 10);
  EXPECT_EQ(button->focused_, 1);
  Click(di.Left + 10, di.Top + 10, mbRight);
  EXPECT_EQ(button->focused_, 2);
  Click(di.Right() + 50, di.Top + 10);  // beside it
  EXPECT_EQ(button->focused_, 2);
}

TEST_F(ViewerTest, EmbeddedControlsSitOnTheirItemsAndScrollWithTheContent) {
  for (int i = 0; i < 50; ++i) Data().AppendText("abc", 0, 0);
  auto control = std::make_unique<test::FakeControl>(40, 20);
  test::FakeControl* button = control.get();
  Data().AppendControl("button", std::move(control), 0);
  Show();
  const TPGDrawLineInfo di = Data().DrawItem(Data().FirstDrawItemOf(50));
  const int s = dynamic_cast<TPGControlItemInfo&>(Data().ItemAt(50)).Spacing();
  EXPECT_EQ(button->BoundsNow(), Bounds(di.Left + s, di.Top + s, 40, 20));
  EXPECT_TRUE(button->Visible());
  viewer.SetVPos(30);
  EXPECT_EQ(button->BoundsNow(), Bounds(di.Left + s, di.Top + s - 300, 40, 20));
}

class ViewerCheckpointTest : public ViewerTest {
protected:
  ViewerCheckpointTest() {
    viewer.TopMargin = viewer.BottomMargin = 0;
    for (int i = 0; i < 100; ++i) {
      if (i % 25 == 10) Data().AppendCheckpoint("cp" + std::to_string(i), true);
      Data().AppendText("abc", 0, 0);
    }
    viewer.OnCheckpointVisible = [this](TCustomPagora&, const TPGCPInfo* cp) {
      reported.push_back(cp ? cp->Name : "none");
    };
    Show();
  }
  std::vector<std::string> reported;
};

TEST_F(ViewerCheckpointTest, WhenVisibleReportsTheFirstCheckpointInTheWindow) {
  viewer.CPEventKind = cpeWhenVisible;  // checkpoints at y 160, 560, 960, 1360; window 200 high
  viewer.ScrollToY(100);   // 100..300: cp10
  viewer.ScrollToY(120);   // still cp10: nothing new
  viewer.ScrollToY(300);   // 300..500: none
  viewer.ScrollToY(500);   // 500..700: cp35
  EXPECT_EQ(reported, (std::vector<std::string>{"cp10", "none", "cp35"}));
}

TEST_F(ViewerCheckpointTest, AsSectionStartReportsTheSectionTheWindowTopIsIn) {
  viewer.CPEventKind = cpeAsSectionStart;
  viewer.ScrollToY(100);  // cp10 lies in the window
  viewer.ScrollToY(200);  // top inside section cp10, next one below the window
  viewer.ScrollToY(400);  // cp35 inside the window
  viewer.ScrollToY(1380);  // past the last: the last one
  EXPECT_EQ(reported, (std::vector<std::string>{"cp10", "cp35", "cp85"}));
}

// ---------------------------------------------------------------- painting and bad input

TEST_F(ViewerTest, PaintsTheDocumentOverTheBackgroundAndWithoutAStyleTheNotice) {
  Data().AppendText("abc", 0, 0);
  Show();
  test::FakeCanvas canvas;
  viewer.Color = clLime;
  int painted = 0;
  viewer.OnPaint = [&](TCustomPagora&, ICanvas&, bool prepaint) { painted += prepaint ? 100 : 1; };
  viewer.Paint(canvas, {0, 0, 300, 200});
  const auto fill = std::find(canvas.Log.begin(), canvas.Log.end(), "fillrect 0,0-300,200");
  const auto text = std::find_if(canvas.Log.begin(), canvas.Log.end(),
                                 [](const std::string& l) { return l == "text 5,5 \"abc\""; });
  ASSERT_NE(fill, canvas.Log.end());
  ASSERT_NE(text, canvas.Log.end());
  EXPECT_LT(fill, text);
  EXPECT_EQ(painted, 1);

  viewer.SetStyle(nullptr);
  canvas.Log.clear();
  viewer.Paint(canvas, {0, 0, 300, 200});
  const auto notice = std::find_if(canvas.Log.begin(), canvas.Log.end(), [](const std::string& l) {
    return l.find("Style is not defined") != std::string::npos;
  });
  EXPECT_NE(notice, canvas.Log.end());
}

TEST_F(ViewerTest, AFailedPaintShowsWhatWasPaintedAndTheError) {
  Data().AppendText("abc", 0, 0);
  Data().AppendText("def", 0, 0);
  Show();
  sheet.OnDrawStyleText = [](TPGStyle&, const std::u16string& s, ICanvas& canvas, int, int, int, int, int, int,
                             TPGTextDrawStates, bool&) {
    canvas.Save();
    canvas.IntersectClip({0, 100, 1, 101});  // left behind by the failure
    if (s == u"def") throw std::runtime_error("the handler failed");
  };
  struct ClipWatch : test::FakeCanvas {
    TRect* seen = nullptr;
    void TextOut(int x, int y, std::u16string_view text) override {
      if (text.starts_with(u"Error:")) *seen = ClipBox();
      FakeCanvas::TextOut(x, y, text);
    }
  } canvas;
  TRect errorClip;
  canvas.seen = &errorClip;
  viewer.Paint(canvas, {0, 0, 300, 200});
  EXPECT_EQ(canvas.SaveDepth(), 0);
  const auto& log = canvas.Log;
  const auto error = std::find(log.begin(), log.end(), "text 0,0 \"Error: the handler failed\"");
  ASSERT_NE(error, log.end());
  // Drawn in red, where the clip the handler left behind would have hidden it.
  EXPECT_NE(std::find(log.begin(), error, "textcolor 000000FF"), error);
  EXPECT_EQ(errorClip, (TRect{0, 0, 300, 200}));
}

TEST_F(ViewerTest, BackgroundPicturesAreStretchedTiledOrCentred) {
  for (int i = 0; i < 100; ++i) Data().AppendText("abc", 0, 0);
  host.Client = {100, 60};
  Show();
  viewer.Color = clLime;
  viewer.SetBackgroundBitmap(std::make_unique<test::FakeGraphic>(40, 25));
  viewer.SetVPos(3);  // the document's y 30 is at the window's top
  struct Case {
    TBackgroundStyle style;
    bool filled;
    std::vector<std::string> images;
  };
  const std::vector<Case> cases{
      {bsNoBitmap, true, {}},
      {bsStretched, false, {"image 0,0-100,60 40x25"}},
      {bsCentered, true, {"image 30,17-70,42 40x25"}},
      {bsTiled, false,
       {"image 0,0-40,25", "image 40,0-80,25", "image 80,0-120,25", "image 0,25-40,50", "image 40,25-80,50",
        "image 80,25-120,50", "image 0,50-40,75", "image 40,50-80,75", "image 80,50-120,75"}},
      // From the document's origin: 30 px scrolled is 5 px into the second row of tiles.
      {bsTiledAndScrolled, false,
       {"image 0,-5-40,20", "image 40,-5-80,20", "image 80,-5-120,20", "image 0,20-40,45", "image 40,20-80,45",
        "image 80,20-120,45", "image 0,45-40,70", "image 40,45-80,70", "image 80,45-120,70"}},
  };
  for (const Case& c : cases) {
    viewer.SetBackgroundStyle(c.style);
    test::FakeCanvas canvas;
    viewer.Paint(canvas, {0, 0, 100, 60});
    std::vector<std::string> images;
    bool filled = false;
    for (const std::string& l : canvas.Log) {
      if (l.rfind("image ", 0) == 0) images.push_back(l.substr(0, l.rfind(' ')));
      if (l == "fillrect 0,0-100,60") filled = true;
    }
    std::vector<std::string> expected;
    for (const std::string& e : c.images) expected.push_back(e.substr(0, e.find(" 40x25")));
    EXPECT_EQ(images, expected) << c.style;
    EXPECT_EQ(filled, c.filled) << c.style;
    EXPECT_EQ(viewer.FullRedraw(), c.style != bsNoBitmap && c.style != bsTiledAndScrolled) << c.style;
  }
}

TEST_F(ViewerTest, EmptyDocumentsAndTinyWindowsNeitherHangNorCrash) {
  test::FakeCanvas canvas;
  for (const TSize size : {TSize{300, 200}, TSize{0, 0}, TSize{1, 1}}) {
    host.Client = size;
    Show();
    viewer.Paint(canvas, {0, 0, size.cx, size.cy});
    Drag(0, 0, 50, 50);
    viewer.DoubleClick({}, 3, 3);
    viewer.MouseWheel(-5);
    viewer.SelectAll();
    EXPECT_FALSE(viewer.CopySelection());
    viewer.KeyDown(VK_END, {});
    viewer.Resized();
  }
  Data().AppendText("abc def", 0, 0);
  Data().AppendText("a paragraph of words that wraps", 0, 0);
  viewer.Options.Include(pgoClientTextWidth);
  for (const TSize size : {TSize{0, 0}, TSize{1, 1}, TSize{1, 300}, TSize{300, 1}}) {
    host.Client = size;
    viewer.Resized();
    viewer.Paint(canvas, {0, 0, size.cx, size.cy});
    Drag(0, 0, 1, 1);
    viewer.MouseMove({}, 0, 0);
    viewer.TimerFired(kAutoScrollTimerId);
  }
  EXPECT_GT(Data().DrawItemCount(), 0);
}

TEST_F(ViewerTest, MissingStylesShowTheMarkedFallbackStyles) {
  Data().AppendText("abc", 0, 0);
  Data().AppendText("def", 0, 0);
  Data().ItemAt(1).StyleNo = 57;  // no such text style
  Data().ItemAt(1).ParaNo = 23;   // no such paragraph style
  Show();
  test::FakeCanvas canvas;
  viewer.Paint(canvas, {0, 0, 300, 200});
  const auto& log = canvas.Log;
  const auto text = std::find_if(log.begin(), log.end(), [](const std::string& l) {
    return l.rfind("text ", 0) == 0 && l.ends_with(" \"def\"");
  });
  ASSERT_NE(text, log.end());
  // White on red, as the fallback text style is marked.
  const auto color = std::find_if(std::make_reverse_iterator(text), log.rend(),
                                  [](const std::string& l) { return l.rfind("textcolor ", 0) == 0; });
  ASSERT_NE(color, log.rend());
  EXPECT_EQ(*color, "textcolor 00FFFFFF");
}

}  // namespace
}  // namespace pagora
