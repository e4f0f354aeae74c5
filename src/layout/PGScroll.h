// A window control with scroll bars: the vertical position counts units of a step that
// grows for long documents so that the range stays within what scroll bars hold, and the
// horizontal position counts pixels.
#pragma once

#include "platform/Host.h"

namespace pagora {

enum class TScrollAction : std::uint8_t {
  LineUp, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, Top, Bottom, EndScroll,
};

class TPGScroller {
public:
  static constexpr int kMaxScrollUnits = 32000;
  static constexpr int kDefaultVStep = 10;

  TPGScroller() = default;
  virtual ~TPGScroller();
  TPGScroller(const TPGScroller&) = delete;
  TPGScroller& operator=(const TPGScroller&) = delete;

  // The window: attaching it creates the window state (step 10); detaching ends it.
  void AttachHost(IHost* host);
  void DetachHost();
  [[nodiscard]] IHost* Host() const noexcept { return host_; }
  [[nodiscard]] bool HasWindow() const noexcept { return host_ != nullptr && vStep_ > 0; }

  bool Tracking = true;  // scroll while the thumb is dragged
  [[nodiscard]] bool VScrollVisible() const noexcept { return vScrollVisible_; }
  [[nodiscard]] bool HScrollVisible() const noexcept { return hScrollVisible_; }
  void SetVScrollVisible(bool visible);
  void SetHScrollVisible(bool visible);

  [[nodiscard]] int VStep() const noexcept { return vStep_; }
  [[nodiscard]] int VPos() const noexcept { return vPos_; }  // in units
  [[nodiscard]] int HPos() const noexcept { return hPos_; }  // in pixels
  [[nodiscard]] int VUnits() const noexcept { return vUnits_; }
  [[nodiscard]] int ScrollWidth() const noexcept { return docWidth_; }
  [[nodiscard]] int ScrollHeight() const noexcept { return docHeight_; }
  [[nodiscard]] int VPageUnits() const;
  [[nodiscard]] TSize ClientSize() const;

  // The document size (pixels); with chooseStep the step is chosen anew for the height.
  void SetScrollSizes(int width, int height, bool chooseStep);
  // The step for a document height, keeping the range at most kMaxScrollUnits.
  [[nodiscard]] static int ChooseVStep(int currentStep, int height);
  void UpdateScrollBars();

  void SetVPos(int units);
  void SetHPos(int pixels);
  // Scrolls so that document y (pixels) is at the window's top, as near as units allow.
  void ScrollToY(int y);
  void ScrollAction(TScrollBarKind kind, TScrollAction action, int thumbPosition = 0);
  // A turn of the wheel by notches (positive away from the user, which scrolls up);
  // false when the wheel is left to the parent.
  bool MouseWheel(int notches);
  int WheelStep = 2;
  // The scrolling keys; false for others. Descendants that move a caret turn it off.
  bool KeyboardScroll(int vk);
  bool KeyboardScrolling = true;

protected:
  // The background stays fixed to the window: scrolling repaints instead of moving pixels.
  [[nodiscard]] virtual bool FullRedrawOnScroll() const { return false; }
  virtual void WindowCreated() {}
  virtual void AfterVScroll() {}
  virtual void AfterHScroll() {}

private:
  IHost* host_ = nullptr;
  int vStep_ = 0;
  int vPos_ = 0, hPos_ = 0;
  int docWidth_ = 0, docHeight_ = 0, vUnits_ = 0;
  bool vScrollVisible_ = true, hScrollVisible_ = true;
  bool updating_ = false;
};

}  // namespace pagora
