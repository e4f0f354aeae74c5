// The viewer control: properties, formatting, painting, the selection operations,
// keyboard and focus, checkpoint events and deferred events. The mouse is in
// ViewerMouse.cpp, copying in ViewerClipboard.cpp.
#include "layout/Pagora.h"

#include <algorithm>
#include <exception>

#include "layout/DocumentPainting.h"
#include "model/ControlItem.h"
#include "model/PGItem.h"
#include "model/PGStyle.h"
#include "platform/Canvas.h"
#include "platform/IntMath.h"
#include "platform/TextEncoding.h"

namespace pagora {

// ---------------------------------------------------------------- the viewer's document

TPagoraPGData::TPagoraPGData(TCustomPagora& control) : TCustomPGFormattedData(&control), control_(control) {}

const TPGLayoutSettings& TPagoraPGData::LayoutSettings() const {
  const TCustomPagora& c = control_;
  const TSize client = c.ClientSize();
  settings_.LeftMargin = c.LeftMargin;
  settings_.RightMargin = c.RightMargin;
  settings_.TopMargin = c.TopMargin;
  settings_.BottomMargin = c.BottomMargin;
  settings_.MinTextWidth = c.MinTextWidth;
  settings_.MaxTextWidth = c.MaxTextWidth;
  settings_.AreaWidth = client.cx;
  settings_.AreaHeight = client.cy;
  settings_.OwnerFlags = c.OwnerFlags;
  settings_.ScreenPpi = c.ScreenPpi;
  return settings_;
}

ICanvas* TPagoraPGData::FormattingCanvas() const {
  return control_.Host() ? &control_.Host()->MeasureCanvas() : nullptr;
}

void TPagoraPGData::SetScrollSizes(int width, int height) {
  control_.SetScrollSizes(width, height, control_.choosingStep_);
}

int TPagoraPGData::VerticalScrollPosition() const { return control_.DocumentTopInWindow(); }

void TPagoraPGData::ScrollToPosition(int y) { control_.ScrollToY(y + control_.VAlignOffset()); }

// ---------------------------------------------------------------- the control

TCustomPagora::TCustomPagora() : data_(std::make_unique<TPagoraPGData>(*this)) {}

TCustomPagora::~TCustomPagora() {
  destroying_ = true;
  if (Host()) Host()->StopTimer(kAutoScrollTimerId);
  data_->Clear();
}

void TCustomPagora::WindowCreated() {
  if (data_->CountItems() > 0)
    FormatKeepingPosition();
  else
    SetScrollSizes(ClientSize().cx, ClientSize().cy, false);
}

void TCustomPagora::Beep() {
  if (Host()) Host()->Beep();
  TPGDocumentSettings::Beep();
}

TColor TCustomPagora::EffectiveColor() const {
  if (Color != clNone) return Color;
  return Style ? Style->Color : clWindow;
}

void TCustomPagora::SetStyle(TPGStyle* style) {
  Style = style;
  if (Options.Contains(pgoFormatInvalidate) && Host()) Host()->InvalidateAll();
}

void TCustomPagora::SetBiDiMode(TPGBiDiMode mode) {
  if (BiDiMode == mode) return;
  BiDiMode = mode;
  Format();
}

void TCustomPagora::SetBackgroundStyle(TBackgroundStyle style) {
  background_.Style = style;
  if (Options.Contains(pgoFormatInvalidate) && Host()) Host()->InvalidateAll();
}

void TCustomPagora::SetBackgroundBitmap(std::unique_ptr<TGraphic> picture) {
  background_.Picture = std::move(picture);
  if (Options.Contains(pgoFormatInvalidate) && Host()) Host()->InvalidateAll();
}

bool TCustomPagora::FullRedrawOnScroll() const {
  const TGraphic* picture = background_.Picture.get();
  if (!picture || picture->Empty()) return false;
  return background_.Style != bsNoBitmap && background_.Style != bsTiledAndScrolled;
}

// ---------------------------------------------------------------- formatting

void TCustomPagora::Format() {
  if (!HasWindow()) return;
  choosingStep_ = true;
  try {
    data_->Format(true, true);
  } catch (...) {
    choosingStep_ = false;
    throw;
  }
  choosingStep_ = false;
  LayoutChanged();
  if (Options.Contains(pgoFormatInvalidate)) Host()->InvalidateAll();
}

void TCustomPagora::FormatKeepingPosition() {
  if (!HasWindow()) return;
  data_->FormatKeepingPosition(false);
  LayoutChanged();
}

void TCustomPagora::LayoutChanged() {
  // Word and line modes of a selection in progress hold drawing positions of the old layout;
  // it goes on by characters from the converted anchor.
  selectingInfo_.reset();
  lineSelecting_ = false;
  PlaceControls();
}

void TCustomPagora::PlaceControls() {
  controls_.clear();
  if (OwnerFlags.Contains(pgofPrinting) || !data_->IsFormatted()) return;
  for (int i = 0; i < data_->CountItems(); ++i) {
    if (data_->ItemAt(i).StyleNo != pgsComponent) continue;
    auto* item = dynamic_cast<TPGControlItemInfo*>(&data_->ItemAt(i));
    if (!item || !item->Control) continue;
    const int d = data_->FirstDrawItemOf(i);
    if (d < 0) continue;
    const TPGDrawLineInfo di = data_->DrawItem(d);
    const int s = item->Spacing();
    controls_.push_back({item->Control.get(),
                         Bounds(di.Left + s, di.Top + s, item->Control->Width(), item->Control->Height())});
  }
  MoveControls();
}

void TCustomPagora::MoveControls() {
  // Far-off controls are parked near the window, as window systems limit coordinates.
  constexpr int kFarAway = 10000;
  for (const TPlacedControl& c : controls_) {
    const TPoint p = DocumentToClient({c.Bounds.Left, c.Bounds.Top});
    c.Control->SetBounds(Bounds(std::clamp(p.X, -kFarAway, kFarAway), std::clamp(p.Y, -kFarAway, kFarAway),
                                c.Bounds.Width(), c.Bounds.Height()));
    c.Control->SetVisible(true);
  }
}

void TCustomPagora::Resized() {
  FormatKeepingPosition();
  UpdateScrollBars();
  if (Host()) Host()->InvalidateAll();
}

void TCustomPagora::Clear() {
  controls_.clear();
  data_->Clear();
  hoverJump_ = pressedJump_ = focusedJump_ = -1;
  hoverActive_ = selecting_ = lineSelecting_ = false;
  selectingInfo_.reset();
  lastReportedCheckpoint_ = nullptr;
  checkpointReported_ = false;
}

int TCustomPagora::VAlignOffset() const {
  if (VAlign == tlTop || !data_->IsFormatted()) return 0;
  const int free = ClientSize().cy - data_->DocumentHeight();
  if (free <= 0) return 0;
  return VAlign == tlCenter ? free / 2 : free;
}

int TCustomPagora::DocumentTopInWindow() const { return VPos() * VStep() - VAlignOffset(); }

TPoint TCustomPagora::ClientToDocument(TPoint p) const { return {p.X + HPos(), p.Y + DocumentTopInWindow()}; }

TPoint TCustomPagora::DocumentToClient(TPoint p) const { return {p.X - HPos(), p.Y - DocumentTopInWindow()}; }

TCustomPGFormattedData::TPosition TCustomPagora::FindDrawItemAtClientPoint(int x, int y, bool strict) {
  const TPoint p = ClientToDocument({x, y});
  return data_->FindDrawItemAtPoint(p.X, p.Y, strict);
}

int TCustomPagora::FindItemAtClientPoint(int x, int y) const {
  const TPoint p = ClientToDocument({x, y});
  const int d = data_->FindDrawItemUnderPoint(p.X, p.Y);
  return d < 0 ? -1 : data_->DrawItem(d).ItemNo;
}

// ---------------------------------------------------------------- selection operations

void TCustomPagora::Deselect() {
  data_->Deselect();
  selectingInfo_.reset();
  if (Host()) Host()->InvalidateAll();
}

void TCustomPagora::SelectAll() {
  data_->SelectAll();
  if (Host()) Host()->InvalidateAll();
}

bool TCustomPagora::HasSelection() const { return data_->SelectionExists(); }

void TCustomPagora::SelectRange(int firstItem, int firstOffset, int lastItem, int lastOffset) {
  int ad = -1, ao = 0, ed = -1, eo = 0;
  if (data_->ItemToDrawPosition(firstItem, firstOffset, ad, ao) &&
      data_->ItemToDrawPosition(lastItem, lastOffset, ed, eo))
    data_->SetSelectionBounds(ad, ao, ed, eo);
  else
    data_->Deselect();
  if (Host()) Host()->InvalidateAll();
}

const TGraphic* TCustomPagora::GetSelectionPicture() const {
  TPGTextRange r;
  if (!data_->SelectionAsItemRange(r)) return nullptr;
  if (r.FirstItem != r.LastItem || r.FirstOffs != 0 || r.LastOffs != 1) return nullptr;
  const TCustomPGItemInfo& item = data_->ItemAt(r.FirstItem);
  if (item.StyleNo != pgsPicture && item.StyleNo != pgsHotPicture) return nullptr;
  return item.GetGraphic();
}

// ---------------------------------------------------------------- painting

namespace {

constexpr int kNoticeFontPoints = 8;
constexpr int kErrorFontPoints = 10;

// Greedy word wrap of one paragraph into lines no wider than width.
std::vector<std::u16string> WrapWords(ICanvas& canvas, const std::u16string& text, int width) {
  std::vector<std::u16string> lines;
  std::u16string line;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t j = text.find(u' ', i);
    if (j == std::u16string::npos) j = text.size();
    const std::u16string word = text.substr(i, j - i);
    const std::u16string candidate = line.empty() ? word : line + u' ' + word;
    if (!line.empty() && canvas.TextExtent(candidate).cx > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = candidate;
    }
    i = j + 1;
  }
  lines.push_back(line);
  return lines;
}

TFontSpec PointFont(const char* name, int points, const ICanvas& canvas) {
  TFontSpec font;
  font.Name = name;
  font.PixelSize = MulDiv(points, canvas.FontPixelsPerInch(), 72);
  return font;
}

}  // namespace

