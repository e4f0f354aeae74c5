// An image list: equally sized images that bullets, hot spots and list levels show by
// index. Documents refer to image lists and never own them.
#pragma once

#include <cstdint>

#include "platform/RasterImage.h"

namespace pagora {

class TPGImageList {
public:
  virtual ~TPGImageList() = default;
  [[nodiscard]] virtual int Width() const = 0;
  [[nodiscard]] virtual int Height() const = 0;
  [[nodiscard]] virtual int Count() const = 0;
  // The pixels of image index, Width x Height; nothing when the list cannot show it.
  [[nodiscard]] virtual const TRasterImage* Image(int index) const { (void)index; return nullptr; }
  // Identifies the list in stored documents, which ask the application for it by tag.
  std::int32_t Tag = 0;
};

}  // namespace pagora
