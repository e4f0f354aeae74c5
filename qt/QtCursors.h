// Cursor numbers, as styles and controls store them, as Qt cursors.
#pragma once

#include <QCursor>

#include "platform/InputTypes.h"

namespace pagora {

// The numbers the controls use beyond the standard ones.
inline constexpr TCursorId kCursorJump = 101;        // a pointing hand over links
inline constexpr TCursorId kCursorLineSelect = 106;  // an arrow pointing right, in the left margin

// The Qt cursor for a number; unknown numbers give the arrow.
[[nodiscard]] QCursor CursorFor(TCursorId id);

}  // namespace pagora
