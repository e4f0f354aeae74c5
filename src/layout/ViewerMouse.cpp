// The viewer's mouse: hover over links, presses, selection by characters, words, lines and
// paragraphs, clicks on links, double clicks, auto-scrolling, and the word at a point.
#include <algorithm>

#include "layout/Pagora.h"
#include "model/ControlItem.h"
#include "model/PGItem.h"
#include "model/PGStyle.h"
#include "platform/TextEncoding.h"

namespace pagora {

namespace {

using TPosition = TCustomPGFormattedData::TPosition;

bool Before(TPosition a, TPosition b) {
  return a.DrawItem < b.DrawItem || (a.DrawItem == b.DrawItem && a.Offset < b.Offset);
}

int AutoScrollAmount(int v, int size) {
  if (v < -20) return -10;
  if (v < 0) return -1;
  if (v > size + 20) return 10;
  if (v > size) return 1;
  return 0;
}

}  // namespace

// ---------------------------------------------------------------- words

bool TCustomPagora::IsDelimiter(char16_t c) const {
  for (unsigned char d : Delimiters)
    if (d < 0x80 && c == d) return true;
  if (c < 0x80) return false;
  const std::u16string wide = UTF8ToUTF16(Delimiters);
  return wide.find(c) != std::u16string::npos;
}

bool TCustomPagora::WordAround(int drawItem, int offset, int& start, int& end) const {
  if (drawItem < 0 || drawItem >= data_->DrawItemCount()) return false;
  if (!data_->ItemAt(data_->DrawItem(drawItem).ItemNo).IsText()) return false;
  const std::u16string text = data_->DrawItemText(drawItem);
  const int p = offset - 1;  // the boundary before character p
  const int n = static_cast<int>(text.size());
  const bool leftIn = p > 0 && p <= n && !IsDelimiter(text[static_cast<std::size_t>(p - 1)]);
  const bool rightIn = p >= 0 && p < n && !IsDelimiter(text[static_cast<std::size_t>(p)]);
  if (!leftIn && !rightIn) return false;
  int s = p, e = p;
  while (s > 0 && !IsDelimiter(text[static_cast<std::size_t>(s - 1)])) --s;
  while (e < n && !IsDelimiter(text[static_cast<std::size_t>(e)])) ++e;
  start = s + 1;
  end = e + 1;
  return true;
}

TPGClickedWord TCustomPagora::WordAtClientPoint(int x, int y) {
  TPGClickedWord result;
  if (!data_->IsFormatted()) return result;
  const TPoint p = ClientToDocument({x, y});
  const int d = data_->FindDrawItemUnderPoint(p.X, p.Y);
  if (d < 0) return result;
  const TPGDrawLineInfo di = data_->DrawItem(d);
  const TCustomPGItemInfo& item = data_->ItemAt(di.ItemNo);
  result.Data = data_.get();
  result.ItemNo = di.ItemNo;
  if (!item.IsText()) {
    result.Word = data_->TextOfW(di.ItemNo);
    result.Style = item.StyleNo;
    result.Offset = 0;
    return result;
  }
  result.Style = data_->EffectiveStyleOf(di.ItemNo);
  const int c = data_->CharacterAtX(d, p.X);
  const std::u16string text = data_->DrawItemText(d);
  if (c < 0 || c >= static_cast<int>(text.size()) || IsDelimiter(text[static_cast<std::size_t>(c)])) {
    result.Offset = di.Offset + std::max(c, 0);
    return result;
  }
  int s = 0, e = 0;
  WordAround(d, c + 1, s, e);
  result.Word = text.substr(static_cast<std::size_t>(s - 1), static_cast<std::size_t>(e - s));
  result.Offset = di.Offset + s - 1;
  return result;
}

bool TCustomPagora::SelectWordAt(int x, int y) {
  const TPoint p = ClientToDocument({x, y});
  const int d = data_->FindDrawItemUnderPoint(p.X, p.Y);
  if (d < 0) return false;
  if (!data_->ItemAt(data_->DrawItem(d).ItemNo).IsText()) {
    data_->SetSelectionBounds(d, 0, d, 1);
    return true;
  }
  const int c = data_->CharacterAtX(d, p.X);
  int s = 0, e = 0;
  if (c < 0 || !WordAround(d, c + 1, s, e) || c + 1 >= e) return false;
  data_->SetSelectionBounds(d, s, d, e);
  return true;
}

// ---------------------------------------------------------------- selection helpers

bool TCustomPagora::BeforeSelection(TPosition p) const {
  const TPGSelectionRange r = data_->NormalizedSelection();
  return r.StartDraw < 0 || Before(p, {r.StartDraw, r.StartOffset});
}

bool TCustomPagora::AfterSelection(TPosition p) const {
  const TPGSelectionRange r = data_->NormalizedSelection();
  return r.StartDraw < 0 || Before({r.EndDraw, r.EndOffset}, p);
}

bool TCustomPagora::InsideSelection(int drawItem, int offset) const {
  if (!data_->SelectionExists()) return false;
  const TPGSelectionRange r = data_->NormalizedSelection();
  const TPosition p{drawItem, offset};
  return Before({r.StartDraw, r.StartOffset}, p) && Before(p, {r.EndDraw, r.EndOffset});
}

void TCustomPagora::SelectionChanged() {
  if (Host()) Host()->InvalidateAll();
}

void TCustomPagora::RaiseSelect() {
  if (OnSelect && HasWindow() && !destroying_) OnSelect(*this);
}

void TCustomPagora::SelectLines(int anchorDraw, int endDraw) {
  int af = 0, al = 0, ef = 0, el = 0;
  data_->GetLineRange(anchorDraw, af, al);
  data_->GetLineRange(endDraw, ef, el);
  if (Style && Style->SelectionMode == pgsmParagraph) {
    const int aFirstItem = data_->ParaFirstItem(data_->DrawItem(anchorDraw).ItemNo);
    const int eFirstItem = data_->ParaFirstItem(data_->DrawItem(endDraw).ItemNo);
    if (aFirstItem != eFirstItem) {
      auto paraDraws = [&](int d, int& first, int& last) {
        const int item = data_->DrawItem(d).ItemNo;
        first = data_->FirstDrawItemOf(data_->ParaFirstItem(item));
        const int next = data_->ParaLastItem(item) + 1;
        last = next < data_->CountItems() ? data_->FirstDrawItemOf(next) - 1 : data_->DrawItemCount() - 1;
      };
      paraDraws(anchorDraw, af, al);
      paraDraws(endDraw, ef, el);
    }
  }
  if (endDraw >= anchorDraw)
    data_->SetSelectionBounds(af, data_->DrawOffsetBefore(af), el, data_->DrawOffsetAfter(el));
  else
    data_->SetSelectionBounds(al, data_->DrawOffsetAfter(al), ef, data_->DrawOffsetBefore(ef));
}

void TCustomPagora::ApplySelectionModes(TPosition at) {
  TPGSelectingInfo* info = selectingInfo_.get();
  int anchorDraw = 0, anchorOffset = 0, endDraw = 0, endOffset = 0;
  data_->GetSelectionBounds(anchorDraw, anchorOffset, endDraw, endOffset);
  if (!info || !Style || Style->SelectionMode == pgsmChar) {
    data_->SetSelectionBounds(anchorDraw, anchorOffset, at.DrawItem, at.Offset);
    return;
  }
  const TPosition anchor{info->AnchorDraw, info->AnchorOffset};
  if (Style->SelectionMode == pgsmParagraph) {
    const int ai = data_->DrawItem(anchor.DrawItem).ItemNo, ei = data_->DrawItem(at.DrawItem).ItemNo;
    if (data_->ParaFirstItem(ai) == data_->ParaFirstItem(ei)) {
      data_->SetSelectionBounds(anchor.DrawItem, anchor.Offset, at.DrawItem, at.Offset);
      return;
    }
    auto paraBounds = [&](int item, int& first, int& last) {
      first = data_->FirstDrawItemOf(data_->ParaFirstItem(item));
      const int next = data_->ParaLastItem(item) + 1;
      last = next < data_->CountItems() ? data_->FirstDrawItemOf(next) - 1 : data_->DrawItemCount() - 1;
    };
    int af = 0, al = 0, ef = 0, el = 0;
    paraBounds(ai, af, al);
    paraBounds(ei, ef, el);
    if (Before(anchor, at))
      data_->SetSelectionBounds(af, data_->DrawOffsetBefore(af), el, data_->DrawOffsetAfter(el));
    else
      data_->SetSelectionBounds(al, data_->DrawOffsetAfter(al), ef, data_->DrawOffsetBefore(ef));
    return;
  }
  // Word mode.
  const bool inAnchorWord = info->AnchorInWord && at.DrawItem == info->AnchorDraw &&
                            at.Offset >= info->AnchorWordStart && at.Offset <= info->AnchorWordEnd;
  if (inAnchorWord) {
    info->AnchorSnapped = info->EndSnapped = info->EndByChars = false;
    info->LastDraw = at.DrawItem;
    info->LastOffset = at.Offset;
    data_->SetSelectionBounds(anchor.DrawItem, anchor.Offset, at.DrawItem, at.Offset);
    return;
  }
  const bool backwards = Before(at, anchor);
  TPosition newAnchor = anchor;
  if (info->AnchorInWord) {
    newAnchor.Offset = backwards ? info->AnchorWordEnd : info->AnchorWordStart;
    info->AnchorSnapped = true;
  }
  TPosition end = at;
  const bool inEndWord = info->EndSnapped && at.DrawItem == info->EndWordDraw && at.Offset >= info->EndWordStart &&
                         at.Offset <= info->EndWordEnd;
  int s = 0, e = 0;
  if (inEndWord) {
    const TPosition last{info->LastDraw, info->LastOffset};
    if (backwards ? Before(last, at) : Before(at, last)) info->EndByChars = true;  // moved back
    if (!info->EndByChars) end.Offset = backwards ? info->EndWordStart : info->EndWordEnd;
  } else if (WordAround(at.DrawItem, at.Offset, s, e)) {
    end.Offset = backwards ? s : e;
    info->EndSnapped = true;
    info->EndByChars = false;
    info->EndWordDraw = at.DrawItem;
    info->EndWordStart = s;
    info->EndWordEnd = e;
  } else {
    info->EndSnapped = info->EndByChars = false;
  }
  info->LastDraw = at.DrawItem;
  info->LastOffset = at.Offset;
  data_->SetSelectionBounds(newAnchor.DrawItem, newAnchor.Offset, end.DrawItem, end.Offset);
}

void TCustomPagora::MoveSelectionEnd(int x, int y) {
  if (!data_->IsFormatted() || data_->DrawItemCount() == 0) return;
  const TSize client = ClientSize();
  x = std::clamp(x, 0, std::max(client.cx - 1, 0));
  y = std::clamp(y, 0, std::max(client.cy - 1, 0));
  const TPosition at = FindDrawItemAtClientPoint(x, y, false);
  if (at.DrawItem < 0) return;
  int a0 = 0, a1 = 0, e0 = 0, e1 = 0;
  data_->GetSelectionBounds(a0, a1, e0, e1);
  if (lineSelecting_ && selectingInfo_)
    SelectLines(selectingInfo_->AnchorDraw, at.DrawItem);
  else
    ApplySelectionModes(at);
  int b0 = 0, b1 = 0, f0 = 0, f1 = 0;
  data_->GetSelectionBounds(b0, b1, f0, f1);
  if (a0 != b0 || a1 != b1 || e0 != f0 || e1 != f1) SelectionChanged();
}

// ---------------------------------------------------------------- hover

int TCustomPagora::JumpAtDocumentPoint(TPoint p) const {
  if (!data_->IsFormatted()) return -1;
  const TPGJumpInfo* j = data_->JumpAtPoint(p.X, p.Y);
  return j ? j->JumpIndex : -1;
}

void TCustomPagora::SetHoveredJump(int jump) {
  if (jump == hoverJump_) return;
  const int old = hoverJump_;
  const bool wasActive = hoverActive_;
  hoverJump_ = jump;
  hoverActive_ = false;
  if (jump >= 0) {
    const auto areas = data_->JumpAreas(jump);
    if (!areas.empty())
      hoverActive_ =
          data_->ItemAt(data_->DrawItem(areas.front().DrawItemNo).ItemNo).QueryStyledTrait(pgstHoverSensitive, Style);
  }
  if (old >= 0 && wasActive) InvalidateJump(old);
  if (hoverActive_) InvalidateJump(jump);
  if (OnPGMouseMove) OnPGMouseMove(*this, jump >= 0 ? jump + FirstJumpNo : -1);
}

void TCustomPagora::UpdateHover(TShiftState /*shift*/, int x, int y) {
  IHost* host = Host();
  const TPoint p = ClientToDocument({x, y});
  if (const TPGJumpInfo* j = data_->IsFormatted() ? data_->JumpAtPoint(p.X, p.Y) : nullptr) {
    SetHoveredJump(j->JumpIndex);
    host->SetCursor(j->Cursor);
    return;
  }
  SetHoveredJump(-1);
  const int d = data_->IsFormatted() ? data_->FindDrawItemUnderPoint(p.X, p.Y) : -1;
  if (Options.Contains(pgoShowItemHints)) {
    if (d < 0) {
      host->CancelHint();
    } else {
      const int itemNo = data_->DrawItem(d).ItemNo;
      std::string hint = data_->ItemAt(itemNo).Hint();
      if (OnItemHint) OnItemHint(*this, *data_, itemNo, hint);
      if (hint.empty())
        host->CancelHint();
      else
        host->ShowHint(hint);
    }
  }
  if (CanDragSelection() && d >= 0) {
    const TPosition at = data_->FindDrawItemAtPoint(p.X, p.Y, false);
    if (InsideSelection(at.DrawItem, at.Offset)) {
      host->SetCursor(kCursorArrow);
      return;
    }
  }
  host->SetCursor(Cursor);
}

// ---------------------------------------------------------------- mouse events

void TCustomPagora::MouseMove(TShiftState shift, int x, int y) {
  IHost* host = Host();
  if (!host) return;
  const TSize client = ClientSize();
  autoScrollY_ = AutoScrollAmount(y, client.cy);
  autoScrollX_ = AutoScrollAmount(x, client.cx);
  if (selecting_) MoveSelectionEnd(x, y);
  const bool rtl = BiDiMode == pgbdRightToLeft;
  if (selecting_ || ClientToDocument({x, y}).X >= LeftMargin || rtl || !AllowSelection()) {
    UpdateHover(shift, x, y);
  } else {
    SetHoveredJump(-1);
    host->SetCursor(Style ? Style->LineSelectCursor : kCursorDefault);
  }
}

void TCustomPagora::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  IHost* host = Host();
  if (!host) return;
  const TPoint p = ClientToDocument({x, y});
  const bool formatted = data_->IsFormatted() && data_->DrawItemCount() > 0;
  const int under = formatted ? data_->FindDrawItemUnderPoint(p.X, p.Y) : -1;
  if (!shift.Contains(ssDouble)) host->SetFocus();
  if (focusedJump_ >= 0) {
    InvalidateJump(focusedJump_);
    focusedJump_ = -1;
  }
  if (OnPGMouseDown) OnPGMouseDown(*this, button, shift, under < 0 ? -1 : data_->DrawItem(under).ItemNo, x, y);
  if (button != mbLeft) return;
  host->StartTimer(kAutoScrollTimerId, kAutoScrollInterval);
  host->CaptureMouse();
  pressedJump_ = JumpAtDocumentPoint(p);
  if (SingleClick() && OnPGDblClick && !shift.Contains(ssDouble)) {
    const TPGClickedWord word = WordAtClientPoint(x, y);
    if (word.Found()) OnPGDblClick(*this, word.Word, word.Style);
  }
  if (!AllowSelection() || !formatted) return;
  const TPosition at = FindDrawItemAtClientPoint(x, y, false);
  int anchorDraw = 0, anchorOffset = 0, endDraw = 0, endOffset = 0;
  data_->GetSelectionBounds(anchorDraw, anchorOffset, endDraw, endOffset);
  if (!shift.Contains(ssShift) && p.X >= LeftMargin && CanDragSelection() && InsideSelection(at.DrawItem, at.Offset)) {
    StartSelectionDrag();
    return;
  }
  const bool extend = shift.Contains(ssShift) && anchorDraw >= 0 && anchorDraw < data_->DrawItemCount();
  if (!extend) {
    anchorDraw = at.DrawItem;
    anchorOffset = at.Offset;
  }
  selectingInfo_.reset();
  if (at.DrawItem < 0) {
    data_->Deselect();
    SelectionChanged();
    return;
  }
  selecting_ = true;
  data_->SetSelectionBounds(anchorDraw, anchorOffset, at.DrawItem, at.Offset);
  auto info = std::make_unique<TPGSelectingInfo>();
  info->AnchorDraw = anchorDraw;
  info->AnchorOffset = anchorOffset;
  const bool rtl = BiDiMode == pgbdRightToLeft;
  if (!rtl && p.X < LeftMargin && !shift.Contains(ssShift)) {
    lineSelecting_ = true;
    selectingInfo_ = std::move(info);
    SelectLines(anchorDraw, anchorDraw);
  } else if (Style && Style->SelectionMode != pgsmChar) {
    info->AnchorInWord = Style->SelectionMode == pgsmWord &&
                         WordAround(anchorDraw, anchorOffset, info->AnchorWordStart, info->AnchorWordEnd) &&
                         anchorOffset > info->AnchorWordStart && anchorOffset < info->AnchorWordEnd;
    selectingInfo_ = std::move(info);
    if (Style->SelectionMode == pgsmParagraph && shift.Contains(ssShift)) ApplySelectionModes(at);
  }
  SelectionChanged();
}

