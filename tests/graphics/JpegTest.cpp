#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "GraphicsTestUtil.h"
#include "TestImages.h"
#include "graphics/Pictures.h"

namespace pagora::test {
namespace {

using testimg::EncodeJpeg;
using testimg::JpegParts;

// Four flat 16 x 16 quadrants, so that chroma subsampling and the DCT keep the colours.
constexpr int kSize = 32;
const std::uint32_t kQuadrants[4] = {0xFFE01010u, 0xFF10C020u, 0xFF2030D0u, 0xFFF0F0F0u};
std::uint32_t QuadrantAt(int x, int y) { return kQuadrants[(y >= 16) * 2 + (x >= 16)]; }

JpegParts Colour(int components) {
  JpegParts s;
  s.Width = s.Height = kSize;
  s.Components = components;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const std::uint32_t p = QuadrantAt(x, y);
      const unsigned r = RedOf(p), g = GreenOf(p), b = BlueOf(p);
      if (components == 1) {
        s.Samples.push_back(static_cast<std::uint8_t>(g));
      } else if (components == 3) {
        s.Samples.insert(s.Samples.end(), {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                           static_cast<std::uint8_t>(b)});
      } else {
        // Inverted CMYK with no black, as Adobe applications write it.
        s.Samples.insert(s.Samples.end(), {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                           static_cast<std::uint8_t>(b), 255});
      }
    }
  }
  return s;
}

void ExpectQuadrants(const TRasterImage& r, bool gray) {
  ASSERT_EQ(r.Width, kSize);
  ASSERT_EQ(r.Height, kSize);
  for (const int y : {4, 12, 20, 28}) {
    for (const int x : {4, 12, 20, 28}) {
      std::uint32_t want = QuadrantAt(x, y);
      if (gray) want = MakeARGB(255, GreenOf(want), GreenOf(want), GreenOf(want));
      EXPECT_TRUE(PixelNear(r.At(x, y), want, 6)) << "at " << x << ", " << y;
    }
  }
}

TEST(JpegTest, DecodesGrayColourCmykProgressiveAndArithmetic) {
  struct Case {
    const char* Name;
    JpegParts Image;
  };
  std::vector<Case> cases = {{"gray", Colour(1)}, {"YCbCr", Colour(3)}, {"Adobe CMYK", Colour(4)}};
  cases.push_back({"progressive", Colour(3)});
  cases.back().Image.Progressive = true;
  cases.push_back({"arithmetic", Colour(3)});
  cases.back().Image.Arithmetic = true;
  for (Case& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Image.Quality = 100;
    TJPEGImage jpeg;
    ASSERT_TRUE(jpeg.LoadFromBytes(EncodeJpeg(c.Image))) << jpeg.LastError();
    EXPECT_EQ(jpeg.Width(), kSize);
    EXPECT_EQ(jpeg.Height(), kSize);
    ExpectQuadrants(jpeg.Pixels(), c.Image.Components == 1);
  }
}

// Splits a JPEG into the part before its first scan, the scans (each SOS segment with
// its entropy data) and the rest (EOI).
struct Segments {
  std::string Head;
  std::vector<std::string> Scans;
  std::string Tail;
};
Segments Split(const std::string& j) {
  Segments p;
  std::size_t pos = 2;
  auto u8 = [&](std::size_t i) { return static_cast<unsigned char>(j[i]); };
  while (pos + 4 <= j.size() && u8(pos + 1) != 0xDA) pos += 2 + (u8(pos + 2) << 8 | u8(pos + 3));
  p.Head = j.substr(0, pos);
  while (pos + 1 < j.size() && u8(pos + 1) == 0xDA) {
    std::size_t end = pos + 2 + (u8(pos + 2) << 8 | u8(pos + 3));
    while (end + 1 < j.size() && !(u8(end) == 0xFF && u8(end + 1) != 0 && (u8(end + 1) < 0xD0 || u8(end + 1) > 0xD7)))
      ++end;
    p.Scans.push_back(j.substr(pos, end - pos));
    pos = end;
    // Tables between scans (DHT) are kept with the scan before them.
    while (pos + 4 <= j.size() && u8(pos + 1) != 0xDA && u8(pos + 1) != 0xD9) {
      const std::size_t len = 2 + (u8(pos + 2) << 8 | u8(pos + 3));
      p.Scans.back() += j.substr(pos, len);
      pos += len;
    }
  }
  p.Tail = j.substr(pos);
  return p;
}

TEST(JpegTest, TooManyScansFailTheDecode) {
  JpegParts image = Colour(3);
  image.Progressive = true;
  const Segments parts = Split(EncodeJpeg(image));
  ASSERT_GE(parts.Scans.size(), 5u);
  std::string bytes = parts.Head;
  for (const std::string& s : parts.Scans) bytes += s;
  for (int i = 0; i < 150; ++i) bytes += parts.Scans.back();  // the same refinement, again and again
  bytes += parts.Tail;
  TJPEGImage jpeg;
  ASSERT_TRUE(jpeg.LoadFromBytes(bytes)) << jpeg.LastError();
  EXPECT_TRUE(jpeg.Pixels().Empty());
  EXPECT_NE(jpeg.LastError().find("too many scans"), std::string::npos) << jpeg.LastError();
}

TEST(JpegTest, CutShortDecodesWhatIsThere) {
  const std::string full = EncodeJpeg(Colour(3));
  const Segments parts = Split(full);
  // Cut in the middle of the scan: the missing blocks are filled in.
  const std::string cut = full.substr(0, parts.Head.size() + parts.Scans[0].size() / 2);
  TJPEGImage jpeg;
  ASSERT_TRUE(jpeg.LoadFromBytes(cut)) << jpeg.LastError();
  const TRasterImage& r = jpeg.Pixels();
  ASSERT_EQ(r.Width, kSize);
  EXPECT_TRUE(PixelNear(r.At(4, 4), QuadrantAt(4, 4), 6));
}

void SetSize(std::string& j, int w, int h) {
  const std::size_t sof = j.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  j[sof + 5] = static_cast<char>(h >> 8), j[sof + 6] = static_cast<char>(h & 0xFF);
  j[sof + 7] = static_cast<char>(w >> 8), j[sof + 8] = static_cast<char>(w & 0xFF);
}

TEST(JpegTest, RefusesHeadersItCannotTrust) {
  const std::string good = EncodeJpeg(Colour(3));
  const Segments parts = Split(good);
  std::string wide = good, huge = good, bomb = good;
  SetSize(wide, 40000, 8);
  SetSize(huge, 30000, 30000);
  SetSize(bomb, 4000, 4000);  // 375,000 blocks need at least 46 KB of data
  struct Case {
    const char* Name;
    std::string Bytes;
    const char* Message;
  };
  const std::vector<Case> cases = {
      {"start of image only", good.substr(0, 3), "JPEG:"},
      {"header without a scan", parts.Head + "\xFF\xD9", "JPEG:"},
      {"wider than the limit", wide, "exceed the limit"},
      {"more pixels than the limit", huge, "exceed the limit"},
      {"a big picture in a few bytes", bomb, "too short"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TJPEGImage jpeg;
    EXPECT_FALSE(jpeg.LoadFromBytes(c.Bytes));
    EXPECT_NE(jpeg.LastError().find(c.Message), std::string::npos) << jpeg.LastError();
    EXPECT_TRUE(jpeg.Empty());
  }
}

}  // namespace
}  // namespace pagora::test
