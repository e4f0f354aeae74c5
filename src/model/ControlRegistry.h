// The control classes documents can create by the class name they store (the window-system
// layer registers its controls).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/EmbeddedControl.h"

namespace pagora {

using TControlFactory = std::function<std::unique_ptr<IEmbeddedControl>()>;

void RegisterControlClass(const std::string& className, TControlFactory factory);
// A new control of the class, or none when the class is not registered.
[[nodiscard]] std::unique_ptr<IEmbeddedControl> CreateControl(std::string_view className);

}  // namespace pagora
