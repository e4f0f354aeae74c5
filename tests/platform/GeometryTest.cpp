#include <gtest/gtest.h>

#include "platform/Geometry.h"

namespace pagora {

// Readable failures.
void PrintTo(const TRect& r, std::ostream* os) {
  *os << "{" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << "}";
}

namespace {

TEST(TRect, RightAndBottomEdgesLieOutside) {
  const TRect r{10, 20, 30, 40};
  const struct {
    TPoint p;
    bool inside;
  } cases[] = {
      {{10, 20}, true},  {{29, 39}, true},  {{20, 30}, true},
      {{30, 20}, false}, {{10, 40}, false}, {{30, 40}, false},
      {{9, 20}, false},  {{10, 19}, false}, {{29, 40}, false},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(testing::Message() << t.p.X << "," << t.p.Y);
    EXPECT_EQ(r.Contains(t.p), t.inside);
  }
  EXPECT_EQ(r.Width(), 20);
  EXPECT_EQ(r.Height(), 20);
}

TEST(TRect, EmptyRectanglesContainNothing) {
  const TRect cases[] = {{5, 5, 5, 10}, {5, 5, 10, 5}, {10, 10, 5, 20}, {}};
  for (const TRect& r : cases) {
    SCOPED_TRACE(testing::PrintToString(r));
    EXPECT_TRUE(r.IsEmpty());
    EXPECT_FALSE(r.Contains({r.Left, r.Top}));
  }
  EXPECT_FALSE((TRect{0, 0, 1, 1}.IsEmpty()));
}

TEST(TRect, Intersect) {
  const struct {
    TRect a, b, expected;
  } cases[] = {
      {{0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}},
      {{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}},       // nested
      {{0, 0, 10, 10}, {10, 0, 20, 10}, {}},              // touching edges share no pixel
      {{0, 0, 10, 10}, {0, 10, 10, 20}, {}},
      {{0, 0, 10, 10}, {20, 20, 30, 30}, {}},             // apart
      {{0, 0, 10, 10}, {5, 5, 5, 8}, {}},                 // empty operand inside
      {{-10, -10, 0, 0}, {-5, -20, 5, -5}, {-5, -10, 0, -5}},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(testing::PrintToString(t.a) + " & " + testing::PrintToString(t.b));
    EXPECT_EQ(t.a.Intersect(t.b), t.expected);
    EXPECT_EQ(t.b.Intersect(t.a), t.expected);
  }
}

TEST(TRect, UnionIgnoresEmptyOperands) {
  const struct {
    TRect a, b, expected;
  } cases[] = {
      {{0, 0, 10, 10}, {5, 5, 15, 15}, {0, 0, 15, 15}},
      {{0, 0, 10, 10}, {20, 30, 25, 35}, {0, 0, 25, 35}},
      // An empty rectangle far away must not stretch the result.
      {{0, 0, 10, 10}, {100, 100, 100, 200}, {0, 0, 10, 10}},
      {{0, 0, 10, 10}, {}, {0, 0, 10, 10}},
      {{-5, -5, 0, 0}, {50, 50, 40, 60}, {-5, -5, 0, 0}},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(testing::PrintToString(t.a) + " | " + testing::PrintToString(t.b));
    EXPECT_EQ(t.a.Union(t.b), t.expected);
    EXPECT_EQ(t.b.Union(t.a), t.expected);
  }
  EXPECT_TRUE((TRect{3, 3, 3, 3}.Union(TRect{7, 7, 2, 9}).IsEmpty()));
}

TEST(TRect, BoundsOffsetAndInflate) {
  TRect r = Bounds(10, 20, 30, 40);
  EXPECT_EQ(r, (TRect{10, 20, 40, 60}));
  r.Offset(-10, 5);
  EXPECT_EQ(r, (TRect{0, 25, 30, 65}));
  r.Inflate(2, -3);
  EXPECT_EQ(r, (TRect{-2, 28, 32, 62}));
}

}  // namespace
}  // namespace pagora
