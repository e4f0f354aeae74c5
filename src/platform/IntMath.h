// The exact integer helpers that layout and style arithmetic depend on.
#pragma once

#include <cstdint>

namespace pagora {

// a * b / c with a 64-bit intermediate, rounded half away from zero; -1 when c is 0
// (the platform's multiply-divide, which stored layouts were computed with).
[[nodiscard]] int MulDiv(int a, int b, int c) noexcept;

// Rounds to the nearest integer, halves to the even neighbour.
[[nodiscard]] std::int64_t Round(double value) noexcept;

}  // namespace pagora
