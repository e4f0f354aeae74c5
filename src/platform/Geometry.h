// Points, sizes and rectangles. A rectangle covers Left..Right-1 by Top..Bottom-1:
// the right and bottom edges lie outside it.
#pragma once

#include <algorithm>

namespace pagora {

struct TPoint {
  int X = 0;
  int Y = 0;
  friend constexpr bool operator==(TPoint, TPoint) = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend constexpr bool operator==(TSize, TSize) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  [[nodiscard]] constexpr int Width() const noexcept { return Right - Left; }
  [[nodiscard]] constexpr int Height() const noexcept { return Bottom - Top; }
  [[nodiscard]] constexpr bool IsEmpty() const noexcept { return Right <= Left || Bottom <= Top; }
  [[nodiscard]] constexpr bool Contains(TPoint p) const noexcept {
    return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
  }
  constexpr void Offset(int dx, int dy) noexcept { Left += dx; Right += dx; Top += dy; Bottom += dy; }
  constexpr void Inflate(int dx, int dy) noexcept { Left -= dx; Right += dx; Top -= dy; Bottom += dy; }

  // The common part; an empty rectangle (all zero) when they do not overlap.
  [[nodiscard]] constexpr TRect Intersect(const TRect& o) const noexcept {
    TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right), std::min(Bottom, o.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
  }
  // The smallest rectangle holding both; an empty operand does not count.
  [[nodiscard]] constexpr TRect Union(const TRect& o) const noexcept {
    if (IsEmpty()) return o;
    if (o.IsEmpty()) return *this;
    return {std::min(Left, o.Left), std::min(Top, o.Top), std::max(Right, o.Right), std::max(Bottom, o.Bottom)};
  }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

[[nodiscard]] constexpr TRect Bounds(int left, int top, int width, int height) noexcept {
  return {left, top, left + width, top + height};
}

}  // namespace pagora
