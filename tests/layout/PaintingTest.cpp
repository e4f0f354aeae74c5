#include <gtest/gtest.h>

#include <algorithm>

#include "layout/DocumentPainting.h"
#include "model/BulletItems.h"
#include "model/PGStyle.h"
#include "model/PictureItems.h"
#include "support/FakeCanvas.h"
#include "support/FakeGraphics.h"

namespace pagora {
namespace {

using test::FakeCanvas;
using test::FakeGraphic;

// Arial 10 pt on the fake canvas: letters 7 px, spaces 4, lines 16 high.
constexpr int kLetter = 7, kLine = 16;

class PaintingTest : public testing::Test {
protected:
  PaintingTest() {
    settings.Style = &sheet;
    doc.Canvas = &measure;
    doc.Layout.LeftMargin = doc.Layout.RightMargin = doc.Layout.TopMargin = doc.Layout.BottomMargin = 0;
    doc.Layout.AreaWidth = 300;
    paint.Clip = {0, 0, 300, 1000};
  }

  void Paint() {
    doc.Format();
    canvas.Log.clear();
    PaintFormattedData(doc, canvas, paint);
  }
  // The drawing calls of the log (no state changes), in order.
  std::vector<std::string> Drawn() const {
    std::vector<std::string> v;
    for (const std::string& line : canvas.Log) {
      for (const char* kind : {"text ", "fillrect ", "lineto ", "image ", "ellipse ", "polygon ", "rectangle "}) {
        if (line.rfind(kind, 0) == 0) v.push_back(line);
      }
    }
    return v;
  }
  [[nodiscard]] int IndexOf(const std::string& what) const {
    const auto& log = canvas.Log;
    const auto it = std::find_if(log.begin(), log.end(), [&](const std::string& l) { return l.find(what) != std::string::npos; });
    return it == log.end() ? -1 : static_cast<int>(it - log.begin());
  }
  // The colour set before the first drawing call containing what.
  [[nodiscard]] std::string TextColorOf(const std::string& what) const {
    const int at = IndexOf(what);
    for (int i = at; i >= 0; --i) {
      if (canvas.Log[static_cast<std::size_t>(i)].rfind("textcolor ", 0) == 0) return canvas.Log[static_cast<std::size_t>(i)].substr(10);
    }
    return "";
  }

