// Which styles a document uses, and how style numbers change when unused styles go.
#pragma once

#include <vector>

namespace pagora {

struct TPGStyleUsage {
  std::vector<bool> Text, Para, List;

  static void Mark(std::vector<bool>& used, int styleNo) {
    if (styleNo >= 0 && static_cast<std::size_t>(styleNo) < used.size()) used[static_cast<std::size_t>(styleNo)] = true;
  }
};

// New numbers by old number; an empty table leaves that kind alone. Numbers outside a
// table (and the paragraph-default text style number) are not references and stay.
struct TPGStyleRenumbering {
  std::vector<int> Text, Para, List;

  [[nodiscard]] static int Apply(const std::vector<int>& table, int styleNo) noexcept {
    if (styleNo < 0 || static_cast<std::size_t>(styleNo) >= table.size()) return styleNo;
    const int n = table[static_cast<std::size_t>(styleNo)];
    return n >= 0 ? n : styleNo;
  }
};

}  // namespace pagora
