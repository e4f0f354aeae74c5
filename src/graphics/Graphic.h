// A picture as documents hold it: a graphic of a registered class that loads itself from
// and saves itself to bytes, and reports its size. The codecs register their classes by
// the class names that documents store ("TBitmap", "TPNGObject", ...).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/PictureFormat.h"
#include "platform/RasterImage.h"
#include "platform/Colors.h"

namespace pagora {

enum class TTransparentMode { tmAuto, tmFixed };

class TGraphic {
public:
  virtual ~TGraphic() = default;

  [[nodiscard]] virtual std::string ClassName() const = 0;
  [[nodiscard]] virtual int Width() const = 0;
  [[nodiscard]] virtual int Height() const = 0;
  [[nodiscard]] virtual bool Empty() const { return Width() <= 0 || Height() <= 0; }
  [[nodiscard]] virtual std::unique_ptr<TGraphic> Clone() const = 0;

  // False when the bytes are not a picture of this class; the graphic is then empty.
  virtual bool LoadFromBytes(std::string_view bytes) = 0;
  [[nodiscard]] virtual std::string SaveToBytes() const = 0;

  [[nodiscard]] virtual bool IsMetafile() const { return false; }
  [[nodiscard]] virtual bool IsIcon() const { return false; }
  // Bitmaps have a transparency mode and colour besides the flag every picture has.
  [[nodiscard]] virtual bool IsBitmap() const { return false; }

  // The format the bytes really are in, whatever the class name; None when unknown.
  [[nodiscard]] virtual TPictureFormat Format() const { return TPictureFormat::None; }
  // The picture as pixels, decoded on the first call and kept. Never a null reference:
  // empty when the graphic has no pixels or its bytes cannot be decoded. The raster
  // stays valid until the graphic is loaded again or destroyed. Its size may differ from
  // Width x Height (a metafile's bitmap); painters stretch it to the picture's size.
  [[nodiscard]] virtual const TRasterImage& Pixels() const;
  // The pixels as they are shown: a transparent bitmap has its transparent colour (the
  // bottom-left pixel in the automatic mode) made clear. Made on first use and kept.
  [[nodiscard]] const TRasterImage& DisplayPixels() const;
  // Whether Pixels() has decoded already; loading alone never decodes.
  [[nodiscard]] virtual bool PixelsDecoded() const { return false; }

  [[nodiscard]] bool Transparent() const noexcept { return transparent_; }
  void SetTransparent(bool on) noexcept { transparent_ = on; }
  [[nodiscard]] TTransparentMode TransparentMode() const noexcept { return transparentMode_; }
  void SetTransparentMode(TTransparentMode mode) noexcept { transparentMode_ = mode; }
  [[nodiscard]] TColor TransparentColor() const noexcept { return transparentColor_; }
  void SetTransparentColor(TColor color) noexcept { transparentColor_ = color; }

protected:
  TGraphic() = default;
  TGraphic(const TGraphic&) = default;
  TGraphic& operator=(const TGraphic&) = default;

private:
  bool transparent_ = false;
  TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
  TColor transparentColor_ = 0x1FFFFFFF;
  // The keyed copy of DisplayPixels and what it was made from.
  mutable std::shared_ptr<const TRasterImage> keyed_;
  mutable const void* keyedSource_ = nullptr;
  mutable std::uint32_t keyedColor_ = 0;
};

// The process-wide registry of graphic classes by stored class name.
using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

void RegisterGraphicClass(const std::string& className, TGraphicFactory factory);
[[nodiscard]] std::unique_ptr<TGraphic> CreateGraphic(std::string_view className);
[[nodiscard]] bool IsGraphicClassRegistered(std::string_view className);
[[nodiscard]] std::vector<std::string> RegisteredGraphicClasses();

}  // namespace pagora
