#include "platform/Colors.h"

namespace pagora {

TSystemColorTable::TSystemColorTable() {
  // The classic desktop scheme, so that layouts and tests do not depend on a theme.
  static constexpr TColor defaults[Count] = {
      0xC8C8C8,  // 0 scroll bar
      0xA56E3A,  // 1 background
      0xD1B499,  // 2 active caption
      0xDBCDBF,  // 3 inactive caption
      0xF0F0F0,  // 4 menu
      0xFFFFFF,  // 5 window
      0x646464,  // 6 window frame
      0x000000,  // 7 menu text
      0x000000,  // 8 window text
      0x000000,  // 9 caption text
      0xB4B4B4,  // 10 active border
      0xFCF7F4,  // 11 inactive border
      0xABABAB,  // 12 application workspace
      0xFF9933,  // 13 highlight (0x3399FF as RGB)
      0xFFFFFF,  // 14 highlight text
      0xF0F0F0,  // 15 button face
      0xA0A0A0,  // 16 button shadow
      0x6D6D6D,  // 17 grey text
      0x000000,  // 18 button text
      0x000000,  // 19 inactive caption text
      0xFFFFFF,  // 20 button highlight
      0x696969,  // 21 3-D dark shadow
      0xE3E3E3,  // 22 3-D light
      0x000000,  // 23 info text
      0xE1FFFF,  // 24 info background
      0xB5B5B5,  // 25
      0xCC6600,  // 26 hot light
      0xEAD1B9,  // 27 gradient active caption
      0xF2E4D7,  // 28 gradient inactive caption
      0xFF9933,  // 29 menu highlight
      0xF0F0F0,  // 30 menu bar
  };
  for (int i = 0; i < Count; ++i) rgb_[i] = defaults[i];
}

TColor TSystemColorTable::Get(unsigned index) const noexcept {
  return index < Count ? rgb_[index] : 0;
}

void TSystemColorTable::Set(unsigned index, TColor rgb) noexcept {
  if (index < Count) rgb_[index] = rgb & 0xFFFFFF;
}

TSystemColorTable& SystemColors() noexcept {
  static TSystemColorTable table;
  return table;
}

TColor ColorToRGB(TColor c) noexcept {
  if (IsSystemColor(c)) return SystemColors().Get(c & 0xFF);
  return c;
}

}  // namespace pagora
