// Screen and target resolutions for formatting on another device (the printer): stored
// sizes are in screen pixels and are scaled by device / screen pixels per inch.
#pragma once

#include "platform/IntMath.h"

namespace pagora {

struct TPGDeviceScale {
  int ScreenPpiX = 96;
  int ScreenPpiY = 96;
  int DevicePpiX = 96;
  int DevicePpiY = 96;
  int LeftMarginPx = 0;

  [[nodiscard]] int ScaleX(int v) const noexcept { return ScreenPpiX == DevicePpiX ? v : MulDiv(v, DevicePpiX, ScreenPpiX); }
  [[nodiscard]] int ScaleY(int v) const noexcept { return ScreenPpiY == DevicePpiY ? v : MulDiv(v, DevicePpiY, ScreenPpiY); }
};

}  // namespace pagora