void TCustomPagora::PaintNoStyleNotice(ICanvas& canvas, const TRect& clip) {
  const TSize client = ClientSize();
  canvas.SetBrush({EffectiveColor(), TBrushStyle::Solid});
  canvas.FillRect(clip);
  canvas.SetFont(PointFont("MS Sans Serif", kNoticeFontPoints, canvas));
  canvas.SetTextColor(clWindowText);
  canvas.SetTextAlign(TA_LEFT | TA_TOP);
  TTextMetrics m;
  const int lineHeight = canvas.GetTextMetrics(m) ? m.Height : canvas.Font().PixelSize;
  int y = 0;
  for (const std::string& paragraph :
       {std::string("Style is not defined"), "Create a TPGStyle object and assign it to " + Name + ".Style"})
    for (const std::u16string& line : WrapWords(canvas, UTF8ToUTF16(paragraph), client.cx)) {
      canvas.TextOut(0, y, line);
      y += lineHeight;
    }
}

void TCustomPagora::PaintBackground(ICanvas& canvas, const TRect& clip) {
  const TGraphic* picture = background_.Picture.get();
  const bool hasPicture = picture && !picture->Empty();
  const TColor color = EffectiveColor();
  if (color != clNone && (!hasPicture || picture->Transparent() || background_.Style == bsNoBitmap ||
                          background_.Style == bsCentered)) {
    canvas.SetBrush({color, TBrushStyle::Solid});
    canvas.FillRect(clip);
  }
  if (!hasPicture || background_.Style == bsNoBitmap) return;
  const TRasterImage& image = picture->DisplayPixels();
  if (image.Empty()) return;
  const TSize client = ClientSize();
  const int w = image.Width, h = image.Height;
  switch (background_.Style) {
    case bsStretched: canvas.DrawImage({0, 0, client.cx, client.cy}, image, true); break;
    case bsCentered: canvas.DrawImage(Bounds((client.cx - w) / 2, (client.cy - h) / 2, w, h), image); break;
    case bsTiled:
    case bsTiledAndScrolled: {
      // Tiles start at the window's corner, or at the document's origin so that they move.
      int ox = 0, oy = 0;
      if (background_.Style == bsTiledAndScrolled) {
        ox = -(HPos() % w);
        oy = -(DocumentTopInWindow() % h);
        if (oy > 0) oy -= h;
      }
      for (int y = oy + ((clip.Top - oy) / h) * h; y < clip.Bottom; y += h)
        for (int x = ox + ((clip.Left - ox) / w) * w; x < clip.Right; x += w) canvas.DrawImage(Bounds(x, y, w, h), image);
      break;
    }
    case bsNoBitmap: break;
  }
}

