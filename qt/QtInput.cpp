#include "qt/QtInput.h"

#include <QKeyEvent>

namespace pagora {

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState s;
  s.Set(ssShift, modifiers.testFlag(Qt::ShiftModifier));
  s.Set(ssCtrl, modifiers.testFlag(Qt::ControlModifier));
  s.Set(ssAlt, modifiers.testFlag(Qt::AltModifier));
  s.Set(ssLeft, buttons.testFlag(Qt::LeftButton));
  s.Set(ssRight, buttons.testFlag(Qt::RightButton));
  s.Set(ssMiddle, buttons.testFlag(Qt::MiddleButton));
  return s;
}

std::optional<TMouseButton> MouseButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return mbLeft;
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return std::nullopt;
  }
}

std::optional<TKeyStroke> KeyStrokeOf(int qtKey, Qt::KeyboardModifiers modifiers) {
  TShiftState shift = ShiftStateOf(modifiers);
  int vk = 0;
  switch (qtKey) {
    case Qt::Key_Tab: vk = VK_TAB; break;
    case Qt::Key_Backtab:
      vk = VK_TAB;
      shift.Include(ssShift);
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter: vk = VK_RETURN; break;
    case Qt::Key_PageUp: vk = VK_PRIOR; break;
    case Qt::Key_PageDown: vk = VK_NEXT; break;
    case Qt::Key_End: vk = VK_END; break;
    case Qt::Key_Home: vk = VK_HOME; break;
    case Qt::Key_Left: vk = VK_LEFT; break;
    case Qt::Key_Up: vk = VK_UP; break;
    case Qt::Key_Right: vk = VK_RIGHT; break;
    case Qt::Key_Down: vk = VK_DOWN; break;
    case Qt::Key_Insert: vk = VK_INSERT; break;
    default:
      // Letters and digits have the same codes in both (VK_C among them).
      if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) vk = qtKey;
      break;
  }
  if (vk == 0) return std::nullopt;
  return TKeyStroke{vk, shift};
}

std::optional<TKeyStroke> KeyStrokeOf(const QKeyEvent& event) { return KeyStrokeOf(event.key(), event.modifiers()); }

}  // namespace pagora
