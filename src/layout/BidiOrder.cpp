#include "layout/BidiOrder.h"

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
  for (int i = first; i <= last; ++i) {
    const TPGDrawLineInfo& di = block.Draw[static_cast<std::size_t>(i)];
    const int itemNo = paraFirst + di.ItemNo;
    Run r{di, paraDir, paraDir, i == first ? 0 : di.Left - (runs.back().Item.Left + runs.back().Item.Width)};
    const TCustomPGItemInfo& item = data.ItemAt(itemNo);
    if (item.IsText() && di.Length > 0) {
      const std::u16string text = data.DisplayText(itemNo);
      const TPGBiDiMode sm = style->TextStyles[data.EffectiveStyleOf(itemNo)].BiDiMode;
      r.Start = Direction(text[static_cast<std::size_t>(di.Offset - 1)], sm, mode);
      r.End = Direction(text[static_cast<std::size_t>(di.Offset - 1 + di.Length - 1)], sm, mode);
    }
    runs.push_back(r);
  }
  // Insertion: a run goes before the ones placed so far unless it flows on left to right.
  std::vector<int> visual;
  std::size_t p = 0;
  for (std::size_t k = 0; k < runs.size(); ++k) {
    const TCharDirection d = k > 0 && runs[k - 1].End == runs[k].Start ? runs[k].Start : paraDir;
    if (d == TCharDirection::LeftToRight && p < visual.size()) ++p;
    visual.insert(visual.begin() + static_cast<std::ptrdiff_t>(p), static_cast<int>(k));
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
