#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "GraphicsTestUtil.h"
#include "TestImages.h"
#include "graphics/ImageLimits.h"
#include "graphics/Pictures.h"

namespace pagora::test {
namespace {

using namespace testimg;

// A 3 x 2 24-bit DIB, as metafiles carry it: header, then bits.
std::uint32_t DibColor(int x, int y) { return static_cast<std::uint32_t>(0x102030 * (x + 1) + 0x400000 * y); }
BmpParts DibParts() {
  BmpParts s;
  s.Width = 3, s.Height = 2, s.BitCount = 24, s.FileHeader = false;
  s.Bits = PackDibRows(3, 2, 24, [](int x, int r) { return DibColor(x, 1 - r); });
  return s;
}
std::string Dib() { return MakeBmp(DibParts()); }
std::string DibHeader() { return Dib().substr(0, 40); }
std::string DibBits() { return DibParts().Bits; }
bool IsDib(const TRasterImage& r) {
  return RasterIs(r, 3, 2, [](int x, int y) { return 0xFF000000u | DibColor(x, y); });
}

std::string EmfState(std::uint32_t type) { return EmfRecord(type, std::string(8, '\0')); }
const EmfFrame kInchByHalf{0, 0, 2540, 1270};

TEST(MetafileTest, EnhancedMetafileSizeComesFromItsFrame) {
  TMetafile emf;
  ASSERT_TRUE(emf.LoadFromBytes(MakeEmf({100, 100, 100 + 5080, 100 + 2540}, {}))) << emf.LastError();
  EXPECT_TRUE(emf.Enhanced());
  EXPECT_TRUE(emf.IsMetafile());
  EXPECT_EQ(emf.Format(), TPictureFormat::EMF);
  EXPECT_EQ(emf.Width(), 192);  // 2 inches at 96 pixels per inch
  EXPECT_EQ(emf.Height(), 96);
  EXPECT_EQ(emf.MMWidth(), 5080);
  EXPECT_EQ(emf.MMHeight(), 2540);
  EXPECT_EQ(emf.Inch(), 0);
  EXPECT_TRUE(emf.WMFRecords().empty());
}

TEST(MetafileTest, WindowsMetafileSizeFollowsItsUnitsPerInch) {
  const std::string records = WmfRecord(0x020C, std::string("\xD0\x02\xA0\x05", 4));  // window extent 1440 x 720
  struct Case {
    const char* Name;
    std::string Bytes;
    bool Placeable;
    int Inch, Width, Height, MMWidth;
  };
  const std::vector<Case> cases = {
      {"placeable, 1440 per inch", MakeWmf({}, true, 1440, 720, 1440), true, 1440, 96, 48, 2540},
      {"placeable, 576 per inch", MakeWmf({}, true, 576, 288, 576), true, 576, 96, 48, 2540},
      {"placeable without units per inch", MakeWmf({}, true, 1440, 720, 0), true, 1440, 96, 48, 2540},
      {"bare, window extent", MakeWmf({records}, false, 0, 0, 0), false, 1440, 96, 48, 2540},
      {"bare, no extent", MakeWmf({}, false, 0, 0, 0), false, 1440, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TMetafile wmf;
    ASSERT_TRUE(wmf.LoadFromBytes(c.Bytes)) << wmf.LastError();
    EXPECT_FALSE(wmf.Enhanced());
    EXPECT_EQ(wmf.Format(), TPictureFormat::WMF);
    EXPECT_EQ(wmf.Placeable(), c.Placeable);
    EXPECT_EQ(wmf.Inch(), c.Inch);
    EXPECT_EQ(wmf.Width(), c.Width);
    EXPECT_EQ(wmf.Height(), c.Height);
    EXPECT_EQ(wmf.MMWidth(), c.MMWidth);
    EXPECT_EQ(wmf.WMFRecords(), std::string_view(c.Bytes).substr(c.Placeable ? 22 : 0));
  }
  TMetafile wmf;
  ASSERT_TRUE(wmf.LoadFromBytes(MakeWmf({records}, false, 0, 0, 0)));
  wmf.SetInch(720);
  EXPECT_EQ(wmf.Width(), 192);
  EXPECT_EQ(wmf.MMWidth(), 5080);
  EXPECT_EQ(wmf.SaveToBytes(), MakeWmf({records}, false, 0, 0, 0));  // the bytes do not change
}

TEST(MetafileTest, AMetafileThatWrapsOneBitmapDecodesToIt) {
  const std::string stretch = WmfStretchDib(Dib(), 3, 2);
  struct Case {
    const char* Name;
    std::string Bytes;
  };
  const std::vector<Case> cases = {
      {"EMF stretch-DIB", MakeEmf(kInchByHalf, {EmfStretchDibits(DibHeader(), DibBits(), 3, 2)})},
      {"EMF with state records around it",
       MakeEmf(kInchByHalf, {EmfState(33), EmfState(17), EmfStretchDibits(DibHeader(), DibBits(), 3, 2), EmfState(34)})},
      {"placeable WMF stretch-DIB", MakeWmf({stretch}, true, 1440, 720, 1440)},
      {"bare WMF with a window extent and DIB-stretch-blt",
       MakeWmf({WmfRecord(0x020C, std::string("\xD0\x02\xA0\x05", 4)), WmfDibStretchBlt(Dib(), 3, 2)}, false, 0, 0, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TMetafile mf;
    ASSERT_TRUE(mf.LoadFromBytes(c.Bytes)) << mf.LastError();
    EXPECT_EQ(mf.Width(), 96);  // the metafile's own size, not the bitmap's
    EXPECT_EQ(mf.Height(), 48);
    EXPECT_TRUE(IsDib(mf.Pixels()));
    const std::unique_ptr<TBitmap> bitmap = mf.ExtractBitmap();
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->Width(), 3);
    EXPECT_TRUE(IsDib(bitmap->Pixels()));
    // The extracted bitmap is a whole BMP file another reader can take.
    const std::string bmp = bitmap->SaveToBytes();
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bmp[10]), 14 + 40);
  }
}

TEST(MetafileTest, AnyOtherMetafileShowsAFramedPlaceholder) {
  const std::string bitmapRecord = EmfStretchDibits(DibHeader(), DibBits(), 3, 2);
  // A run-length bitmap that claims 16 million pixels and ends at once.
  BmpParts bomb;
  bomb.Width = bomb.Height = 4096, bomb.BitCount = 8, bomb.Compression = 1, bomb.FileHeader = false;
  bomb.Bits = std::string("\0\1", 2);
  const std::string bombHeader = MakeBmp(bomb).substr(0, 40);
  struct Case {
    const char* Name;
    std::string Bytes;
  };
  const std::vector<Case> cases = {
      {"EMF that draws a rectangle", MakeEmf(kInchByHalf, {EmfRecord(43, std::string(16, '\0'))})},
      {"EMF with a bitmap and a rectangle", MakeEmf(kInchByHalf, {bitmapRecord, EmfRecord(43, std::string(16, '\0'))})},
      {"EMF with two bitmaps", MakeEmf(kInchByHalf, {bitmapRecord, bitmapRecord})},
      {"EMF wrapping a bitmap that claims too much", MakeEmf(kInchByHalf, {EmfStretchDibits(bombHeader, bomb.Bits, 3, 2)})},
      {"empty EMF", MakeEmf(kInchByHalf, {})},
      {"WMF that draws a rectangle", MakeWmf({WmfRecord(0x041B, std::string(8, '\0'))}, true, 1440, 720, 1440)},
      {"WMF DIB-stretch-blt without a bitmap", MakeWmf({WmfRecord(0x0B41, std::string(22, '\0'))}, true, 1440, 720, 1440)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TMetafile mf;
    ASSERT_TRUE(mf.LoadFromBytes(c.Bytes)) << mf.LastError();
    EXPECT_EQ(mf.ExtractBitmap(), nullptr);
    const TRasterImage& r = mf.Pixels();
    ASSERT_EQ(r.Width, 96);
    ASSERT_EQ(r.Height, 48);
    EXPECT_EQ(r.At(0, 0), 0xFF808080u);
    EXPECT_EQ(r.At(95, 47), 0xFF808080u);
    EXPECT_EQ(r.At(40, 20), 0xFFF0F0F0u);
  }
}

TEST(MetafileTest, AHugePlaceholderIsMadeSmaller) {
  const int side = 30000;  // pixels
  TMetafile emf;
  ASSERT_TRUE(emf.LoadFromBytes(MakeEmf({0, 0, side * 2540 / 96, side / 2 * 2540 / 96}, {}))) << emf.LastError();
  EXPECT_EQ(emf.Width(), side);
  const TRasterImage& r = emf.Pixels();
  ASSERT_FALSE(r.Empty());
  EXPECT_LE(std::int64_t{r.Width} * r.Height, kMaxPlaceholderPixels);
  EXPECT_NEAR(static_cast<double>(r.Width) / r.Height, 2.0, 0.01);
}

TEST(MetafileTest, LoadFromWMFBitsAddsAPlaceableHeaderForTheSize) {
  const std::string records = MakeWmf({WmfStretchDib(Dib(), 3, 2)}, false, 0, 0, 0);
  for (const auto& [mmWidth, mmHeight] : std::vector<std::pair<int, int>>{{2540, 1270}, {100000, 50000}}) {
    SCOPED_TRACE(mmWidth);
    TMetafile wmf;
    ASSERT_TRUE(wmf.LoadFromWMFBits(records, mmWidth, mmHeight)) << wmf.LastError();
    EXPECT_TRUE(wmf.Placeable());
    EXPECT_EQ(wmf.WMFRecords(), records);
    EXPECT_NEAR(wmf.MMWidth(), mmWidth, mmWidth / 500 + 1);
    EXPECT_NEAR(wmf.MMHeight(), mmHeight, mmHeight / 500 + 1);
    EXPECT_TRUE(IsDib(wmf.Pixels()));
  }
}

std::string OnePixelPng() {
  PngParts s;
  s.Width = s.Height = 1, s.ColorType = 0, s.Rows = {std::string(1, '\0')};
  return EncodePng(s);
}

TEST(MetafileTest, RefusesWhatItCannotRead) {
  const std::string emf = MakeEmf(kInchByHalf, {});
  std::string badSignature = emf;
  badSignature[40] = 'X';
  std::string wmfBadVersion = MakeWmf({}, false, 0, 0, 0);
  wmfBadVersion[4] = 7;
  struct Case {
    const char* Name;
    std::string Bytes;
  };
  const std::vector<Case> cases = {
      {"EMF header cut", emf.substr(0, 60)},
      {"EMF signature wrong", badSignature},
      {"EMF larger than the limit", MakeEmf({0, 0, 40000 * 2540 / 96, 2540}, {})},
      {"placeable header cut", MakeWmf({}, true, 1440, 720, 1440).substr(0, 20)},
      {"placeable header without a metafile", MakeWmf({}, true, 1440, 720, 1440).substr(0, 30)},
      {"WMF of unknown version", wmfBadVersion},
      {"placeable, larger than the limit at its units per inch", MakeWmf({}, true, 30000, 100, 10)},
      {"a PNG", OnePixelPng()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TMetafile mf;
    EXPECT_FALSE(mf.LoadFromBytes(c.Bytes));
    EXPECT_FALSE(mf.LastError().empty());
    EXPECT_TRUE(mf.Empty());
    EXPECT_FALSE(mf.Enhanced());
  }
}

}  // namespace
}  // namespace pagora::test
