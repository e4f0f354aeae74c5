// Our own reader of BMP files and device-independent bitmaps: core, info, V2 to V5 and
// OS/2 headers; 1, 4, 8, 16, 24 and 32 bits; uncompressed, RLE4, RLE8 and bit fields;
// bottom-up and top-down. Also the images of icons (height doubled, AND mask behind).
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>

#include "graphics/ImageLimits.h"
#include "graphics/codecs/Bytes.h"
#include "graphics/codecs/Codecs.h"

namespace pagora::codec {

namespace {

constexpr std::size_t npos = std::string_view::npos;
constexpr std::size_t kFileHeaderSize = 14;

struct TChannel {
  std::uint32_t Mask = 0;
  int Shift = 0;
  std::uint32_t Max = 0;

  explicit TChannel(std::uint32_t mask) : Mask(mask) {
    if (mask != 0) {
      Shift = std::countr_zero(mask);
      Max = mask >> Shift;
    }
  }
  // The channel's value scaled to 0..255; a mask with holes in it saturates.
  [[nodiscard]] unsigned Get(std::uint32_t pixel) const noexcept {
    if (Max == 0) return 0;
    const std::uint64_t v = (pixel & Mask) >> Shift;
    return static_cast<unsigned>(std::min<std::uint64_t>(255, (v * 255 + Max / 2) / Max));
  }
};

std::uint64_t Stride(int width, int bitCount) {
  return ((static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 31) / 32) * 4;
}
std::uint64_t RowBytes(int width, int bitCount) {
  return (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 7) / 8;
}

void DecodeRows(std::string_view dib, const TDibLayout& l, const std::uint32_t* palette, TRasterImage& raster) {
  const std::size_t stride = Stride(l.Width, l.BitCount);
  const TChannel red(l.Masks[0]), green(l.Masks[1]), blue(l.Masks[2]), alpha(l.Masks[3]);
  for (int r = 0; r < l.Height; ++r) {
    const std::size_t row = l.BitsOffset + static_cast<std::size_t>(r) * stride;
    const int y = l.TopDown ? r : l.Height - 1 - r;
    std::uint32_t* out = raster.Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(l.Width);
    for (int x = 0; x < l.Width; ++x) {
      const auto ux = static_cast<std::size_t>(x);
      switch (l.BitCount) {
        case 1: out[x] = palette[(At8(dib, row + ux / 8) >> (7 - ux % 8)) & 1]; break;
        case 4: out[x] = palette[(At8(dib, row + ux / 2) >> (ux % 2 ? 0 : 4)) & 0xF]; break;
        case 8: out[x] = palette[At8(dib, row + ux)]; break;
        case 24: {
          const std::size_t p = row + ux * 3;
          out[x] = MakeARGB(255, At8(dib, p + 2), At8(dib, p + 1), At8(dib, p));
          break;
        }
        default: {
          const std::uint32_t v = l.BitCount == 16 ? Le16(dib, row + ux * 2) : Le32(dib, row + ux * 4);
          out[x] = MakeARGB(alpha.Max ? alpha.Get(v) : 255, red.Get(v), green.Get(v), blue.Get(v));
          break;
        }
      }
    }
  }
}

// Runs, escapes and absolute runs; pixels the data skips (deltas, early ends of lines
// or of the bitmap) stay transparent. Every step consumes input, so the loop ends.
void DecodeRle(std::string_view dib, const TDibLayout& l, const std::uint32_t* palette, TRasterImage& raster) {
  const bool rle8 = l.Compression == kBiRle8;
  std::size_t p = l.BitsOffset;
  const std::size_t end = dib.size();
  int x = 0;
  int r = 0;  // row in file order
  auto put = [&](unsigned index) {
    if (x < l.Width && r < l.Height) {
      const int y = l.TopDown ? r : l.Height - 1 - r;
      raster.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(l.Width) + static_cast<std::size_t>(x)] =
          palette[index & 0xFF];
    }
    if (x < l.Width) ++x;
  };
  while (r < l.Height && end - p >= 2) {
    const unsigned count = At8(dib, p);
    const unsigned value = At8(dib, p + 1);
    p += 2;
    if (count > 0) {
      for (unsigned i = 0; i < count && x < l.Width; ++i)
        put(rle8 ? value : (i % 2 ? value & 0xF : value >> 4));
    } else if (value == 0) {
      x = 0;
      ++r;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (end - p < 2) break;
      x = std::min(l.Width, x + At8(dib, p));
      r = std::min(l.Height, r + At8(dib, p + 1));
      p += 2;
    } else {
      const std::size_t bytes = rle8 ? value : (value + 1) / 2;
      const std::size_t have = std::min(bytes, end - p);
      for (unsigned i = 0; i < value; ++i) {
        const std::size_t at = rle8 ? i : i / 2;
        if (at >= have) break;
        const unsigned b = At8(dib, p + at);
        put(rle8 ? b : (i % 2 ? b & 0xF : b >> 4));
      }
      if (have < bytes) break;
      p += (bytes + 1) & ~std::size_t{1};
      if (p > end) break;
    }
  }
}

// An icon's AND mask: a set bit makes the pixel transparent. A 32-bit image that carries
// alpha ignores its mask.
void ApplyIconMask(std::string_view dib, const TDibLayout& l, TRasterImage& raster) {
  if (l.BitCount == 32) {
    const bool anyAlpha = std::any_of(raster.Pixels.begin(), raster.Pixels.end(),
                                      [](std::uint32_t p) { return AlphaOf(p) != 0; });
    if (anyAlpha) return;
    for (auto& p : raster.Pixels) p |= 0xFF000000u;
  }
  if (l.Compression != kBiRgb && l.Compression != kBiBitfields && l.Compression != kBiAlphaBitfields) return;
  const std::size_t maskOffset =
      l.BitsOffset + static_cast<std::size_t>(Stride(l.Width, l.BitCount)) * static_cast<std::size_t>(l.Height);
  const std::size_t stride = Stride(l.Width, 1);
  const std::size_t need = stride * static_cast<std::size_t>(l.Height - 1) + RowBytes(l.Width, 1);
  if (!Fits(dib, maskOffset, need)) return;  // no mask: opaque
  for (int r = 0; r < l.Height; ++r) {
    const std::size_t row = maskOffset + static_cast<std::size_t>(r) * stride;
    const int y = l.TopDown ? r : l.Height - 1 - r;
    std::uint32_t* out = raster.Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(l.Width);
    for (int x = 0; x < l.Width; ++x) {
      const auto ux = static_cast<std::size_t>(x);
      if ((At8(dib, row + ux / 8) >> (7 - ux % 8)) & 1) out[x] = 0;
    }
  }
}

}  // namespace

