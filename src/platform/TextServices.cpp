#include "platform/TextServices.h"

#include "platform/CodePages.h"

namespace pagora {

namespace {

struct Range {
  char32_t First, Last;
};

// Blocks whose letters are written right to left.
constexpr Range kRightToLeft[] = {
    {0x0590, 0x08FF},   {0xFB1D, 0xFDFF},   {0xFE70, 0xFEFF},   {0x10800, 0x10FFF},
    {0x1E800, 0x1EFFF},
};

// Characters of no strong direction below U+3000 outside the letter ranges.
bool IsNeutralSymbol(char32_t c) noexcept {
  if (c < 0x80) return !((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'));
  if (c < 0xC0) return c != 0xAA && c != 0xB5 && c != 0xBA;
  if (c == 0xD7 || c == 0xF7) return true;
  if (c >= 0x2000 && c <= 0x2BFF) return true;  // punctuation, symbols, arrows, shapes
  if (c >= 0x3000 && c <= 0x303F) return true;  // CJK punctuation
  if (c >= 0xFE10 && c <= 0xFE6F) return true;
  if (c >= 0xFF00 && c <= 0xFF20) return true;
  return false;
}

}  // namespace

TCharDirection CharDirection(char32_t c) noexcept {
  for (const Range& r : kRightToLeft)
    if (c >= r.First && c <= r.Last) {
      // Arabic digits and punctuation have no strong direction.
      if ((c >= 0x0660 && c <= 0x066C) || (c >= 0x06F0 && c <= 0x06F9) || c == 0x060C) return TCharDirection::Neutral;
      if (c <= 0xFFFF && IsNonSpacingMark(static_cast<char16_t>(c))) return TCharDirection::Neutral;
      return TCharDirection::RightToLeft;
    }
  if (IsNeutralSymbol(c)) return TCharDirection::Neutral;
  if (c <= 0xFFFF && IsNonSpacingMark(static_cast<char16_t>(c))) return TCharDirection::Neutral;
  return TCharDirection::LeftToRight;
}

bool IsClusterBoundary(std::u16string_view text, std::size_t pos) noexcept {
  if (pos == 0 || pos >= text.size()) return true;
  const char16_t before = text[pos - 1];
  const char16_t at = text[pos];
  if (before >= 0xD800 && before <= 0xDBFF && at >= 0xDC00 && at <= 0xDFFF) return false;
  return !IsNonSpacingMark(at) && !(at >= 0xFE00 && at <= 0xFE0F) && at != 0x200D && before != 0x200D;
}

std::size_t NextClusterBoundary(std::u16string_view text, std::size_t pos) noexcept {
  while (pos < text.size() && !IsClusterBoundary(text, pos)) ++pos;
  return pos;
}

std::size_t PreviousClusterBoundary(std::u16string_view text, std::size_t pos) noexcept {
  if (pos > text.size()) pos = text.size();
  while (pos > 0 && !IsClusterBoundary(text, pos)) --pos;
  return pos;
}

}  // namespace pagora
