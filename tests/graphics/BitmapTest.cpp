#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "GraphicsTestUtil.h"
#include "TestImages.h"
#include "graphics/Pictures.h"

namespace pagora::test {
namespace {

using testimg::BmpParts;
using testimg::MakeBmp;
using testimg::PackDibRows;

constexpr int kW = 11;  // odd, so rows need padding and sub-byte pixels cross bytes
constexpr int kH = 3;

unsigned Scale(unsigned v, unsigned max) { return (v * 255 + max / 2) / max; }

std::vector<std::uint32_t> Palette(int count) {
  std::vector<std::uint32_t> p;
  for (int i = 0; i < count; ++i)
    p.push_back(static_cast<std::uint32_t>(((i * 16) % 256) << 16 | (255 - i) << 8 | ((i * 37) % 256)));
  return p;
}

std::uint32_t Opaque(std::uint32_t rgb) { return 0xFF000000u | rgb; }

struct DepthCase {
  const char* Name;
  std::uint32_t HeaderSize;
  int BitCount;
  std::uint32_t Compression;
  std::vector<std::uint32_t> Masks;
  bool TopDown;
  int PaletteSize;  // entries written (0: none)
  std::uint32_t ClrUsed;
  std::function<std::uint32_t(int, int)> Raw;       // stored value at (x, y)
  std::function<std::uint32_t(int, int)> Expected;  // decoded ARGB at (x, y)
};

std::uint32_t Index(int x, int y, int bits) { return static_cast<std::uint32_t>(x * 3 + y * 5) % (1u << bits); }

std::uint32_t FromPalette(int x, int y, int bits, int paletteSize) {
  const std::uint32_t i = Index(x, y, bits);
  return i < static_cast<std::uint32_t>(paletteSize) ? Opaque(Palette(paletteSize)[i]) : 0xFF000000u;
}

unsigned R5(int x, int) { return static_cast<unsigned>(x * 3) % 32; }
unsigned G5(int x, int y) { return static_cast<unsigned>(y * 7 + x) % 32; }
unsigned G6(int x, int y) { return static_cast<unsigned>(x * 5 + y) % 64; }
unsigned B5(int x, int y) { return static_cast<unsigned>(x + y * 11) % 32; }
std::uint32_t Rgb24(int x, int y) {
  return static_cast<std::uint32_t>((x * 20) << 16 | (y * 60) << 8 | (255 - x * 10));
}
unsigned Alpha(int x, int y) { return static_cast<unsigned>(x * 23 + y * 40) % 256; }

std::vector<DepthCase> DepthCases() {
  std::vector<DepthCase> cases;
  for (const int bits : {1, 4, 8}) {
    for (const bool topDown : {false, true}) {
      cases.push_back({bits == 1 ? "1-bit" : bits == 4 ? "4-bit" : "8-bit", 40, bits, 0, {}, topDown, 1 << bits, 0,
                       [bits](int x, int y) { return Index(x, y, bits); },
                       [bits](int x, int y) { return FromPalette(x, y, bits, 1 << bits); }});
    }
    cases.push_back({"core header, indexed", 12, bits, 0, {}, false, 1 << bits, 0,
                     [bits](int x, int y) { return Index(x, y, bits); },
                     [bits](int x, int y) { return FromPalette(x, y, bits, 1 << bits); }});
  }
  // Indexes past a short palette are black.
  cases.push_back({"4-bit, 5 colours used", 40, 4, 0, {}, false, 5, 5, [](int x, int y) { return Index(x, y, 4); },
                   [](int x, int y) { return FromPalette(x, y, 4, 5); }});
  cases.push_back({"16-bit 5-5-5", 40, 16, 0, {}, false, 0, 0,
                   [](int x, int y) { return R5(x, y) << 10 | G5(x, y) << 5 | B5(x, y); },
                   [](int x, int y) {
                     return MakeARGB(255, Scale(R5(x, y), 31), Scale(G5(x, y), 31), Scale(B5(x, y), 31));
                   }});
  cases.push_back({"16-bit 5-6-5 bit fields", 40, 16, 3, {0xF800, 0x07E0, 0x001F}, true, 0, 0,
                   [](int x, int y) { return R5(x, y) << 11 | G6(x, y) << 5 | B5(x, y); },
                   [](int x, int y) {
                     return MakeARGB(255, Scale(R5(x, y), 31), Scale(G6(x, y), 63), Scale(B5(x, y), 31));
                   }});
  cases.push_back({"16-bit 4-4-4-4 in a V4 header", 108, 16, 3, {0x0F00, 0x00F0, 0x000F, 0xF000}, false, 0, 0,
                   [](int x, int y) {
                     return (Alpha(x, y) >> 4) << 12 | (R5(x, y) % 16) << 8 | (G5(x, y) % 16) << 4 | (B5(x, y) % 16);
                   },
                   [](int x, int y) {
                     return MakeARGB((Alpha(x, y) >> 4) * 17, (R5(x, y) % 16) * 17, (G5(x, y) % 16) * 17,
                                     (B5(x, y) % 16) * 17);
                   }});
  for (const bool topDown : {false, true})
    cases.push_back({"24-bit", 40, 24, 0, {}, topDown, 0, 0, Rgb24, [](int x, int y) { return Opaque(Rgb24(x, y)); }});
  cases.push_back({"core header, 24-bit", 12, 24, 0, {}, false, 0, 0, Rgb24,
                   [](int x, int y) { return Opaque(Rgb24(x, y)); }});
  cases.push_back({"OS/2 2.x header, 8-bit", 64, 8, 0, {}, false, 256, 0, [](int x, int y) { return Index(x, y, 8); },
                   [](int x, int y) { return FromPalette(x, y, 8, 256); }});
  // The fourth byte of a plain 32-bit bitmap is not alpha.
  cases.push_back({"32-bit", 40, 32, 0, {}, false, 0, 0, [](int x, int y) { return 0x5A000000u | Rgb24(x, y); },
                   [](int x, int y) { return Opaque(Rgb24(x, y)); }});
  cases.push_back({"32-bit bit fields, blue and red swapped", 40, 32, 3, {0x0000FF, 0x00FF00, 0xFF0000}, false, 0, 0,
                   Rgb24, [](int x, int y) {
                     const std::uint32_t v = Rgb24(x, y);
                     return MakeARGB(255, v & 0xFF, (v >> 8) & 0xFF, v >> 16);
                   }});
  for (const std::uint32_t header : {108u, 124u})
    cases.push_back({header == 108 ? "32-bit with alpha, V4 header" : "32-bit with alpha, V5 header", header, 32, 3,
                     {0xFF0000, 0xFF00, 0xFF, 0xFF000000u}, false, 0, 0,
                     [](int x, int y) { return Alpha(x, y) << 24 | Rgb24(x, y); },
                     [](int x, int y) { return Alpha(x, y) << 24 | Rgb24(x, y); }});
  cases.push_back({"32-bit alpha bit fields", 40, 32, 6, {0xFF0000, 0xFF00, 0xFF, 0xFF000000u}, true, 0, 0,
                   [](int x, int y) { return Alpha(x, y) << 24 | Rgb24(x, y); },
                   [](int x, int y) { return Alpha(x, y) << 24 | Rgb24(x, y); }});
  return cases;
}

std::string Build(const DepthCase& c) {
  BmpParts s;
  s.HeaderSize = c.HeaderSize;
  s.Width = kW;
  s.Height = c.TopDown ? -kH : kH;
  s.BitCount = c.BitCount;
  s.Compression = c.Compression;
  s.Masks = c.Masks;
  s.ClrUsed = c.ClrUsed;
  if (c.PaletteSize) s.Palette = Palette(c.PaletteSize);
  const bool topDown = c.TopDown;
  s.Bits = PackDibRows(kW, kH, c.BitCount, [&](int x, int r) { return c.Raw(x, topDown ? r : kH - 1 - r); });
  return MakeBmp(s);
}

TEST(BitmapTest, DecodesEveryDepthAndLayout) {
  for (const DepthCase& c : DepthCases()) {
    SCOPED_TRACE(std::string(c.Name) + (c.TopDown ? ", top-down" : "") + ", header " + std::to_string(c.HeaderSize) +
                 ", " + std::to_string(c.BitCount) + " bits");
    TBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromBytes(Build(c))) << bmp.LastError();
    EXPECT_EQ(bmp.Width(), kW);
    EXPECT_EQ(bmp.Height(), kH);
    EXPECT_TRUE(RasterIs(bmp.Pixels(), kW, kH, c.Expected));
  }
}

// A DIB found in a file often carries a wrong bits offset; a missing or impossible
// one means the bits follow the palette.
TEST(BitmapTest, FallsBackToThePaletteEndWhenTheBitsOffsetIsUnusable) {
  const std::vector<DepthCase> all = DepthCases();
  const DepthCase& c = *std::find_if(all.begin(), all.end(), [](const DepthCase& d) {
    return std::string(d.Name) == "8-bit" && !d.TopDown;
  });
  for (const std::uint32_t offBits : {0u, 5u, 0x7FFFFFFFu}) {
    std::string file = Build(c);
    for (int i = 0; i < 4; ++i) file[10 + static_cast<std::size_t>(i)] = static_cast<char>((offBits >> (8 * i)) & 0xFF);
    TBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromBytes(file)) << offBits << ": " << bmp.LastError();
    EXPECT_TRUE(RasterIs(bmp.Pixels(), kW, kH, c.Expected)) << offBits;
  }
}

