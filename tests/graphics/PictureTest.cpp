// What every picture class shares: bytes kept exactly, formats found by their magic,
// lazy decoding, independent clones, registration, and the invalid picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "GraphicsTestUtil.h"
#include "TestImages.h"
#include "graphics/BmpWriter.h"
#include "graphics/Graphic.h"
#include "graphics/InvalidPicture.h"
#include "graphics/PictureFormat.h"
#include "graphics/Pictures.h"

namespace pagora::test {
namespace {

using namespace testimg;

std::string SmallBmp() {
  BmpParts s;
  s.Width = 2, s.Height = 2, s.BitCount = 24;
  s.Bits = PackDibRows(2, 2, 24, [](int x, int r) { return x ? 0x0000FFu : 0xFF0000u + static_cast<std::uint32_t>(r); });
  return MakeBmp(s);
}
std::string SmallPng() {
  PngParts s;
  s.Width = 2, s.Height = 2, s.ColorType = 2;
  s.Rows = {std::string("\xFF\0\0\0\0\xFF", 6), std::string("\xFF\0\1\0\0\xFF", 6)};
  return EncodePng(s);
}
std::string SmallJpeg() {
  JpegParts s;
  s.Width = s.Height = 8, s.Components = 1, s.Samples.assign(64, 128);
  return EncodeJpeg(s);
}
std::string SmallGif() {
  GifFrame f;
  f.Width = f.Height = 2, f.Indexes = {0, 1, 1, 0};
  return EncodeGif({2, 2, {0xFF0000, 0x0000FF}, {f}});
}
std::string SmallIco() {
  return MakeIco({{MakeIconDib(2, 2, 24, {}, [](int, int) { return 0x123456u; }, [](int, int) { return false; }), 2, 2, 24}});
}
std::string SmallEmf() { return MakeEmf({0, 0, 2540, 2540}, {}); }
std::string SmallWmf() { return MakeWmf({}, true, 1440, 1440, 1440); }

struct Fixture {
  const char* Name;
  TPictureFormat Format;
  std::string Bytes;
};
std::vector<Fixture> Fixtures() {
  return {{"BMP", TPictureFormat::BMP, SmallBmp()}, {"PNG", TPictureFormat::PNG, SmallPng()},
          {"JPEG", TPictureFormat::JPEG, SmallJpeg()}, {"GIF", TPictureFormat::GIF, SmallGif()},
          {"ICO", TPictureFormat::ICO, SmallIco()}, {"EMF", TPictureFormat::EMF, SmallEmf()},
          {"WMF", TPictureFormat::WMF, SmallWmf()}};
}

std::vector<std::unique_ptr<TCodedGraphic>> EveryClass() {
  std::vector<std::unique_ptr<TCodedGraphic>> v;
  v.push_back(std::make_unique<TBitmap>());
  v.push_back(std::make_unique<TIcon>());
  v.push_back(std::make_unique<TJPEGImage>());
  v.push_back(std::make_unique<TPNGObject>());
  v.push_back(std::make_unique<TGIFImage>());
  v.push_back(std::make_unique<TMetafile>());
  return v;
}

// Any raster class reads any raster format and keeps its class name; only the
// metafile class reads metafiles. Whatever loads gives back its bytes unchanged, even
// with trailing bytes no reader looks at.
TEST(PictureTest, EveryClassKeepsTheBytesOfWhatItCanRead) {
  for (const Fixture& f : Fixtures()) {
    EXPECT_EQ(SniffPictureFormat(f.Bytes), f.Format) << f.Name;
    const std::string bytes = f.Bytes + std::string("trailing\0bytes", 14);
    for (const auto& g : EveryClass()) {
      SCOPED_TRACE(std::string(f.Name) + " in " + g->ClassName());
      const bool readable = g->IsMetafile() ? IsMetafileFormat(f.Format) : IsRasterFormat(f.Format);
      ASSERT_EQ(g->LoadFromBytes(bytes), readable) << g->LastError();
      if (!readable) {
        EXPECT_NE(g->LastError().find("cannot be held"), std::string::npos) << g->LastError();
        continue;
      }
      EXPECT_EQ(g->SaveToBytes(), bytes);
      EXPECT_EQ(g->Format(), f.Format);
      EXPECT_FALSE(g->Empty());
      EXPECT_FALSE(g->Pixels().Empty()) << g->LastError();
      EXPECT_EQ(g->SaveToBytes(), bytes);  // decoding changes nothing
    }
  }
}

TEST(PictureTest, SniffsByMagicNotByClass) {
  TBitmap bmp;
  ASSERT_TRUE(bmp.LoadFromBytes(SmallPng()));
  EXPECT_EQ(bmp.ClassName(), "TBitmap");
  EXPECT_TRUE(bmp.IsBitmap());
  EXPECT_EQ(bmp.Format(), TPictureFormat::PNG);
  EXPECT_TRUE(RasterIs(bmp.Pixels(), 2, 2, [](int x, int y) { return x ? 0xFF0000FFu : 0xFFFF0000u | static_cast<std::uint32_t>(y); }));
  EXPECT_EQ(SniffPictureFormat("BM"), TPictureFormat::BMP);
  EXPECT_EQ(SniffPictureFormat("GIF88a"), TPictureFormat::None);
  EXPECT_EQ(SniffPictureFormat(std::string("\0\0\1\0\0\0", 6)), TPictureFormat::None);  // an icon with no images
  EXPECT_EQ(SniffPictureFormat(""), TPictureFormat::None);
}

TEST(PictureTest, DecodesOnlyWhenThePixelsAreAskedFor) {
  for (const Fixture& f : Fixtures()) {
    SCOPED_TRACE(f.Name);
    std::unique_ptr<TCodedGraphic> g = IsMetafileFormat(f.Format) ? std::unique_ptr<TCodedGraphic>(new TMetafile)
                                                                   : std::unique_ptr<TCodedGraphic>(new TBitmap);
    ASSERT_TRUE(g->LoadFromBytes(f.Bytes));
    EXPECT_FALSE(g->PixelsDecoded());
    const TRasterImage& first = g->Pixels();
    EXPECT_TRUE(g->PixelsDecoded());
    EXPECT_EQ(&g->Pixels(), &first);  // decoded once
    ASSERT_TRUE(g->LoadFromBytes(f.Bytes));
    EXPECT_FALSE(g->PixelsDecoded());  // a new load forgets the old pixels
  }
}

TEST(PictureTest, AFailedLoadLeavesTheGraphicEmpty) {
  TBitmap bmp;
  ASSERT_TRUE(bmp.LoadFromBytes(SmallBmp()));
  (void)bmp.Pixels();
  EXPECT_FALSE(bmp.LoadFromBytes("not a picture"));
  EXPECT_TRUE(bmp.Empty());
  EXPECT_EQ(bmp.Format(), TPictureFormat::None);
  EXPECT_EQ(bmp.SaveToBytes(), "");
  EXPECT_TRUE(bmp.Pixels().Empty());
  EXPECT_FALSE(bmp.PixelsDecoded());

  TMetafile mf;
  ASSERT_TRUE(mf.LoadFromBytes(SmallEmf()));
  EXPECT_FALSE(mf.LoadFromBytes(SmallEmf().substr(0, 50)));
  EXPECT_EQ(mf.Width(), 0);
  EXPECT_EQ(mf.Inch(), 0);
}

TEST(PictureTest, ClonesAreIndependent) {
  TBitmap original;
  ASSERT_TRUE(original.LoadFromBytes(SmallBmp()));
  original.SetTransparent(true);
  original.SetTransparentMode(TTransparentMode::tmFixed);
  original.SetTransparentColor(0x00FF00);
  const std::unique_ptr<TGraphic> undecoded = original.Clone();
  (void)original.Pixels();
  const std::unique_ptr<TGraphic> decoded = original.Clone();
  ASSERT_TRUE(original.LoadFromBytes(SmallPng()));
  original.SetTransparent(false);
  for (const TGraphic* c : {undecoded.get(), decoded.get()}) {
    EXPECT_EQ(c->ClassName(), "TBitmap");
    EXPECT_EQ(c->SaveToBytes(), SmallBmp());
    EXPECT_EQ(c->Format(), TPictureFormat::BMP);
    EXPECT_TRUE(c->Transparent());
    EXPECT_EQ(c->TransparentMode(), TTransparentMode::tmFixed);
    EXPECT_EQ(c->TransparentColor(), 0x00FF00u);
    EXPECT_EQ(c->Pixels().At(1, 0), 0xFF0000FFu);
  }
  EXPECT_EQ(original.Format(), TPictureFormat::PNG);

  TMetafile wmf;
  ASSERT_TRUE(wmf.LoadFromBytes(SmallWmf()));
  wmf.SetInch(720);
  const std::unique_ptr<TGraphic> copy = wmf.Clone();
  wmf.SetInch(2880);
  const auto* m = dynamic_cast<const TMetafile*>(copy.get());
  ASSERT_TRUE(m);
  EXPECT_EQ(m->Inch(), 720);
  EXPECT_EQ(m->Width(), 192);
}

// Every prefix of a valid file either fails to load or loads and decodes without
// trouble; the sanitizers watch the reads.
TEST(PictureTest, EveryPrefixOfAFileIsSafe) {
  for (const Fixture& f : Fixtures()) {
    SCOPED_TRACE(f.Name);
    for (std::size_t n = 0; n < f.Bytes.size(); ++n) {
      std::unique_ptr<TCodedGraphic> g = IsMetafileFormat(f.Format) ? std::unique_ptr<TCodedGraphic>(new TMetafile)
                                                                     : std::unique_ptr<TCodedGraphic>(new TBitmap);
      if (!g->LoadFromBytes(f.Bytes.substr(0, n))) {
        EXPECT_TRUE(g->Empty());
        continue;
      }
      const TRasterImage& r = g->Pixels();
      if (!r.Empty() && !g->IsMetafile()) {
        EXPECT_EQ(r.Width, g->Width()) << n;
        EXPECT_EQ(r.Height, g->Height()) << n;
      }
    }
  }
}

TEST(PictureTest, RegistersTheLibraryClassesAndThenTheApplicationOnes) {
  // The only test that touches the process-wide registry.
  for (const char* name : {"TBitmap", "TIcon", "TMetafile", "TJPEGImage", "TGIFImage", "TPNGObject"})
    ASSERT_FALSE(IsGraphicClassRegistered(name)) << name;
  RegisterStandardGraphicClasses();
  RegisterStandardGraphicClasses();
  for (const char* name : {"TBitmap", "TIcon", "TMetafile", "TJPEGImage"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(IsGraphicClassRegistered(name));
    const std::unique_ptr<TGraphic> g = CreateGraphic(name);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->ClassName(), name);
    EXPECT_TRUE(g->Empty());
  }
  EXPECT_FALSE(IsGraphicClassRegistered("TGIFImage"));
  EXPECT_FALSE(IsGraphicClassRegistered("TPNGObject"));
  EXPECT_EQ(CreateGraphic("TPNGObject"), nullptr);

  RegisterGIFAndPNGClasses();
  for (const char* name : {"TGIFImage", "TPNGObject"}) {
    const std::unique_ptr<TGraphic> g = CreateGraphic(name);
    ASSERT_TRUE(g) << name;
    EXPECT_EQ(g->ClassName(), name);
  }
  // A class the application put in place is not replaced.
  RegisterGraphicClass("TIcon", [] { return std::make_unique<TPNGObject>(); });
  RegisterAllGraphicClasses();
  EXPECT_EQ(CreateGraphic("TIcon")->ClassName(), "TPNGObject");
  EXPECT_EQ(RegisteredGraphicClasses().size(), 6u);
  RegisterGraphicClass("TIcon", [] { return std::make_unique<TIcon>(); });
}

TEST(PictureTest, TheInvalidPictureIsASmallRedCross) {
  const std::unique_ptr<TGraphic> a = CreateInvalidPicture();
  const std::unique_ptr<TGraphic> b = CreateInvalidPicture();
  ASSERT_TRUE(a && b);
  EXPECT_NE(a.get(), b.get());
  EXPECT_EQ(a->ClassName(), "TBitmap");
  EXPECT_EQ(a->SaveToBytes(), InvalidPictureBytes());
  const TRasterImage& r = a->Pixels();
  ASSERT_EQ(r.Width, 16);
  ASSERT_EQ(r.Height, 16);
  EXPECT_EQ(r.At(0, 0), 0xFF808080u);    // frame
  EXPECT_EQ(r.At(2, 8), 0xFFFFFFFFu);    // white ground
  EXPECT_EQ(r.At(5, 5), 0xFFE00000u);    // both diagonals
  EXPECT_EQ(r.At(10, 5), 0xFFE00000u);
  a->SetTransparent(true);
  EXPECT_FALSE(b->Transparent());
}

}  // namespace
}  // namespace pagora::test

