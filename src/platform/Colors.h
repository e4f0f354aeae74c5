// 32-bit colour values as documents store them: 0x00BBGGRR for RGB, 0xFF0000nn for
// system colour nn, and 0x1FFFFFFF for none.
#pragma once

#include <array>
#include <cstdint>

namespace pagora {

using TColor = std::uint32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clSystemFlag = 0xFF000000;

inline constexpr TColor clScrollBar = 0xFF000000;
inline constexpr TColor clWindow = 0xFF000005;
inline constexpr TColor clWindowText = 0xFF000008;
inline constexpr TColor clHighlight = 0xFF00000D;
inline constexpr TColor clHighlightText = 0xFF00000E;
inline constexpr TColor clBtnFace = 0xFF00000F;
inline constexpr TColor clBtnShadow = 0xFF000010;
inline constexpr TColor clBtnHighlight = 0xFF000014;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clWhite = 0xFFFFFF;

[[nodiscard]] constexpr bool IsSystemColor(TColor c) noexcept { return (c & 0xFF000000) == clSystemFlag; }
[[nodiscard]] constexpr TColor RGB(unsigned r, unsigned g, unsigned b) noexcept {
  return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
[[nodiscard]] constexpr unsigned GetRValue(TColor c) noexcept { return c & 0xFF; }
[[nodiscard]] constexpr unsigned GetGValue(TColor c) noexcept { return (c >> 8) & 0xFF; }
[[nodiscard]] constexpr unsigned GetBValue(TColor c) noexcept { return (c >> 16) & 0xFF; }

// The RGB values behind the system colours. The window-system layer fills it from the
// desktop's palette; until then (and in tests) it holds fixed classic values.
class TSystemColorTable {
public:
  static constexpr int Count = 31;
  TSystemColorTable();
  [[nodiscard]] TColor Get(unsigned index) const noexcept;
  void Set(unsigned index, TColor rgb) noexcept;

private:
  std::array<TColor, Count> rgb_{};
};

[[nodiscard]] TSystemColorTable& SystemColors() noexcept;

// The RGB value of a colour: system colours through the table, any other value unchanged.
[[nodiscard]] TColor ColorToRGB(TColor c) noexcept;

}  // namespace pagora