void TCustomPagora::PaintDocument(ICanvas& canvas, const TRect& clip) {
  if (!data_->IsFormatted()) return;
  TPGPaintSettings s;
  s.Clip = clip;
  s.ScrollX = HPos();
  s.ScrollY = DocumentTopInWindow();
  s.ClientWidth = ClientSize().cx;
  s.Selection = data_->NormalizedSelection();
  s.Focused = Host() && Host()->HasFocus();
  if (hoverActive_ && hoverJump_ >= 0) {
    const auto areas = data_->JumpAreas(hoverJump_);
    if (!areas.empty()) s.HoverItem = data_->DrawItem(areas.front().DrawItemNo).ItemNo;
  }
  s.Control = this;
  PaintFormattedData(*data_, canvas, s);
}

void TCustomPagora::PaintFocusMark(ICanvas& canvas) {
  if (focusedJump_ < 0 || !Host() || !Host()->HasFocus()) return;
  canvas.SetPen({clWindowText, 1, TPenStyle::Dot});
  canvas.SetBrush({clNone, TBrushStyle::Clear});
  for (const TPGJumpInfo& j : data_->JumpAreas(focusedJump_)) {
    const TPoint p = DocumentToClient({j.Left, j.Top});
    canvas.Rectangle(Bounds(p.X, p.Y, j.Width, j.Height));
  }
}

