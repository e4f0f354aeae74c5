#include "model/ControlRegistry.h"

#include <map>

namespace pagora {

namespace {
std::map<std::string, TControlFactory, std::less<>>& Registry() {
  static std::map<std::string, TControlFactory, std::less<>> registry;
  return registry;
}
}  // namespace

void RegisterControlClass(const std::string& className, TControlFactory factory) {
  Registry()[className] = std::move(factory);
}

std::unique_ptr<IEmbeddedControl> CreateControl(std::string_view className) {
  const auto it = Registry().find(className);
  return it == Registry().end() ? nullptr : it->second();
}

}  // namespace pagora
