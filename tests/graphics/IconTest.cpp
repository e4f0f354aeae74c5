#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "GraphicsTestUtil.h"
#include "TestImages.h"
#include "graphics/Pictures.h"

namespace pagora::test {
namespace {

using testimg::IcoImage;
using testimg::MakeIco;
using testimg::MakeIconDib;

const std::vector<std::uint32_t> kPal16 = [] {
  std::vector<std::uint32_t> p;
  for (int i = 0; i < 16; ++i) p.push_back(static_cast<std::uint32_t>(i * 0x101010));
  return p;
}();

std::uint32_t Rgb(int x, int y) { return static_cast<std::uint32_t>((x * 8) << 16 | (y * 8) << 8 | 0x40); }
bool Ring(int x, int y) { return x == 0 || y == 0; }  // the masked-out pixels
bool NoMask(int, int) { return false; }

std::string Dib4(int size) {
  return MakeIconDib(size, size, 4, kPal16, [](int x, int y) { return static_cast<std::uint32_t>((x + y) % 16); }, Ring);
}
std::string Dib24(int size) { return MakeIconDib(size, size, 24, {}, Rgb, Ring); }
std::string Dib32(int size, bool alpha) {
  return MakeIconDib(
      size, size, 32, {}, [alpha](int x, int y) { return (alpha ? static_cast<std::uint32_t>(x * 7) << 24 : 0u) | Rgb(x, y); },
      Ring);
}
std::string Png(int size) {
  testimg::PngParts s;
  s.Width = s.Height = size;
  s.ColorType = 6;
  for (int y = 0; y < size; ++y) {
    std::vector<int> v;
    for (int x = 0; x < size; ++x) v.insert(v.end(), {x * 5 % 256, y * 5 % 256, 0x40, 200});
    s.Rows.push_back(testimg::PackPngSamples(v, 8));
  }
  return testimg::EncodePng(s);
}

TEST(IconTest, ChoosesTheLargestThenTheDeepestImage) {
  struct Case {
    const char* Name;
    std::vector<IcoImage> Images;
    int Size;
    std::function<std::uint32_t(int, int)> Expected;
  };
  const auto masked24 = [](int x, int y) { return Ring(x, y) ? 0u : 0xFF000000u | Rgb(x, y); };
  const std::vector<Case> cases = {
      {"4-bit with AND mask", {{Dib4(16), 16, 16, 4}}, 16,
       [](int x, int y) { return Ring(x, y) ? 0u : 0xFF000000u | kPal16[static_cast<std::size_t>((x + y) % 16)]; }},
      {"larger wins", {{Dib4(16), 16, 16, 4}, {Dib24(32), 32, 32, 24}}, 32, masked24},
      {"deeper wins at equal size", {{Dib4(16), 16, 16, 4}, {Dib24(16), 16, 16, 24}}, 16, masked24},
      {"the directory's sizes are not trusted", {{Dib24(32), 1, 1, 1}, {Dib4(16), 0, 0, 0}}, 32, masked24},
      {"32-bit alpha, mask ignored", {{Dib32(16, true), 16, 16, 32}}, 16,
       [](int x, int y) { return static_cast<std::uint32_t>(x * 7) << 24 | Rgb(x, y); }},
      {"32-bit without alpha uses the mask", {{Dib32(16, false), 16, 16, 32}}, 16, masked24},
      {"PNG image", {{Dib24(32), 32, 32, 24}, {Png(48), 48, 48, 32}}, 48,
       [](int x, int y) { return MakeARGB(200, static_cast<unsigned>(x * 5), static_cast<unsigned>(y * 5), 0x40); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TIcon icon;
    ASSERT_TRUE(icon.LoadFromBytes(MakeIco(c.Images))) << icon.LastError();
    EXPECT_EQ(icon.Width(), c.Size);
    EXPECT_EQ(icon.Height(), c.Size);
    EXPECT_TRUE(RasterIs(icon.Pixels(), c.Size, c.Size, c.Expected));
  }
}

TEST(IconTest, SkipsBrokenImagesAndRefusesWhenNoneIsLeft) {
  std::string ico = MakeIco({{Dib24(16), 16, 16, 24}, {Dib24(32), 32, 32, 24}});
  // The second entry's offset points past the end: the first image is used.
  const std::size_t offsetOfSecond = 6 + 16 + 12;
  std::string badSecond = ico;
  badSecond[offsetOfSecond + 3] = '\x7F';
  TIcon icon;
  ASSERT_TRUE(icon.LoadFromBytes(badSecond)) << icon.LastError();
  EXPECT_EQ(icon.Width(), 16);

  // The AND mask of the only image is cut off: the image shows opaque.
  const std::string dib = MakeIconDib(16, 16, 24, {}, Rgb, Ring);
  const std::string noMask = MakeIco({{dib.substr(0, dib.size() - 64), 16, 16, 24}});
  ASSERT_TRUE(icon.LoadFromBytes(noMask)) << icon.LastError();
  EXPECT_TRUE(RasterIs(icon.Pixels(), 16, 16, [](int x, int y) { return 0xFF000000u | Rgb(x, y); }));

  const std::vector<std::pair<const char*, std::string>> bad = {
      {"no images", std::string("\0\0\1\0\0\0", 6)},
      {"directory cut", ico.substr(0, 20)},
      {"every image broken", badSecond.substr(0, 6 + 32)},
      {"image too large", MakeIco({{MakeIconDib(1, 1, 24, {}, Rgb, NoMask).replace(4, 4, std::string("\x40\x9C\0\0", 4)), 0, 0, 24}})},
  };
  for (const auto& [name, bytes] : bad) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(icon.LoadFromBytes(bytes));
    EXPECT_TRUE(icon.Empty());
    EXPECT_FALSE(icon.LastError().empty());
  }
}

}  // namespace
}  // namespace pagora::test
