// How colours change when a document is printed or drawn in grey or black and white.
#pragma once

#include "model/StyleTypes.h"
#include "platform/Colors.h"

namespace pagora {

// System colours to fixed printer colours: scroll bar and button face to silver, window
// and button highlight to white, window text to black, button shadow to grey.
[[nodiscard]] TColor PrinterColor(TColor c) noexcept;
// round(0.3 R + 0.59 G + 0.11 B), at most 255.
[[nodiscard]] unsigned Luminance(TColor rgb) noexcept;
[[nodiscard]] TColor GrayColor(TColor rgb) noexcept;

// A line or fill colour in a colour mode: unchanged on screen, the printer map, its grey,
// or black in the two black-and-white modes. None stays none.
[[nodiscard]] TColor ApplyColorMode(TColor c, TPGColorMode mode) noexcept;

}  // namespace pagora
