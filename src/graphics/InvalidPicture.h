// The picture documents show in place of one that cannot be decoded.
#pragma once

#include <memory>
#include <string>

#include "graphics/Graphic.h"

namespace pagora {

// A new 16 x 16 TBitmap, a red cross on white in a grey frame, held as BMP bytes.
[[nodiscard]] std::unique_ptr<TGraphic> CreateInvalidPicture();

// Its BMP bytes.
[[nodiscard]] const std::string& InvalidPictureBytes();

// A picture whose bytes cannot be decoded: it looks like the invalid picture, but keeps
// its class name and its bytes, so that saving the document again loses nothing.
[[nodiscard]] std::unique_ptr<TGraphic> CreateUnreadablePicture(std::string className, std::string bytes);

}  // namespace pagora