void TCustomPagora::Paint(ICanvas& canvas, const TRect& clip) {
  canvas.Save();
  canvas.IntersectClip(clip);
  if (!Style) {
    PaintNoStyleNotice(canvas, clip);
    canvas.Restore();
    return;
  }
  PaintBackground(canvas, clip);
  std::string error;
  try {
    PaintDocument(canvas, clip);
  } catch (const std::exception& e) {
    error = e.what();
  } catch (...) {
    error = "unknown error";
  }
  if (!error.empty()) {
    const std::u16string text = UTF8ToUTF16("Error: " + error);
    canvas.SetFont(PointFont("Arial", kErrorFontPoints, canvas));
    canvas.SetTextAlign(TA_LEFT | TA_TOP);
    const TSize size = canvas.TextExtent(text);
    canvas.SetBrush({clWhite, TBrushStyle::Solid});
    canvas.FillRect({0, 0, size.cx, size.cy});
    canvas.SetTextColor(clRed);
    canvas.TextOut(0, 0, text);
  }
  PaintFocusMark(canvas);
  PaintOverlay(canvas);
  canvas.Restore();
  if (OnPaint) OnPaint(*this, canvas, false);
}

// ---------------------------------------------------------------- scrolling

void TCustomPagora::HoverAtCursor() {
  if (!Host()) return;
  const TPoint p = Host()->CursorPos();
  const TSize c = ClientSize();
  if (p.X >= 0 && p.Y >= 0 && p.X < c.cx && p.Y < c.cy) MouseMove(Host()->KeyboardState(), p.X, p.Y);
}

void TCustomPagora::AfterVScroll() {
  MoveControls();
  if (OnVScrolled) OnVScrolled(*this);
  HoverAtCursor();
  CheckpointEvents();
}

