#include "model/StyleLikeness.h"

#include <cstdlib>

#include "platform/IntMath.h"

namespace pagora {

std::int64_t LikenessSim(std::int64_t a, std::int64_t b, std::int64_t w) noexcept {
  if (a == 0) return (1 - std::llabs(b)) * w;
  const double ratio = static_cast<double>(std::llabs(a - b)) / static_cast<double>(std::llabs(a));
  return Round((1.0 - ratio) * static_cast<double>(w));
}

std::int64_t LikenessColorSim(TColor c1, TColor c2, std::int64_t w, std::int64_t bonus) noexcept {
  const bool none1 = c1 == clNone;
  const bool none2 = c2 == clNone;
  if (none1 && none2) return 3 * w + bonus;
  if (none1 || none2) return 0;
  const TColor a = ColorToRGB(c1);
  const TColor b = ColorToRGB(c2);
  std::int64_t score = 0;
  int bright1 = 0, bright2 = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int x = static_cast<int>((a >> shift) & 0xFF);
    const int y = static_cast<int>((b >> shift) & 0xFF);
    score -= static_cast<std::int64_t>(std::abs(x - y)) * w / 255;
    if (x > 64) ++bright1;
    if (y > 64) ++bright2;
  }
  if ((bright1 == 0) == (bright2 == 0)) score += bonus;
  return score;
}

int ClampScore(std::int64_t score) noexcept {
  if (score > INT32_MAX) return INT32_MAX;
  if (score < INT32_MIN) return INT32_MIN;
  return static_cast<int>(score);
}

}  // namespace pagora
