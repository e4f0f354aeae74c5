#include "graphics/PictureFormat.h"

#include <cstring>

#include "graphics/codecs/Bytes.h"
#include "graphics/codecs/MetafileCodec.h"

namespace pagora {

using codec::At8;
using codec::Fits;
using codec::Le16;
using codec::Le32;

namespace {

bool WmfHeaderAt(std::string_view b, std::size_t at) {
  return Fits(b, at, 6) && (Le16(b, at) == 1 || Le16(b, at) == 2) && Le16(b, at + 2) == 9 &&
         (Le16(b, at + 4) == 0x0100 || Le16(b, at + 4) == 0x0300);
}

}  // namespace

TPictureFormat SniffPictureFormat(std::string_view b) noexcept {
  static constexpr unsigned char kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (Fits(b, 0, 8) && std::memcmp(b.data(), kPng, 8) == 0) return TPictureFormat::PNG;
  if (Fits(b, 0, 3) && At8(b, 0) == 0xFF && At8(b, 1) == 0xD8 && At8(b, 2) == 0xFF) return TPictureFormat::JPEG;
  if (Fits(b, 0, 6) && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a")) return TPictureFormat::GIF;
  if (Fits(b, 0, 2) && b[0] == 'B' && b[1] == 'M') return TPictureFormat::BMP;
  if (Fits(b, 0, 6) && Le16(b, 0) == 0 && (Le16(b, 2) == 1 || Le16(b, 2) == 2) && Le16(b, 4) != 0)
    return TPictureFormat::ICO;
  if (Fits(b, 0, 44) && Le32(b, 0) == 1 && Le32(b, 40) == codec::kEmfSignature) return TPictureFormat::EMF;
  if (Fits(b, 0, 4) && Le32(b, 0) == codec::kPlaceableKey) return TPictureFormat::WMF;
  if (WmfHeaderAt(b, 0)) return TPictureFormat::WMF;
  return TPictureFormat::None;
}

bool IsRasterFormat(TPictureFormat f) noexcept {
  return f == TPictureFormat::BMP || f == TPictureFormat::PNG || f == TPictureFormat::JPEG ||
         f == TPictureFormat::GIF || f == TPictureFormat::ICO;
}

bool IsMetafileFormat(TPictureFormat f) noexcept { return f == TPictureFormat::WMF || f == TPictureFormat::EMF; }

const char* PictureFormatName(TPictureFormat f) noexcept {
  switch (f) {
    case TPictureFormat::BMP: return "BMP";
    case TPictureFormat::PNG: return "PNG";
    case TPictureFormat::JPEG: return "JPEG";
    case TPictureFormat::GIF: return "GIF";
    case TPictureFormat::ICO: return "ICO";
    case TPictureFormat::WMF: return "WMF";
    case TPictureFormat::EMF: return "EMF";
    case TPictureFormat::None: break;
  }
  return "unknown";
}

}  // namespace pagora
