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
