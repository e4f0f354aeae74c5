// The picture classes documents store by name: TBitmap, TIcon, TMetafile and TJPEGImage
// (the library's) and TGIFImage and TPNGObject (which the application registers).
//
// Every picture keeps the exact bytes it was loaded from and gives them back unchanged
// from SaveToBytes. Loading reads only the header (size and a plausibility check); the
// pixels are decoded on the first call to Pixels(). The format is found from the bytes'
// magic, so a TBitmap whose bytes are really PNG still loads; the class name stays.
// Like the documents that hold them, pictures are used from one thread at a time:
// Pixels() fills a cache on a const object.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "graphics/Graphic.h"

namespace pagora {

// What the header of a raster picture told: its size and, for an icon, where the image
// that was chosen lies inside the file.
struct TPictureInfo {
  TPictureFormat Format = TPictureFormat::None;
  int Width = 0;
  int Height = 0;
  std::size_t PartOffset = 0;
  std::size_t PartSize = 0;
  TPictureFormat PartFormat = TPictureFormat::None;
};

// The shared part of the raster classes: bytes kept as read, lazy decoding.
class TCodedGraphic : public TGraphic {
public:
  [[nodiscard]] int Width() const override { return info_.Width; }
  [[nodiscard]] int Height() const override { return info_.Height; }

  // False (and the graphic empty, LastError() saying why) for bytes that are not a
  // readable picture in one of the formats this class accepts.
  bool LoadFromBytes(std::string_view bytes) override;
  [[nodiscard]] std::string SaveToBytes() const override;

  [[nodiscard]] TPictureFormat Format() const override { return info_.Format; }
  [[nodiscard]] const TRasterImage& Pixels() const override;
  [[nodiscard]] bool PixelsDecoded() const override { return raster_ != nullptr; }

  // The bytes as loaded, without a copy.
  [[nodiscard]] std::string_view Bytes() const noexcept;
  // Why the last load, or the decode of the pixels, failed; empty when it did not.
  [[nodiscard]] const std::string& LastError() const noexcept { return error_; }

protected:
  TCodedGraphic() = default;
  TCodedGraphic(const TCodedGraphic&) = default;
  TCodedGraphic& operator=(const TCodedGraphic&) = default;

  // Raster classes accept every raster format; TMetafile only metafiles.
  [[nodiscard]] virtual bool AcceptsFormat(TPictureFormat format) const { return IsRasterFormat(format); }
  // Reads the header of bytes (already known to be in format) into info.
  virtual bool ReadInfo(std::string_view bytes, TPictureFormat format, TPictureInfo& info, std::string& error);
  virtual bool Decode(std::string_view bytes, const TPictureInfo& info, TRasterImage& raster,
                      std::string& error) const;
  // Empties the graphic (bytes, size, pixels, error); the transparency settings stay.
  virtual void Clear() noexcept;

  TPictureInfo info_;

private:
  std::shared_ptr<const std::string> bytes_;
  // Decoded once and then shared by clones: a raster never changes after decoding.
  mutable std::shared_ptr<const TRasterImage> raster_;
  mutable std::string error_;
};

class TBitmap : public TCodedGraphic {
public:
  [[nodiscard]] std::string ClassName() const override { return "TBitmap"; }
  [[nodiscard]] std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TBitmap>(*this); }
  [[nodiscard]] bool IsBitmap() const override { return true; }
  // Holds the raster encoded as a BMP file (24-bit when opaque, else 32-bit with alpha).
  bool LoadFromRaster(const TRasterImage& raster);
};

class TIcon : public TCodedGraphic {
public:
  [[nodiscard]] std::string ClassName() const override { return "TIcon"; }
  [[nodiscard]] std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TIcon>(*this); }
  [[nodiscard]] bool IsIcon() const override { return true; }
};

class TJPEGImage : public TCodedGraphic {
public:
  [[nodiscard]] std::string ClassName() const override { return "TJPEGImage"; }
  [[nodiscard]] std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TJPEGImage>(*this); }
};

