#include "graphics/BmpWriter.h"

#include <algorithm>
#include <cstdint>

namespace pagora {

namespace {

void Put16(std::string& s, std::uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

}  // namespace

std::string EncodeBMP(const TRasterImage& raster) {
  if (raster.Empty()) return {};
  const bool opaque = std::all_of(raster.Pixels.begin(), raster.Pixels.end(),
                                  [](std::uint32_t p) { return AlphaOf(p) == 255; });
  const std::uint32_t headerSize = opaque ? 40 : 108;
  const std::uint32_t bpp = opaque ? 24 : 32;
  const std::uint32_t stride = (static_cast<std::uint32_t>(raster.Width) * bpp + 31) / 32 * 4;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(raster.Height);
  const std::uint32_t offBits = 14 + headerSize;
  std::string s;
  s.reserve(offBits + imageSize);
  s += "BM";
  Put32(s, offBits + imageSize);
  Put32(s, 0);
  Put32(s, offBits);
  Put32(s, headerSize);
  Put32(s, static_cast<std::uint32_t>(raster.Width));
  Put32(s, static_cast<std::uint32_t>(raster.Height));
  Put16(s, 1);
  Put16(s, bpp);
  Put32(s, opaque ? 0 : 3);  // BI_RGB or BI_BITFIELDS
  Put32(s, imageSize);
  Put32(s, 3780);  // 96 pixels per inch
  Put32(s, 3780);
  Put32(s, 0);
  Put32(s, 0);
  if (!opaque) {
    Put32(s, 0x00FF0000);
    Put32(s, 0x0000FF00);
    Put32(s, 0x000000FF);
    Put32(s, 0xFF000000);
    Put32(s, 0x73524742);  // LCS_sRGB
    s.append(48, '\0');    // endpoints and gamma, unused with sRGB
  }
  for (int y = raster.Height - 1; y >= 0; --y) {
    const std::size_t rowStart = s.size();
    for (int x = 0; x < raster.Width; ++x) {
      const std::uint32_t p = raster.At(x, y);
      s.push_back(static_cast<char>(BlueOf(p)));
      s.push_back(static_cast<char>(GreenOf(p)));
      s.push_back(static_cast<char>(RedOf(p)));
      if (!opaque) s.push_back(static_cast<char>(AlphaOf(p)));
    }
    s.append(stride - (s.size() - rowStart), '\0');
  }
  return s;
}

}  // namespace pagora
