// Reading Windows metafiles without playing them: the header (size, units per inch),
// the one bitmap a metafile may wrap, and the placeholder shown for any other.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "graphics/PictureFormat.h"
#include "platform/RasterImage.h"

namespace pagora::codec {

inline constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;
inline constexpr std::size_t kPlaceableHeaderSize = 22;
inline constexpr std::uint32_t kEmfSignature = 0x464D4520u;  // " EMF"

struct TMetafileHeader {
  bool Enhanced = false;
  bool Placeable = false;
  int Inch = 0;  // the placeable header's units per inch; 0 when none is given
  int UnitsWidth = 0, UnitsHeight = 0;  // WMF: bounding box or window extent
  int FrameWidth = 0, FrameHeight = 0;  // EMF: frame in hundredths of a millimetre
  std::size_t RecordsOffset = 0;        // WMF: where the metafile header begins
};

bool ReadMetafileHeader(std::string_view bytes, TPictureFormat format, TMetafileHeader& header, std::string& error);

// The bitmap of a metafile that holds nothing else, as a BMP file; empty otherwise.
std::string SingleBitmapAsBmp(std::string_view bytes, const TMetafileHeader& header);

// A light box with a grey frame; larger than kMaxPlaceholderPixels it is made smaller
// with the same proportions.
void DrawPlaceholder(int width, int height, TRasterImage& raster);

}  // namespace pagora::codec
