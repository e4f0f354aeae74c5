#include "platform/Canvas.h"

namespace pagora {

void ICanvas::PrefixWidths(std::u16string_view text, std::span<int> widths) {
  // Fallback for canvases without a better way: one measurement per prefix.
  for (std::size_t i = 0; i < text.size() && i < widths.size(); ++i) widths[i] = TextExtent(text.substr(0, i + 1)).cx;
}

int ICanvas::FitCount(std::u16string_view text, int maxWidth) {
  // Prefix widths never decrease, so the count is found by bisection.
  std::size_t lo = 0, hi = text.size();
  while (lo < hi) {
    const std::size_t mid = (lo + hi + 1) / 2;
    if (TextExtent(text.substr(0, mid)).cx <= maxWidth) lo = mid;
    else hi = mid - 1;
  }
  return static_cast<int>(lo);
}

}  // namespace pagora
