#include "model/StyleRects.h"

#include <algorithm>

#include "platform/IntMath.h"

namespace pagora {

void TPGRect::InflateRect(TRect& r, int screenPpi, int devicePpi) const noexcept {
  const bool scale = screenPpi > 0 && devicePpi > 0 && screenPpi != devicePpi;
  auto s = [&](int v) { return scale ? MulDiv(v, devicePpi, screenPpi) : v; };
  r.Left -= s(Left);
  r.Top -= s(Top);
  r.Right += s(Right);
  r.Bottom += s(Bottom);
}

void TPGRect::AssignToRectIfGreater(TPGRect& r) const noexcept {
  r.Left = std::max(r.Left, Left);
  r.Top = std::max(r.Top, Top);
  r.Right = std::max(r.Right, Right);
  r.Bottom = std::max(r.Bottom, Bottom);
}

}  // namespace pagora
