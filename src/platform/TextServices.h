// What layout asks about characters: their writing direction and where clusters (a base
// character with its marks, a surrogate pair) begin.
#pragma once

#include <cstddef>
#include <string_view>

namespace pagora {

enum class TCharDirection { Neutral, LeftToRight, RightToLeft };

// The strong direction of a character: letters of right-to-left scripts (Hebrew, Arabic,
// Syriac, Thaana, N'Ko...), letters of the others, or neither (digits, punctuation, spaces,
// symbols, marks).
[[nodiscard]] TCharDirection CharDirection(char32_t c) noexcept;

// Whether position pos (0..text.size()) of UTF-16 text lies between two clusters: not inside
// a surrogate pair, not before a combining mark.
[[nodiscard]] bool IsClusterBoundary(std::u16string_view text, std::size_t pos) noexcept;
// The nearest cluster boundary at or after pos, and at or before pos.
[[nodiscard]] std::size_t NextClusterBoundary(std::u16string_view text, std::size_t pos) noexcept;
[[nodiscard]] std::size_t PreviousClusterBoundary(std::u16string_view text, std::size_t pos) noexcept;

}  // namespace pagora
