#include "layout/CPGFData.h"

#include <algorithm>

#include "layout/LineBuilder.h"
#include "model/PGMarker.h"
#include "model/PGStyle.h"
#include "platform/Canvas.h"
#include "platform/TextCase.h"
#include "platform/TextEncoding.h"

namespace pagora {

TCustomPGFormattedData::TCustomPGFormattedData(IPGDataOwner* owner) : TCustomPGData(owner) {}

TCustomPGFormattedData::~TCustomPGFormattedData() = default;

std::u16string TCustomPGFormattedData::DisplayText(int itemNo) const {
  const TCustomPGItemInfo& item = ItemAt(itemNo);
  if (!item.IsText()) return {};
  std::u16string text;
  if (item.HasFlag(pgifUnicode)) {
    text = U16FromBytes(TextOf(itemNo));
  } else {
    // One code unit per byte, so that offsets in the item and in the display text agree.
    const std::string& bytes = TextOf(itemNo);
    const TPGCodePage cp = StyleCodePage(EffectiveStyleOf(itemNo));
    text = CodePageToUTF16(cp, bytes);
    if (text.size() != bytes.size()) {
      text.clear();
      for (char b : bytes) {
        const std::u16string one = CodePageToUTF16(cp, std::string_view(&b, 1));
        text.push_back(one.size() == 1 ? one[0] : u'?');
      }
    }
  }
  const TPGStyle* style = GetStyle();
  if (style && style->TextStyles[EffectiveStyleOf(itemNo)].StyleEx.Contains(pgfsAllCaps))
    for (char16_t& c : text) c = UpperChar(c);
  return text;
}

// ---------------------------------------------------------------- widths

int TCustomPGFormattedData::ParagraphMinWidth(int first, int last) {
  const TPGStyle* style = GetStyle();
  ICanvas* canvas = FormattingCanvas();
  const TParaInfo& para = style->ParaStyles[ItemAt(first).ParaNo];
  // The least indent a line of the paragraph can have.
  int indent = para.LeftIndent + para.RightIndent;
  if (const auto* marker = dynamic_cast<const TPGMarkerItemInfo*>(&ItemAt(first))) {
    if (const TPGListLevel* level = marker->LevelOf(style))
      indent = level->LeftIndent + std::max(level->FirstIndent, 0) +
               (para.BiDiMode == pgbdRightToLeft ? para.LeftIndent : para.RightIndent);
  } else if (para.FirstIndent > 0 && !ItemAt(first).QueryTrait(pgitFullWidth)) {
    indent += para.FirstIndent;
  }
  indent = scale_.ScaleX(indent);
  int result = 0;
  if (para.Options.Contains(pgpaoNoWrap)) {
    int sum = indent;
    for (int i = first; i <= last; ++i) {
      if (ItemAt(i).IsText()) {
        if (canvas) {
          GetStyle()->ApplyFontToCanvas(*canvas, EffectiveStyleOf(i), GetBiDiMode());
          canvasStyle_ = EffectiveStyleOf(i);
          sum += canvas->TextExtent(DisplayText(i)).cx;
        }
      } else {
        sum += ItemAt(i).GetMinWidth(&scale_, canvas, this);
        if (ItemAt(i).QueryTrait(pgitChangesCanvasFont)) canvasStyle_ = -1;
      }
    }
    return sum;
  }
  for (int i = first; i <= last; ++i) {
    int w = indent + ItemAt(i).GetMinWidth(&scale_, canvas, this);
    if (i > first && ItemAt(i - 1).StyleNo == pgsListMarker && ItemAt(i).HasFlag(pgifContinuesPara))
      w += ItemAt(i - 1).GetMinWidth(&scale_, canvas, this);
    if (ItemAt(i).QueryTrait(pgitChangesCanvasFont) || ItemAt(i).StyleNo == pgsListMarker) canvasStyle_ = -1;
    result = std::max(result, w);
  }
  return result;
}

int TCustomPGFormattedData::CalculateMinDocumentWidth() {
  int result = 0;
  for (int first = 0; first < CountItems();) {
    int last = first;
    while (last + 1 < CountItems() && !ItemAt(last + 1).StartsPara()) ++last;
    result = std::max(result, ParagraphMinWidth(first, last));
    first = last + 1;
  }
  return result;
}

void TCustomPGFormattedData::ComputeWidths() {
  const TPGLayoutSettings& s = LayoutSettings();
  ICanvas* canvas = FormattingCanvas();
  scale_.ScreenPpiX = scale_.ScreenPpiY = s.ScreenPpi;
  scale_.DevicePpiX = canvas ? canvas->PixelsPerInchX() : s.ScreenPpi;
  scale_.DevicePpiY = canvas ? canvas->PixelsPerInchY() : s.ScreenPpi;
  leftMarginPx_ = scale_.ScaleX(s.LeftMargin);
  scale_.LeftMarginPx = leftMarginPx_;
  const int rightMarginPx = scale_.ScaleX(s.RightMargin);
  const int minText = scale_.ScaleX(s.MinTextWidth);
  const int maxText = scale_.ScaleX(s.MaxTextWidth);
  const int client = s.AreaWidth - leftMarginPx_ - rightMarginPx;
  documentWidth_ = std::max(std::max(client, minWidth_), minText);
  if (GetOptions().Contains(pgoClientTextWidth)) wrapWidth_ = std::max(client, minText);
  else if (maxText < documentWidth_) wrapWidth_ = s.MaxTextWidth < 1 ? documentWidth_ : maxText;
  else wrapWidth_ = documentWidth_;
}

// ---------------------------------------------------------------- formatting

TPGParaBlock TCustomPGFormattedData::LayoutParagraph(int firstItem, int lastItem) {
  TPGLineBuilder::TParams p;
  p.Data = this;
  p.Style = GetStyle();
  p.Canvas = FormattingCanvas();
  p.Scale = scale_;
  p.DocumentWidth = documentWidth_;
  p.WrapWidth = wrapWidth_;
  p.LeftMarginPx = leftMarginPx_;
  p.DocBiDiMode = GetBiDiMode();
  p.CanvasStyle = &canvasStyle_;
  TPGParaBlock block = TPGLineBuilder(p).Build(firstItem, lastItem);
  block.MinWidth = ParagraphMinWidth(firstItem, lastItem);
  return block;
}

void TCustomPGFormattedData::ClearFormatting() {
  blocks_.Clear();
  jumps_.clear();
  linkIndex_.clear();
  jumpCount_ = 0;
  jumpsStale_ = false;
  lastFormattedItem_ = -1;
  documentHeight_ = LayoutSettings().TopMargin + LayoutSettings().BottomMargin;
  formatted_ = false;
  dirtyFirst_ = dirtyLast_ = -1;
}

void TCustomPGFormattedData::Clear() {
  Deselect();
  ClearFormatting();
  TCustomPGData::Clear();
}

void TCustomPGFormattedData::LayoutAll() {
  std::vector<TPGParaBlock> blocks;
  for (int first = 0; first < CountItems();) {
    int last = first;
    while (last + 1 < CountItems() && !ItemAt(last + 1).StartsPara()) ++last;
    blocks.push_back(LayoutParagraph(first, last));
    first = last + 1;
  }
  blocks_.Clear();
  blocks_.Replace(0, 0, std::move(blocks));
  formatted_ = true;
  dirtyFirst_ = dirtyLast_ = -1;
}

void TCustomPGFormattedData::Format(bool force, bool fullReformat) {
  (void)fullReformat;
  if (passDepth_ > 0) return;  // a pass caused by its own scroll-bar update
  const TPGStyle* style = GetStyle();
  ICanvas* canvas = FormattingCanvas();
  if (!style || !canvas) return;
  ++passDepth_;
  try {
    for (int round = 0; round < 2; ++round) {
      const int oldDocumentWidth = documentWidth_, oldWrapWidth = wrapWidth_;
      const TPGLayoutSettings before = LayoutSettings();
      canvasStyle_ = -1;
      ComputeWidths();  // first with the minimum width of the last pass
      minWidth_ = CalculateMinDocumentWidth();
      ComputeWidths();
      const bool skip = !force && formatted_ && oldDocumentWidth == documentWidth_ && oldWrapWidth == wrapWidth_;
      if (!skip) LayoutAll();
      FinishPass();
      const TPGLayoutSettings& after = LayoutSettings();
      if (after.AreaWidth == before.AreaWidth && after.AreaHeight == before.AreaHeight) break;
      force = true;  // a scroll bar came or went: once more for the new area
    }
  } catch (...) {
    lastFormattedItem_ = CountItems() - 1;
    --passDepth_;
    throw;
  }
  lastFormattedItem_ = CountItems() - 1;
  --passDepth_;
}

void TCustomPGFormattedData::FinishPass() {
  const TPGLayoutSettings& s = LayoutSettings();
  documentHeight_ = s.TopMargin + blocks_.Height() + s.BottomMargin;
  jumpsStale_ = LayoutSettings().OwnerFlags.Contains(pgofHypertext);
  if (!jumpsStale_) {
    jumps_.clear();
    linkIndex_.clear();
    jumpCount_ = 0;
  }
  ++passDepth_;
  SetScrollSizes(scale_.ScaleX(s.LeftMargin) + documentWidth_ + scale_.ScaleX(s.RightMargin), documentHeight_);
  --passDepth_;
}

const std::vector<TPGJumpInfo>& TCustomPGFormattedData::Jumps() const {
  if (jumpsStale_) BuildJumps();
  return jumps_;
}

int TCustomPGFormattedData::JumpCount() const {
  if (jumpsStale_) BuildJumps();
  return jumpCount_;
}

std::span<const TPGJumpInfo> TCustomPGFormattedData::JumpAreas(int jumpIndex) const {
  const std::vector<TPGJumpInfo>& jumps = Jumps();
  // Numbers grow in formatting order.
  const auto first = std::lower_bound(jumps.begin(), jumps.end(), jumpIndex,
                                      [](const TPGJumpInfo& j, int n) { return j.JumpIndex < n; });
  auto last = first;
  while (last != jumps.end() && last->JumpIndex == jumpIndex) ++last;
  return {first, last};
}

const TPGJumpInfo* TCustomPGFormattedData::JumpAtPoint(int x, int y) const {
  const std::vector<TPGJumpInfo>& jumps = Jumps();
  if (jumps.empty()) return nullptr;
  const TPoint origin = Origin();
  const int d = FindDrawItemUnderPoint(x - origin.X, y - origin.Y);
  if (d < 0) return nullptr;
  // Hot areas are drawing items, in drawing order.
  const auto it = std::lower_bound(jumps.begin(), jumps.end(), d,
                                   [](const TPGJumpInfo& j, int n) { return j.DrawItemNo < n; });
  if (it == jumps.end() || it->DrawItemNo != d) return nullptr;
  return Bounds(it->Left, it->Top, it->Width, it->Height).Contains({x, y}) ? &*it : nullptr;
}

void TCustomPGFormattedData::BuildJumps() const {
  jumpsStale_ = false;
  jumps_.clear();
  linkIndex_.assign(static_cast<std::size_t>(CountItems()), -1);
  jumpCount_ = 0;
  const TPGStyle* style = GetStyle();
  const TPoint origin = Origin();
  const int top = TopMargin();
  for (int b = 0, item = 0, draw = 0, y = 0; b < blocks_.Count(); ++b) {
    const TPGParaBlock& block = blocks_.Block(b);
    for (int i = 0; i < block.ItemCount; ++i) {
      const TCustomPGItemInfo& it = ItemAt(item + i);
      if (!it.QueryStyledTrait(pgstJump, style)) continue;
      if (it.IsText() && TextOf(item + i).empty()) {
        linkIndex_[static_cast<std::size_t>(item + i)] = -3;
        continue;
      }
      const int number = jumpCount_++;
      linkIndex_[static_cast<std::size_t>(item + i)] = number;
      const TCursor cursor = it.IsText() ? style->TextStyles[EffectiveStyleOf(item + i)].JumpCursor : style->JumpCursor;
      for (std::size_t k = 0; k < block.Draw.size(); ++k) {
        const TPGDrawLineInfo& di = block.Draw[k];
        if (di.ItemNo != i) continue;
        jumps_.push_back({this, di.Left + origin.X, top + y + di.Top + origin.Y, di.Width, di.Height, number,
                          draw + static_cast<int>(k), cursor});
      }
    }
    item += block.ItemCount;
    draw += static_cast<int>(block.Draw.size());
    y += blocks_.BlockHeight(b);
  }
}

// ---------------------------------------------------------------- incremental formatting

void TCustomPGFormattedData::MarkDirty(int firstBlock, int lastBlock) {
  firstBlock = std::max(firstBlock, 0);
  lastBlock = std::min(lastBlock, blocks_.Count() - 1);
  if (firstBlock > lastBlock) return;
  if (dirtyFirst_ < 0) {
    dirtyFirst_ = firstBlock;
    dirtyLast_ = lastBlock;
  } else {
    dirtyFirst_ = std::min(dirtyFirst_, firstBlock);
    dirtyLast_ = std::max(dirtyLast_, lastBlock);
  }
}

void TCustomPGFormattedData::ItemsInserted(int first, int count) {
  TCustomPGData::ItemsInserted(first, count);
  if (!formatted_) return;
  if (blocks_.Empty()) {
    TPGParaBlock block;
    block.ItemCount = count;
    blocks_.Replace(0, 0, {std::move(block)});
    MarkDirty(0, 0);
    return;
  }
  // The items join the paragraph before them; laying it out again splits what starts anew.
  const int holder = first > 0 ? first - 1 : 0;
  int firstOfBlock = 0;
  const int b = blocks_.BlockOfItem(holder, &firstOfBlock);
  blocks_.AdjustItemCount(b, count);
  MarkDirty(b - (first == firstOfBlock ? 1 : 0), b + 1);
}

void TCustomPGFormattedData::ItemsRemoved(int first, int count) {
  TCustomPGData::ItemsRemoved(first, count);
  if (!formatted_) return;
  if (CountItems() == 0) {
    blocks_.Clear();
    dirtyFirst_ = dirtyLast_ = -1;
    return;
  }
  int b0First = 0, b1First = 0;
  const int b0 = blocks_.BlockOfItem(first, &b0First);
  const int b1 = blocks_.BlockOfItem(first + count - 1, &b1First);
  int remaining = 0;
  for (int b = b0; b <= b1; ++b) remaining += blocks_.Block(b).ItemCount;
  remaining -= count;
  std::vector<TPGParaBlock> merged;
  if (remaining > 0) {
    TPGParaBlock block;
    block.ItemCount = remaining;
    merged.push_back(std::move(block));
  }
  blocks_.Replace(b0, b1 - b0 + 1, std::move(merged));
  if (dirtyFirst_ >= 0) {  // the dirty range shifts with the blocks that went
    const int gone = b1 - b0 + (remaining > 0 ? 0 : 1);
    if (dirtyFirst_ > b1) dirtyFirst_ -= gone;
    if (dirtyLast_ > b1) dirtyLast_ -= gone;
    dirtyFirst_ = std::min(dirtyFirst_, b0);
    dirtyLast_ = std::max(dirtyLast_, std::min(b0, blocks_.Count() - 1));
  }
  MarkDirty(b0 - 1, b0 + 1);
}

void TCustomPGFormattedData::FormatParagraphs(int firstItem, int lastItem) {
  if (!formatted_ || CountItems() == 0) {
    Format(true, false);
    return;
  }
  firstItem = std::clamp(firstItem, 0, CountItems() - 1);
  lastItem = std::clamp(lastItem, firstItem, CountItems() - 1);
  const int b0 = blocks_.BlockOfItem(firstItem, nullptr);
  const int b1 = blocks_.BlockOfItem(lastItem, nullptr);
  MarkDirty(b0 - 1, b1 + 1);  // neighbours, for paragraph starts that came or went
  FormatChanged();
}

void TCustomPGFormattedData::FormatChanged() {
  if (!formatted_) {
    Format(true, false);
    return;
  }
  if (dirtyFirst_ < 0) return;
  Reformat(dirtyFirst_, dirtyLast_);
}

void TCustomPGFormattedData::Reformat(int firstBlock, int lastBlock) {
  const TPGStyle* style = GetStyle();
  if (!style || !FormattingCanvas()) return;
  // Whole paragraphs: the range grows while its ends do not fall on paragraph starts.
  int firstItem = blocks_.FirstItemOf(firstBlock);
  while (firstBlock > 0 && firstItem < CountItems() && !ItemAt(firstItem).StartsPara()) {
    --firstBlock;
    firstItem = blocks_.FirstItemOf(firstBlock);
  }
  int endItem = blocks_.FirstItemOf(lastBlock) + blocks_.Block(lastBlock).ItemCount;
  while (lastBlock + 1 < blocks_.Count() && endItem < CountItems() && !ItemAt(endItem).StartsPara()) {
    ++lastBlock;
    endItem += blocks_.Block(lastBlock).ItemCount;
  }
  dirtyFirst_ = dirtyLast_ = -1;
  canvasStyle_ = -1;
  std::vector<TPGParaBlock> blocks;
  for (int first = firstItem; first < endItem;) {
    int last = first;
    while (last + 1 < endItem && !ItemAt(last + 1).StartsPara()) ++last;
    blocks.push_back(LayoutParagraph(first, last));
    first = last + 1;
  }
  blocks_.Replace(firstBlock, lastBlock - firstBlock + 1, std::move(blocks));
  // A new minimum width can change the widths everything is wrapped to.
  if (blocks_.MaxMinWidth() != minWidth_) {
    const int oldDocumentWidth = documentWidth_, oldWrapWidth = wrapWidth_;
    minWidth_ = blocks_.MaxMinWidth();
    ComputeWidths();
    if (documentWidth_ != oldDocumentWidth || wrapWidth_ != oldWrapWidth) {
      LayoutAll();
    }
  }
  FinishPass();
  lastFormattedItem_ = CountItems() - 1;
}

// ---------------------------------------------------------------- results

int TCustomPGFormattedData::DrawItemCount() const { return formatted_ ? blocks_.DrawCount() : 0; }

TPGDrawLineInfo TCustomPGFormattedData::DrawItem(int d) const {
  int firstDraw = 0;
  const int b = blocks_.BlockOfDraw(d, &firstDraw);
  TPGDrawLineInfo di = blocks_.Block(b).Draw[static_cast<std::size_t>(d - firstDraw)];
  di.Top += TopMargin() + blocks_.TopOf(b);
  di.ItemNo += blocks_.FirstItemOf(b);
  return di;
}

std::u16string TCustomPGFormattedData::DrawItemText(int d) const {
  const TPGDrawLineInfo di = DrawItem(d);
  if (!ItemAt(di.ItemNo).IsText()) return {};
  return DisplayText(di.ItemNo).substr(static_cast<std::size_t>(di.Offset - 1), static_cast<std::size_t>(di.Length));
}

int TCustomPGFormattedData::FirstDrawItemOf(int itemNo) const {
  if (!formatted_ || itemNo < 0 || itemNo >= blocks_.ItemCount()) return -1;
  int firstItem = 0;
  const int b = blocks_.BlockOfItem(itemNo, &firstItem);
  const int rel = blocks_.Block(b).FirstDraw[static_cast<std::size_t>(itemNo - firstItem)];
  return rel < 0 ? -1 : blocks_.FirstDrawOf(b) + rel;
}

TPGMarkerBox TCustomPGFormattedData::MarkerBoxOf(int itemNo) const {
  if (!formatted_ || itemNo < 0 || itemNo >= blocks_.ItemCount()) return {};
  int firstItem = 0;
  const TPGParaBlock& block = blocks_.Block(blocks_.BlockOfItem(itemNo, &firstItem));
  return block.HasMarker && itemNo == firstItem ? block.MarkerBox : TPGMarkerBox{};
}

int TCustomPGFormattedData::LinkIndexOf(int itemNo) const {
  if (jumpsStale_) BuildJumps();
  if (itemNo < 0 || itemNo >= static_cast<int>(linkIndex_.size())) return -1;
  return linkIndex_[static_cast<std::size_t>(itemNo)];
}

void TCustomPGFormattedData::GetLineRange(int d, int& first, int& last) const {
  int firstDraw = 0;
  const int b = blocks_.BlockOfDraw(d, &firstDraw);
  const std::vector<TPGDrawLineInfo>& draw = blocks_.Block(b).Draw;
  int i = d - firstDraw;
  int f = i;
  while (f > 0 && !draw[static_cast<std::size_t>(f)].StartsLine) --f;
  int l = i;
  while (l + 1 < static_cast<int>(draw.size()) && !draw[static_cast<std::size_t>(l + 1)].StartsLine) ++l;
  first = firstDraw + f;
  last = firstDraw + l;
}

}  // namespace pagora