  TPGStyle sheet;
  TPGDocumentSettings settings;
  FakeCanvas measure, canvas;
  TCustomPGFormattedData doc{&settings};
  TPGPaintSettings paint;
};

TEST_F(PaintingTest, BackgroundsComeFirstThenMarksAndItemsInDocumentOrder) {
  TParaInfo& framed = sheet.ParaStyles.Add();
  framed.Background.Color = clLime;
  framed.Border.Style = pgbSingle;
  settings.Options.Include(pgoShowCheckpoints);
  settings.Options.Include(pgoShowPageBreaks);
  settings.Options.Include(pgoShowSpecialCharacters);
  const int framedNo = sheet.ParaStyles.Count() - 1;
  doc.AppendText("first", 0, framedNo);
  doc.AppendCheckpoint("cp", false);
  doc.AppendPicture("", std::make_unique<FakeGraphic>(10, 10), -1);
  doc.AppendBreak();
  doc.AppendText("second", 0, 0);
  doc.ItemAt(3).SetFlag(pgifPageBreakBefore, true);
  Paint();
  const int back = IndexOf("fillrect 0,0-"), first = IndexOf("\"first\""), checkpoint = IndexOf("ellipse"),
            image = IndexOf("image "), pageBreak = IndexOf("polygon"), second = IndexOf("\"second\"");
  ASSERT_GE(back, 0);
  EXPECT_LT(back, first);
  EXPECT_LT(first, checkpoint);
  EXPECT_LT(checkpoint, image);
  EXPECT_LT(image, pageBreak);
  EXPECT_LT(pageBreak, second);
  // The picture is drawn inside its one-pixel spacing; the paragraph mark follows the
  // last drawing item of each paragraph, bottom-aligned with it (none after the break).
  const TPGDrawLineInfo pic = doc.DrawItem(1);
  EXPECT_EQ(canvas.Log[static_cast<std::size_t>(image)],
            "image " + std::to_string(pic.Left + 1) + "," + std::to_string(pic.Top + 1) + "-" +
                std::to_string(pic.Right() - 1) + "," + std::to_string(pic.Bottom() - 1) + " 10x10");
  const std::vector<std::string> drawn = Drawn();
  const auto imageAt = std::find(drawn.begin(), drawn.end(), canvas.Log[static_cast<std::size_t>(image)]);
  ASSERT_NE(imageAt, drawn.end());
  EXPECT_EQ(*(imageAt + 1), "text " + std::to_string(pic.Right()) + "," + std::to_string(pic.Bottom() - kLine) + " \"?\"");
  EXPECT_EQ(*(imageAt + 2), "lineto 295,21");  // the break, 5 px in from either side
  EXPECT_EQ(drawn.back(), "text 42,27 \"?\"");
}

TEST_F(PaintingTest, APartlySelectedRunIsDrawnInPieces) {
  // Justified "abc def ghi jkl mno" at 100 px: the first line "abc def ghi " gets its spare
  // room in front of "def" and "ghi" (JustifyExtra), the last line is left alone.
  sheet.ParaStyles[0].Alignment = pgaJustify;
  sheet.SelColor = clNavy;
  doc.Layout.AreaWidth = 100;
  doc.AppendText("abc def ghi jkl mno", 0, 0);
  doc.Format();
  ASSERT_EQ(doc.DrawItemText(1), u" def");
  const TPGDrawLineInfo def = doc.DrawItem(1);
  const int je = def.JustifyExtra;
  ASSERT_GT(je, 0);
  auto at = [&](int x) { return std::to_string(def.Left + x); };
  const std::string end = at(def.Width);
  const int e = je + 4 + kLetter, f = e + kLetter;  // where "e" and "f" begin
  struct Case {
    const char* name;
    TPGSelectionRange selection;
    std::vector<std::string> texts;  // what is drawn of " def", in order
    std::string fill;                // the selection background ("" for none)
  };
  const Case cases[] = {
      {"unselected", {}, {"text " + at(je) + ",0 \" def\""}, ""},
      {"whole run", {1, 1, 1, 5}, {"text " + at(je) + ",0 \" def\""}, "fillrect " + at(0) + ",0-" + end + ",16"},
      {"from an earlier run", {0, 2, 1, 3}, {"text " + at(je) + ",0 \" d\"", "text " + at(e) + ",0 \"ef\""},
       "fillrect " + at(0) + ",0-" + at(e) + ",16"},
      {"middle", {1, 3, 1, 4}, {"text " + at(je) + ",0 \" d\"", "text " + at(e) + ",0 \"e\"", "text " + at(f) + ",0 \"f\""},
       "fillrect " + at(e) + ",0-" + at(f) + ",16"},
      {"to a later run", {1, 4, 2, 1}, {"text " + at(je) + ",0 \" de\"", "text " + at(f) + ",0 \"f\""},
       "fillrect " + at(f) + ",0-" + end + ",16"},
      {"empty", {1, 3, 1, 3}, {"text " + at(je) + ",0 \" def\""}, ""},
  };
  for (const Case& c : cases) {
    paint.Selection = c.selection;
    Paint();
    std::vector<std::string> texts;
    for (const std::string& l : Drawn()) {
      if (l.rfind("text ", 0) == 0 && l.find(",0 ") != std::string::npos && std::stoi(l.substr(5)) >= def.Left &&
          std::stoi(l.substr(5)) < def.Right())
        texts.push_back(l);
    }
    EXPECT_EQ(texts, c.texts) << c.name;
    if (c.fill.empty()) {
      EXPECT_EQ(IndexOf("brush 800000 solid"), -1) << c.name;
    } else {
      EXPECT_NE(IndexOf(c.fill), -1) << c.name;
      // The selected piece is in the selection's text colour, the others are not.
      EXPECT_EQ(TextColorOf(c.fill), "FF00000E") << c.name;
    }
  }
}

TEST_F(PaintingTest, ARunWithoutADirectionDoesNotReadInTheDirectionOfTheRunBefore) {
  const int rtl = sheet.TextStyles.Count();
  sheet.TextStyles.Add().BiDiMode = pgbdRightToLeft;
  doc.AppendText("abc", rtl, 0);
  doc.AppendText("def", 0, -1);
  Paint();
  unsigned align = 0;
  for (const std::string& l : canvas.Log) {
    if (l.rfind("align ", 0) == 0) align = static_cast<unsigned>(std::stoul(l.substr(6)));
    if (l.ends_with("\"abc\"")) {
      EXPECT_EQ(align & TA_RTLREADING, TA_RTLREADING);
    }
    if (l.ends_with("\"def\"")) {
      EXPECT_EQ(align & TA_RTLREADING, 0u);
    }
  }
}

TEST_F(PaintingTest, OnlyWhatTheClipShowsIsDrawn) {
  for (int i = 0; i < 100; ++i) doc.AppendText("p" + std::to_string(i), 0, 0);
  paint.Clip = {0, 0, 300, 2 * kLine};
  paint.ScrollY = 50 * kLine;  // paragraphs 50 and 51 are in view
  Paint();
  std::vector<std::string> texts;
  for (const std::string& l : Drawn())
    if (l.rfind("text ", 0) == 0) texts.push_back(l);
  // One paragraph either side may be visited, but nothing far away.
  for (const std::string& t : texts) {
    const int n = std::stoi(t.substr(t.find("\"p") + 2));
    EXPECT_GE(n, 49) << t;
    EXPECT_LE(n, 52) << t;
  }
  EXPECT_NE(std::find(texts.begin(), texts.end(), "text 0,0 \"p50\""), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "text 0,16 \"p51\""), texts.end());
}

TEST_F(PaintingTest, HoverAndSelectionStatesOfObjectsAndLinks) {
  TFontInfo& link = sheet.TextStyles.Add();
  link.Jump = true;
  link.Color = clBlue;
  link.HoverColor = clRed;
  sheet.SelColor = clNavy;
  sheet.SelectionStyle = pgssLines;
  test::FakeImageList images(8, 8, 2);
  doc.AppendText("go", sheet.TextStyles.Count() - 1, 0);
  auto bullet = std::make_unique<TPGBulletItemInfo>(&doc);
  bullet->ImageList = &images;
  bullet->ParaNo = -1;
  bullet->SetFlag(pgifContinuesPara, true);
  doc.AppendItem("", std::move(bullet));
  paint.HoverItem = 0;
  paint.Selection = {1, 0, 1, 1};
  paint.Focused = true;
  Paint();
  EXPECT_EQ(TextColorOf("\"go\""), "000000FF");  // the hover colour, red
  // The selected bullet gets the line band (the whole line height) filled first, then its
  // frame in the selection colour.
  const int x = doc.DrawItem(1).Left;
  EXPECT_NE(IndexOf("fillrect " + std::to_string(x) + ",0-" + std::to_string(x + 10) + "," + std::to_string(kLine)), -1);
  EXPECT_NE(IndexOf("rectangle " + std::to_string(x) + ","), -1);
}

}  // namespace
}  // namespace pagora