void TCustomPagora::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  IHost* host = Host();
  if (!host) return;
  if (button == mbLeft) {
    autoScrollX_ = autoScrollY_ = 0;
    host->StopTimer(kAutoScrollTimerId);
    host->ReleaseMouse();
    if (selecting_) {
      if (!ignoreNextRelease_) MoveSelectionEnd(x, y);
      selecting_ = lineSelecting_ = false;
      selectingInfo_.reset();
      SelectionChanged();
      RaiseSelect();
    }
    ignoreNextRelease_ = false;
  }
  const bool formatted = data_->IsFormatted() && data_->DrawItemCount() > 0;
  if (button == mbRight && Options.Contains(pgoRClickDeselects) && AllowSelection() && formatted) {
    const TPosition at = FindDrawItemAtClientPoint(x, y, false);
    if (at.DrawItem >= 0 && (BeforeSelection(at) || AfterSelection(at))) {
      data_->SetSelectionBounds(at.DrawItem, at.Offset, at.DrawItem, at.Offset);
      SelectionChanged();
      RaiseSelect();
    }
  }
  const TPoint p = ClientToDocument({x, y});
  const int under = formatted ? data_->FindDrawItemUnderPoint(p.X, p.Y) : -1;
  if (under >= 0 && button != mbMiddle && !HasSelection()) {
    // A click on an embedded control gives it the keyboard.
    const auto* item = dynamic_cast<const TPGControlItemInfo*>(&data_->ItemAt(data_->DrawItem(under).ItemNo));
    if (item && item->Control && item->Control->CanFocus()) item->Control->SetFocus();
  }
  if (OnPGMouseUp) OnPGMouseUp(*this, button, shift, under < 0 ? -1 : data_->DrawItem(under).ItemNo, x, y);
  if (button == mbRight && OnPGRightClick) {
    const TPGClickedWord word = WordAtClientPoint(x, y);
    const TPoint screen = host->ClientToScreen({x, y});
    if (word.Found()) OnPGRightClick(*this, word.Word, word.Style, screen.X, screen.Y);
  }
  if (button == mbLeft && pressedJump_ >= 0 && OnJump && !HasSelection() && JumpAtDocumentPoint(p) == pressedJump_)
    OnJump(*this, pressedJump_ + FirstJumpNo);
  if (button == mbLeft) pressedJump_ = -1;
  if (button == mbRight) host->PopupMenu(host->ClientToScreen({x, y}));
}

