#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "platform/IntMath.h"

namespace pagora {
namespace {

struct MulDivCase {
  int a, b, c;
  int expected;
};

TEST(MulDiv, RoundsHalvesAwayFromZeroWithA64BitIntermediate) {
  const MulDivCase cases[] = {
      // Halves go away from zero, whatever the signs.
      {3, 1, 2, 2},
      {-3, 1, 2, -2},
      {5, 1, 2, 3},
      {-5, 1, 2, -3},
      {1, 1, 2, 1},
      {-1, 1, 2, -1},
      {5, 1, -2, -3},
      {-5, 1, -2, 3},
      {5, -1, -2, 3},
      {-5, -1, -2, -3},
      // Below and above the half.
      {1, 1, 3, 0},
      {2, 1, 3, 1},
      {-2, 1, 3, -1},
      {2, -1, 3, -1},
      {2, 1, -3, -1},
      // Exact quotients and zero.
      {0, 5, 7, 0},
      {12, 3, 4, 9},
      {-12, 3, 4, -9},
      // Typical unit conversions: points to pixels, twips to pixels.
      {10, 96, 72, 13},
      {9, 96, 72, 12},
      {15, 96, 1440, 1},
      {720, 96, 1440, 48},
      // Products that overflow 32 bits while the result fits.
      {100000, 100000, 1000, 10000000},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
      {INT_MIN, INT_MIN, INT_MIN, INT_MIN},
      {INT_MIN, INT_MAX, INT_MAX, INT_MIN},
      {INT_MAX, 2, 4, 1073741824},  // 1073741823.5 rounds up
  };
  for (const MulDivCase& t : cases) {
    SCOPED_TRACE(testing::Message() << t.a << " * " << t.b << " / " << t.c);
    EXPECT_EQ(MulDiv(t.a, t.b, t.c), t.expected);
  }
}

TEST(MulDiv, ZeroDivisorAndOverflowGiveMinusOne) {
  EXPECT_EQ(MulDiv(7, 3, 0), -1);
  EXPECT_EQ(MulDiv(0, 0, 0), -1);
  EXPECT_EQ(MulDiv(INT_MIN, INT_MIN, 0), -1);
  // Results outside 32 bits.
  EXPECT_EQ(MulDiv(INT_MIN, -1, 1), -1);
  EXPECT_EQ(MulDiv(INT_MIN, 1, -1), -1);
  EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, 1), -1);
  EXPECT_EQ(MulDiv(-46341, 46341, 1), -1);
}

TEST(Round, HalvesGoToTheEvenNeighbour) {
  const struct {
    double value;
    std::int64_t expected;
  } cases[] = {
      {0.0, 0},   {0.5, 0},   {1.5, 2},   {2.5, 2},   {3.5, 4},    {-0.5, 0},
      {-1.5, -2}, {-2.5, -2}, {0.49999, 0}, {0.50001, 1}, {2.6, 3}, {-2.6, -3},
      {-2.4, -2}, {3e9, 3000000000}, {-3e9 - 0.5, -3000000000}, {4294967296.5, 4294967296},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.value);
    EXPECT_EQ(Round(t.value), t.expected);
  }
}

}  // namespace
}  // namespace pagora
