// Writes the seed corpora of the picture fuzz targets: a few tiny valid files of every
// format, depth and layout the readers handle. Built by hand, not by the project; from
// the project root:
//
//   g++ -std=c++20 -I tests/graphics -o /tmp/make_picture_corpus tools/gen/make_picture_corpus.cpp tests/graphics/TestImages.cpp -lpng -ljpeg -lgif
//   /tmp/make_picture_corpus fuzz/corpus
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TestImages.h"

using namespace pagora::testimg;
namespace fs = std::filesystem;

namespace {

void Write(const fs::path& dir, const std::string& name, const std::string& bytes) {
  fs::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary) << bytes;
}

std::vector<std::uint32_t> Gray(int n) {
  std::vector<std::uint32_t> p;
  for (int i = 0; i < n; ++i) p.push_back(static_cast<std::uint32_t>(i * 255 / (n > 1 ? n - 1 : 1)) * 0x010101u);
  return p;
}

std::string Bmp(int bits, std::uint32_t compression, std::uint32_t header, int height, std::string data = {}) {
  BmpParts s;
  s.HeaderSize = header;
  s.Width = 5;
  s.Height = height;
  s.BitCount = bits;
  s.Compression = compression;
  if (bits <= 8) s.Palette = Gray(1 << bits);
  if (compression == 3) s.Masks = bits == 16 ? std::vector<std::uint32_t>{0xF800, 0x07E0, 0x001F, 0}
                                             : std::vector<std::uint32_t>{0xFF0000, 0xFF00, 0xFF, 0xFF000000u};
  s.Bits = data.empty() ? PackDibRows(5, height < 0 ? -height : height, bits,
                                      [bits](int x, int r) { return static_cast<std::uint32_t>(x * 37 + r * 91) & ((bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1)); })
                        : data;
  return MakeBmp(s);
}

std::string Png(int colorType, int depth, bool interlace) {
  PngParts s;
  s.Width = 5, s.Height = 9, s.ColorType = colorType, s.BitDepth = depth, s.Interlace = interlace;
  const int channels = colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
  for (int y = 0; y < s.Height; ++y) {
    std::vector<int> v;
    for (int x = 0; x < s.Width * channels; ++x) v.push_back((x * 5 + y * 3) % (depth == 16 ? 65536 : 1 << depth));
    s.Rows.push_back(PackPngSamples(v, depth));
  }
  if (colorType == 3) {
    s.Palette = Gray(1 << depth);
    s.PaletteAlpha = {0, 128};
  }
  if (colorType == 0 && depth == 8) s.TrnsGray = 3;
  return EncodePng(s);
}

std::string Jpeg(int components, bool progressive, bool arithmetic) {
  JpegParts s;
  s.Width = 16, s.Height = 8, s.Components = components, s.Progressive = progressive, s.Arithmetic = arithmetic;
  for (int i = 0; i < 16 * 8 * components; ++i) s.Samples.push_back(static_cast<std::uint8_t>(i * 7));
  return EncodeJpeg(s);
}

std::string Gif(bool interlace, int transparent, bool offset) {
  GifFrame f;
  f.Left = offset ? 1 : 0, f.Top = offset ? 2 : 0, f.Width = 4, f.Height = 9, f.Interlace = interlace;
  f.TransparentIndex = transparent;
  for (int i = 0; i < 36; ++i) f.Indexes.push_back(static_cast<std::uint8_t>(i % 4));
  return EncodeGif({6, 11, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF}, {f, f}});
}