void TCustomPagora::DoubleClick(TShiftState shift, int x, int y) {
  MouseDown(mbLeft, shift | TShiftState{ssDouble}, x, y);
  const bool selectsWord = Options.Contains(pgoDblClickSelectsWord);
  if (!selectsWord && !(OnPGDblClick && !SingleClick())) return;
  const TPGClickedWord word = WordAtClientPoint(x, y);
  if (selectsWord && AllowSelection()) {
    if (SelectWordAt(x, y)) ignoreNextRelease_ = true;
    SelectionChanged();
  }
  if (OnPGDblClick && word.Found()) OnPGDblClick(*this, word.Word, word.Style);
}

void TCustomPagora::TripleClick(TShiftState shift, int x, int y) {
  MouseDown(mbLeft, shift | TShiftState{ssDouble}, x, y);
  if (!AllowSelection() || !data_->IsFormatted() || data_->DrawItemCount() == 0) return;
  const TPosition at = FindDrawItemAtClientPoint(x, y, false);
  if (at.DrawItem < 0) return;
  const int item = data_->DrawItem(at.DrawItem).ItemNo;
  const int first = data_->FirstDrawItemOf(data_->ParaFirstItem(item));
  const int next = data_->ParaLastItem(item) + 1;
  const int last = next < data_->CountItems() ? data_->FirstDrawItemOf(next) - 1 : data_->DrawItemCount() - 1;
  data_->SetSelectionBounds(first, data_->DrawOffsetBefore(first), last, data_->DrawOffsetAfter(last));
  ignoreNextRelease_ = true;
  SelectionChanged();
}

void TCustomPagora::MouseLeave() { SetHoveredJump(-1); }

void TCustomPagora::TimerFired(int id) {
  if (id != kAutoScrollTimerId || !Host()) return;
  if (autoScrollX_ == 0 && autoScrollY_ == 0) return;
  if (autoScrollY_ != 0) SetVPos(VPos() + autoScrollY_);
  if (autoScrollX_ != 0) SetHPos(HPos() + autoScrollX_);
  const TPoint p = Host()->CursorPos();
  MouseMove(Host()->KeyboardState(), p.X, p.Y);
}

}  // namespace pagora
