#include "layout/DocumentPainting.h"

#include <algorithm>
#include <climits>

#include "model/ParaInfo.h"
#include "model/PGStyle.h"
#include "platform/Canvas.h"

namespace pagora {

namespace {

constexpr char16_t kParagraphMark = u'\u00B6';
constexpr char16_t kSymbolLineBreakMark = u'\u00BF';  // the return arrow of the symbol font

class TPainter {
public:
  TPainter(TCustomPGFormattedData& data, ICanvas& canvas, const TPGPaintSettings& settings)
      : d_(data),
        c_(canvas),
        s_(settings),
        style_(*data.GetStyle()),
        blocks_(data.Blocks()),
        options_(data.GetOptions()),
        docMode_(data.GetBiDiMode()),
        top0_(data.LayoutSettings().TopMargin),
        docTop_(settings.Clip.Top + settings.ScrollY),
        docBottom_(settings.Clip.Bottom + settings.ScrollY),
        clientWidth_(settings.ClientWidth > 0 ? settings.ClientWidth : data.LayoutSettings().AreaWidth) {}

  void Run() {
    c_.Save();
    c_.IntersectClip(s_.Clip);
    if (!blocks_.Empty()) {
      FindVisibleBlocks();
      PaintParagraphBacks();
      if (style_.OnDrawTextBack) PaintTextBacks();
      if (options_.Contains(pgoShowPageBreaks)) PaintSoftPageBreaks();
      PaintItems();
    }
    PaintFinalCheckpoint();
    c_.Restore();
  }

private:
  // ---- where things are
  [[nodiscard]] int BlockTop(int b) const { return top0_ + blocks_.TopOf(b); }
  // A drawing item of block b in document coordinates.
  [[nodiscard]] TPGDrawLineInfo Draw(int b, int i, int blockTop, int firstItem) const {
    TPGDrawLineInfo di = blocks_.Block(b).Draw[static_cast<std::size_t>(i)];
    di.Top += blockTop;
    di.ItemNo += firstItem;
    return di;
  }
  [[nodiscard]] bool Visible(const TPGDrawLineInfo& di) const {
    return di.Top < docBottom_ && di.Bottom() + di.SpacingBelow > docTop_;
  }
  [[nodiscard]] int X(int x) const { return x - s_.ScrollX; }
  [[nodiscard]] int Y(int y) const { return y - s_.ScrollY; }

  void FindVisibleBlocks() {
    // One block more on either side: borders and shifted text may reach over the edge.
    firstBlock_ = std::max(0, blocks_.BlockAtY(docTop_ - top0_) - 1);
    lastBlock_ = firstBlock_;
    while (lastBlock_ + 1 < blocks_.Count() && BlockTop(lastBlock_ + 1) <= docBottom_) ++lastBlock_;
    lastBlock_ = std::min(lastBlock_ + 1, blocks_.Count() - 1);
  }

  // ---- paragraph backgrounds and borders
  void PaintParagraphBacks() {
    const TPGDeviceScale& scale = d_.DeviceScale();
    for (int b = firstBlock_; b <= lastBlock_; ++b) {
      const TPGParaBlock& block = blocks_.Block(b);
      const int firstItem = blocks_.FirstItemOf(b);
      if (block.Draw.empty() || d_.ItemAt(firstItem).StyleNo == pgsBreak) continue;
      const int paraNo = d_.ItemAt(firstItem).ParaNo;
      const TParaInfo& para = style_.ParaStyles[paraNo];
      if (para.Border.Style == pgbNone && para.Background.Color == clNone && !style_.OnDrawParaBack) continue;
      TRect r = ParagraphRect(b, para);
      r = {X(r.Left), Y(r.Top), X(r.Right), Y(r.Bottom)};
      TRect back = r;
      para.Background.BorderOffsets.InflateRect(back, scale.ScreenPpiX, scale.DevicePpiX);
      style_.PaintParaBack(c_, paraNo, back, s_.ColorMode);
      para.Border.Draw(r, c_, s_.ColorMode, scale.ScreenPpiX, scale.DevicePpiX);
    }
  }

