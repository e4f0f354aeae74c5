// The two measures that likeness scores of styles are built from.
#pragma once

#include <cstdint>

#include "platform/Colors.h"

namespace pagora {

// How close b is to a, weighted by w: (1 - |b|) * w when a is 0, otherwise
// round((1 - |a - b| / |a|) * w) with halves to even. May be negative.
[[nodiscard]] std::int64_t LikenessSim(std::int64_t a, std::int64_t b, std::int64_t w) noexcept;

// How close two colours are: 3w + bonus when both are none, 0 when one is; otherwise minus
// the weighted byte differences, plus bonus when both or neither are dark (no byte above 64).
[[nodiscard]] std::int64_t LikenessColorSim(TColor c1, TColor c2, std::int64_t w, std::int64_t bonus) noexcept;

[[nodiscard]] int ClampScore(std::int64_t score) noexcept;

}  // namespace pagora
