#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "GraphicsTestUtil.h"
#include "TestImages.h"
#include "graphics/Pictures.h"

namespace pagora::test {
namespace {

using testimg::EncodeGif;
using testimg::GifFrame;
using testimg::GifParts;

const std::vector<std::uint32_t> kPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
const std::vector<std::uint32_t> kLocal = {0x111111, 0x222222, 0x333333, 0x444444};

std::uint8_t IndexAt(int x, int y) { return static_cast<std::uint8_t>((x + 2 * y) % 4); }

GifFrame Frame(int left, int top, int w, int h) {
  GifFrame f;
  f.Left = left, f.Top = top, f.Width = w, f.Height = h;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) f.Indexes.push_back(IndexAt(x, y));
  return f;
}

TEST(GifTest, DecodesTheFirstFrameOntoTheScreen) {
  struct Case {
    const char* Name;
    GifParts Want;
    int Width, Height;
    std::function<std::uint32_t(int, int)> Expected;
  };
  auto global = [](int x, int y) { return 0xFF000000u | kPalette[IndexAt(x, y)]; };
  std::vector<Case> cases;
  cases.push_back({"plain", {5, 4, kPalette, {Frame(0, 0, 5, 4)}}, 5, 4, global});
  {
    GifParts s{5, 10, kPalette, {Frame(0, 0, 5, 10)}};
    s.Frames[0].Interlace = true;
    cases.push_back({"interlaced", s, 5, 10, global});
  }
  {
    GifParts s{5, 4, kPalette, {Frame(0, 0, 5, 4)}};
    s.Frames[0].TransparentIndex = 2;
    cases.push_back({"transparent colour", s, 5, 4, [=](int x, int y) { return IndexAt(x, y) == 2 ? 0u : global(x, y); }});
  }
  {
    GifParts s{5, 4, kPalette, {Frame(0, 0, 5, 4)}};
    s.Frames[0].LocalPalette = kLocal;
    cases.push_back({"local palette", s, 5, 4, [](int x, int y) { return 0xFF000000u | kLocal[IndexAt(x, y)]; }});
  }
  // A frame that covers part of the screen, and one that runs over its edge.
  cases.push_back({"frame inside the screen", {6, 5, kPalette, {Frame(2, 1, 3, 2)}}, 6, 5, [](int x, int y) {
                     const bool in = x >= 2 && x < 5 && y >= 1 && y < 3;
                     return in ? 0xFF000000u | kPalette[IndexAt(x - 2, y - 1)] : 0u;
                   }});
  cases.push_back({"frame over the edge", {4, 3, kPalette, {Frame(2, 1, 5, 5)}}, 4, 3, [](int x, int y) {
                     return x >= 2 && y >= 1 ? 0xFF000000u | kPalette[IndexAt(x - 2, y - 1)] : 0u;
                   }});
  {
    GifParts s{5, 4, kPalette, {Frame(0, 0, 5, 4), Frame(0, 0, 5, 4)}};
    s.Frames[1].LocalPalette = kLocal;
    cases.push_back({"second frame ignored", s, 5, 4, global});
  }
  cases.push_back({"screen without size", {0, 0, kPalette, {Frame(1, 2, 3, 2)}}, 4, 4, [](int x, int y) {
                     return x >= 1 && y >= 2 ? 0xFF000000u | kPalette[IndexAt(x - 1, y - 2)] : 0u;
                   }});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TGIFImage gif;
    ASSERT_TRUE(gif.LoadFromBytes(EncodeGif(c.Want))) << gif.LastError();
    EXPECT_EQ(gif.Width(), c.Width);
    EXPECT_EQ(gif.Height(), c.Height);
    EXPECT_TRUE(RasterIs(gif.Pixels(), c.Width, c.Height, c.Expected)) << gif.LastError();
  }
}

// The header reader needs the image descriptor; the decoder keeps the lines whose data
// sub-blocks are complete.
TEST(GifTest, CutShortFiles) {
  GifFrame noise;
  noise.Width = noise.Height = 100;
  std::uint32_t seed = 1;
  for (int i = 0; i < 100 * 100; ++i) {
    seed = seed * 1103515245u + 12345u;
    noise.Indexes.push_back(static_cast<std::uint8_t>((seed >> 16) % 4));
  }
  const std::string full = EncodeGif({100, 100, kPalette, {noise}});
  ASSERT_GT(full.size(), 1000u);  // several sub-blocks
  const std::size_t descriptor = full.find(',');  // 0x2C starts the image
  ASSERT_NE(descriptor, std::string::npos);
  {
    TGIFImage gif;
    EXPECT_FALSE(gif.LoadFromBytes(full.substr(0, descriptor)));
    EXPECT_NE(gif.LastError().find("no image"), std::string::npos) << gif.LastError();
  }
  {
    TGIFImage gif;
    ASSERT_TRUE(gif.LoadFromBytes(full.substr(0, full.size() / 2))) << gif.LastError();
    const TRasterImage& r = gif.Pixels();
    ASSERT_EQ(r.Width, 100) << gif.LastError();
    EXPECT_EQ(r.At(0, 0), 0xFF000000u | kPalette[noise.Indexes[0]]);
    EXPECT_EQ(r.At(99, 99), 0u);  // never decoded
  }
}

std::string Le16(int v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }

TEST(GifTest, RefusesHeadersItCannotTrust) {
  // Header, a global table of two colours, one image descriptor with the given size and
  // a few bytes of data.
  auto gif = [](int screenW, int screenH, int w, int h, std::size_t dataBytes) {
    std::string s = "GIF89a";
    for (const std::string& part : {Le16(screenW), Le16(screenH), std::string("\x80\0\0", 3), std::string(6, '\0'),
                                    std::string(","), Le16(0), Le16(0), Le16(w), Le16(h), std::string("\0\2", 2)})
      s += part;
    for (std::size_t left = dataBytes; left > 0;) {
      const std::size_t n = std::min<std::size_t>(left, 255);
      s += static_cast<char>(n);
      s += std::string(n, '\0');
      left -= n;
    }
    return s + std::string(1, '\0') + ";";
  };
  struct Case {
    const char* Name;
    std::string Bytes;
    const char* Message;
  };
  const std::vector<Case> cases = {
      {"no image", std::string("GIF89a") + Le16(4) + Le16(4) + std::string(3, '\0') + ";", "no image"},
      {"colour table cut", std::string("GIF89a\4\0\4\0\x87\0\0", 13) + std::string(10, '\0'), "colour table"},
      {"unknown block", std::string("GIF89a") + Le16(4) + Le16(4) + std::string(3, '\0') + "!\xF9\4" + std::string(4, '\0') + std::string("\0?", 2),
       "unknown block"},
      {"zero-sized frame", gif(4, 4, 0, 4, 4), "invalid size"},
      {"screen wider than the limit", gif(40000, 1, 1, 1, 4), "exceed the limit"},
      {"frame larger than the limit", gif(100, 100, 30000, 30000, 4), "exceed the limit"},
      {"a huge screen around a tiny frame", gif(16000, 16000, 1, 1, 4), "more than a file that small"},
      // 20000 x 10000 pixels need at least 73 KB of LZW data.
      {"a big picture in a few bytes", gif(20000, 10000, 20000, 10000, 2000), "too short"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TGIFImage g;
    EXPECT_FALSE(g.LoadFromBytes(c.Bytes));
    EXPECT_NE(g.LastError().find(c.Message), std::string::npos) << g.LastError();
  }
}

}  // namespace
}  // namespace pagora::test