bool AllocateRaster(int width, int height, TRasterImage& raster, std::string& error) {
  if (!CheckImageSize(width, height, "picture", error)) return false;
  raster.Width = width;
  raster.Height = height;
  raster.Pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  return true;
}

bool ParseDib(std::string_view dib, std::size_t bitsOffset, bool icon, TDibLayout& l, std::string& error) {
  l = TDibLayout{};
  l.Icon = icon;
  if (!Fits(dib, 0, 4)) {
    error = "BMP: the bitmap header is cut short";
    return false;
  }
  const std::uint32_t headerSize = Le32(dib, 0);
  std::int64_t width = 0, height = 0;
  std::uint32_t clrUsed = 0;
  if (headerSize == 12) {
    if (!Fits(dib, 0, 12)) {
      error = "BMP: the bitmap header is cut short";
      return false;
    }
    width = Le16(dib, 4);
    height = Le16(dib, 6);
    l.BitCount = Le16(dib, 10);
    l.PaletteEntrySize = 3;
  } else if (headerSize >= 16) {
    if (!Fits(dib, 0, headerSize)) {
      error = "BMP: the bitmap header is cut short";
      return false;
    }
    width = SLe32(dib, 4);
    height = SLe32(dib, 8);
    l.BitCount = Le16(dib, 14);
    l.Compression = headerSize >= 20 ? Le32(dib, 16) : kBiRgb;
    clrUsed = headerSize >= 36 ? Le32(dib, 32) : 0;
  } else {
    error = "BMP: unknown bitmap header size " + std::to_string(headerSize);
    return false;
  }
  if (height < 0) {
    l.TopDown = true;
    height = -height;
  }
  if (icon) height /= 2;
  if (!CheckImageSize(width, height, "BMP", error)) return false;
  l.Width = static_cast<int>(width);
  l.Height = static_cast<int>(height);

  const int bpp = l.BitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
    error = "BMP: " + std::to_string(bpp) + " bits per pixel are not supported";
    return false;
  }
  const std::uint32_t c = l.Compression;
  const bool bitfields = c == kBiBitfields || c == kBiAlphaBitfields;
  const bool ok = c == kBiRgb || (c == kBiRle8 && bpp == 8) || (c == kBiRle4 && bpp == 4) ||
                  (bitfields && (bpp == 16 || bpp == 32));
  if (!ok) {
    error = "BMP: compression " + std::to_string(c) + " with " + std::to_string(bpp) + " bits per pixel is not supported";
    return false;
  }

  std::size_t pos = headerSize;
  if (bpp == 16) {
    l.Masks[0] = 0x7C00, l.Masks[1] = 0x03E0, l.Masks[2] = 0x001F;
  } else if (bpp == 32) {
    l.Masks[0] = 0xFF0000, l.Masks[1] = 0xFF00, l.Masks[2] = 0xFF;
    if (icon) l.Masks[3] = 0xFF000000u;  // icons carry alpha in the fourth byte
  }
  if (bitfields) {
    const int count = c == kBiAlphaBitfields ? 4 : 3;
    std::uint32_t masks[4] = {0, 0, 0, 0};
    if (headerSize >= 52) {
      for (int i = 0; i < 3; ++i) masks[i] = Le32(dib, 40 + 4 * static_cast<std::size_t>(i));
      if (headerSize >= 56) masks[3] = Le32(dib, 52);
    } else {
      if (!Fits(dib, pos, 4 * static_cast<std::size_t>(count))) {
        error = "BMP: the colour masks are cut short";
        return false;
      }
      for (int i = 0; i < count; ++i) masks[i] = Le32(dib, pos + 4 * static_cast<std::size_t>(i));
      pos += 4 * static_cast<std::size_t>(count);
    }
    if (masks[0] | masks[1] | masks[2]) {
      for (int i = 0; i < 4; ++i) l.Masks[i] = masks[i];
    }
  }

  const std::uint64_t stored = clrUsed != 0 ? clrUsed : (bpp <= 8 ? (1u << bpp) : 0u);
  if (stored > 65536 && (bpp <= 8 || bitsOffset == npos)) {
    error = "BMP: a palette of " + std::to_string(stored) + " colours";
    return false;
  }
  l.PaletteOffset = pos;
  const std::uint64_t paletteBytes = stored * static_cast<std::uint64_t>(l.PaletteEntrySize);
  if (bitsOffset != npos && (bitsOffset < pos || bitsOffset > dib.size())) bitsOffset = npos;
  if (bpp <= 8) {
    const std::size_t room = (bitsOffset != npos ? bitsOffset : dib.size()) - std::min(pos, dib.size());
    const std::uint64_t usable = std::min<std::uint64_t>(stored, 1u << bpp);
    l.PaletteCount = static_cast<int>(std::min<std::uint64_t>(usable, room / static_cast<std::size_t>(l.PaletteEntrySize)));
  }
  l.BitsOffset = bitsOffset != npos ? bitsOffset : static_cast<std::size_t>(pos + paletteBytes);
  if (l.BitsOffset > dib.size()) {
    error = "BMP: the pixel data is missing";
    return false;
  }
  const std::size_t available = dib.size() - l.BitsOffset;
  if (c == kBiRle4 || c == kBiRle8) {
    if (available < 2) {
      error = "BMP: the pixel data is missing";
      return false;
    }
  } else {
    const std::uint64_t need = Stride(l.Width, bpp) * static_cast<std::uint64_t>(l.Height - 1) + RowBytes(l.Width, bpp);
    if (available < need) {
      error = "BMP: the pixel data is cut short (" + std::to_string(available) + " of " + std::to_string(need) + " bytes)";
      return false;
    }
  }
  return true;
}

