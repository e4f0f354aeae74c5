// What an item is given when it paints itself: the canvas, the style sheet, its box and
// the state it is drawn in.
#pragma once

#include <cstdint>

#include "model/DeviceScale.h"
#include "model/StyleTypes.h"
#include "platform/EnumSet.h"

namespace pagora {

class ICanvas;
class TPGStyle;
class TCustomPGData;

enum TPGItemDrawState : std::uint8_t {
  pgidsSelected,        // inside the selection, or the whole document is selected
  pgidsHover,           // a link under the mouse while hover is active
  pgidsCurrent,         // the object the editor is resizing
  pgidsControlFocused,  // the window has the keyboard focus
};
using TPGItemDrawStates = TSet<TPGItemDrawState, std::uint8_t>;

struct TPGItemPaint {
  ICanvas& Canvas;
  TPGStyle& Style;
  TCustomPGData* Container = nullptr;
  TPGItemDrawStates State;
  TPGColorMode ColorMode = pgcmColor;
  int Width = 0;   // the drawing item's box, in canvas pixels
  int Height = 0;
  const TPGDeviceScale* Scale = nullptr;  // screen to device pixels when printing
};

}  // namespace pagora