  [[nodiscard]] TRect ParagraphRect(int b, const TParaInfo& para) const {
    const TPGDeviceScale& scale = d_.DeviceScale();
    const TPGLayoutSettings& layout = d_.LayoutSettings();
    const int leftMargin = d_.LeftMarginPixels(), rightMargin = d_.RightMarginPixels();
    TRect r;
    r.Left = leftMargin + scale.ScaleX(para.LeftIndent) + (para.FirstIndent < 0 ? scale.ScaleX(para.FirstIndent) : 0);
    const int rightIndent = scale.ScaleX(para.RightIndent);
    if (options_.Contains(pgoClientTextWidth)) {
      r.Right = layout.AreaWidth - rightMargin - rightIndent;
    } else if (layout.MaxTextWidth < 1) {
      const int areaWidth = std::max(layout.AreaWidth, leftMargin + d_.DocumentWidth() + rightMargin);
      r.Right = areaWidth - rightMargin - rightIndent;
    } else {
      r.Right = leftMargin + scale.ScaleX(layout.MaxTextWidth) - rightIndent;
    }
    r.Top = INT_MAX;
    r.Bottom = INT_MIN;
    const int blockTop = BlockTop(b);
    for (const TPGDrawLineInfo& di : blocks_.Block(b).Draw) {
      r.Right = std::max(r.Right, di.Right());
      r.Top = std::min(r.Top, blockTop + di.Top);
      r.Bottom = std::max(r.Bottom, blockTop + di.Top + di.Height + di.SpacingBelow);
    }
    return r;
  }

  // ---- handlers behind text
  void PaintTextBacks() {
    for (int b = firstBlock_; b <= lastBlock_; ++b) {
      const int blockTop = BlockTop(b), firstItem = blocks_.FirstItemOf(b);
      const int count = static_cast<int>(blocks_.Block(b).Draw.size());
      for (int i = 0; i < count; ++i) {
        const TPGDrawLineInfo di = Draw(b, i, blockTop, firstItem);
        if (!Visible(di) || !d_.ItemAt(di.ItemNo).IsText()) continue;
        style_.PaintTextBack(c_, di.ItemNo, di.Offset, &d_, d_.EffectiveStyleOf(di.ItemNo), X(di.Left), Y(di.Top),
                             di.Width, di.Height, BaseTextState(di.ItemNo));
      }
    }
  }

  // ---- page breaks
  // The top of the line holding drawing item d.
  [[nodiscard]] int LineTop(int d) const {
    int first = 0, last = 0;
    d_.GetLineRange(d, first, last);
    int top = INT_MAX;
    for (int i = first; i <= last; ++i) top = std::min(top, d_.DrawItem(i).Top);
    return top;
  }

  void PaintSoftPageBreaks() {
    const int firstVisibleItem = blocks_.FirstItemOf(firstBlock_);
    for (const TPGSoftPageBreakInfo& brk : d_.SoftPageBreaks) {
      if (brk.ItemNo < firstVisibleItem) continue;
      int d = d_.FirstDrawItemOf(brk.ItemNo);
      if (d < 0) continue;
      // The drawing item of the item that holds the break's character.
      while (d + 1 < d_.DrawItemCount()) {
        const TPGDrawLineInfo next = d_.DrawItem(d + 1);
        if (next.ItemNo != brk.ItemNo || next.Offset > brk.Offset) break;
        ++d;
      }
      if (d_.DrawItem(d).Top > docBottom_) break;
      style_.PaintPageBreak(c_, Y(LineTop(d)) - 1, 0, pgpbSoftPageBreak, s_.Control, clientWidth_);
    }
  }

  // ---- drawing items
  [[nodiscard]] TPGTextDrawStates BaseTextState(int itemNo) const {
    TPGTextDrawStates state;
    if (itemNo == s_.HoverItem) state.Include(pgtsHover);
    if (s_.Focused) state.Include(pgtsControlFocused);
    if (options_.Contains(pgoShowSpecialCharacters)) state.Include(pgtsSpecialCharacters);
    return state;
  }

  [[nodiscard]] bool NonTextSelected(int d) const {
    const TPGSelectionRange& sel = s_.Selection;
    if (sel.Whole) return true;
    if (sel.StartDraw < 0 || sel.EndDraw < 0) return false;
    const bool afterStart = d > sel.StartDraw || (d == sel.StartDraw && sel.StartOffset == 0);
    const bool beforeEnd = d < sel.EndDraw || (d == sel.EndDraw && sel.EndOffset >= 1);
    return afterStart && beforeEnd;
  }

