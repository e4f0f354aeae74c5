#include "graphics/Graphic.h"

#include <algorithm>
#include <map>

namespace pagora {

namespace {
std::map<std::string, TGraphicFactory, std::less<>>& Registry() {
  static std::map<std::string, TGraphicFactory, std::less<>> registry;
  return registry;
}
}  // namespace

const TRasterImage& TGraphic::Pixels() const {
  static const TRasterImage empty;
  return empty;
}

const TRasterImage& TGraphic::DisplayPixels() const {
  const TRasterImage& pixels = Pixels();
  if (!IsBitmap() || !transparent_ || pixels.Empty()) return pixels;
  std::uint32_t key = 0;
  if (transparentMode_ == TTransparentMode::tmAuto) {
    key = pixels.At(0, pixels.Height - 1) & 0xFFFFFFu;
  } else {
    const TColor rgb = ColorToRGB(transparentColor_);
    key = MakeARGB(0, GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
  }
  if (keyed_ && keyedSource_ == pixels.Pixels.data() && keyedColor_ == key) return *keyed_;
  auto keyed = std::make_shared<TRasterImage>(pixels);
  for (std::uint32_t& p : keyed->Pixels) {
    if ((p & 0xFFFFFFu) == key) p = 0;
  }
  keyed_ = std::move(keyed);
  keyedSource_ = pixels.Pixels.data();
  keyedColor_ = key;
  return *keyed_;
}

void RegisterGraphicClass(const std::string& className, TGraphicFactory factory) {
  Registry()[className] = std::move(factory);
}

std::unique_ptr<TGraphic> CreateGraphic(std::string_view className) {
  const auto it = Registry().find(className);
  if (it == Registry().end()) return nullptr;
  return it->second();
}

bool IsGraphicClassRegistered(std::string_view className) {
  return Registry().find(className) != Registry().end();
}

std::vector<std::string> RegisteredGraphicClasses() {
  std::vector<std::string> names;
  for (const auto& [name, factory] : Registry()) names.push_back(name);
  return names;
}

}  // namespace pagora
