// Four-sided values of paragraph styles: pixel offsets (TPGRect) and side flags
// (TPGBooleanRect).
#pragma once

#include "platform/Geometry.h"

namespace pagora {

struct TPGRect {
  // Stored in the order Top, Left, Right, Bottom.
  int Top = 0;
  int Left = 0;
  int Right = 0;
  int Bottom = 0;

  void SetAll(int value) noexcept { Top = Left = Right = Bottom = value; }
  friend bool operator==(const TPGRect&, const TPGRect&) = default;

  // Moves each side of r outwards by its value; scaled by devicePpi / screenPpi
  // when formatting for another device.
  void InflateRect(TRect& r, int screenPpi = 0, int devicePpi = 0) const noexcept;
  // Raises each side of r to at least the value.
  void AssignToRectIfGreater(TPGRect& r) const noexcept;
};

struct TPGBooleanRect {
  bool Top = true;
  bool Left = true;
  bool Right = true;
  bool Bottom = true;

  TPGBooleanRect() = default;
  explicit TPGBooleanRect(bool all) noexcept : Top(all), Left(all), Right(all), Bottom(all) {}
  void SetAll(bool value) noexcept { Top = Left = Right = Bottom = value; }
  [[nodiscard]] bool AllEqual(bool value) const noexcept {
    return Top == value && Left == value && Right == value && Bottom == value;
  }
  friend bool operator==(const TPGBooleanRect&, const TPGBooleanRect&) = default;
};

}  // namespace pagora
