// A window-system control embedded in a document (a button, an edit box ...). The core
// places and shows it; the window-system layer owns the real widget behind it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/Geometry.h"

namespace pagora {

class IEmbeddedControl {
public:
  virtual ~IEmbeddedControl() = default;
  [[nodiscard]] virtual std::string ClassName() const = 0;
  [[nodiscard]] virtual int Width() const = 0;
  [[nodiscard]] virtual int Height() const = 0;
  virtual void SetBounds(const TRect& bounds) = 0;
  virtual void SetVisible(bool visible) = 0;
  [[nodiscard]] virtual bool Visible() const = 0;
  // Whether the control is a window that can take the keyboard focus.
  [[nodiscard]] virtual bool CanFocus() const = 0;
  virtual void SetFocus() {}
  // Takes it off its parent window (while it sits in the undo list) or puts it back.
  virtual void SetAttached(bool attached) = 0;
  // The control's published properties in the component stream form that documents store,
  // and reading them back; false when the data does not fit the control.
  [[nodiscard]] virtual std::string WriteComponent() const { return {}; }
  virtual bool ReadComponent(std::string_view /*data*/) { return false; }
};

}  // namespace pagora