void TCustomPagora::AfterHScroll() {
  MoveControls();
  if (OnHScrolled) OnHScrolled(*this);
  HoverAtCursor();
}

// ---------------------------------------------------------------- checkpoint events

void TCustomPagora::CheckpointEvents() {
  if (!OnCheckpointVisible || CPEventKind == cpeNone || !data_->IsFormatted()) return;
  const int top = DocumentTopInWindow();
  const int bottom = top + ClientSize().cy;
  auto yOf = [&](const TPGCPInfo* cp) {
    const int d = data_->FirstDrawItemOf(cp->ItemNo);
    return d < 0 ? data_->DocumentHeight() : data_->DrawItem(d).Top;
  };
  const TPGCPInfo* pending = data_->PendingCheckpoint();
  const TPGCPInfo* found = nullptr;
  if (CPEventKind == cpeAsSectionStart) {
    const TPGCPInfo* previous = nullptr;
    const TPGCPInfo* last = nullptr;
    bool located = false;
    for (const TPGCPInfo* cp = data_->FirstCheckpoint(); cp; cp = cp->Next) {
      if (!cp->RaiseEvent || !cp->Item) continue;
      last = cp;
      if (!located && yOf(cp) >= top) {
        found = yOf(cp) > bottom ? previous : cp;
        located = true;
      }
      if (!located) previous = cp;
    }
    if (!located) {
      const int end = data_->DocumentHeight();
      found = pending && pending->RaiseEvent && end >= top && end <= bottom ? pending : last;
    }
    if (found != lastReportedCheckpoint_ || !checkpointReported_) {
      if (found == lastReportedCheckpoint_ && !found) return;
      lastReportedCheckpoint_ = found;
      checkpointReported_ = found != nullptr;
      OnCheckpointVisible(*this, found);
    }
    return;
  }
  for (const TPGCPInfo* cp = data_->FirstCheckpoint(); cp && !found; cp = cp->Next) {
    if (!cp->RaiseEvent || !cp->Item) continue;
    const int y = yOf(cp);
    if (y >= top && y <= bottom) found = cp;
    if (y > bottom) break;
  }
  if (!found && pending && pending->RaiseEvent && data_->DocumentHeight() >= top &&
      data_->DocumentHeight() <= bottom)
    found = pending;
  if (found) {
    if (found != lastReportedCheckpoint_) {
      lastReportedCheckpoint_ = found;
      checkpointReported_ = true;
      OnCheckpointVisible(*this, found);
    }
  } else if (checkpointReported_) {
    lastReportedCheckpoint_ = nullptr;
    checkpointReported_ = false;
    OnCheckpointVisible(*this, nullptr);
  }
}

// ---------------------------------------------------------------- keyboard and focus

namespace {

bool IsTabNavigationKey(TPGTabNavigationType type, int vk, TShiftState shift) {
  if (vk != VK_TAB || shift.Contains(ssAlt)) return false;
  if (type == pgtnTab) return !shift.Contains(ssCtrl);
  if (type == pgtnCtrlTab) return shift.Contains(ssCtrl);
  return false;
}

}  // namespace

bool TCustomPagora::WantsKey(int vk, TShiftState shift) const {
  if (focusedJump_ >= 0) return true;
  if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN) return true;
  return IsTabNavigationKey(TabNavigation, vk, shift);
}

bool TCustomPagora::KeyDown(int vk, TShiftState shift) {
  if (!shift.Contains(ssAlt) && shift.Contains(ssCtrl) && (vk == VK_C || vk == VK_INSERT)) {
    CopySelection();
    return true;
  }
  if (IsTabNavigationKey(TabNavigation, vk, shift)) {
    MoveLinkFocus(shift.Contains(ssShift));
    return true;
  }
  if (vk == VK_RETURN && focusedJump_ >= 0) {
    if (OnJump) OnJump(*this, focusedJump_ + FirstJumpNo);
    return true;
  }
  return KeyboardScroll(vk);
}

