#include "layout/BidiOrder.h"

#include <algorithm>
#include <vector>

#include "layout/CPGFData.h"
#include "model/PGMarker.h"
#include "model/PGStyle.h"
#include "platform/TextServices.h"

namespace pagora {

namespace {

TCharDirection Direction(char16_t c, TPGBiDiMode styleMode, TPGBiDiMode paraMode) {
  if (styleMode == pgbdLeftToRight) return TCharDirection::LeftToRight;
  if (styleMode == pgbdRightToLeft) return TCharDirection::RightToLeft;
  const TCharDirection d = CharDirection(c);
  if (d != TCharDirection::Neutral) return d;
  return paraMode == pgbdRightToLeft ? TCharDirection::RightToLeft : TCharDirection::LeftToRight;
}

}  // namespace

void ReorderBidi(TCustomPGFormattedData& data, const TPGStyle* style, TPGParaBlock& block, int paraFirst, int first,
                 int last, TPGBiDiMode mode, const TPGDeviceScale& scale) {
  const TCharDirection paraDir = mode == pgbdRightToLeft ? TCharDirection::RightToLeft : TCharDirection::LeftToRight;
  // The first-line indent lies on the right of a right-to-left paragraph.
  if (mode == pgbdRightToLeft) {
    bool firstLine = false;
    for (int i = first; i <= last && !firstLine; ++i) firstLine = block.Draw[static_cast<std::size_t>(i)].ItemNo == 0 && i == block.FirstDraw[0];
    if (firstLine) {
      int indent = scale.ScaleX(style->ParaStyles[data.ItemAt(paraFirst).ParaNo].FirstIndent);
      if (const auto* marker = dynamic_cast<const TPGMarkerItemInfo*>(&data.ItemAt(paraFirst)))
        if (const TPGListLevel* level = marker->LevelOf(style)) indent = scale.ScaleX(level->MarkerIndent);
      for (int i = first; i <= last; ++i) block.Draw[static_cast<std::size_t>(i)].Left -= indent;
    }
  }
  if (last <= first) return;
  struct Run {
    TPGDrawLineInfo Item;
    TCharDirection Start, End;
    int Gap;  // space before it in reading order
  };
  std::vector<Run> runs;
  int textItem = -1;
  std::u16string text;  // of textItem: long items have many drawing items in a line
  for (int i = first; i <= last; ++i) {
    const TPGDrawLineInfo& di = block.Draw[static_cast<std::size_t>(i)];
    const int itemNo = paraFirst + di.ItemNo;
    Run r{di, paraDir, paraDir, i == first ? 0 : di.Left - (runs.back().Item.Left + runs.back().Item.Width)};
    const TCustomPGItemInfo& item = data.ItemAt(itemNo);
    if (item.IsText() && di.Length > 0) {
      if (itemNo != textItem) {
        text = data.DisplayText(itemNo);
        textItem = itemNo;
      }
      const TPGBiDiMode sm = style->TextStyles[data.EffectiveStyleOf(itemNo)].BiDiMode;
      r.Start = Direction(text[static_cast<std::size_t>(di.Offset - 1)], sm, mode);
      r.End = Direction(text[static_cast<std::size_t>(di.Offset - 1 + di.Length - 1)], sm, mode);
    }
    runs.push_back(r);
  }
  // Each run is one piece with a direction: its own when it starts and ends the same way,
  // else the paragraph's. Runs against the paragraph's direction are embedded one level
  // deeper, and every stretch at a level and above is reversed, deepest first; so runs of
  // the other direction keep their order among themselves however they are mixed.
  const int base = paraDir == TCharDirection::RightToLeft ? 1 : 0;
  std::vector<int> level(runs.size());
  for (std::size_t k = 0; k < runs.size(); ++k) {
    const TCharDirection d = runs[k].Start == runs[k].End ? runs[k].Start : paraDir;
    level[k] = d == paraDir ? base : base + 1;
  }
  std::vector<int> visual(runs.size());
  for (std::size_t k = 0; k < runs.size(); ++k) visual[k] = static_cast<int>(k);
  for (int l = base + 1; l >= 1; --l) {
    for (std::size_t k = 0; k < visual.size();) {
      if (level[static_cast<std::size_t>(visual[k])] < l) {
        ++k;
        continue;
      }
      std::size_t e = k;
      while (e < visual.size() && level[static_cast<std::size_t>(visual[e])] >= l) ++e;
      std::reverse(visual.begin() + static_cast<std::ptrdiff_t>(k), visual.begin() + static_cast<std::ptrdiff_t>(e));
      k = e;
    }
  }
  int x = runs[0].Item.Left;
  for (int k : visual) {
    const Run& r = runs[static_cast<std::size_t>(k)];
    x += r.Gap;
    block.Draw[static_cast<std::size_t>(first + k)].Left = x;
    x += r.Item.Width;
  }
}

}  // namespace pagora