  // The selected characters [from, to) of a text drawing item of length n.
  void SelectedChars(int d, int n, int& from, int& to) const {
    const TPGSelectionRange& sel = s_.Selection;
    from = to = 0;
    if (sel.Whole) {
      to = n;
      return;
    }
    if (sel.StartDraw < 0 || sel.EndDraw < 0 || d < sel.StartDraw || d > sel.EndDraw) return;
    from = d == sel.StartDraw ? std::clamp(sel.StartOffset - 1, 0, n) : 0;
    to = d == sel.EndDraw ? std::clamp(sel.EndOffset - 1, 0, n) : n;
    if (to < from) to = from;
  }

  void SelectTextFont(int styleNo) {
    if (fontStyle_ == styleNo) return;
    // A style without a direction must not inherit the reading order of the run before.
    c_.SetTextAlign(TA_LEFT | TA_TOP);
    style_.ApplyFontToCanvas(c_, styleNo, docMode_);
    fontStyle_ = styleNo;
  }

  void ResetModes() {
    fontStyle_ = -1;
    c_.SetTextCharacterExtra(0);
    c_.SetTextAlign(TA_LEFT | TA_TOP);
  }

  // The display text of an item, kept while its drawing items are painted one by one.
  const std::u16string& TextOfItem(int itemNo) {
    if (textItem_ != itemNo) {
      text_ = d_.DisplayText(itemNo);
      textItem_ = itemNo;
    }
    return text_;
  }

  void PaintItems() {
    for (int b = firstBlock_; b <= lastBlock_; ++b) {
      const TPGParaBlock& block = blocks_.Block(b);
      const int blockTop = BlockTop(b), firstItem = blocks_.FirstItemOf(b), firstDraw = blocks_.FirstDrawOf(b);
      const int count = static_cast<int>(block.Draw.size());
      bandValid_ = false;
      for (int i = 0; i < count; ++i) {
        const TPGDrawLineInfo di = Draw(b, i, blockTop, firstItem);
        if (di.StartsLine) bandValid_ = false;
        if (!Visible(di)) continue;
        const int d = firstDraw + i;
        const TCustomPGItemInfo& item = d_.ItemAt(di.ItemNo);
        const bool firstOfItem = block.FirstDraw[static_cast<std::size_t>(di.ItemNo - firstItem)] == i;
        if (firstOfItem && item.HasFlag(pgifPageBreakBefore) && options_.Contains(pgoShowPageBreaks)) {
          style_.PaintPageBreak(c_, Y(LineTop(d)) - 1, 0, pgpbPageBreak, s_.Control, clientWidth_);
        }
        if (firstOfItem && item.Checkpoint && options_.Contains(pgoShowCheckpoints)) {
          style_.PaintCheckpoint(c_, X(di.Left), Y(di.Top), di.ItemNo, 0, item.Checkpoint->RaiseEvent, s_.Control,
                                 clientWidth_);
        }
        if (item.IsText()) {
          PaintText(d, di);
        } else {
          PaintNonText(b, i, d, di, item);
        }
        if (options_.Contains(pgoShowSpecialCharacters)) PaintSpecialMark(b, i, di);
      }
    }
  }

