// From points to drawing items and character offsets.
#include <algorithm>
#include <numeric>
#include <vector>

#include "layout/CPGFData.h"
#include "model/PGStyle.h"
#include "platform/Canvas.h"
#include "platform/TextServices.h"

namespace pagora {

namespace {

// The last drawing item in [lo, hi] whose Top is at or above y (lo - 1 when none): tops
// of lines do not decrease, so this bisects.
int LastWithTopAtMost(const TCustomPGFormattedData& d, int lo, int hi, int y) {
  int result = lo - 1;
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    if (d.DrawItem(mid).Top <= y) {
      result = mid;
      lo = mid + 1;
    } else {
      hi = mid - 1;
    }
  }
  return result;
}

}  // namespace

bool TCustomPGFormattedData::ApplyRunFont(ICanvas& canvas, int itemNo, TPGBiDiMode mode) {
  // Styles without a direction leave the reading order as it was: start from left to right.
  canvas.SetTextAlign(TA_LEFT | TA_TOP);
  GetStyle()->ApplyFontToCanvas(canvas, EffectiveStyleOf(itemNo), mode);
  canvasStyle_ = -1;
  return (canvas.TextAlignment() & TA_RTLREADING) != 0;
}

int TCustomPGFormattedData::RunRelativeX(const TPGDrawLineInfo& di, int x, bool rtl) {
  // Right-to-left text ends at the run's right edge with its first character; the room
  // justification adds lies before the text either way.
  return rtl ? di.Right() - x : x - (di.Left + di.JustifyExtra);
}

int TCustomPGFormattedData::FindDrawItemByY(int y, bool lastItem) const {
  const int count = DrawItemCount();
  if (count == 0 || y <= DrawItem(0).Top) return 0;
  int lo = 0, hi = count - 1, found = count;
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    if (DrawItem(mid).Top >= y) {
      found = mid;
      hi = mid - 1;
    } else {
      lo = mid + 1;
    }
  }
  if (found == count) return lastItem ? count - 1 : count;
  return found;
}

int TCustomPGFormattedData::FindDrawItemUnderPoint(int x, int y) const {
  const int count = DrawItemCount();
  if (count == 0) return -1;
  int at = std::max(LastWithTopAtMost(*this, 0, count - 1, y), 0);
  // Taller items of earlier lines may reach down to the point; later lines may begin above it.
  int from = at;
  while (from > 0) {
    const TPGDrawLineInfo prev = DrawItem(from - 1);
    if (prev.Bottom() < DrawItem(at).Top && prev.StartsLine) break;
    --from;
    if (at - from > 256) break;  // lines are not that long; stop looking back
  }
  int to = at, lines = 0;
  while (to + 1 < count && lines < 3) {
    if (DrawItem(to + 1).StartsLine) ++lines;
    if (lines < 3) ++to;
  }
  for (int i = from; i <= to; ++i) {
    const TPGDrawLineInfo di = DrawItem(i);
    if (x >= di.Left && x < di.Right() && y >= di.Top && y < di.Bottom()) return i;
  }
  return -1;
}

TCustomPGFormattedData::TPosition TCustomPGFormattedData::FindDrawItemAtPoint(int x, int y, bool strict) {
  const int count = DrawItemCount();
  if (count == 0) return {};
  // The line.
  int candidate = 0;
  if (y >= DrawItem(0).Bottom()) candidate = std::max(LastWithTopAtMost(*this, 1, count - 1, y), 0);
  int first = 0, last = 0;
  GetLineRange(candidate, first, last);
  if (last + 1 < count) {
    int nf = 0, nl = 0;
    GetLineRange(last + 1, nf, nl);
    for (int i = nf; i <= nl; ++i)
      if (DrawItem(i).Top <= y) {
        first = nf;
        last = nl;
        break;
      }
  }
  // The order to look at the line's items in.
  std::vector<int> order(static_cast<std::size_t>(last - first + 1));
  std::iota(order.begin(), order.end(), first);
  TPGStyle* style = GetStyle();
  const int paraNo = ItemAt(DrawItem(first).ItemNo).ParaNo;
  TPGBiDiMode mode = style ? style->ParaStyles[paraNo].BiDiMode : pgbdUnspecified;
  if (mode == pgbdUnspecified) mode = GetBiDiMode();
  if (mode != pgbdUnspecified)
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return DrawItem(a).Left < DrawItem(b).Left; });
  int chosen = -1;
  if (strict) {
    for (int i : order) {
      const TPGDrawLineInfo di = DrawItem(i);
      if (x >= di.Left && x < di.Right() && y >= di.Top && y <= di.Bottom()) {
        chosen = i;
        break;
      }
    }
    if (chosen < 0) return {};
  } else {
    chosen = order.front();
    for (int i : order)
      if (DrawItem(i).Left <= x) chosen = i;
  }
  const TPGDrawLineInfo di = DrawItem(chosen);
  TPosition pos{chosen, 0};
  if (!ItemAt(di.ItemNo).IsText()) {
    pos.Offset = x <= di.Left + di.Width / 2 ? 0 : 1;
    if (mode == pgbdRightToLeft) pos.Offset = 1 - pos.Offset;
    if (!strict && ItemAt(di.ItemNo).StyleNo == pgsListMarker && chosen + 1 < count) {
      pos.DrawItem = chosen + 1;
      const TPGDrawLineInfo next = DrawItem(chosen + 1);
      pos.Offset = ItemAt(next.ItemNo).IsText() ? 1 : 0;
    }
    return pos;
  }
  // The character boundary nearest to x.
  const std::u16string text = DrawItemText(chosen);
  ICanvas* canvas = FormattingCanvas();
  std::vector<int> widths(text.size());
  bool rtl = false;
  if (canvas && style && !text.empty()) {
    rtl = ApplyRunFont(*canvas, di.ItemNo, mode);
    canvas->PrefixWidths(text, widths);
  }
  const int rel = RunRelativeX(di, x, rtl);
  int best = 0, bestDistance = std::abs(rel);
  for (std::size_t i = 0; i < widths.size(); ++i) {
    const int distance = std::abs(rel - widths[i]);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<int>(i + 1);
    }
  }
  best = static_cast<int>(PreviousClusterBoundary(text, static_cast<std::size_t>(best)));
  pos.Offset = std::clamp(best + 1, 1, di.Length + 1);
  return pos;
}

int TCustomPGFormattedData::CharacterAtX(int drawItem, int x) {
  if (drawItem < 0 || drawItem >= DrawItemCount()) return -1;
  const TPGDrawLineInfo di = DrawItem(drawItem);
  if (!ItemAt(di.ItemNo).IsText()) return -1;
  const std::u16string text = DrawItemText(drawItem);
  TPGStyle* style = GetStyle();
  ICanvas* canvas = FormattingCanvas();
  if (text.empty() || !canvas || !style) return -1;
  TPGBiDiMode mode = style->ParaStyles[ItemAt(di.ItemNo).ParaNo].BiDiMode;
  if (mode == pgbdUnspecified) mode = GetBiDiMode();
  const bool rtl = ApplyRunFont(*canvas, di.ItemNo, mode);
  std::vector<int> widths(text.size());
  canvas->PrefixWidths(text, widths);
  const int rel = RunRelativeX(di, x, rtl);
  if (rel < 0) return -1;
  const auto it = std::upper_bound(widths.begin(), widths.end(), rel);
  return it == widths.end() ? -1 : static_cast<int>(it - widths.begin());
}

}  // namespace pagora
