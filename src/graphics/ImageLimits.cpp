#include "graphics/ImageLimits.h"

namespace pagora {

bool CheckImageSize(std::int64_t width, std::int64_t height, const char* what, std::string& error) {
  const std::string size = std::to_string(width) + " x " + std::to_string(height);
  if (width <= 0 || height <= 0) {
    error = std::string(what) + ": invalid size " + size;
    return false;
  }
  if (width > kMaxImageSide || height > kMaxImageSide || width * height > kMaxImagePixels) {
    error = std::string(what) + ": " + size + " pixels exceed the limit (" + std::to_string(kMaxImageSide) +
            " per side, " + std::to_string(kMaxImagePixels) + " in all)";
    return false;
  }
  return true;
}

bool CheckPixelBudget(std::int64_t width, std::int64_t height, std::size_t fileBytes, const char* what,
                      std::string& error) {
  const std::int64_t budget = kFreePixels + static_cast<std::int64_t>(fileBytes) * kMaxPixelsPerFileByte;
  if (width * height <= budget) return true;
  error = std::string(what) + ": " + std::to_string(width) + " x " + std::to_string(height) + " pixels from " +
          std::to_string(fileBytes) + " bytes is more than a file that small can hold";
  return false;
}

}  // namespace pagora
