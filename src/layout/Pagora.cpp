// The viewer control: its document, properties, formatting, embedded controls, the
// selection operations and scrolling. Painting, the mouse, the keyboard, events, copying and
// files have files of their own (Viewer*.cpp).
#include "layout/Pagora.h"

#include <algorithm>

#include "model/ControlItem.h"
#include "model/PGItem.h"
#include "model/PGStyle.h"

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
  if (Style) Style->RemoveUser(this);
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
  if (Style) Style->RemoveUser(this);
  Style = style;
  if (Style) Style->AddUser(this);
  if (Options.Contains(pgoFormatInvalidate) && Host()) Host()->InvalidateAll();
}

void TCustomPagora::StyleSheetDestroyed(TPGStyle& sheet) {
  if (Style != &sheet) return;
  // The layout refers to the sheet's styles: what was formatted goes with it.
  Style = nullptr;
  data_->ClearFormatting();
  ResetMouseState();
  if (Host()) Host()->InvalidateAll();
}

void TCustomPagora::ResetMouseState() {
  hoverJump_ = pressedJump_ = focusedJump_ = -1;
  hoverActive_ = selecting_ = lineSelecting_ = false;
  selectingInfo_.reset();
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
  ResetMouseState();
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

}  // namespace pagora
