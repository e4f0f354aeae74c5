#include "graphics/Pictures.h"

#include <algorithm>
#include <exception>

#include "graphics/BmpWriter.h"
#include "graphics/ImageLimits.h"
#include "graphics/codecs/Codecs.h"
#include "graphics/codecs/MetafileCodec.h"
#include "platform/IntMath.h"

namespace pagora {

// ---- TCodedGraphic -------------------------------------------------------------------

void TCodedGraphic::Clear() noexcept {
  info_ = TPictureInfo{};
  bytes_.reset();
  raster_.reset();
  error_.clear();
}

bool TCodedGraphic::LoadFromBytes(std::string_view bytes) {
  Clear();
  try {
    const TPictureFormat format = SniffPictureFormat(bytes);
    if (!AcceptsFormat(format)) {
      error_ = format == TPictureFormat::None
                   ? std::string("not a picture in a known format")
                   : std::string(PictureFormatName(format)) + " data cannot be held by " + ClassName();
      return false;
    }
    TPictureInfo info;
    std::string error;
    if (!ReadInfo(bytes, format, info, error) ||
        (!IsMetafileFormat(format) &&
         !CheckPixelBudget(info.Width, info.Height, bytes.size(), PictureFormatName(format), error))) {
      Clear();
      error_ = std::move(error);
      return false;
    }
    bytes_ = std::make_shared<const std::string>(bytes);
    info_ = info;
    return true;
  } catch (const std::exception&) {
    Clear();
    error_ = "out of memory";
    return false;
  }
}

std::string TCodedGraphic::SaveToBytes() const { return bytes_ ? *bytes_ : std::string(); }

std::string_view TCodedGraphic::Bytes() const noexcept { return bytes_ ? std::string_view(*bytes_) : std::string_view(); }

bool TCodedGraphic::ReadInfo(std::string_view bytes, TPictureFormat format, TPictureInfo& info, std::string& error) {
  return codec::ReadRasterInfo(bytes, format, info, error);
}

bool TCodedGraphic::Decode(std::string_view bytes, const TPictureInfo& info, TRasterImage& raster,
                           std::string& error) const {
  return codec::DecodeRaster(bytes, info, raster, error);
}

const TRasterImage& TCodedGraphic::Pixels() const {
  if (raster_) return *raster_;
  static const TRasterImage empty;
  if (!bytes_) return empty;
  try {
    auto raster = std::make_shared<TRasterImage>();
    std::string error;
    if (!Decode(*bytes_, info_, *raster, error)) {
      *raster = TRasterImage{};
      error_ = std::move(error);
    }
    raster_ = std::move(raster);
  } catch (const std::exception&) {
    error_ = "out of memory while decoding";
    raster_.reset();
    return empty;
  }
  return *raster_;
}

// ---- TBitmap -------------------------------------------------------------------------

bool TBitmap::LoadFromRaster(const TRasterImage& raster) {
  try {
    return LoadFromBytes(EncodeBMP(raster));
  } catch (const std::exception&) {
    Clear();
    return false;
  }
}

// ---- TMetafile -----------------------------------------------------------------------

bool TMetafile::ReadInfo(std::string_view bytes, TPictureFormat format, TPictureInfo& info, std::string& error) {
  codec::TMetafileHeader h;
  if (!codec::ReadMetafileHeader(bytes, format, h, error)) return false;
  enhanced_ = h.Enhanced;
  placeable_ = h.Placeable;
  inch_ = h.Enhanced ? 0 : (h.Inch > 0 ? h.Inch : kDefaultInch);
  unitsWidth_ = h.UnitsWidth;
  unitsHeight_ = h.UnitsHeight;
  frameWidth_ = h.FrameWidth;
  frameHeight_ = h.FrameHeight;
  info.Format = format;
  info.Width = Width();
  info.Height = Height();
  if (info.Width > kMaxImageSide || info.Height > kMaxImageSide) {
    error = std::string(PictureFormatName(format)) + ": the picture is too large";
    return false;
  }
  return true;
}

int TMetafile::UnitsToPixels(int units) const noexcept {
  return MulDiv(units, kReferencePpi, inch_ > 0 ? inch_ : kDefaultInch);
}

void TMetafile::Clear() noexcept {
  TCodedGraphic::Clear();
  enhanced_ = placeable_ = false;
  inch_ = unitsWidth_ = unitsHeight_ = frameWidth_ = frameHeight_ = 0;
}

int TMetafile::Width() const {
  if (enhanced_) return MulDiv(frameWidth_, kReferencePpi, 2540);
  return UnitsToPixels(unitsWidth_);
}

int TMetafile::Height() const {
  if (enhanced_) return MulDiv(frameHeight_, kReferencePpi, 2540);
  return UnitsToPixels(unitsHeight_);
}

int TMetafile::MMWidth() const {
  return enhanced_ ? frameWidth_ : MulDiv(unitsWidth_, 2540, inch_ > 0 ? inch_ : kDefaultInch);
}

int TMetafile::MMHeight() const {
  return enhanced_ ? frameHeight_ : MulDiv(unitsHeight_, 2540, inch_ > 0 ? inch_ : kDefaultInch);
}

std::string_view TMetafile::WMFRecords() const noexcept {
  if (enhanced_) return {};
  const std::string_view b = Bytes();
  return placeable_ ? b.substr(std::min(b.size(), codec::kPlaceableHeaderSize)) : b;
}

bool TMetafile::LoadFromWMFBits(std::string_view records, int mmWidth, int mmHeight) {
  // The units per inch are chosen so that the extent fits the header's 16-bit fields.
  int inch = 2540;
  for (const int candidate : {2540, 1440, 720, 254, 96, 72, 25}) {
    inch = candidate;
    if (MulDiv(mmWidth, inch, 2540) <= 32767 && MulDiv(mmHeight, inch, 2540) <= 32767) break;
  }
  const int right = std::max(0, std::min(32767, MulDiv(mmWidth, inch, 2540)));
  const int bottom = std::max(0, std::min(32767, MulDiv(mmHeight, inch, 2540)));
  std::uint16_t words[10] = {0xCDD7, 0x9AC6, 0, 0, 0, static_cast<std::uint16_t>(right),
                             static_cast<std::uint16_t>(bottom), static_cast<std::uint16_t>(inch), 0, 0};
  std::uint16_t checksum = 0;
  for (const std::uint16_t w : words) checksum ^= w;
  std::string bytes;
  try {
    bytes.reserve(codec::kPlaceableHeaderSize + records.size());
    for (const std::uint16_t w : words) {
      bytes.push_back(static_cast<char>(w & 0xFF));
      bytes.push_back(static_cast<char>(w >> 8));
    }
    bytes.push_back(static_cast<char>(checksum & 0xFF));
    bytes.push_back(static_cast<char>(checksum >> 8));
    bytes.append(records);
  } catch (const std::exception&) {
    Clear();
    return false;
  }
  return LoadFromBytes(bytes);
}

std::string TMetafile::ExtractBitmapBytes() const {
  if (Bytes().empty()) return {};
  codec::TMetafileHeader h;
  std::string error;
  if (!codec::ReadMetafileHeader(Bytes(), Format(), h, error)) return {};
  return codec::SingleBitmapAsBmp(Bytes(), h);
}

std::unique_ptr<TBitmap> TMetafile::ExtractBitmap() const {
  try {
    const std::string bmp = ExtractBitmapBytes();
    if (bmp.empty()) return nullptr;
    auto bitmap = std::make_unique<TBitmap>();
    if (!bitmap->LoadFromBytes(bmp)) return nullptr;
    return bitmap;
  } catch (const std::exception&) {
    return nullptr;
  }
}

bool TMetafile::Decode(std::string_view, const TPictureInfo&, TRasterImage& raster, std::string& error) const {
  // The wrapped bitmap is decoded straight into the raster: no second copy of it.
  const std::string bmp = ExtractBitmapBytes();
  if (!bmp.empty()) {
    TPictureInfo info;
    std::string ignored;
    if (codec::ReadBmpInfo(bmp, info, ignored) && CheckPixelBudget(info.Width, info.Height, bmp.size(), "BMP", ignored) &&
        codec::DecodeBmp(bmp, info, raster, ignored))
      return true;
  }
  codec::DrawPlaceholder(Width(), Height(), raster);
  if (raster.Empty()) {
    error = "the metafile has no size";
    return false;
  }
  return true;
}

// ---- registration --------------------------------------------------------------------

namespace {

template <class T>
void RegisterOnce(const char* name) {
  if (!IsGraphicClassRegistered(name)) RegisterGraphicClass(name, [] { return std::make_unique<T>(); });
}

}  // namespace

void RegisterStandardGraphicClasses() {
  RegisterOnce<TBitmap>("TBitmap");
  RegisterOnce<TIcon>("TIcon");
  RegisterOnce<TMetafile>("TMetafile");
  RegisterOnce<TJPEGImage>("TJPEGImage");
}

void RegisterGIFAndPNGClasses() {
  RegisterOnce<TGIFImage>("TGIFImage");
  RegisterOnce<TPNGObject>("TPNGObject");
}

void RegisterAllGraphicClasses() {
  RegisterStandardGraphicClasses();
  RegisterGIFAndPNGClasses();
}

// ---- dispatch ------------------------------------------------------------------------

namespace codec {

bool ReadRasterInfo(std::string_view bytes, TPictureFormat format, TPictureInfo& info, std::string& error) {
  switch (format) {
    case TPictureFormat::BMP: return ReadBmpInfo(bytes, info, error);
    case TPictureFormat::PNG: return ReadPngInfo(bytes, info, error);
    case TPictureFormat::JPEG: return ReadJpegInfo(bytes, info, error);
    case TPictureFormat::GIF: return ReadGifInfo(bytes, info, error);
    case TPictureFormat::ICO: return ReadIcoInfo(bytes, info, error);
    default: error = "not a raster picture"; return false;
  }
}

bool DecodeRaster(std::string_view bytes, const TPictureInfo& info, TRasterImage& raster, std::string& error) {
  switch (info.Format) {
    case TPictureFormat::BMP: return DecodeBmp(bytes, info, raster, error);
    case TPictureFormat::PNG: return DecodePng(bytes, info, raster, error);
    case TPictureFormat::JPEG: return DecodeJpeg(bytes, info, raster, error);
    case TPictureFormat::GIF: return DecodeGif(bytes, info, raster, error);
    case TPictureFormat::ICO: return DecodeIco(bytes, info, raster, error);
    default: error = "not a raster picture"; return false;
  }
}

}  // namespace codec

}  // namespace pagora
