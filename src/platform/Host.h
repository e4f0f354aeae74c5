// What a control's core asks of the window that shows it: its size, repainting,
// scrolling, scroll bars, timers, deferred work, focus, the mouse, cursors, hints and
// menus. The window-system layer implements it in its widget; tests use a fake that
// records the calls and runs timers and posted work by hand.
#pragma once

#include <memory>
#include <string>

#include "platform/Geometry.h"
#include "platform/InputTypes.h"

namespace pagora {

class ICanvas;

enum class TScrollBarKind : std::uint8_t { Horizontal, Vertical };

// A scroll bar's range (Min..Max inclusive), page and position, in the control's units.
struct TScrollBarInfo {
  int Min = 0;
  int Max = 0;
  int Page = 0;
  int Position = 0;
  bool Visible = true;
  friend bool operator==(const TScrollBarInfo&, const TScrollBarInfo&) = default;
};

// Work a control posts to itself, delivered after the current event; the host owns it
// until delivery and drops it when the control goes first.
class IPostedMessage {
public:
  virtual ~IPostedMessage() = default;
};

class IHost {
public:
  virtual ~IHost() = default;

  // ---- geometry and painting (client coordinates)
  [[nodiscard]] virtual TSize ClientSize() const = 0;
  virtual void Invalidate(const TRect& r) = 0;
  virtual void InvalidateAll() = 0;
  // Paints what is invalid now rather than when the event queue gets to it.
  virtual void UpdateNow() = 0;
  // Moves the painted contents by (dx, dy) and invalidates what is uncovered.
  virtual void ScrollContents(int dx, int dy) = 0;
  virtual void SetScrollBar(TScrollBarKind kind, const TScrollBarInfo& info) = 0;
  // A canvas to measure on outside painting (formatting), at the screen's resolution.
  [[nodiscard]] virtual ICanvas& MeasureCanvas() = 0;

  // ---- timers and deferred work
  virtual void StartTimer(int id, int milliseconds) = 0;
  virtual void StopTimer(int id) = 0;
  virtual void Post(std::unique_ptr<IPostedMessage> message) = 0;

  // ---- input
  virtual void SetFocus() = 0;
  [[nodiscard]] virtual bool HasFocus() const = 0;
  // The focus goes to the next (or previous) control of the window, past this one.
  virtual void FocusNextControl(bool backwards) = 0;
  virtual void CaptureMouse() = 0;
  virtual void ReleaseMouse() = 0;
  // Where the mouse is, in client coordinates, and the keys and buttons held now.
  [[nodiscard]] virtual TPoint CursorPos() const = 0;
  [[nodiscard]] virtual TShiftState KeyboardState() const = 0;
  [[nodiscard]] virtual TPoint ClientToScreen(TPoint p) const = 0;
  virtual void SetCursor(TCursorId cursor) = 0;
  // Lines a wheel notch scrolls by the user's setting (3 when it cannot be read).
  [[nodiscard]] virtual int WheelScrollLines() const { return 3; }

  // ---- feedback
  virtual void Beep() = 0;
  virtual void ShowHint(const std::string& textUtf8) = 0;
  virtual void CancelHint() = 0;
  // Shows the context menu at a screen point; false when the control has none.
  virtual bool PopupMenu(TPoint screen) = 0;
};

}  // namespace pagora
