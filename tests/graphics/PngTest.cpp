#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "GraphicsTestUtil.h"
#include "TestImages.h"
#include "graphics/Pictures.h"

namespace pagora::test {
namespace {

using testimg::EncodePng;
using testimg::PackPngSamples;
using testimg::PngParts;

constexpr int kW = 9;  // odd sizes leave Adam7 passes partly filled
constexpr int kH = 7;

// The value of channel c at (x, y), before scaling to the bit depth.
int Base(int x, int y, int c) { return (x * 7 + y * 13 + c * 29) % 256; }
int Sample(int x, int y, int c, int depth) { return depth == 16 ? Base(x, y, c) * 257 : Base(x, y, c) % (1 << depth); }
unsigned To8(int x, int y, int c, int depth) {
  if (depth >= 8) return static_cast<unsigned>(Base(x, y, c));
  return static_cast<unsigned>(Sample(x, y, c, depth) * 255 / ((1 << depth) - 1));
}

std::uint32_t PaletteColor(int i) {
  return static_cast<std::uint32_t>((i * 13 % 256) << 16 | (i * 7 % 256) << 8 | (255 - i));
}

struct PngCase {
  int ColorType;
  int Depth;
  bool Interlace = false;
  bool Trns = false;
};

std::string Name(const PngCase& c) {
  return "colour type " + std::to_string(c.ColorType) + ", " + std::to_string(c.Depth) + " bits" +
         (c.Interlace ? ", interlaced" : "") + (c.Trns ? ", tRNS" : "");
}

int ChannelsOf(int colorType) { return colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1; }

PngParts Build(const PngCase& c) {
  PngParts s;
  s.Width = kW;
  s.Height = kH;
  s.ColorType = c.ColorType;
  s.BitDepth = c.Depth;
  s.Interlace = c.Interlace;
  const int channels = ChannelsOf(c.ColorType);
  for (int y = 0; y < kH; ++y) {
    std::vector<int> samples;
    for (int x = 0; x < kW; ++x)
      for (int ch = 0; ch < channels; ++ch) samples.push_back(Sample(x, y, ch, c.Depth));
    s.Rows.push_back(PackPngSamples(samples, c.Depth));
  }
  if (c.ColorType == 3) {
    for (int i = 0; i < (1 << c.Depth); ++i) s.Palette.push_back(PaletteColor(i));
    if (c.Trns) s.PaletteAlpha = {0, 60, 120, 180};  // the other entries stay opaque
  } else if (c.Trns && c.ColorType == 0) {
    s.TrnsGray = Sample(0, 0, 0, c.Depth);
  } else if (c.Trns && c.ColorType == 2) {
    s.TrnsRgb = {Sample(0, 0, 0, c.Depth), Sample(0, 0, 1, c.Depth), Sample(0, 0, 2, c.Depth)};
  }
  return s;
}

std::uint32_t Expected(const PngCase& c, int x, int y) {
  switch (c.ColorType) {
    case 0: {
      if (c.Trns && Sample(x, y, 0, c.Depth) == Sample(0, 0, 0, c.Depth)) return 0x00000000u | To8(x, y, 0, c.Depth) * 0x010101u;
      const unsigned g = To8(x, y, 0, c.Depth);
      return MakeARGB(255, g, g, g);
    }
    case 2: {
      const bool clear = c.Trns && x == 0 && y == 0;
      return MakeARGB(clear ? 0 : 255, To8(x, y, 0, c.Depth), To8(x, y, 1, c.Depth), To8(x, y, 2, c.Depth));
    }
    case 3: {
      const int i = Sample(x, y, 0, c.Depth);
      const unsigned alpha = c.Trns && i < 4 ? static_cast<unsigned>(i * 60) : 255;
      return (alpha << 24) | PaletteColor(i);
    }
    case 4: {
      const unsigned g = To8(x, y, 0, c.Depth);
      return MakeARGB(To8(x, y, 1, c.Depth), g, g, g);
    }
    default:
      return MakeARGB(To8(x, y, 3, c.Depth), To8(x, y, 0, c.Depth), To8(x, y, 1, c.Depth), To8(x, y, 2, c.Depth));
  }
}

TEST(PngTest, DecodesEveryColourTypeAndDepth) {
  std::vector<PngCase> cases;
  for (const int d : {1, 2, 4, 8, 16}) cases.push_back({0, d});
  for (const int d : {1, 2, 4, 8}) cases.push_back({3, d});
  for (const int t : {2, 4, 6})
    for (const int d : {8, 16}) cases.push_back({t, d});
  for (const PngCase c : std::vector<PngCase>{{0, 1}, {3, 4}, {2, 8}, {6, 16}}) cases.push_back({c.ColorType, c.Depth, true});
  for (const PngCase c : std::vector<PngCase>{{0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 2}, {3, 8}})
    cases.push_back({c.ColorType, c.Depth, false, true});
  cases.push_back({3, 8, true, true});
  for (const PngCase& c : cases) {
    SCOPED_TRACE(Name(c));
    TPNGObject png;
    ASSERT_TRUE(png.LoadFromBytes(EncodePng(Build(c)))) << png.LastError();
    EXPECT_EQ(png.Width(), kW);
    EXPECT_EQ(png.Height(), kH);
    EXPECT_TRUE(RasterIs(png.Pixels(), kW, kH, [&](int x, int y) { return Expected(c, x, y); }));
  }
}

// A PNG made of chunks as given; our header reader does not check CRCs, libpng does.
std::string Chunk(const std::string& type, const std::string& data) {
  std::string s;
  for (int i = 3; i >= 0; --i) s.push_back(static_cast<char>((data.size() >> (8 * i)) & 0xFF));
  return s + type + data + std::string(4, '\0');
}
std::string Ihdr(std::uint32_t w, std::uint32_t h, int depth, int colorType) {
  std::string d;
  for (const std::uint32_t v : {w, h})
    for (int i = 3; i >= 0; --i) d.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  d += static_cast<char>(depth);
  d += static_cast<char>(colorType);
  d += std::string(3, '\0');
  return Chunk("IHDR", d);
}
const std::string kSig("\x89PNG\r\n\x1A\n", 8);

TEST(PngTest, RefusesHeadersItCannotTrust) {
  const std::string good = EncodePng(Build({2, 8}));
  struct Case {
    const char* Name;
    std::string Bytes;
    const char* Message;
  };
  const std::vector<Case> cases = {
      {"signature only", kSig, "header is missing"},
      {"IHDR cut", good.substr(0, 20), "header is missing"},
      {"no IDAT", kSig + Ihdr(4, 4, 8, 2) + Chunk("IEND", ""), "image data"},
      {"another chunk first", kSig + Chunk("gAMA", "abcd") + Ihdr(4, 4, 8, 2), "IHDR"},
      {"bad depth for RGB", kSig + Ihdr(4, 4, 4, 2) + Chunk("IDAT", "x"), "invalid image header"},
      {"palette image without PLTE", kSig + Ihdr(4, 4, 8, 3) + Chunk("IDAT", std::string(64, 'x')), "palette"},
      {"wider than the limit", kSig + Ihdr(100000, 1, 8, 0) + Chunk("IDAT", std::string(200, 'x')), "exceed the limit"},
      {"more pixels than the limit", kSig + Ihdr(20000, 20000, 1, 0) + Chunk("IDAT", std::string(60000, 'x')),
       "exceed the limit"},
      // 10000 x 10000 gray needs 100 MB raw, at least 97 KB of deflate data.
      {"too little data for its size", kSig + Ihdr(10000, 10000, 8, 0) + Chunk("IDAT", std::string(1000, 'x')),
       "too short"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TPNGObject png;
    EXPECT_FALSE(png.LoadFromBytes(c.Bytes));
    EXPECT_NE(png.LastError().find(c.Message), std::string::npos) << png.LastError();
    EXPECT_TRUE(png.Empty());
  }
}

// A header that passes but a body that libpng refuses: loading succeeds (it only reads
// the header), and the decode yields an empty raster with libpng's reason.
TEST(PngTest, CorruptImageDataDecodesToNothing) {
  const std::string good = EncodePng(Build({6, 8}));
  const std::size_t idat = good.find("IDAT");
  ASSERT_NE(idat, std::string::npos);
  std::string damaged = good;
  for (std::size_t i = idat + 6; i < idat + 20 && i < good.size(); ++i) damaged[i] = static_cast<char>(~damaged[i]);
  const std::string truncated = good.substr(0, idat + 12);
  for (const std::string& bytes : {damaged, truncated}) {
    TPNGObject png;
    ASSERT_TRUE(png.LoadFromBytes(bytes)) << png.LastError();
    EXPECT_FALSE(png.PixelsDecoded());
    EXPECT_TRUE(png.Pixels().Empty());
    EXPECT_TRUE(png.PixelsDecoded());
    EXPECT_NE(png.LastError().find("PNG:"), std::string::npos) << png.LastError();
    EXPECT_EQ(png.Width(), kW);  // the header's size stays
  }
}

TEST(PngTest, SkipsAncillaryChunksItDoesNotNeed) {
  std::string bytes = EncodePng(Build({2, 8}));
  const std::size_t idat = bytes.find("IDAT") - 4;
  // A compressed text chunk with rubbish in it: never inflated, so harmless.
  bytes.insert(idat, Chunk("zTXt", std::string("key\0\0", 5) + std::string(100, '\xFF')) + Chunk("abCd", "zz"));
  TPNGObject png;
  ASSERT_TRUE(png.LoadFromBytes(bytes));
  EXPECT_TRUE(RasterIs(png.Pixels(), kW, kH, [](int x, int y) { return Expected({2, 8}, x, y); })) << png.LastError();
}

}  // namespace
}  // namespace pagora::test
