// The readers behind the picture classes. Each format has a cheap header reader (size,
// limits, whether the bytes can hold that many pixels) and a decoder that fills a raster
// of the size the header reader found. Both return false with a message on bad input;
// neither throws except std::bad_alloc.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "graphics/Pictures.h"
#include "platform/RasterImage.h"

namespace pagora::codec {

bool ReadBmpInfo(std::string_view bytes, TPictureInfo& info, std::string& error);
bool DecodeBmp(std::string_view bytes, const TPictureInfo& info, TRasterImage& raster, std::string& error);

bool ReadPngInfo(std::string_view bytes, TPictureInfo& info, std::string& error);
bool DecodePng(std::string_view bytes, const TPictureInfo& info, TRasterImage& raster, std::string& error);

bool ReadJpegInfo(std::string_view bytes, TPictureInfo& info, std::string& error);
bool DecodeJpeg(std::string_view bytes, const TPictureInfo& info, TRasterImage& raster, std::string& error);

bool ReadGifInfo(std::string_view bytes, TPictureInfo& info, std::string& error);
bool DecodeGif(std::string_view bytes, const TPictureInfo& info, TRasterImage& raster, std::string& error);

bool ReadIcoInfo(std::string_view bytes, TPictureInfo& info, std::string& error);
bool DecodeIco(std::string_view bytes, const TPictureInfo& info, TRasterImage& raster, std::string& error);

// Dispatch by format (raster formats only).
bool ReadRasterInfo(std::string_view bytes, TPictureFormat format, TPictureInfo& info, std::string& error);
bool DecodeRaster(std::string_view bytes, const TPictureInfo& info, TRasterImage& raster, std::string& error);

// A device-independent bitmap: an info header (core, info, V2..V5 or OS/2) with its
// masks, palette and bits, as BMP files, icons, metafiles and the clipboard hold them.
struct TDibLayout {
  int Width = 0;
  int Height = 0;  // always positive; TopDown tells the row order
  bool TopDown = false;
  int BitCount = 0;
  std::uint32_t Compression = 0;
  std::uint32_t Masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  std::size_t PaletteOffset = 0;
  int PaletteCount = 0;      // usable entries (at most 2^BitCount)
  int PaletteEntrySize = 4;  // 3 for the core header
  std::size_t BitsOffset = 0;
  bool Icon = false;         // an icon's image: height doubled, AND mask after the bits
};

// Parses the DIB in dib (beginning with its info header). bitsOffset is where the bits
// begin when a file header says so (npos: right after the palette). With icon set the
// height is that of the colour image plus its mask.
bool ParseDib(std::string_view dib, std::size_t bitsOffset, bool icon, TDibLayout& layout, std::string& error);
bool DecodeDib(std::string_view dib, const TDibLayout& layout, TRasterImage& raster, std::string& error);

inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;
inline constexpr std::uint32_t kBiBitfields = 3;
inline constexpr std::uint32_t kBiAlphaBitfields = 6;

// Allocates a transparent raster of the size; false when it is not allowed.
bool AllocateRaster(int width, int height, TRasterImage& raster, std::string& error);

}  // namespace pagora::codec