void TCustomPagora::InvalidateJump(int jump) {
  if (jump < 0 || !Host()) return;
  for (const TPGJumpInfo& j : data_->JumpAreas(jump)) {
    const TPoint p = DocumentToClient({j.Left, j.Top});
    TRect r = Bounds(p.X, p.Y, j.Width, j.Height);
    r.Inflate(5, 5);
    Host()->Invalidate(r);
  }
}

void TCustomPagora::MoveLinkFocus(bool backwards) {
  const int count = data_->IsFormatted() ? data_->JumpCount() : 0;
  const int old = focusedJump_;
  int next = old < 0 ? (backwards ? count - 1 : 0) : old + (backwards ? -1 : 1);
  if (count == 0 || next < 0 || next >= count) next = -1;
  focusedJump_ = next;
  InvalidateJump(old);
  if (next < 0) {
    if (Host()) Host()->FocusNextControl(backwards);
    return;
  }
  // Bring the link into view.
  for (const TPGJumpInfo& j : data_->JumpAreas(next)) {
    const int top = DocumentTopInWindow();
    if (j.Top < top || j.Top + j.Height > top + ClientSize().cy) ScrollToY(j.Top + VAlignOffset());
    break;
  }
  InvalidateJump(next);
}

void TCustomPagora::FocusIn(bool backwards, bool byTab) {
  if (byTab && TabNavigation != pgtnNone && data_->IsFormatted() && data_->JumpCount() > 0) {
    focusedJump_ = backwards ? data_->JumpCount() - 1 : 0;
    InvalidateJump(focusedJump_);
  }
  if (Style && Style->SelColor != Style->InactiveSelColor && Host()) Host()->InvalidateAll();
}

void TCustomPagora::FocusOut() {
  if (focusedJump_ >= 0) {
    InvalidateJump(focusedJump_);
    focusedJump_ = -1;
  }
  if (Style && Style->SelColor != Style->InactiveSelColor && Host()) Host()->InvalidateAll();
}

// ---------------------------------------------------------------- deferred events

void TCustomPagora::PostEvent(std::unique_ptr<TPGMessageData> message) {
  if (Host()) Host()->Post(std::move(message));
}

void TCustomPagora::Deliver(std::unique_ptr<IPostedMessage> message) {
  auto* m = dynamic_cast<TPGMessageData*>(message.get());
  if (!m || destroying_) return;
  switch (m->Kind) {
    case TPGMessageKind::DblClickWord: {
      auto& d = static_cast<TPGDblClickMessageData&>(*m);
      if (OnPGDblClick) OnPGDblClick(*this, d.Word, d.Style);
      break;
    }
    case TPGMessageKind::Jump:
      if (OnJump) OnJump(*this, static_cast<TPGJumpMessageData&>(*m).Id);
      break;
    case TPGMessageKind::PGMouseUp:
    case TPGMessageKind::PGMouseDown: {
      auto& d = static_cast<TPGMouseUpDownMessageData&>(*m);
      auto& handler = m->Kind == TPGMessageKind::PGMouseUp ? OnPGMouseUp : OnPGMouseDown;
      if (handler) handler(*this, d.Button, d.Shift, d.ItemNo, d.X, d.Y);
      break;
    }
    case TPGMessageKind::Click:
      if (OnClick) OnClick(*this);
      break;
    case TPGMessageKind::DblClick:
      if (OnDblClick) OnDblClick(*this);
      break;
    case TPGMessageKind::MouseMove: {
      auto& d = static_cast<TPGMouseMoveMessageData&>(*m);
      if (OnMouseMove) OnMouseMove(*this, d.Shift, d.X, d.Y);
      break;
    }
    case TPGMessageKind::DragDrop:
    case TPGMessageKind::EndDrag: {
      auto& d = static_cast<TPGDNDMessageData&>(*m);
      if (m->Kind == TPGMessageKind::DragDrop) {
        if (OnDragDrop) OnDragDrop(*this, d.X, d.Y);
      } else if (OnEndDrag) {
        OnEndDrag(*this, d.X, d.Y);
      }
      break;
    }
  }
}

}  // namespace pagora
