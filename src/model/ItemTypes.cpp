#include "model/ItemTypes.h"

#include <array>

namespace pagora {

namespace {
constexpr std::array<std::string_view, 12> kIntKeywords = {
    "vshift", "vshiftabs", "width",   "height",   "transparent", "tmode",
    "tcolor", "minheightonpage", "spacing", "resizable", "unremovable", "nohtmlsize"};
constexpr std::array<std::string_view, 3> kStrKeywords = {"hint", "alt", "filename"};
}  // namespace

std::string_view IntPropKeyword(TPGItemIntProp prop) noexcept {
  const unsigned i = static_cast<unsigned>(prop) - 1;
  return i < kIntKeywords.size() ? kIntKeywords[i] : std::string_view{};
}

std::string_view StrPropKeyword(TPGItemStrProp prop) noexcept {
  const unsigned i = static_cast<unsigned>(prop) - 1;
  return i < kStrKeywords.size() ? kStrKeywords[i] : std::string_view{};
}

std::optional<TPGItemIntProp> IntPropFromKeyword(std::string_view keyword) noexcept {
  for (std::size_t i = 0; i < kIntKeywords.size(); ++i)
    if (kIntKeywords[i] == keyword) return static_cast<TPGItemIntProp>(i + 1);
  return std::nullopt;
}

std::optional<TPGItemStrProp> StrPropFromKeyword(std::string_view keyword) noexcept {
  for (std::size_t i = 0; i < kStrKeywords.size(); ++i)
    if (kStrKeywords[i] == keyword) return static_cast<TPGItemStrProp>(i + 1);
  return std::nullopt;
}

}  // namespace pagora
