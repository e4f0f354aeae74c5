#include "graphics/codecs/MetafileCodec.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "graphics/ImageLimits.h"
#include "graphics/codecs/Bytes.h"
#include "graphics/codecs/Codecs.h"

namespace pagora::codec {

namespace {

constexpr std::size_t kEmfHeaderMin = 88;
constexpr std::size_t kWmfHeaderSize = 18;

// Calls visit(type, record) for each record until it returns false, the end record, or
// a record whose size does not fit. Each record is at least 8 (EMF) or 6 (WMF) bytes.
template <class Visit>
void ForEachEmfRecord(std::string_view b, Visit visit) {
  std::size_t p = 0;
  while (Fits(b, p, 8)) {
    const std::uint32_t type = Le32(b, p);
    const std::uint32_t size = Le32(b, p + 4);
    if (size < 8 || !Fits(b, p, size)) return;
    if (!visit(type, b.substr(p, size)) || type == 14) return;  // EMR_EOF
    p += size;
  }
}

template <class Visit>
void ForEachWmfRecord(std::string_view b, std::size_t headerAt, Visit visit) {
  std::size_t p = headerAt + static_cast<std::size_t>(Le16(b, headerAt + 2)) * 2;
  while (Fits(b, p, 6)) {
    const std::uint64_t bytes = std::uint64_t{Le32(b, p)} * 2;
    const std::uint16_t function = Le16(b, p + 4);
    if (bytes < 6 || bytes > b.size() - p) return;
    if (!visit(function, b.substr(p, static_cast<std::size_t>(bytes))) || function == 0) return;  // META_EOF
    p += static_cast<std::size_t>(bytes);
  }
}

// Records that set state and draw nothing; a metafile of these and one bitmap record
// is a wrapped bitmap.
bool IsEmfStateRecord(std::uint32_t type) {
  switch (type) {
    case 1: case 9: case 10: case 11: case 12: case 13: case 14: case 16: case 17: case 18: case 19: case 20:
    case 21: case 22: case 24: case 25: case 26: case 28: case 29: case 30: case 31: case 32: case 33:
    case 34: case 35: case 36: case 37: case 38: case 39: case 40: case 48: case 49: case 58: case 70:
    case 98: case 115:
      return true;
    default:
      return false;
  }
}

bool IsWmfStateRecord(std::uint16_t function) {
  switch (function) {
    case 0x0000: case 0x001E: case 0x0035: case 0x00F7: case 0x0102: case 0x0103: case 0x0104: case 0x0105:
    case 0x0106: case 0x0107: case 0x0108: case 0x0127: case 0x012C: case 0x012D: case 0x012E: case 0x01F0:
    case 0x0201: case 0x0209: case 0x020A: case 0x020B: case 0x020C: case 0x020D: case 0x020E: case 0x020F:
    case 0x0211: case 0x0220: case 0x0231: case 0x0234: case 0x02FA: case 0x02FC: case 0x0410: case 0x0412:
    case 0x0415: case 0x0416: case 0x0626:
      return true;
    default:
      return false;
  }
}

std::string MakeBmpFile(std::string_view header, std::string_view bits) {
  std::string file;
  const std::size_t total = 14 + header.size() + bits.size();
  if (total > 0xFFFFFFFFu) return file;
  file.reserve(total);
  auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  file += "BM";
  put32(static_cast<std::uint32_t>(total));
  put32(0);
  put32(static_cast<std::uint32_t>(14 + header.size()));
  file.append(header);
  file.append(bits);
  return file;
}

// A DIB that lies in one piece (WMF records): its bits follow its header and palette.
std::string DibAsBmp(std::string_view dib) {
  TDibLayout layout;
  std::string error;
  if (!ParseDib(dib, std::string_view::npos, false, layout, error)) return {};
  return MakeBmpFile(dib.substr(0, layout.BitsOffset), dib.substr(layout.BitsOffset));
}

std::string EmfBitmap(std::string_view b) {
  int bitmaps = 0;
  bool other = false;
  std::string_view header, bits;
  ForEachEmfRecord(b, [&](std::uint32_t type, std::string_view rec) {
    std::size_t at = 0;  // where offBmiSrc lies
    std::size_t usageAt = 0;
    switch (type) {
      case 80: at = 48, usageAt = 64; break;  // EMR_SETDIBITSTODEVICE
      case 81: at = 48, usageAt = 64; break;  // EMR_STRETCHDIBITS
      case 76:                                 // EMR_BITBLT
      case 77: at = 84, usageAt = 80; break;  // EMR_STRETCHBLT
      default:
        if (!IsEmfStateRecord(type)) other = true;
        return !other;
    }
    if (!Fits(rec, at, 16) || !Fits(rec, usageAt, 4) || Le32(rec, usageAt) != 0) {
      other = true;  // a pattern blit, or palette indexes we cannot resolve
      return false;
    }
    const std::uint32_t offBmi = Le32(rec, at), cbBmi = Le32(rec, at + 4);
    const std::uint32_t offBits = Le32(rec, at + 8), cbBits = Le32(rec, at + 12);
    if (cbBmi == 0 || !Fits(rec, offBmi, cbBmi) || !Fits(rec, offBits, cbBits)) {
      other = true;
      return false;
    }
    header = rec.substr(offBmi, cbBmi);
    bits = rec.substr(offBits, cbBits);
    return ++bitmaps == 1;
  });
  if (other || bitmaps != 1) return {};
  return MakeBmpFile(header, bits);
}

std::string WmfBitmap(std::string_view b, std::size_t headerAt) {
  int bitmaps = 0;
  bool other = false;
  std::string_view dib;
  ForEachWmfRecord(b, headerAt, [&](std::uint16_t function, std::string_view rec) {
    const std::size_t words = rec.size() / 2;
    std::size_t at = 0;
    switch (function) {
      case 0x0F43:  // META_STRETCHDIB: colour usage at 10
        if (rec.size() < 12 || Le16(rec, 10) != 0) other = true;
        at = 28;
        break;
      case 0x0D33:  // META_SETDIBTODEV: colour usage at 6
        if (rec.size() < 8 || Le16(rec, 6) != 0) other = true;
        at = 24;
        break;
      case 0x0B41: at = 26; other = words == 0x0B + 3; break;  // META_DIBSTRETCHBLT; without bitmap: a fill
      case 0x0940: at = 22; other = words == 0x09 + 3; break;  // META_DIBBITBLT
      default:
        if (!IsWmfStateRecord(function)) other = true;
        return !other;
    }
    if (other || rec.size() <= at) {
      other = true;
      return false;
    }
    dib = rec.substr(at);
    return ++bitmaps == 1;
  });
  if (other || bitmaps != 1) return {};
  return DibAsBmp(dib);
}

bool ReadEmfHeader(std::string_view b, TMetafileHeader& h, std::string& error) {
  if (!Fits(b, 0, kEmfHeaderMin) || Le32(b, 0) != 1 || Le32(b, 4) < kEmfHeaderMin || Le32(b, 40) != kEmfSignature) {
    error = "EMF: not an enhanced metafile";
    return false;
  }
  h.Enhanced = true;
  double fw = static_cast<double>(std::int64_t{SLe32(b, 32)} - SLe32(b, 24));
  double fh = static_cast<double>(std::int64_t{SLe32(b, 36)} - SLe32(b, 28));
  if (fw <= 0 || fh <= 0) {
    // No frame: the bounds, in pixels of the reference device, converted with its size.
    const double bw = static_cast<double>(std::int64_t{SLe32(b, 16)} - SLe32(b, 8) + 1);
    const double bh = static_cast<double>(std::int64_t{SLe32(b, 20)} - SLe32(b, 12) + 1);
    const double devW = SLe32(b, 72), devH = SLe32(b, 76), mmW = SLe32(b, 80), mmH = SLe32(b, 84);
    fw = fh = 0;
    if (bw > 0 && bh > 0 && devW > 0 && devH > 0 && mmW > 0 && mmH > 0) {
      fw = bw * mmW * 100 / devW;
      fh = bh * mmH * 100 / devH;
    }
  }
  // 32768 pixels at 96 per inch are 866,986 hundredths of a millimetre.
  constexpr double kMaxFrame = 2540.0 * static_cast<double>(kMaxImageSide) / 96.0;
  if (fw > kMaxFrame || fh > kMaxFrame) {
    error = "EMF: the picture is too large";
    return false;
  }
  h.FrameWidth = static_cast<int>(std::max(fw, 0.0));
  h.FrameHeight = static_cast<int>(std::max(fh, 0.0));
  return true;
}

bool ValidWmfHeader(std::string_view b, std::size_t at) {
  return Fits(b, at, kWmfHeaderSize) && (Le16(b, at) == 1 || Le16(b, at) == 2) && Le16(b, at + 2) == 9 &&
         (Le16(b, at + 4) == 0x0100 || Le16(b, at + 4) == 0x0300);
}

bool ReadWmfHeader(std::string_view b, TMetafileHeader& h, std::string& error) {
  h.Enhanced = false;
  if (Fits(b, 0, 4) && Le32(b, 0) == kPlaceableKey) {
    if (!Fits(b, 0, kPlaceableHeaderSize)) {
      error = "WMF: the placeable header is cut short";
      return false;
    }
    h.Placeable = true;
    h.RecordsOffset = kPlaceableHeaderSize;
    h.UnitsWidth = std::abs(SLe16(b, 10) - SLe16(b, 6));
    h.UnitsHeight = std::abs(SLe16(b, 12) - SLe16(b, 8));
    h.Inch = Le16(b, 14);
  }
  if (!ValidWmfHeader(b, h.RecordsOffset)) {
    error = "WMF: not a Windows metafile";
    return false;
  }
  if (!h.Placeable) {
    // Without a placeable header, the size is the window extent the records set.
    ForEachWmfRecord(b, h.RecordsOffset, [&](std::uint16_t function, std::string_view rec) {
      if (function != 0x020C || rec.size() < 10) return true;  // META_SETWINDOWEXT: y, x
      h.UnitsHeight = std::abs(SLe16(rec, 6));
      h.UnitsWidth = std::abs(SLe16(rec, 8));
      return false;
    });
  }
  return true;
}

}  // namespace

bool ReadMetafileHeader(std::string_view bytes, TPictureFormat format, TMetafileHeader& header, std::string& error) {
  header = TMetafileHeader{};
  if (format == TPictureFormat::EMF) return ReadEmfHeader(bytes, header, error);
  if (format == TPictureFormat::WMF) return ReadWmfHeader(bytes, header, error);
  error = "not a metafile";
  return false;
}

std::string SingleBitmapAsBmp(std::string_view bytes, const TMetafileHeader& header) {
  return header.Enhanced ? EmfBitmap(bytes) : WmfBitmap(bytes, header.RecordsOffset);
}

void DrawPlaceholder(int width, int height, TRasterImage& raster) {
  raster = TRasterImage{};
  if (width <= 0 || height <= 0) return;
  std::int64_t w = width, h = height;
  if (w * h > kMaxPlaceholderPixels) {
    const double scale = std::sqrt(static_cast<double>(kMaxPlaceholderPixels) / static_cast<double>(w * h));
    w = std::max<std::int64_t>(1, static_cast<std::int64_t>(static_cast<double>(w) * scale));
    h = std::max<std::int64_t>(1, static_cast<std::int64_t>(static_cast<double>(h) * scale));
  }
  raster.Width = static_cast<int>(w);
  raster.Height = static_cast<int>(h);
  raster.Pixels.assign(static_cast<std::size_t>(w * h), MakeARGB(255, 0xF0, 0xF0, 0xF0));
  const std::uint32_t frame = MakeARGB(255, 0x80, 0x80, 0x80);
  for (std::int64_t x = 0; x < w; ++x) {
    raster.Pixels[static_cast<std::size_t>(x)] = frame;
    raster.Pixels[static_cast<std::size_t>((h - 1) * w + x)] = frame;
  }
  for (std::int64_t y = 0; y < h; ++y) {
    raster.Pixels[static_cast<std::size_t>(y * w)] = frame;
    raster.Pixels[static_cast<std::size_t>(y * w + w - 1)] = frame;
  }
}

}  // namespace pagora::codec
