// Scroll units, ranges and positions of a control with scroll bars.
#include "layout/PGScroll.h"

#include <algorithm>

#include "platform/IntMath.h"

namespace pagora {

TPGScroller::~TPGScroller() = default;

void TPGScroller::AttachHost(IHost* host) {
  host_ = host;
  if (!host_) {
    vStep_ = 0;
    return;
  }
  vStep_ = kDefaultVStep;
  WindowCreated();
}

void TPGScroller::DetachHost() {
  host_ = nullptr;
  vStep_ = 0;
}

TSize TPGScroller::ClientSize() const {
  if (!host_) return {};
  const TSize s = host_->ClientSize();
  return {std::max(s.cx, 0), std::max(s.cy, 0)};
}

int TPGScroller::VPageUnits() const { return vStep_ > 0 ? ClientSize().cy / vStep_ : 0; }

void TPGScroller::SetVScrollVisible(bool visible) {
  vScrollVisible_ = visible;
  UpdateScrollBars();
}

void TPGScroller::SetHScrollVisible(bool visible) {
  hScrollVisible_ = visible;
  UpdateScrollBars();
}

int TPGScroller::ChooseVStep(int currentStep, int height) {
  if (currentStep <= 0) currentStep = kDefaultVStep;
  height = std::max(height, 0);
  int step = currentStep;
  if (height / currentStep <= kMaxScrollUnits) {
    if (currentStep > kDefaultVStep && height / kDefaultVStep <= kMaxScrollUnits) step = kDefaultVStep;
  } else {
    step = height / kMaxScrollUnits;
    if (step > 0 && height / step > kMaxScrollUnits) ++step;
  }
  return step > 0 && height / step <= kMaxScrollUnits ? step : currentStep;
}

void TPGScroller::SetScrollSizes(int width, int height, bool chooseStep) {
  docWidth_ = std::max(width, 0);
  docHeight_ = std::max(height, 0);
  if (vStep_ <= 0) return;
  if (chooseStep) {
    const int step = ChooseVStep(vStep_, docHeight_);
    if (step != vStep_) {
      // The same document y stays at the top.
      vPos_ = static_cast<int>(static_cast<long long>(vPos_) * vStep_ / step);
      vStep_ = step;
    }
  }
  vUnits_ = (docHeight_ + vStep_ - 1) / vStep_;
  UpdateScrollBars();
}

void TPGScroller::UpdateScrollBars() {
  if (!host_ || vStep_ <= 0 || updating_) return;
  updating_ = true;
  const TSize client = ClientSize();
  hPos_ = std::clamp(hPos_, 0, std::max(docWidth_ - client.cx, 0));
  const int page = VPageUnits();
  vPos_ = std::clamp(vPos_, 0, std::max(vUnits_ - page, 0));
  host_->SetScrollBar(TScrollBarKind::Horizontal,
                      {0, std::max(docWidth_ - 1, 0), client.cx, hPos_, hScrollVisible_});
  host_->SetScrollBar(TScrollBarKind::Vertical, {0, std::max(vUnits_ - 1, 0), page, vPos_, vScrollVisible_});
  updating_ = false;
}

void TPGScroller::SetVPos(int units) {
  if (!host_ || vStep_ <= 0) return;
  units = std::clamp(units, 0, std::max(vUnits_ - VPageUnits(), 0));
  if (units == vPos_) return;
  const int old = vPos_;
  vPos_ = units;
  if (FullRedrawOnScroll())
    host_->InvalidateAll();
  else
    host_->ScrollContents(0, (old - units) * vStep_);
  UpdateScrollBars();
  host_->UpdateNow();
  AfterVScroll();
}

void TPGScroller::SetHPos(int pixels) {
  if (!host_ || vStep_ <= 0) return;
  pixels = std::clamp(pixels, 0, std::max(docWidth_ - ClientSize().cx, 0));
  if (pixels == hPos_) return;
  const int old = hPos_;
  hPos_ = pixels;
  if (FullRedrawOnScroll())
    host_->InvalidateAll();
  else
    host_->ScrollContents(old - pixels, 0);
  UpdateScrollBars();
  host_->UpdateNow();
  AfterHScroll();
}

void TPGScroller::ScrollToY(int y) {
  if (vStep_ > 0) SetVPos(y / vStep_);
}

void TPGScroller::ScrollAction(TScrollBarKind kind, TScrollAction action, int thumbPosition) {
  if (kind == TScrollBarKind::Vertical) {
    switch (action) {
      case TScrollAction::LineUp: SetVPos(vPos_ - 1); break;
      case TScrollAction::LineDown: SetVPos(vPos_ + 1); break;
      // A window lower than one unit still pages, by one unit.
      case TScrollAction::PageUp: SetVPos(vPos_ - std::max(VPageUnits(), 1)); break;
      case TScrollAction::PageDown: SetVPos(vPos_ + std::max(VPageUnits(), 1)); break;
      case TScrollAction::ThumbPosition: SetVPos(thumbPosition); break;
      case TScrollAction::ThumbTrack:
        if (Tracking) SetVPos(thumbPosition);
        break;
      case TScrollAction::Top: SetVPos(0); break;
      case TScrollAction::Bottom: SetVPos(vUnits_); break;
      case TScrollAction::EndScroll: break;
    }
    return;
  }
  const int width = ClientSize().cx;
  switch (action) {
    case TScrollAction::LineUp: SetHPos(hPos_ - vStep_); break;
    case TScrollAction::LineDown: SetHPos(hPos_ + vStep_); break;
    case TScrollAction::PageUp: SetHPos(hPos_ - std::max(width, 1)); break;
    case TScrollAction::PageDown: SetHPos(hPos_ + std::max(width, 1)); break;
    case TScrollAction::ThumbPosition: SetHPos(thumbPosition); break;
    case TScrollAction::ThumbTrack:
      if (Tracking) SetHPos(thumbPosition);
      break;
    case TScrollAction::Top: SetHPos(0); break;
    case TScrollAction::Bottom: SetHPos(docWidth_); break;
    case TScrollAction::EndScroll: break;
  }
}

bool TPGScroller::MouseWheel(int notches) {
  if (WheelStep == 0) return false;
  const int lines = host_ ? host_->WheelScrollLines() : 3;
  const int perNotch = static_cast<int>(Round(static_cast<double>(WheelStep) * (lines > 0 ? lines : 3) / 3.0));
  SetVPos(vPos_ - notches * perNotch);
  return true;
}

bool TPGScroller::KeyboardScroll(int vk) {
  if (!KeyboardScrolling) return false;
  switch (vk) {
    case VK_PRIOR: ScrollAction(TScrollBarKind::Vertical, TScrollAction::PageUp); return true;
    case VK_NEXT: ScrollAction(TScrollBarKind::Vertical, TScrollAction::PageDown); return true;
    case VK_HOME: ScrollAction(TScrollBarKind::Vertical, TScrollAction::Top); return true;
    case VK_END: ScrollAction(TScrollBarKind::Vertical, TScrollAction::Bottom); return true;
    case VK_UP: ScrollAction(TScrollBarKind::Vertical, TScrollAction::LineUp); return true;
    case VK_DOWN: ScrollAction(TScrollBarKind::Vertical, TScrollAction::LineDown); return true;
    case VK_LEFT: ScrollAction(TScrollBarKind::Horizontal, TScrollAction::LineUp); return true;
    case VK_RIGHT: ScrollAction(TScrollBarKind::Horizontal, TScrollAction::LineDown); return true;
    default: return false;
  }
}

}  // namespace pagora
