// Helpers shared by the picture tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "graphics/Pictures.h"
#include "platform/RasterImage.h"

namespace pagora::test {

inline std::string Hex(std::uint32_t v) {
  std::ostringstream s;
  s << "0x" << std::hex << v;
  return s.str();
}

// Compares every pixel with expected(x, y); reports the first difference only.
inline ::testing::AssertionResult RasterIs(const TRasterImage& r, int width, int height,
                                           const std::function<std::uint32_t(int, int)>& expected) {
  if (r.Width != width || r.Height != height || r.Empty())
    return ::testing::AssertionFailure() << "raster is " << r.Width << " x " << r.Height << " (" << r.Pixels.size()
                                         << " pixels), expected " << width << " x " << height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (r.At(x, y) != expected(x, y))
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << Hex(r.At(x, y))
                                             << ", expected " << Hex(expected(x, y));
  return ::testing::AssertionSuccess();
}

// Each channel within tolerance (lossy formats).
inline ::testing::AssertionResult PixelNear(std::uint32_t actual, std::uint32_t expected, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int a = static_cast<int>((actual >> shift) & 0xFF), e = static_cast<int>((expected >> shift) & 0xFF);
    if (a - e > tolerance || e - a > tolerance)
      return ::testing::AssertionFailure() << Hex(actual) << " is not within " << tolerance << " of " << Hex(expected);
  }
  return ::testing::AssertionSuccess();
}

template <class T>
std::unique_ptr<T> Loaded(const std::string& bytes) {
  auto g = std::make_unique<T>();
  EXPECT_TRUE(g->LoadFromBytes(bytes)) << g->LastError();
  return g;
}

}  // namespace pagora::test