// Run-length data as written by hand: runs, absolute runs with padding, deltas, ends of
// line and of bitmap, and a run longer than the row. Skipped pixels stay transparent.
TEST(BitmapTest, DecodesRunLengthEncoding) {
  const std::vector<std::uint32_t> pal = Palette(16);
  const auto P = [&](int i) { return Opaque(pal[static_cast<std::size_t>(i)]); };
  constexpr std::uint32_t T = 0;
  struct RleCase {
    const char* Name;
    int BitCount;
    int Width, Height;
    std::string Data;
    std::vector<std::vector<std::uint32_t>> Rows;  // top to bottom
  };
  const std::vector<RleCase> cases = {
      {"RLE8 runs, absolute, delta, EOL, EOB", 8, 6, 3,
       std::string("\x03\x01" "\x00\x03\x02\x03\x01\x00" "\x00\x00"  // bottom row
                   "\x00\x02\x02\x00" "\x02\x03" "\x00\x00"          // delta right by two
                   "\x06\x02" "\x00\x01", 22),
       {{P(2), P(2), P(2), P(2), P(2), P(2)}, {T, T, P(3), P(3), T, T}, {P(1), P(1), P(1), P(2), P(3), P(1)}}},
      {"RLE8 run past the row end is cut", 8, 3, 1, std::string("\xFF\x05" "\x00\x01", 4), {{P(5), P(5), P(5)}}},
      {"RLE8 data ends without EOB", 8, 2, 2, std::string("\x02\x04", 2), {{T, T}, {P(4), P(4)}}},
      {"RLE4 runs alternate nibbles, absolute", 4, 5, 2,
       std::string("\x05\x12" "\x00\x00" "\x00\x03\x34\x50" "\x00\x01", 10),
       {{P(3), P(4), P(5), T, T}, {P(1), P(2), P(1), P(2), P(1)}}},
      {"RLE4 delta down", 4, 5, 2, std::string("\x00\x02\x01\x01" "\x02\x77" "\x00\x01", 8),
       {{T, P(7), P(7), T, T}, {T, T, T, T, T}}},
  };
  for (const RleCase& c : cases) {
    SCOPED_TRACE(c.Name);
    BmpParts s;
    s.Width = c.Width;
    s.Height = c.Height;
    s.BitCount = c.BitCount;
    s.Compression = c.BitCount == 8 ? 1 : 2;
    s.Palette = c.BitCount == 8 ? Palette(256) : pal;
    s.Bits = c.Data;
    TBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromBytes(MakeBmp(s))) << bmp.LastError();
    EXPECT_TRUE(RasterIs(bmp.Pixels(), c.Width, c.Height, [&](int x, int y) {
      return c.Rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
    }));
  }
}

