// Builders of tiny picture files for the tests and the fuzzing seeds. BMP, ICO, WMF and
// EMF are written by hand, byte by byte; PNG, JPEG and GIF are encoded with libpng,
// libjpeg and giflib. Nothing here uses the code under test.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pagora::testimg {

void Put16(std::string& s, std::uint32_t v);
void Put32(std::string& s, std::uint32_t v);

// ---- BMP ----
struct BmpParts {
  std::uint32_t HeaderSize = 40;  // 12 (core), 40, 52, 56, 108, 124
  int Width = 0;
  int Height = 0;  // negative: top-down
  int BitCount = 24;
  std::uint32_t Compression = 0;
  std::vector<std::uint32_t> Palette;  // 0x00RRGGBB
  std::vector<std::uint32_t> Masks;    // after a 40-byte header, inside a larger one
  std::uint32_t ClrUsed = 0;
  std::string Bits;                    // the pixel data as stored
  bool FileHeader = true;
};
std::string MakeBmp(const BmpParts& parts);
// Rows in storage order, each padded to 4 bytes; value(x, row) is the raw pixel value
// (a palette index, or the 16-, 24- or 32-bit value).
std::string PackDibRows(int width, int rows, int bitCount, const std::function<std::uint32_t(int, int)>& value);

// ---- ICO ----
struct IcoImage {
  std::string Data;  // a DIB (doubled height, AND mask) or a PNG file
  int DirWidth = 0;  // what the directory claims (0 means 256)
  int DirHeight = 0;
  int DirBitCount = 0;
};
std::string MakeIco(const std::vector<IcoImage>& images);
// A DIB for an icon: colour bits (bottom-up) and an AND mask; mask(x, y) true is transparent.
std::string MakeIconDib(int width, int height, int bitCount, const std::vector<std::uint32_t>& palette,
                        const std::function<std::uint32_t(int, int)>& value, const std::function<bool(int, int)>& mask);

// ---- EMF / WMF ----
struct EmfFrame {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;  // hundredths of a millimetre
};
// An EMF: header with the frame (and the bounds it implies at 96 ppi), the records, EOF.
std::string MakeEmf(EmfFrame frame, const std::vector<std::string>& records);
std::string EmfRecord(std::uint32_t type, const std::string& params);
// EMR_STRETCHDIBITS drawing the DIB (header + palette, bits) to the whole frame.
std::string EmfStretchDibits(const std::string& bmi, const std::string& bits, int width, int height);
// A WMF; with inch > 0 (or placeable set) a placeable header with that bounding box.
std::string MakeWmf(const std::vector<std::string>& records, bool placeable, int bboxWidth, int bboxHeight, int inch);
std::string WmfRecord(std::uint16_t function, const std::string& params);
std::string WmfStretchDib(const std::string& dib, int width, int height);
std::string WmfDibStretchBlt(const std::string& dib, int width, int height);

// ---- PNG, JPEG, GIF through the libraries ----
struct PngParts {
  int Width = 0, Height = 0;
  int ColorType = 2;  // 0 gray, 2 RGB, 3 palette, 4 gray+alpha, 6 RGBA
  int BitDepth = 8;
  bool Interlace = false;
  std::vector<std::string> Rows;        // packed as PNG stores them (16-bit big-endian)
  std::vector<std::uint32_t> Palette;   // 0x00RRGGBB
  std::vector<std::uint8_t> PaletteAlpha;
  int TrnsGray = -1;                    // gray value that is transparent
  std::vector<int> TrnsRgb;             // r, g, b that is transparent
};
std::string EncodePng(const PngParts& parts);
// Packs samples of the given depth into a PNG row (1..8 bits MSB first, 16 big-endian).
std::string PackPngSamples(const std::vector<int>& samples, int depth);

struct JpegParts {
  int Width = 0, Height = 0;
  int Components = 3;  // 1 gray, 3 RGB, 4 CMYK
  std::vector<std::uint8_t> Samples;
  int Quality = 95;
  bool Progressive = false;
  bool Arithmetic = false;
};
std::string EncodeJpeg(const JpegParts& parts);

struct GifFrame {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Interlace = false;
  std::vector<std::uint8_t> Indexes;  // row by row, top to bottom
  int TransparentIndex = -1;
  std::vector<std::uint32_t> LocalPalette;  // 0x00RRGGBB; empty: the global one
};
struct GifParts {
  int ScreenWidth = 0, ScreenHeight = 0;
  std::vector<std::uint32_t> Palette;  // a power of two entries, 2..256
  std::vector<GifFrame> Frames;
};
std::string EncodeGif(const GifParts& parts);

}  // namespace pagora::testimg
