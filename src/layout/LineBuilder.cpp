#include "layout/LineBuilder.h"

#include <algorithm>

#include "layout/BidiOrder.h"
#include "layout/CPGFData.h"
#include "layout/LineBreaking.h"
#include "model/BreakItem.h"
#include "model/PGMarker.h"
#include "model/PGStyle.h"
#include "platform/Canvas.h"
#include "platform/TextServices.h"

namespace pagora {

namespace {
bool IsSpace(char16_t c) { return c == u' '; }
}  // namespace

int TPGLineBuilder::ParaNoOf(int itemNo) const { return p_.Data->ItemAt(itemNo).ParaNo; }

bool TPGLineBuilder::PrevIsMarker(int itemNo) const {
  return itemNo > first_ && p_.Data->ItemAt(itemNo - 1).StyleNo == pgsListMarker;
}

bool TPGLineBuilder::IsJustified() const { return p_.Style->ParaStyles[paraNo_].Alignment == pgaJustify; }

TPGParaBlock TPGLineBuilder::Build(int first, int last) {
  block_ = TPGParaBlock{};
  first_ = first;
  paraNo_ = p_.Data->ItemAt(first).ParaNo;
  block_.ItemCount = last - first + 1;
  block_.FirstDraw.assign(static_cast<std::size_t>(block_.ItemCount), -1);
  TCustomPGData& d = *p_.Data;
  for (int i = first; i <= last; ++i) {
    TCustomPGItemInfo& item = d.ItemAt(i);
    if (item.IsText()) {
      const std::u16string text = p_.Data->DisplayText(i);
      const int n = static_cast<int>(text.size());
      if (IsJustified() && n > 0) {
        // Every word is a drawing item of its own, so that justification can widen the gaps.
        int s = 0;
        bool firstWord = true;
        while (s < n) {
          int e = s + (IsSpace(text[static_cast<std::size_t>(s)]) ? 1 : 0);
          while (e < n && !IsSpace(text[static_cast<std::size_t>(e)])) ++e;
          PlaceText(i, text, s, e - s, firstWord, firstWord);
          firstWord = false;
          s = e;
        }
      } else {
        PlaceText(i, text, 0, n, true, true);
      }
    } else if (item.QueryTrait(pgitFullWidth)) {
      PlaceFullLine(i);
    } else {
      PlaceObject(i);
    }
  }
  FinishLine(true);
  block_.Content = y_ + descent_;
  block_.SpacingBelow = spacingBelow_;
  block_.SpaceAfter = p_.Scale.ScaleY(p_.Style->ParaStyles[paraNo_].SpaceAfter);
  return std::move(block_);
}

void TPGLineBuilder::SelectStyle(int itemNo) {
  const int style = p_.Data->EffectiveStyleOf(itemNo);
  ICanvas& c = *p_.Canvas;
  if (*p_.CanvasStyle != style) {
    const TFontInfo& f = p_.Style->TextStyles[style];
    TPGBiDiMode mode = p_.Style->ParaStyles[paraNo_].BiDiMode;
    if (mode == pgbdUnspecified) mode = p_.DocBiDiMode;
    p_.Style->ApplyFontToCanvas(c, style, mode);
    const bool oneToOne = p_.Scale.ScreenPpiX == p_.Scale.DevicePpiX;
    if (f.CharSpacing != 0 && !oneToOne && f.BiDiMode == pgbdUnspecified && mode == pgbdUnspecified)
      c.SetTextCharacterExtra(p_.Scale.ScaleX(f.CharSpacing));
    *p_.CanvasStyle = style;
  }
  TTextMetrics tm;
  if (!c.GetTextMetrics(tm)) tm = {};
  m_.Ascent = tm.Ascent;
  m_.Descent = tm.Descent;
  m_.Height = tm.Height;
  m_.VShift = MulDiv(tm.Height, p_.Style->TextStyles[style].VShift, 100);
}

int TPGLineBuilder::FitCount(const std::u16string& text, int s, int n, int width, bool unicode) {
  ICanvas& c = *p_.Canvas;
  const std::u16string_view piece = std::u16string_view(text).substr(static_cast<std::size_t>(s), static_cast<std::size_t>(n));
  if (p_.Style->ParaStyles[paraNo_].Options.Contains(pgpaoNoWrap)) return n;
  // Measure no more than can fit: a chunk of about twice the characters the width holds
  // at the font's narrowest plausible width, grown while everything in it fits. One very
  // long item thus costs time in proportion to what is placed, not to its length per line.
  TTextMetrics tm;
  const int average = c.GetTextMetrics(tm) && tm.AveCharWidth > 0 ? tm.AveCharWidth : 1;
  std::size_t chunk = std::min<std::size_t>(piece.size(), static_cast<std::size_t>(std::max(width, 0) / std::max(average / 3, 1)) + 16);
  std::vector<int> widths;
  for (;;) {
    widths.resize(chunk);
    c.PrefixWidths(piece.substr(0, chunk), widths);
    if (chunk == piece.size() || widths.back() > width) break;
    chunk = std::min(piece.size(), chunk * 2);
  }
  // Prefix widths never decrease: the largest prefix of positive width not above the width.
  int k = static_cast<int>(std::upper_bound(widths.begin(), widths.end(), width) - widths.begin());
  while (k > 0 && widths[static_cast<std::size_t>(k - 1)] <= 0) --k;
  if (unicode && k > 0 && k < n) {
    std::size_t b = NextClusterBoundary(piece, static_cast<std::size_t>(k));
    if (b > static_cast<std::size_t>(k) && (b > chunk || widths[b - 1] > width)) b = PreviousClusterBoundary(piece, static_cast<std::size_t>(k));
    k = static_cast<int>(b);
  }
  return k;
}

void TPGLineBuilder::RaiseLine(int ascent) {
  if (ascent <= ascent_) return;
  const int delta = ascent - ascent_;
  for (std::size_t i = static_cast<std::size_t>(lineStart_); i < block_.Draw.size(); ++i) block_.Draw[i].Top += delta;
  y_ += delta;
  ascent_ = ascent;
}

void TPGLineBuilder::StartNewLine(int itemNo, bool becauseOfItem) {
  TCustomPGData& d = *p_.Data;
  spaceConsumed_ = false;
  // A wrapped line does not end with the space it wrapped at.
  if (!becauseOfItem && !block_.Draw.empty()) {
    const int last = static_cast<int>(block_.Draw.size()) - 1;
    TPGDrawLineInfo& prev = block_.Draw[static_cast<std::size_t>(last)];
    const int prevItem = first_ + prev.ItemNo;
    const bool afterMarker = prevItem > first_ && d.ItemAt(prevItem - 1).StyleNo == pgsListMarker &&
                             (last == 0 || block_.Draw[static_cast<std::size_t>(last - 1)].ItemNo != prev.ItemNo);
    if (d.ItemAt(prevItem).IsText() && prev.Length > 0 && !prev.StartsLine && !afterMarker) {
      const std::u16string text = p_.Data->DisplayText(prevItem);
      if (IsSpace(text[static_cast<std::size_t>(prev.Offset - 1 + prev.Length - 1)])) {
        const bool ownItemBefore = last > 0 && block_.Draw[static_cast<std::size_t>(last - 1)].ItemNo == prev.ItemNo;
        if (prev.Length > 1 || !ownItemBefore) {
          --prev.Length;
          SelectStyle(prevItem);  // measured in its own font; the caller selects its own again
          prev.Width = prev.JustifyExtra + p_.Canvas->TextExtent(std::u16string_view(text).substr(
                                               static_cast<std::size_t>(prev.Offset - 1), static_cast<std::size_t>(prev.Length))).cx;
        } else {
          block_.Draw.pop_back();
        }
        spaceConsumed_ = true;
      }
    }
  }
  FinishLine(becauseOfItem);
  const TCustomPGItemInfo& item = d.ItemAt(itemNo);
  const bool newParagraph = becauseOfItem && item.StartsPara();
  const TParaInfo& para = p_.Style->ParaStyles[paraNo_];
  if (newParagraph) descent_ += p_.Scale.ScaleY(para.SpaceBefore);
  // Indents of the new line.
  int left = para.LeftIndent, right = para.RightIndent;
  const auto* marker = dynamic_cast<const TPGMarkerItemInfo*>(&d.ItemAt(first_));
  const TPGListLevel* level = marker ? marker->LevelOf(p_.Style) : nullptr;
  TPGBiDiMode mode = para.BiDiMode == pgbdUnspecified ? p_.DocBiDiMode : para.BiDiMode;
  markerLine_ = marker && itemNo == first_;
  if (level) {
    const int levelIndent = markerLine_ ? level->MarkerIndent : level->LeftIndent;
    if (mode == pgbdRightToLeft) right = levelIndent;
    else left = levelIndent;
  } else if (newParagraph && !item.QueryTrait(pgitFullWidth)) {
    left += para.FirstIndent;
  }
  const int wrap = para.Options.Contains(pgpaoNoWrap) ? p_.DocumentWidth : p_.WrapWidth;
  lineWidth_ = wrap - p_.Scale.ScaleX(left + right);
  lineLeft_ = p_.LeftMarginPx + p_.Scale.ScaleX(left);
  x_ = 0;
  lineStart_ = static_cast<int>(block_.Draw.size());
}

void TPGLineBuilder::FinishLine(bool paragraphEnd) {
  if (noLineYet_) {
    noLineYet_ = false;
    spacingBelow_ = 0;
    return;
  }
  const int first = lineStart_;
  const int last = static_cast<int>(block_.Draw.size()) - 1;
  if (last < first) {
    spacingBelow_ = 0;
    return;
  }
  TCustomPGData& d = *p_.Data;
  const TPGDrawLineInfo& lastItem = block_.Draw[static_cast<std::size_t>(last)];
  const TParaInfo& para = p_.Style->ParaStyles[ParaNoOf(first_ + lastItem.ItemNo)];
  TPGBiDiMode mode = para.BiDiMode == pgbdUnspecified ? p_.DocBiDiMode : para.BiDiMode;
  TPGAlignment align = para.Alignment;
  if (align == pgaJustify && mode != pgbdUnspecified) align = pgaLeft;
  const int rightEdge = lineLeft_ + lineWidth_;
  int free = 0;
  if (align == pgaRight || align == pgaCenter || (align == pgaJustify && !paragraphEnd))
    free = rightEdge - (lastItem.Left + lastItem.Width);
  if (align == pgaCenter) free = std::max(free / 2, 0);
  if (align == pgaRight) free = std::max(free, 0);  // a line never starts left of 0
  // Line spacing.
  int spacing = 0;
  if (para.LineSpacingType == pglsSpaceBetween) {
    spacing = para.LineSpacing >= 0 ? p_.Scale.ScaleY(para.LineSpacing) : 0;
  } else if (para.LineSpacing >= 50) {
    int top = 0, bottom = 0;
    bool any = false;
    for (int i = first; i <= last; ++i) {
      const TPGDrawLineInfo& di = block_.Draw[static_cast<std::size_t>(i)];
      if (!d.ItemAt(first_ + di.ItemNo).IsText()) continue;
      top = any ? std::min(top, di.Top) : di.Top;
      bottom = any ? std::max(bottom, di.Bottom()) : di.Bottom();
      any = true;
    }
    if (any) spacing = static_cast<int>(static_cast<std::int64_t>(bottom - top) * (para.LineSpacing - 100) / 100);
  }
  if (spacing != 0)
    for (int i = first; i <= last; ++i) block_.Draw[static_cast<std::size_t>(i)].SpacingBelow = spacing;
  spacingBelow_ = spacing;

  const bool justified = align == pgaJustify && !paragraphEnd && mode == pgbdUnspecified;
  if (!justified) {
    if (free != 0)
      for (int i = first; i <= last; ++i) block_.Draw[static_cast<std::size_t>(i)].Left += free;
  } else if (last > first) {
    int gaps = 0;
    for (int i = first + 1; i <= last; ++i) {
      const TPGDrawLineInfo& di = block_.Draw[static_cast<std::size_t>(i)];
      if (d.ItemAt(first_ + di.ItemNo).IsText() && di.Length > 0 &&
          IsSpace(p_.Data->DisplayText(first_ + di.ItemNo)[static_cast<std::size_t>(di.Offset - 1)]))
        ++gaps;
    }
    for (int i = first + 1; i <= last; ++i) {
      TPGDrawLineInfo& di = block_.Draw[static_cast<std::size_t>(i)];
      if (gaps > 0 && d.ItemAt(first_ + di.ItemNo).IsText() && di.Length > 0 &&
          IsSpace(p_.Data->DisplayText(first_ + di.ItemNo)[static_cast<std::size_t>(di.Offset - 1)])) {
        const int extra = free / gaps;
        di.JustifyExtra = extra;
        di.Width += extra;
        free -= extra;
        --gaps;
      }
      const TPGDrawLineInfo& prev = block_.Draw[static_cast<std::size_t>(i - 1)];
      di.Left = prev.Left + prev.Width;
    }
  }
  if (mode != pgbdUnspecified) ReorderBidi(*p_.Data, p_.Style, block_, first_, first, last, mode, p_.Scale);
}

void TPGLineBuilder::PlaceText(int itemNo, const std::u16string& text, int s, int n, bool mayStartLine, bool firstWord) {
  TCustomPGData& d = *p_.Data;
  const TCustomPGItemInfo& item = d.ItemAt(itemNo);
  SelectStyle(itemNo);
  const bool unicode = item.HasFlag(pgifUnicode);
  bool mustStart = mayStartLine && s == 0 && item.StartsLine();
  const int rel = itemNo - first_;
  auto add = [&](TPGDrawLineInfo di, bool startsLine) {
    if (startsLine) {
      di.Top = y_ + spacingBelow_ + descent_;
      ascent_ = m_.Ascent + m_.VShift;
      y_ = di.Top + ascent_;
      descent_ = m_.Descent - m_.VShift;
      spacingBelow_ = 0;
    } else {
      RaiseLine(m_.Ascent + m_.VShift);
      di.Top = y_ - m_.Ascent - m_.VShift;
      descent_ = std::max(descent_, m_.Descent - m_.VShift);
    }
    di.StartsLine = startsLine;
    di.ItemNo = rel;
    if (block_.FirstDraw[static_cast<std::size_t>(rel)] < 0)
      block_.FirstDraw[static_cast<std::size_t>(rel)] = static_cast<int>(block_.Draw.size());
    block_.Draw.push_back(di);
  };
  if (n == 0) {
    const int height = p_.Canvas->TextExtent(u" ").cy;
    if (mustStart) StartNewLine(itemNo, true);
    TPGDrawLineInfo di;
    di.Left = lineLeft_ + x_;
    di.Width = 0;
    di.Height = height;
    di.Offset = s + 1;
    di.Length = 0;
    add(di, mustStart);
    return;
  }
  bool firstPiece = true;
  bool startsLine = false;
  while (n > 0) {
    if (mustStart) {
      const bool becauseOfItem = firstPiece && firstWord && s == 0 && item.StartsLine();
      StartNewLine(itemNo, becauseOfItem);
      SelectStyle(itemNo);
      if (!becauseOfItem && !spaceConsumed_ && n > 1 && IsSpace(text[static_cast<std::size_t>(s)])) {
        ++s;  // the space at the wrap belongs to no line
        --n;
      }
      startsLine = true;
      mustStart = false;
    }
    const int available = std::max(0, lineWidth_ - x_);
    int k = FitCount(text, s, n, available, unicode);
    const bool lineEmpty = static_cast<int>(block_.Draw.size()) == lineStart_;
    const bool afterMarker = firstPiece && s == 0 && PrevIsMarker(itemNo);
    if (k == 0) {
      if (lineEmpty || afterMarker) {
        k = 1;
        if (unicode)
          k = static_cast<int>(NextClusterBoundary(std::u16string_view(text).substr(static_cast<std::size_t>(s), static_cast<std::size_t>(n)), 1));
      } else {
        mustStart = true;
        firstPiece = false;
        continue;
      }
    }
    bool consumed = false;
    if (k < n) {
      const bool moreOnLine = itemNo + 1 < d.CountItems() && d.ItemAt(itemNo + 1).HasFlag(pgifContinuesPara);
      const std::u16string_view piece = std::u16string_view(text).substr(static_cast<std::size_t>(s), static_cast<std::size_t>(n));
      const TPGBreak br = FindLineBreak(piece, k, moreOnLine, unicode);
      if (br.Found) {
        k = br.RunLength;
        consumed = br.SpaceConsumed;
      } else if (!lineEmpty && !afterMarker) {
        mustStart = true;
        firstPiece = false;
        continue;
      }
    }
    TPGDrawLineInfo di;
    di.Left = lineLeft_ + x_;
    const TSize extent = p_.Canvas->TextExtent(std::u16string_view(text).substr(static_cast<std::size_t>(s), static_cast<std::size_t>(k)));
    di.Width = extent.cx;
    di.Height = extent.cy;
    di.Offset = s + 1;
    di.Length = k;
    add(di, startsLine);
    startsLine = false;
    x_ += di.Width;
    s += k + (consumed ? 1 : 0);
    n -= k + (consumed ? 1 : 0);
    firstPiece = false;
    if (n > 0) mustStart = true;
  }
}

void TPGLineBuilder::PlaceObject(int itemNo) {
  TCustomPGData& d = *p_.Data;
  auto& item = static_cast<TPGRectItemInfo&>(d.ItemAt(itemNo));
  const TParaInfo& para = p_.Style->ParaStyles[paraNo_];
  const int available = std::max(0, p_.WrapWidth - p_.Scale.ScaleX(para.FirstIndent + para.LeftIndent + para.RightIndent));
  int w = 0, h = 0, desc = 0, offset = 0;
  if (auto* marker = dynamic_cast<TPGMarkerItemInfo*>(&item)) {
    TPGBiDiMode mode = para.BiDiMode == pgbdUnspecified ? p_.DocBiDiMode : para.BiDiMode;
    const TPGMarkerBox box = marker->ComputeBox(p_.Style, p_.Canvas, &p_.Scale, mode == pgbdRightToLeft);
    *p_.CanvasStyle = -1;  // the marker selected its own font
    w = box.Width;
    h = box.Height;
    desc = box.Descent;
    offset = box.Offset;
    block_.HasMarker = true;
    block_.MarkerBox = box;
  } else {
    const TPGFitResult fit = item.FitToWidth(available, &p_.Scale, &d, p_.Canvas);
    if (item.QueryTrait(pgitChangesCanvasFont)) *p_.CanvasStyle = -1;
    const auto& nonText = static_cast<const TPGNonTextItemInfo&>(item);
    w = p_.Scale.ScaleX(nonText.BoxWidth());
    h = p_.Scale.ScaleY(nonText.BoxHeight());
    desc = p_.Scale.ScaleY(item.BoxDescent());
    offset = fit.HOffset;
  }
  const int shift = item.VShiftAbs ? p_.Scale.ScaleY(item.VShift) : MulDiv(h, item.VShift, 100);
  const int above = item.VAlign == pgvaMiddle ? h / 2 : h - desc;
  const bool noWrap = para.Options.Contains(pgpaoNoWrap);
  const bool stays = !item.StartsLine() && (x_ + w <= lineWidth_ || noWrap || PrevIsMarker(itemNo));
  TPGDrawLineInfo di;
  if (stays) {
    RaiseLine(above + shift);
    di.Top = y_ - above - shift;
    descent_ = std::max(descent_, h - above - shift);
    di.StartsLine = false;
  } else {
    StartNewLine(itemNo, item.StartsLine());
    di.Top = y_ + spacingBelow_ + descent_;
    ascent_ = above + shift;
    y_ = di.Top + ascent_;
    descent_ = h - ascent_;
    spacingBelow_ = 0;
    di.StartsLine = true;
  }
  di.Left = lineLeft_ + x_ + offset;
  di.Width = w;
  di.Height = h;
  di.ItemNo = itemNo - first_;
  x_ += w + offset;
  block_.FirstDraw[static_cast<std::size_t>(di.ItemNo)] = static_cast<int>(block_.Draw.size());
  block_.Draw.push_back(di);
}

void TPGLineBuilder::PlaceFullLine(int itemNo) {
  TCustomPGData& d = *p_.Data;
  TCustomPGItemInfo& item = d.ItemAt(itemNo);
  FinishLine(true);
  spacingBelow_ = 0;  // the spacing of the line before is recorded on it, but does not move this item
  noLineYet_ = false;
  const TParaInfo& para = p_.Style->ParaStyles[paraNo_];
  descent_ += p_.Scale.ScaleY(para.SpaceBefore);
  TPGDrawLineInfo di;
  di.ItemNo = itemNo - first_;
  di.StartsLine = true;
  if (dynamic_cast<TPGBreakItemInfo*>(&item)) {
    descent_ += p_.Scale.ScaleY(p_.Style->ParaStyles[0].SpaceBefore);
    const int m = p_.Scale.ScaleY(5);
    di.Left = p_.LeftMarginPx;
    di.Top = y_ + descent_;
    di.Width = p_.WrapWidth;
    di.Height = 2 * m + 1;
    y_ = di.Top + m + 1;
    ascent_ = m;
    descent_ = m;
  } else {
    const int available = p_.WrapWidth - p_.Scale.ScaleX(para.LeftIndent + para.RightIndent);
    const TPGFitResult fit = item.FitToWidth(available, &p_.Scale, &d, p_.Canvas);
    *p_.CanvasStyle = -1;
    const auto& nonText = static_cast<const TPGNonTextItemInfo&>(item);
    const int w = p_.Scale.ScaleX(nonText.BoxWidth());
    const int h = p_.Scale.ScaleY(nonText.BoxHeight());
    int alignOffset = 0;
    if (para.Alignment == pgaRight) alignOffset = available - w;
    else if (para.Alignment == pgaCenter) alignOffset = (available - w) / 2;
    di.Left = p_.LeftMarginPx + p_.Scale.ScaleX(para.LeftIndent) + alignOffset + fit.HOffset;
    if (para.Alignment == pgaCenter && di.Left < 0) di.Left = 0;
    di.Top = y_ + descent_;
    di.Width = w;
    di.Height = h;
    y_ = di.Top + h;
    ascent_ = h;
    descent_ = 0;
  }
  lineLeft_ = di.Left;
  lineWidth_ = di.Width;
  lineStart_ = static_cast<int>(block_.Draw.size());
  x_ = di.Width;
  block_.FullWidth = true;
  block_.FirstDraw[static_cast<std::size_t>(di.ItemNo)] = lineStart_;
  block_.Draw.push_back(di);
}

}  // namespace pagora
