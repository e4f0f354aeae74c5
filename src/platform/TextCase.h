// Case mapping and case-insensitive comparison, per UTF-16 code unit so that offsets and
// lengths never change (upper-casing "ß" stays one character).
#pragma once

#include <string_view>

namespace pagora {

[[nodiscard]] char16_t UpperChar(char16_t c) noexcept;
[[nodiscard]] char16_t LowerChar(char16_t c) noexcept;

// <0, 0 or >0 comparing the lower-case forms.
[[nodiscard]] int CompareTextNoCase(std::u16string_view a, std::u16string_view b) noexcept;
// Case-insensitive equality of two UTF-8 strings (names of fonts and styles).
[[nodiscard]] bool SameTextNoCase(std::string_view a, std::string_view b);

}  // namespace pagora
