// Our own reader of icon files: the largest image (then the deepest), either a DIB with
// its AND mask or an embedded PNG. Sizes come from the images themselves, not from the
// directory, which often says 0 or lies.
#include <cstring>

#include "graphics/ImageLimits.h"
#include "graphics/codecs/Bytes.h"
#include "graphics/codecs/Codecs.h"

namespace pagora::codec {

namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;
// Real icons hold a few dozen images at most; looking at more only costs time.
constexpr std::size_t kMaxImagesConsidered = 256;
constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool IsPng(std::string_view b) { return b.size() >= 8 && std::memcmp(b.data(), kPngSignature, 8) == 0; }

int PngBitsPerPixel(std::string_view png) {
  if (png.size() < 26) return 0;
  const unsigned depth = At8(png, 24);
  switch (At8(png, 25)) {
    case 2: return static_cast<int>(3 * depth);
    case 4: return static_cast<int>(2 * depth);
    case 6: return static_cast<int>(4 * depth);
    default: return static_cast<int>(depth);
  }
}

}  // namespace

bool ReadIcoInfo(std::string_view bytes, TPictureInfo& info, std::string& error) {
  if (!Fits(bytes, 0, kHeaderSize) || Le16(bytes, 0) != 0 || (Le16(bytes, 2) != 1 && Le16(bytes, 2) != 2)) {
    error = "ICO: not an icon file";
    return false;
  }
  const std::size_t count = Le16(bytes, 4);
  if (count == 0 || !Fits(bytes, kHeaderSize, count * kEntrySize)) {
    error = "ICO: the icon directory is empty or cut short";
    return false;
  }
  bool found = false;
  std::int64_t bestArea = 0;
  int bestBits = 0;
  std::string why = "ICO: no readable image";
  for (std::size_t i = 0; i < count && i < kMaxImagesConsidered; ++i) {
    const std::size_t e = kHeaderSize + i * kEntrySize;
    const std::uint32_t size = Le32(bytes, e + 8);
    const std::uint32_t offset = Le32(bytes, e + 12);
    if (offset >= bytes.size() || size == 0) continue;
    // A size that runs past the end is cut to what there is; the image's own checks
    // then decide.
    const std::string_view part = bytes.substr(offset, size);
    TPictureInfo candidate;
    int bits = 0;
    std::string partError;
    if (IsPng(part)) {
      if (!ReadPngInfo(part, candidate, partError)) {
        why = partError;
        continue;
      }
      candidate.PartFormat = TPictureFormat::PNG;
      bits = PngBitsPerPixel(part);
    } else {
      TDibLayout layout;
      if (!ParseDib(part, std::string_view::npos, true, layout, partError)) {
        why = partError;
        continue;
      }
      candidate.Width = layout.Width;
      candidate.Height = layout.Height;
      candidate.PartFormat = TPictureFormat::BMP;
      bits = layout.BitCount;
    }
    const std::int64_t area = std::int64_t{candidate.Width} * candidate.Height;
    if (!found || area > bestArea || (area == bestArea && bits > bestBits)) {
      found = true;
      bestArea = area;
      bestBits = bits;
      info.Width = candidate.Width;
      info.Height = candidate.Height;
      info.PartOffset = offset;
      info.PartSize = part.size();
      info.PartFormat = candidate.PartFormat;
    }
  }
  if (!found) {
    error = why;
    return false;
  }
  info.Format = TPictureFormat::ICO;
  return true;
}

bool DecodeIco(std::string_view bytes, const TPictureInfo& info, TRasterImage& raster, std::string& error) {
  if (!Fits(bytes, info.PartOffset, info.PartSize)) {
    error = "ICO: the image lies outside the file";
    return false;
  }
  const std::string_view part = bytes.substr(info.PartOffset, info.PartSize);
  if (info.PartFormat == TPictureFormat::PNG) {
    TPictureInfo png;
    if (!ReadPngInfo(part, png, error)) return false;
    return DecodePng(part, png, raster, error);
  }
  TDibLayout layout;
  if (!ParseDib(part, std::string_view::npos, true, layout, error)) return false;
  return DecodeDib(part, layout, raster, error);
}

}  // namespace pagora::codec
