// Scroll bars between the core's terms (a range that includes the page, actions) and
// QScrollBar's (a range of positions, slider actions).
#pragma once

#include <optional>

#include "layout/PGScroll.h"

class QScrollBar;

namespace pagora {

// Range, page and position; the caller guards against the signals this sends.
void ApplyScrollBarInfo(QScrollBar& bar, const TScrollBarInfo& info, bool tracking);

// The core's action for a QAbstractSlider::SliderAction: a slider move while the slider is
// held is tracking, any other (a release with tracking off, the wheel) a final position.
[[nodiscard]] std::optional<TScrollAction> ScrollActionOf(int sliderAction, bool sliderDown);

}  // namespace pagora