TEST(BitmapTest, RefusesWhatItCannotRead) {
  const std::string good = Build(DepthCases()[0]);
  BmpParts twoBit;
  twoBit.Width = 4, twoBit.Height = 1, twoBit.BitCount = 2, twoBit.Bits = std::string(4, '\0');
  BmpParts jpegInside = twoBit;
  jpegInside.BitCount = 24, jpegInside.Compression = 4, jpegInside.Bits = std::string(16, '\0');
  BmpParts rleWrongDepth = twoBit;
  rleWrongDepth.BitCount = 4, rleWrongDepth.Compression = 1, rleWrongDepth.Bits = std::string("\0\1", 2);
  BmpParts zeroWidth = twoBit;
  zeroWidth.Width = 0, zeroWidth.BitCount = 24;
  BmpParts wide = twoBit;
  wide.Width = 40000, wide.BitCount = 24;
  BmpParts huge = twoBit;
  huge.Width = 20000, huge.Height = 20000, huge.BitCount = 24;
  BmpParts hugeRle = rleWrongDepth;
  hugeRle.BitCount = 8, hugeRle.Width = 32768, hugeRle.Height = 32768;
  BmpParts rleBomb = rleWrongDepth;
  rleBomb.BitCount = 8, rleBomb.Width = 4096, rleBomb.Height = 4096;
  BmpParts hugePalette = twoBit;
  hugePalette.BitCount = 8, hugePalette.ClrUsed = 0x01000000;
  struct Case {
    const char* Name;
    std::string Bytes;
    const char* Message;  // part of LastError()
  };
  const std::vector<Case> cases = {
      {"empty", "", "not a picture"},
      {"file header only", good.substr(0, 14), "cut short"},
      {"info header cut", good.substr(0, 30), "cut short"},
      {"pixels cut into the last row", good.substr(0, good.size() - 3), "cut short"},
      {"2 bits per pixel", MakeBmp(twoBit), "bits per pixel"},
      {"embedded JPEG", MakeBmp(jpegInside), "compression"},
      {"RLE8 with 4 bits", MakeBmp(rleWrongDepth), "compression"},
      {"zero width", MakeBmp(zeroWidth), "invalid size"},
      {"wider than the limit", MakeBmp(wide), "exceed the limit"},
      {"more pixels than the limit", MakeBmp(huge), "exceed the limit"},
      {"RLE claiming 2^30 pixels", MakeBmp(hugeRle), "exceed the limit"},
      {"RLE claiming 16 million pixels in 56 bytes", MakeBmp(rleBomb), "more than a file that small"},
      {"palette of 16 million colours", MakeBmp(hugePalette), "palette"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TBitmap bmp;
    EXPECT_FALSE(bmp.LoadFromBytes(c.Bytes));
    EXPECT_NE(bmp.LastError().find(c.Message), std::string::npos) << bmp.LastError();
    EXPECT_TRUE(bmp.Empty());
    EXPECT_EQ(bmp.SaveToBytes(), "");
    EXPECT_TRUE(bmp.Pixels().Empty());
  }
}

TEST(BitmapTest, LoadFromRasterEncodesOpaqueAndTranslucentPictures) {
  for (const std::uint32_t corner : {0xFF102030u, 0x80102030u}) {
    TRasterImage r;
    r.Width = 3, r.Height = 2;
    r.Pixels = {corner, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu, 0xFF000000u};
    TBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromRaster(r)) << bmp.LastError();
    EXPECT_EQ(bmp.Format(), TPictureFormat::BMP);
    EXPECT_EQ(bmp.SaveToBytes()[28], corner == 0xFF102030u ? 24 : 32);  // bits per pixel
    EXPECT_TRUE(RasterIs(bmp.Pixels(), 3, 2, [&](int x, int y) { return r.At(x, y); }));
  }
}

}  // namespace
}  // namespace pagora::test
