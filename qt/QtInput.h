// Qt's keys, modifiers and mouse buttons as the core's virtual keys, shift states and buttons.
#pragma once

#include <Qt>

#include <optional>

#include "platform/InputTypes.h"

class QKeyEvent;

namespace pagora {

struct TKeyStroke {
  int Vk = 0;
  TShiftState Shift;
  friend bool operator==(const TKeyStroke&, const TKeyStroke&) = default;
};

[[nodiscard]] TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);
[[nodiscard]] std::optional<TMouseButton> MouseButtonOf(Qt::MouseButton button);

// The virtual key of a key with modifiers (Backtab is Shift+Tab); nothing for keys the
// core has no code for.
[[nodiscard]] std::optional<TKeyStroke> KeyStrokeOf(int qtKey, Qt::KeyboardModifiers modifiers);
[[nodiscard]] std::optional<TKeyStroke> KeyStrokeOf(const QKeyEvent& event);

}  // namespace pagora
