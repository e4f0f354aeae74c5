#include <gtest/gtest.h>

#include <random>

#include "layout/CPGFData.h"
#include "model/DocumentCheck.h"
#include "model/PGStyle.h"
#include "model/PictureItems.h"
#include "support/FakeCanvas.h"
#include "support/FakeGraphics.h"

namespace pagora {
namespace {

// Random edits through the container, each followed by the incremental reformat an editor
// does; after each, the layout must equal a full format, drawing item by drawing item.
struct Snapshot {
  std::vector<TPGDrawLineInfo> Items;
  std::vector<int> FirstDraw;
  int Height = 0;
  int Width = 0;
  friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot Take(const TCustomPGFormattedData& d) {
  Snapshot s;
  for (int i = 0; i < d.DrawItemCount(); ++i) s.Items.push_back(d.DrawItem(i));
  for (int i = 0; i < d.CountItems(); ++i) s.FirstDraw.push_back(d.FirstDrawItemOf(i));
  s.Height = d.DocumentHeight();
  s.Width = d.DocumentWidth();
  return s;
}

std::string Describe(const Snapshot& s) {
  std::string out = "height " + std::to_string(s.Height) + " width " + std::to_string(s.Width) + "\n";
  for (const auto& d : s.Items)
    out += std::to_string(d.ItemNo) + ":" + std::to_string(d.Offset) + "+" + std::to_string(d.Length) + " @" +
           std::to_string(d.Left) + "," + std::to_string(d.Top) + " " + std::to_string(d.Width) + "x" +
           std::to_string(d.Height) + (d.StartsLine ? " L" : "") + " j" + std::to_string(d.JustifyExtra) + " s" +
           std::to_string(d.SpacingBelow) + "\n";
  return out;
}

struct Config {
  const char* name;
  TPGAlignment align;
  int lineSpacing;
  int width;
};

class IncrementalTest : public testing::TestWithParam<Config> {};

TEST_P(IncrementalTest, EqualsAFullFormatAfterEveryEdit) {
  const Config& cfg = GetParam();
  TPGStyle sheet;
  sheet.ParaStyles[0].Alignment = cfg.align;
  sheet.ParaStyles[0].LineSpacing = cfg.lineSpacing;
  sheet.ParaStyles[0].SpaceBefore = 2;
  sheet.ParaStyles[1].SpaceAfter = 5;
  sheet.TextStyles[1].Size = 18;
  sheet.TextStyles[3].VShift = 30;
  TPGListInfo& list = sheet.ListStyles.Add();
  list.AddLevel().ListType = pglstDecimal;
  list.Levels[0].FormatString = "%0:s.";
  list.Levels[0].LeftIndent = 20;
  TPGDocumentSettings settings;
  settings.Style = &sheet;
  test::FakeCanvas canvas;
  TCustomPGFormattedData doc(&settings);
  doc.Canvas = &canvas;
  doc.Layout.AreaWidth = cfg.width;
  doc.Layout.OwnerFlags = TPGOwnerFlags{pgofTrimSpaceAtWrap, pgofEditor, pgofRoot};

  std::mt19937 rng(1234);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const char* words[] = {"a", "quick", "brown", "fox", "jumps", "over", "the", "lazy", "dog", "  ", " "};
  auto text = [&] {
    std::string s;
    const int n = 1 + pick(12);
    for (int i = 0; i < n; ++i) s += std::string(words[pick(11)]) + (pick(3) ? " " : "");
    return s;
  };
  for (int i = 0; i < 12; ++i) doc.AppendText(text(), pick(4), pick(2));
  doc.Format();

  // Puts an item where an editor could: what must start a paragraph does, a paragraph
  // keeps one style, and the paragraphs touched are reformatted.
  auto Insert = [&](int at, std::string t, std::unique_ptr<TCustomPGItemInfo> item) {
    const TCustomPGItemInfo* prev = at > 0 ? &doc.ItemAt(at - 1) : nullptr;
    const bool next = at < doc.CountItems();
    if (!prev || prev->QueryTrait(pgitFullWidth) || (next && doc.ItemAt(at).QueryTrait(pgitFullWidth) && false)) {
      item->SetFlag(pgifContinuesPara, false);
      item->SetFlag(pgifLineBreakBefore, false);
    }
    if (prev && prev->StyleNo == pgsListMarker) item->SetFlag(pgifContinuesPara, true);
    if (next && doc.ItemAt(at).StyleNo == pgsListMarker && !item->StartsPara()) {
      item->SetFlag(pgifContinuesPara, false);  // a marker begins its paragraph
      item->SetFlag(pgifLineBreakBefore, false);
    }
    doc.InsertItemAt(at, std::move(t), std::move(item));
    if (at + 1 < doc.CountItems() && doc.ItemAt(at).QueryTrait(pgitFullWidth)) {
      doc.ItemAt(at + 1).SetFlag(pgifContinuesPara, false);
      doc.ItemAt(at + 1).SetFlag(pgifLineBreakBefore, false);
    }
    const int f = doc.ParaFirstItem(at), l = doc.ParaLastItem(std::min(at + 1, doc.CountItems() - 1));
    for (int k = f; k <= l; ++k)
      if (doc.ItemAt(k).StartsPara() && k > f) break;
      else doc.ItemAt(k).ParaNo = doc.ItemAt(f).ParaNo;
    for (int k = doc.ParaFirstItem(std::min(at + 1, doc.CountItems() - 1)); k <= l; ++k)
      doc.ItemAt(k).ParaNo = doc.ItemAt(doc.ParaFirstItem(k)).ParaNo;
    doc.FormatParagraphs(f, l);
  };

  for (int step = 0; step < 400; ++step) {
    SCOPED_TRACE(step);
    const int count = doc.CountItems();
    const int at = count ? pick(count) : 0;
    switch (pick(7)) {
      case 0: {  // new text item at a position, continuing or starting a paragraph or a line
        auto item = CreateItem(pick(4), &doc);
        const int kind = pick(3);
        if (kind == 1) item->SetFlag(pgifContinuesPara, true);
        if (kind == 2) item->SetFlag(pgifLineBreakBefore, true);
        item->ParaNo = pick(2);
        Insert(at, text(), std::move(item));
        break;
      }
      case 1:  // remove a few items
        if (count > 1) {
          doc.RemoveItems(at, 1 + pick(3));
          // A marker whose text went goes too, as an editor deletes it with its paragraph.
          for (int k = doc.CountItems() - 1; k >= 0; --k)
            if (doc.ItemAt(k).StyleNo == pgsListMarker && (k + 1 == doc.CountItems() || doc.ItemAt(k + 1).StartsPara()))
              doc.RemoveItems(k, 1);
          if (doc.CountItems() > 0) doc.FormatParagraphs(std::max(0, at - 1), std::min(at, doc.CountItems() - 1));
        }
        break;
      case 2:  // typing: the text of an item changes
        if (count > 0 && doc.ItemAt(at).IsText()) {
          std::string t = doc.TextOf(at);
          t.insert(static_cast<std::size_t>(pick(static_cast<int>(t.size()) + 1)), pick(4) ? "x" : " ");
          doc.SetTextOf(at, t);
          doc.FormatParagraphs(at, at);
        }
        break;
      case 3: {  // a picture
        auto p = std::make_unique<TPGGraphicItemInfo>(&doc);
        p->Image = std::make_unique<test::FakeGraphic>(10 + pick(40), 5 + pick(40));
        if (pick(3)) p->SetFlag(pgifContinuesPara, true);
        Insert(at, "pic", std::move(p));
        break;
      }
      case 4:  // a paragraph's style changes
        if (count > 0) {
          const int f = doc.ParaFirstItem(at), l = doc.ParaLastItem(at);
          const int p = pick(2);
          for (int k = f; k <= l; ++k) doc.ItemAt(k).ParaNo = p;
          doc.FormatParagraphs(f, l);
        }
        break;
      case 5:  // a paragraph becomes a list paragraph
        if (count > 0 && !doc.ItemAt(doc.ParaFirstItem(at)).QueryTrait(pgitFullWidth)) {
          const int m = doc.ApplyListToPara(at, 0, 0, 1, false, 0);
          if (m >= 0) doc.FormatParagraphs(m, doc.ParaLastItem(m));
        }
        break;
      case 6:  // a break, between paragraphs
        if (at > 0 && doc.ItemAt(at - 1).StyleNo != pgsListMarker && (at == count || doc.ItemAt(at).StartsPara()))
          Insert(at, "", CreateItem(pgsBreak, &doc));
        break;
    }
    std::string why;
    ASSERT_TRUE(CheckDocumentStructure(doc, &why)) << why;
    const Snapshot incremental = Take(doc);
    doc.Format();
    const Snapshot full = Take(doc);
    if (!(incremental == full)) {
      ADD_FAILURE() << "incremental:\n" << Describe(incremental) << "full:\n" << Describe(full);
      return;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, IncrementalTest,
                         testing::Values(Config{"left", pgaLeft, 100, 150}, Config{"justified", pgaJustify, 100, 120},
                                         Config{"spaced", pgaCenter, 150, 200}, Config{"narrow", pgaRight, 100, 60}),
                         [](const testing::TestParamInfo<Config>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pagora
