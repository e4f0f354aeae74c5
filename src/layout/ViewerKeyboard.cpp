// The viewer's keyboard and focus: copying and scrolling keys, and moving through the links
// with Tab.
#include "layout/Pagora.h"
#include "model/PGStyle.h"

namespace pagora {

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

}  // namespace pagora
