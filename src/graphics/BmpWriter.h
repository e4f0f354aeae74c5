// Encoding a raster as a BMP file, for pictures made in code.
#pragma once

#include <string>

#include "platform/RasterImage.h"

namespace pagora {

// A bottom-up BMP file: 24 bits per pixel when every pixel is opaque, otherwise 32 bits
// with an alpha mask (BITMAPV4HEADER). Empty for an empty raster.
[[nodiscard]] std::string EncodeBMP(const TRasterImage& raster);

}  // namespace pagora
