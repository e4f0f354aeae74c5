#include <gtest/gtest.h>

#include <cstdint>

#include "platform/EnumSet.h"

namespace pagora {
namespace {

enum TFlag { flA, flB, flC = 5, flLast = 31 };
using TFlags = TSet<TFlag>;

TEST(TSet, RawBitsAreTheEnumerationValues) {
  // Stored files and masks hold these raw values.
  EXPECT_EQ((TFlags{flA}.Raw()), 0x1u);
  EXPECT_EQ((TFlags{flB, flC}.Raw()), 0x22u);
  EXPECT_EQ((TFlags{flLast}.Raw()), 0x80000000u);
  EXPECT_EQ(TFlags::FromRaw(0x21), (TFlags{flA, flC}));
  EXPECT_EQ((TSet<TFlag, std::uint8_t>{flC}.Raw()), 0x20u);
}

TEST(TSet, IncludeExcludeAndOperators) {
  TFlags s;
  EXPECT_TRUE(s.Empty());
  s.Include(flB).Include(flLast);
  EXPECT_TRUE(s.Contains(flB));
  EXPECT_TRUE(s.Contains(flLast));
  EXPECT_FALSE(s.Contains(flA));
  s.Set(flB, false).Set(flC, true);
  EXPECT_EQ(s, (TFlags{flC, flLast}));
  s.Exclude(flA);  // not there: no change
  EXPECT_EQ(s, (TFlags{flC, flLast}));

  const TFlags a{flA, flB}, b{flB, flC};
  EXPECT_EQ(a | b, (TFlags{flA, flB, flC}));
  EXPECT_EQ(a & b, TFlags{flB});
  EXPECT_EQ(a - b, TFlags{flA});
  EXPECT_TRUE((a - a).Empty());
}

}  // namespace
}  // namespace pagora