namespace pagora::test {
namespace {

TEST(TransparentBitmap, ItsTransparentColourIsShownClear) {
  // Rows from the top: red green / blue red. The bottom-left pixel is blue.
  const std::uint32_t red = MakeARGB(255, 255, 0, 0), green = MakeARGB(255, 0, 255, 0), blue = MakeARGB(255, 0, 0, 255);
  TBitmap bitmap;
  ASSERT_TRUE(bitmap.LoadFromBytes(EncodeBMP({2, 2, {red, green, blue, red}})));
  EXPECT_EQ(&bitmap.DisplayPixels(), &bitmap.Pixels());  // opaque: the pixels themselves
  struct Case {
    const char* name;
    TTransparentMode mode;
    TColor color;
    std::vector<std::uint32_t> shown;
  };
  const Case cases[] = {
      {"automatic: the bottom-left colour", TTransparentMode::tmAuto, clNone, {red, green, 0, red}},
      {"fixed colour", TTransparentMode::tmFixed, clRed, {0, green, blue, 0}},
  };
  for (const Case& c : cases) {
    bitmap.SetTransparent(true);
    bitmap.SetTransparentMode(c.mode);
    bitmap.SetTransparentColor(c.color);
    EXPECT_EQ(bitmap.DisplayPixels().Pixels, c.shown) << c.name;
  }
}

}  // namespace
}  // namespace pagora::test
