// The selection of a formatted document: stored as drawing-item positions, ordered on
// demand, and carried across a format in item coordinates.
#include <algorithm>

#include "layout/CPGFData.h"
#include "model/PGItem.h"

namespace pagora {

int TCustomPGFormattedData::DrawOffsetBefore(int drawItem) const {
  return ItemAt(DrawItem(drawItem).ItemNo).IsText() ? 1 : 0;
}

int TCustomPGFormattedData::DrawOffsetAfter(int drawItem) const {
  const TPGDrawLineInfo di = DrawItem(drawItem);
  return ItemAt(di.ItemNo).IsText() ? di.Length + 1 : 1;
}

void TCustomPGFormattedData::SetSelectionBounds(int anchorDraw, int anchorOffset, int endDraw, int endOffset) {
  selAnchorDraw_ = anchorDraw;
  selAnchorOffset_ = anchorOffset;
  selEndDraw_ = endDraw;
  selEndOffset_ = endOffset;
}

void TCustomPGFormattedData::GetSelectionBounds(int& anchorDraw, int& anchorOffset, int& endDraw,
                                                int& endOffset) const {
  anchorDraw = selAnchorDraw_;
  anchorOffset = selAnchorOffset_;
  endDraw = selEndDraw_;
  endOffset = selEndOffset_;
}

TPGSelectionRange TCustomPGFormattedData::NormalizedSelection() const {
  const int count = DrawItemCount();
  if (selAnchorDraw_ < 0 || selEndDraw_ < 0 || selAnchorDraw_ >= count || selEndDraw_ >= count) return {};
  TPGSelectionRange r{selAnchorDraw_, selAnchorOffset_, selEndDraw_, selEndOffset_};
  if (r.StartDraw > r.EndDraw || (r.StartDraw == r.EndDraw && r.StartOffset > r.EndOffset)) {
    std::swap(r.StartDraw, r.EndDraw);
    std::swap(r.StartOffset, r.EndOffset);
  }
  return r;
}

bool TCustomPGFormattedData::SelectionExists() const {
  const TPGSelectionRange r = NormalizedSelection();
  if (r.StartDraw < 0) return false;
  if (r.StartDraw == r.EndDraw) return r.StartOffset != r.EndOffset;
  // Ends on the two sides of a boundary between drawing items select nothing.
  for (int d = r.StartDraw; d <= r.EndDraw; ++d) {
    const int from = d == r.StartDraw ? r.StartOffset : DrawOffsetBefore(d);
    const int to = d == r.EndDraw ? r.EndOffset : DrawOffsetAfter(d);
    if (from != to) return true;
  }
  return false;
}

void TCustomPGFormattedData::Deselect() { SetSelectionBounds(-1, 0, -1, 0); }

void TCustomPGFormattedData::SelectAll() {
  const int count = DrawItemCount();
  if (count == 0) {
    Deselect();
    return;
  }
  SetSelectionBounds(0, DrawOffsetBefore(0), count - 1, DrawOffsetAfter(count - 1));
}

bool TCustomPGFormattedData::DrawToItemPosition(int drawItem, int drawOffset, int& itemNo, int& itemOffset) const {
  if (drawItem < 0 || drawItem >= DrawItemCount()) return false;
  const TPGDrawLineInfo di = DrawItem(drawItem);
  itemNo = di.ItemNo;
  if (ItemAt(di.ItemNo).IsText())
    itemOffset = di.Offset + std::clamp(drawOffset, 1, di.Length + 1) - 1;
  else
    itemOffset = std::clamp(drawOffset, 0, 1);
  return true;
}

bool TCustomPGFormattedData::ItemToDrawPosition(int itemNo, int itemOffset, int& drawItem, int& drawOffset) const {
  if (itemNo < 0 || itemNo >= CountItems()) return false;
  int d = FirstDrawItemOf(itemNo);
  if (d < 0) return false;
  if (!ItemAt(itemNo).IsText()) {
    drawItem = d;
    drawOffset = std::clamp(itemOffset, 0, 1);
    return true;
  }
  // The first run of the item that reaches the offset; past every run, the last one.
  const int count = DrawItemCount();
  for (;; ++d) {
    const TPGDrawLineInfo di = DrawItem(d);
    const bool last = d + 1 >= count || DrawItem(d + 1).ItemNo != itemNo;
    if (itemOffset <= di.Offset + di.Length || last) {
      drawItem = d;
      drawOffset = std::clamp(itemOffset - di.Offset + 1, 1, di.Length + 1);
      return true;
    }
  }
}

bool TCustomPGFormattedData::SelectionAsItemRange(TPGTextRange& range) const {
  if (!SelectionExists()) return false;
  const TPGSelectionRange r = NormalizedSelection();
  return DrawToItemPosition(r.StartDraw, r.StartOffset, range.FirstItem, range.FirstOffs) &&
         DrawToItemPosition(r.EndDraw, r.EndOffset, range.LastItem, range.LastOffs);
}

void TCustomPGFormattedData::FormatKeepingPosition(bool force) {
  // The selection, in item coordinates.
  int anchorItem = -1, anchorOffs = 0, endItem = -1, endOffs = 0;
  const bool hadSelection = DrawToItemPosition(selAnchorDraw_, selAnchorOffset_, anchorItem, anchorOffs) &&
                            DrawToItemPosition(selEndDraw_, selEndOffset_, endItem, endOffs);
  // The view: an item a little above the window's top and how far the top lies below it.
  int viewItem = -1, viewDistance = 0;
  const int count = DrawItemCount();
  if (count > 0) {
    const int top = VerticalScrollPosition();
    int d = std::min(FindDrawItemByY(top, false), count - 1);
    int first = 0, last = 0;
    GetLineRange(d, first, last);
    if (first > 0) GetLineRange(first - 1, first, last);
    d = std::max(first - 1, 0);
    viewItem = DrawItem(d).ItemNo;
    viewDistance = top - DrawItem(d).Top;
  }
  Format(force, false);
  if (viewItem >= 0 && viewItem < CountItems()) {
    const int d = FirstDrawItemOf(viewItem);
    ScrollToPosition(d < 0 ? 0 : DrawItem(d).Top + viewDistance);
  }
  if (hadSelection) {
    int ad = -1, ao = 0, ed = -1, eo = 0;
    if (ItemToDrawPosition(anchorItem, anchorOffs, ad, ao) && ItemToDrawPosition(endItem, endOffs, ed, eo))
      SetSelectionBounds(ad, ao, ed, eo);
    else
      Deselect();
  }
}

}  // namespace pagora
