#include "platform/IntMath.h"

#include <cmath>
#include <cstdlib>

namespace pagora {

int MulDiv(int a, int b, int c) noexcept {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const std::uint64_t num = static_cast<std::uint64_t>(product < 0 ? -product : product);
  const std::uint64_t den = static_cast<std::uint64_t>(c < 0 ? -static_cast<std::int64_t>(c) : c);
  std::uint64_t q = num / den;
  if ((num % den) * 2 >= den) ++q;
  const std::int64_t result = negative ? -static_cast<std::int64_t>(q) : static_cast<std::int64_t>(q);
  if (result > INT32_MAX || result < INT32_MIN) return -1;  // the platform reports overflow as -1
  return static_cast<int>(result);
}

std::int64_t Round(double value) noexcept {
  if (std::isnan(value)) return 0;
  // Beyond the 64-bit range the cast would be undefined.
  if (value >= 9.2233720368547748e18) return INT64_MAX;
  if (value <= -9.2233720368547758e18) return INT64_MIN;
  return static_cast<std::int64_t>(std::nearbyint(value));  // default rounding mode: to even
}

}  // namespace pagora