class TPNGObject : public TCodedGraphic {
public:
  [[nodiscard]] std::string ClassName() const override { return "TPNGObject"; }
  [[nodiscard]] std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TPNGObject>(*this); }
};

class TGIFImage : public TCodedGraphic {
public:
  [[nodiscard]] std::string ClassName() const override { return "TGIFImage"; }
  [[nodiscard]] std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TGIFImage>(*this); }
};

// Windows metafiles (WMF, with or without the placeable header) and enhanced metafiles
// (EMF). Nothing here plays them: a metafile that only wraps one bitmap decodes to that
// bitmap, any other to a framed placeholder. Sizes are those of a 96-pixels-per-inch
// reference screen.
class TMetafile : public TCodedGraphic {
public:
  static constexpr int kReferencePpi = 96;
  static constexpr int kDefaultInch = 1440;

  [[nodiscard]] std::string ClassName() const override { return "TMetafile"; }
  [[nodiscard]] std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TMetafile>(*this); }
  [[nodiscard]] bool IsMetafile() const override { return true; }

  // For a WMF the size follows Inch(): its extent in metafile units / Inch() inches.
  [[nodiscard]] int Width() const override;
  [[nodiscard]] int Height() const override;

  [[nodiscard]] bool Enhanced() const noexcept { return enhanced_; }
  // Metafile units per inch of a WMF: the placeable header's value, or 1440 when the
  // file sets none. 0 for an enhanced metafile unless set. Setting it changes the size
  // of a WMF, not its bytes.
  [[nodiscard]] int Inch() const noexcept { return inch_; }
  void SetInch(int inch) noexcept { inch_ = inch; }
  // The size in hundredths of a millimetre (an EMF's frame).
  [[nodiscard]] int MMWidth() const;
  [[nodiscard]] int MMHeight() const;
  // Whether the bytes are a WMF that begins with the 22-byte placeable header.
  [[nodiscard]] bool Placeable() const noexcept { return placeable_; }
  // A WMF's bytes without its placeable header; empty for an EMF.
  [[nodiscard]] std::string_view WMFRecords() const noexcept;

  // A metafile from bare WMF records (a WMF without placeable header) whose size is
  // given in hundredths of a millimetre: the bytes kept are the records behind a
  // placeable header made for that size.
  bool LoadFromWMFBits(std::string_view records, int mmWidth, int mmHeight);

  // The bitmap of a metafile that holds nothing but one (a single stretched or copied
  // device-independent bitmap and state records around it); nullptr otherwise.
  [[nodiscard]] std::unique_ptr<TBitmap> ExtractBitmap() const;

protected:
  [[nodiscard]] bool AcceptsFormat(TPictureFormat format) const override { return IsMetafileFormat(format); }
  bool ReadInfo(std::string_view bytes, TPictureFormat format, TPictureInfo& info, std::string& error) override;
  bool Decode(std::string_view bytes, const TPictureInfo& info, TRasterImage& raster,
              std::string& error) const override;
  void Clear() noexcept override;

private:
  [[nodiscard]] int UnitsToPixels(int units) const noexcept;
  [[nodiscard]] std::string ExtractBitmapBytes() const;

  bool enhanced_ = false;
  bool placeable_ = false;
  int inch_ = 0;
  // WMF: the extent in metafile units (placeable bounding box or window extent).
  int unitsWidth_ = 0;
  int unitsHeight_ = 0;
  // EMF: the frame in hundredths of a millimetre.
  int frameWidth_ = 0;
  int frameHeight_ = 0;
};

// Registers TBitmap, TIcon, TMetafile and TJPEGImage, the classes the library provides.
// Idempotent; a class the application registered under one of these names is kept.
void RegisterStandardGraphicClasses();
// Registers TGIFImage and TPNGObject; the application calls it at start-up.
void RegisterGIFAndPNGClasses();
// Both of the above (tools and tests that want every class).
void RegisterAllGraphicClasses();

}  // namespace pagora