  void PaintText(int d, const TPGDrawLineInfo& di) {
    if (di.Length <= 0) return;
    const int styleNo = d_.EffectiveStyleOf(di.ItemNo);
    SelectTextFont(styleNo);
    lastTextStyle_ = styleNo;
    const std::u16string& all = TextOfItem(di.ItemNo);
    const int itemLength = static_cast<int>(all.size());
    const std::u16string_view text =
        std::u16string_view(all).substr(static_cast<std::size_t>(di.Offset - 1), static_cast<std::size_t>(di.Length));
    int from = 0, to = 0;
    SelectedChars(d, di.Length, from, to);
    const TPGTextDrawStates base = BaseTextState(di.ItemNo);
    auto piece = [&](int a, int z, int left, int width, int spaceBefore) {
      TPGTextDrawStates state = base;
      if (a >= from && z <= to && from < to) state.Include(pgtsSelected);
      if (a == 0) state.Include(pgtsDrawItemStart);
      if (z == di.Length) state.Include(pgtsDrawItemEnd);
      if (di.Offset + a == 1) state.Include(pgtsItemStart);
      if (di.Offset - 1 + z == itemLength) state.Include(pgtsItemEnd);
      style_.PaintStyleText(text.substr(static_cast<std::size_t>(a), static_cast<std::size_t>(z - a)), c_,
                            di.ItemNo, di.Offset + a, &d_, styleNo, spaceBefore, left, Y(di.Top), width, di.Height,
                            state, s_.ColorMode, s_.ColorMode != pgcmColor);
      if (style_.OnDrawStyleText) {
        fontStyle_ = -1;  // a handler may have selected another font
        SelectTextFont(styleNo);
      }
    };
    const int left = X(di.Left);
    if (from >= to || (from == 0 && to == di.Length)) {
      piece(0, di.Length, left, di.Width, di.JustifyExtra);
      return;
    }
    // Up to three pieces, each measured in the run's font, placed in visual order (the first
    // characters at the right in right-to-left text). The justification room goes with the
    // piece that stands first; the last one takes what remains of the width.
    struct TPiece {
      int From, To;
    };
    TPiece pieces[3];
    int n = 0;
    if (from > 0) pieces[n++] = {0, from};
    pieces[n++] = {from, to};
    if (to < di.Length) pieces[n++] = {to, di.Length};
    if (c_.TextAlignment() & TA_RTLREADING) std::reverse(pieces, pieces + n);
    int x = left;
    for (int k = 0; k < n; ++k) {
      const TPiece& p = pieces[k];
      const int spaceBefore = k == 0 ? di.JustifyExtra : 0;
      const int width =
          k + 1 == n ? left + di.Width - x
                     : spaceBefore + c_.TextExtent(text.substr(static_cast<std::size_t>(p.From),
                                                               static_cast<std::size_t>(p.To - p.From))).cx;
      piece(p.From, p.To, x, width, spaceBefore);
      x += width;
    }
  }

  // The band of the line holding drawing item i of block b, for line selection.
  void ComputeBand(int b, int i, int blockTop) {
    const std::vector<TPGDrawLineInfo>& draw = blocks_.Block(b).Draw;
    int f = i;
    while (f > 0 && !draw[static_cast<std::size_t>(f)].StartsLine) --f;
    int l = i;
    while (l + 1 < static_cast<int>(draw.size()) && !draw[static_cast<std::size_t>(l + 1)].StartsLine) ++l;
    int top = INT_MAX, bottom = INT_MIN;
    for (int k = f; k <= l; ++k) {
      const TPGDrawLineInfo& di = draw[static_cast<std::size_t>(k)];
      top = std::min(top, di.Top);
      bottom = std::max(bottom, di.Top + di.Height + di.SpacingBelow);
    }
    const TParaInfo& para = style_.ParaStyles[d_.ItemAt(blocks_.FirstItemOf(b)).ParaNo];
    const TPGDeviceScale& scale = d_.DeviceScale();
    if (f == 0) top -= scale.ScaleY(para.SpaceBefore);
    if (l + 1 == static_cast<int>(draw.size())) bottom += scale.ScaleY(para.SpaceAfter);
    bandTop_ = blockTop + top;
    bandBottom_ = blockTop + bottom;
    bandValid_ = true;
  }

  void PaintNonText(int b, int i, int d, const TPGDrawLineInfo& di, const TCustomPGItemInfo& item) {
    TPGItemDrawStates state;
    const bool selected = NonTextSelected(d);
    if (selected) state.Include(pgidsSelected);
    if (di.ItemNo == s_.HoverItem) state.Include(pgidsHover);
    if (di.ItemNo == s_.CurrentItem) state.Include(pgidsCurrent);
    if (s_.Focused) state.Include(pgidsControlFocused);
    TPGItemPaint paint{c_, style_, &d_, state, s_.ColorMode, di.Width, di.Height, &d_.DeviceScale()};
    if (item.QueryTrait(pgitFullWidth)) {
      const int right = std::max(di.Right(), d_.LeftMarginPixels() + d_.DocumentWidth());
      item.PaintAcross(X(di.Left), X(right), Y(di.Top), paint);
    } else {
      const bool marker = item.StyleNo == pgsListMarker;
      if (selected && !marker && style_.SelectionStyle == pgssLines) {
        const TColor color = s_.Focused ? style_.SelColor : style_.InactiveSelColor;
        if (color != clNone) {
          if (!bandValid_) ComputeBand(b, i, BlockTop(b));
          c_.SetBrush({color, TBrushStyle::Solid});
          c_.FillRect({X(di.Left), Y(bandTop_), X(di.Right()), Y(bandBottom_)});
        }
      }
      int x = di.Left;
      if (marker) x += d_.MarkerBoxOf(di.ItemNo).ContentX;
      item.PaintObject(X(x), Y(di.Top), Y(di.Bottom()), paint);
    }
    if (item.QueryTrait(pgitChangesCanvasFont) || item.StyleNo == pgsListMarker) ResetModes();
  }

