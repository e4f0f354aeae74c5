#include "qt/QtScrollBars.h"

#include <QScrollBar>

#include <algorithm>

namespace pagora {

void ApplyScrollBarInfo(QScrollBar& bar, const TScrollBarInfo& info, bool tracking) {
  // The last position shows the last page: Max - Page + 1, and Max itself for no page.
  const int last = std::max(info.Min, info.Max - std::max(info.Page - 1, 0));
  bar.setTracking(tracking);
  bar.setRange(info.Min, last);
  bar.setPageStep(std::max(info.Page, 0));
  bar.setValue(info.Position);
}

std::optional<TScrollAction> ScrollActionOf(int sliderAction, bool sliderDown) {
  switch (sliderAction) {
    case QAbstractSlider::SliderSingleStepAdd: return TScrollAction::LineDown;
    case QAbstractSlider::SliderSingleStepSub: return TScrollAction::LineUp;
    case QAbstractSlider::SliderPageStepAdd: return TScrollAction::PageDown;
    case QAbstractSlider::SliderPageStepSub: return TScrollAction::PageUp;
    case QAbstractSlider::SliderToMinimum: return TScrollAction::Top;
    case QAbstractSlider::SliderToMaximum: return TScrollAction::Bottom;
    case QAbstractSlider::SliderMove: return sliderDown ? TScrollAction::ThumbTrack : TScrollAction::ThumbPosition;
    default: return std::nullopt;
  }
}

}  // namespace pagora