std::string IconDib(int size, int bits) {
  return MakeIconDib(size, size, bits, bits <= 8 ? Gray(1 << bits) : std::vector<std::uint32_t>{},
                     [bits](int x, int y) { return static_cast<std::uint32_t>(x + y * 3) & (bits == 32 ? 0x80FFFFFFu : (1u << (bits < 32 ? bits : 31)) - 1); },
                     [](int x, int y) { return (x + y) % 3 == 0; });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[1];

  const fs::path bmp = root / "bmp";
  for (const int bits : {1, 4, 8, 16, 24, 32}) Write(bmp, "rgb" + std::to_string(bits) + ".bmp", Bmp(bits, 0, 40, 3));
  Write(bmp, "core8.bmp", Bmp(8, 0, 12, 3));
  Write(bmp, "topdown24.bmp", Bmp(24, 0, 40, -3));
  Write(bmp, "bitfields16.bmp", Bmp(16, 3, 40, 3));
  Write(bmp, "v5alpha32.bmp", Bmp(32, 3, 124, 2));
  Write(bmp, "rle8.bmp", Bmp(8, 1, 40, 3, std::string("\x03\x01\x00\x03\x02\x03\x01\x00\x00\x00\x00\x02\x02\x00\x02\x03\x00\x00\x05\x02\x00\x01", 22)));
  Write(bmp, "rle4.bmp", Bmp(4, 2, 40, 2, std::string("\x05\x12\x00\x00\x00\x03\x34\x50\x00\x01", 10)));

  const fs::path png = root / "png";
  for (const int d : {1, 2, 4, 8, 16}) Write(png, "gray" + std::to_string(d) + ".png", Png(0, d, false));
  for (const int d : {1, 4, 8}) Write(png, "palette" + std::to_string(d) + ".png", Png(3, d, false));
  for (const int t : {2, 4, 6})
    for (const int d : {8, 16}) Write(png, "type" + std::to_string(t) + "_" + std::to_string(d) + ".png", Png(t, d, false));
  Write(png, "interlaced_rgba.png", Png(6, 8, true));
  Write(png, "interlaced_palette.png", Png(3, 2, true));

  const fs::path jpeg = root / "jpeg";
  Write(jpeg, "gray.jpg", Jpeg(1, false, false));
  Write(jpeg, "rgb.jpg", Jpeg(3, false, false));
  Write(jpeg, "cmyk.jpg", Jpeg(4, false, false));
  Write(jpeg, "progressive.jpg", Jpeg(3, true, false));
  Write(jpeg, "arithmetic.jpg", Jpeg(3, false, true));

  const fs::path gif = root / "gif";
  Write(gif, "plain.gif", Gif(false, -1, false));
  Write(gif, "interlaced.gif", Gif(true, -1, false));
  Write(gif, "transparent_offset.gif", Gif(false, 2, true));

  const fs::path ico = root / "ico";
  Write(ico, "four_depths.ico", MakeIco({{IconDib(4, 1), 4, 4, 1}, {IconDib(4, 4), 4, 4, 4}, {IconDib(5, 8), 5, 5, 8}, {IconDib(6, 24), 6, 6, 24}}));
  Write(ico, "alpha32.ico", MakeIco({{IconDib(3, 32), 3, 3, 32}}));
  Write(ico, "png.ico", MakeIco({{IconDib(2, 24), 2, 2, 24}, {Png(6, 8, false), 5, 9, 32}}));

  const fs::path mf = root / "metafile";
  BmpParts dib;
  dib.Width = 2, dib.Height = 2, dib.BitCount = 8, dib.Palette = Gray(4), dib.ClrUsed = 4, dib.FileHeader = false;
  dib.Bits = PackDibRows(2, 2, 8, [](int x, int r) { return static_cast<std::uint32_t>(x + 2 * r); });
  const std::string dibBytes = MakeBmp(dib);
  const std::string header = dibBytes.substr(0, 40 + 16);
  Write(mf, "bitmap.emf", MakeEmf({0, 0, 2540, 1270}, {EmfStretchDibits(header, dib.Bits, 2, 2)}));
  Write(mf, "drawing.emf", MakeEmf({0, 0, 1000, 500}, {EmfRecord(43, std::string(16, '\0'))}));
  Write(mf, "placeable_bitmap.wmf", MakeWmf({WmfStretchDib(dibBytes, 2, 2)}, true, 1440, 720, 1440));
  Write(mf, "bare_extent.wmf", MakeWmf({WmfRecord(0x020C, std::string("\xD0\x02\xA0\x05", 4)), WmfDibStretchBlt(dibBytes, 2, 2)}, false, 0, 0, 0));
  Write(mf, "drawing.wmf", MakeWmf({WmfRecord(0x041B, std::string(8, '\0'))}, true, 1000, 1000, 0));
  return 0;
}
