#include "model/ColorMode.h"

#include <algorithm>

#include "platform/IntMath.h"

namespace pagora {

TColor PrinterColor(TColor c) noexcept {
  switch (c) {
    case clScrollBar:
    case clBtnFace: return clSilver;
    case clWindow:
    case clBtnHighlight: return clWhite;
    case clWindowText: return clBlack;
    case clBtnShadow: return clGray;
    default: return c;
  }
}

unsigned Luminance(TColor rgb) noexcept {
  const double y = 0.3 * GetRValue(rgb) + 0.59 * GetGValue(rgb) + 0.11 * GetBValue(rgb);
  return static_cast<unsigned>(std::min<std::int64_t>(Round(y), 255));
}

TColor GrayColor(TColor rgb) noexcept {
  const unsigned g = Luminance(rgb);
  return RGB(g, g, g);
}

TColor ApplyColorMode(TColor c, TPGColorMode mode) noexcept {
  if (c == clNone) return c;
  switch (mode) {
    case pgcmColor: return c;
    case pgcmPrinterColor: return PrinterColor(c);
    case pgcmGrayScale: return GrayColor(ColorToRGB(PrinterColor(c)));
    case pgcmBlackAndWhite:
    case pgcmBlackOnWhite: return clBlack;
  }
  return c;
}

}  // namespace pagora
