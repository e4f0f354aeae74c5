// The border and the background rectangle of a paragraph style.
#pragma once

#include "model/StyleRects.h"
#include "model/StyleTypes.h"
#include "platform/Colors.h"

namespace pagora {

class ICanvas;

struct TPGBorder {
  TColor Color = clWindowText;
  TPGBorderStyle Style = pgbNone;
  int Width = 1;
  int InternalWidth = 1;  // the gap between the lines of a multi-line border
  TPGBooleanRect VisibleBorders{true};
  TPGRect BorderOffsets;  // distance of the border line outside the paragraph text

  friend bool operator==(const TPGBorder&, const TPGBorder&) = default;

  // A side is drawn when there is a border and the side is visible.
  [[nodiscard]] bool ShowsLeft() const noexcept { return Style != pgbNone && VisibleBorders.Left; }
  [[nodiscard]] bool ShowsTop() const noexcept { return Style != pgbNone && VisibleBorders.Top; }
  [[nodiscard]] bool ShowsRight() const noexcept { return Style != pgbNone && VisibleBorders.Right; }
  [[nodiscard]] bool ShowsBottom() const noexcept { return Style != pgbNone && VisibleBorders.Bottom; }

  // The width of all lines with their gaps.
  [[nodiscard]] int GetTotalWidth() const noexcept;

  // Draws the border around rect (the paragraph's box). screenPpi and devicePpi scale the
  // offsets and widths when printing (both 0 on screen).
  void Draw(const TRect& rect, ICanvas& canvas, TPGColorMode colorMode = pgcmColor, int screenPpi = 0,
            int devicePpi = 0) const;
};

struct TPGBackgroundRect {
  TPGRect BorderOffsets;
  TColor Color = clNone;
  friend bool operator==(const TPGBackgroundRect&, const TPGBackgroundRect&) = default;
};

}  // namespace pagora