  // The paragraph mark after a paragraph's last drawing item, the line-break mark after the
  // last one of a line that an explicit line break ends.
  void PaintSpecialMark(int b, int i, const TPGDrawLineInfo& di) {
    if (d_.ItemAt(di.ItemNo).QueryTrait(pgitFullWidth)) return;  // a line across the page needs no mark
    const std::vector<TPGDrawLineInfo>& draw = blocks_.Block(b).Draw;
    const bool lastOfPara = i + 1 == static_cast<int>(draw.size());
    bool lineBreak = false;
    if (!lastOfPara) {
      const TPGDrawLineInfo& next = draw[static_cast<std::size_t>(i + 1)];
      const int nextItem = next.ItemNo + blocks_.FirstItemOf(b);
      lineBreak = next.StartsLine && nextItem != di.ItemNo && d_.ItemAt(nextItem).HasFlag(pgifLineBreakBefore);
    }
    if (!lastOfPara && !lineBreak) return;
    SelectTextFont(lastTextStyle_);
    style_.ApplyColorsToCanvas(c_, lastTextStyle_, {}, s_.ColorMode, s_.ColorMode != pgcmColor);
    c_.SetBrush({clNone, TBrushStyle::Clear});
    std::u16string mark(1, kParagraphMark);
    if (lineBreak) {
      TFontSpec symbol = c_.Font();
      symbol.Name = "Symbol";
      symbol.Charset = SYMBOL_CHARSET;
      symbol.Width = 0;
      c_.SetFont(symbol);
      fontStyle_ = -1;
      mark[0] = kSymbolLineBreakMark;
    }
    const unsigned align = c_.TextAlignment();
    c_.SetTextAlign(TA_LEFT | TA_TOP);
    const TSize extent = c_.TextExtent(mark);
    const int paraNo = d_.ItemAt(di.ItemNo).ParaNo;
    TPGBiDiMode mode = style_.ParaStyles[paraNo].BiDiMode;
    if (mode == pgbdUnspecified) mode = docMode_;
    const int x = mode == pgbdRightToLeft ? di.Left - extent.cx : di.Right();
    c_.TextOut(X(x), Y(di.Bottom() - extent.cy), mark);
    c_.SetTextAlign(align);
  }

  void PaintFinalCheckpoint() {
    const TPGCPInfo* pending = d_.PendingCheckpoint();
    if (!pending || !options_.Contains(pgoShowCheckpoints)) return;
    const int y = d_.DocumentHeight();
    if (y < docTop_ - 2 || y > docBottom_ + 2) return;
    style_.PaintCheckpoint(c_, X(d_.LeftMarginPixels()), Y(y), -1, 0, pending->RaiseEvent, s_.Control, clientWidth_);
  }

  TCustomPGFormattedData& d_;
  ICanvas& c_;
  const TPGPaintSettings& s_;
  TPGStyle& style_;
  const TPGParaBlocks& blocks_;
  TPGOptions options_;
  TPGBiDiMode docMode_;
  int top0_, docTop_, docBottom_, clientWidth_;
  int firstBlock_ = 0, lastBlock_ = -1;
  int fontStyle_ = -1;
  int lastTextStyle_ = 0;
  int textItem_ = -1;
  std::u16string text_;
  bool bandValid_ = false;
  int bandTop_ = 0, bandBottom_ = 0;
};

}  // namespace

void PaintFormattedData(TCustomPGFormattedData& data, ICanvas& canvas, const TPGPaintSettings& settings) {
  if (!data.GetStyle() || !data.IsFormatted()) return;
  TPainter(data, canvas, settings).Run();
}

}  // namespace pagora