bool DecodeDib(std::string_view dib, const TDibLayout& l, TRasterImage& raster, std::string& error) {
  if (!AllocateRaster(l.Width, l.Height, raster, error)) return false;
  std::uint32_t palette[256];
  std::fill(std::begin(palette), std::end(palette), 0xFF000000u);
  for (int i = 0; i < l.PaletteCount; ++i) {
    const std::size_t e = l.PaletteOffset + static_cast<std::size_t>(i) * static_cast<std::size_t>(l.PaletteEntrySize);
    palette[i] = MakeARGB(255, At8(dib, e + 2), At8(dib, e + 1), At8(dib, e));
  }
  if (l.Compression == kBiRle4 || l.Compression == kBiRle8)
    DecodeRle(dib, l, palette, raster);
  else
    DecodeRows(dib, l, palette, raster);
  if (l.Icon) ApplyIconMask(dib, l, raster);
  return true;
}

namespace {

bool ParseBmpFile(std::string_view bytes, TDibLayout& layout, std::string& error) {
  if (!Fits(bytes, 0, kFileHeaderSize) || bytes[0] != 'B' || bytes[1] != 'M') {
    error = "BMP: not a BMP file";
    return false;
  }
  const std::uint32_t offBits = Le32(bytes, 10);
  const std::size_t bitsOffset = offBits >= kFileHeaderSize && offBits <= bytes.size() ? offBits - kFileHeaderSize : npos;
  return ParseDib(bytes.substr(kFileHeaderSize), bitsOffset, false, layout, error);
}

}  // namespace

bool ReadBmpInfo(std::string_view bytes, TPictureInfo& info, std::string& error) {
  TDibLayout layout;
  if (!ParseBmpFile(bytes, layout, error)) return false;
  info.Format = TPictureFormat::BMP;
  info.Width = layout.Width;
  info.Height = layout.Height;
  return true;
}

bool DecodeBmp(std::string_view bytes, const TPictureInfo&, TRasterImage& raster, std::string& error) {
  TDibLayout layout;
  if (!ParseBmpFile(bytes, layout, error)) return false;
  return DecodeDib(bytes.substr(kFileHeaderSize), layout, raster, error);
}

}  // namespace pagora::codec
