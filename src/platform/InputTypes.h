// Mouse buttons, the keys and buttons held during an input event, and the virtual key
// codes the controls react to.
#pragma once

#include <cstdint>

#include "platform/EnumSet.h"

namespace pagora {

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

enum TShiftStateFlag : std::uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag, std::uint8_t>;

// Virtual key codes, with the window system's values that stored shortcuts use.
enum TVirtualKey : std::uint16_t {
  VK_TAB = 9,
  VK_RETURN = 13,
  VK_PRIOR = 33,  // Page Up
  VK_NEXT = 34,   // Page Down
  VK_END = 35,
  VK_HOME = 36,
  VK_LEFT = 37,
  VK_UP = 38,
  VK_RIGHT = 39,
  VK_DOWN = 40,
  VK_INSERT = 45,
  VK_C = 'C',
};

// Cursor numbers as styles store them; the window system maps them to its cursors.
using TCursorId = std::int16_t;
inline constexpr TCursorId kCursorDefault = 0;
inline constexpr TCursorId kCursorArrow = -2;
inline constexpr TCursorId kCursorIBeam = -4;

}  // namespace pagora
