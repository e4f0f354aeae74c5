#include "layout/LineBreak.h"

#include <cstddef>

namespace pagora {

namespace {

#include "layout/LineBreakTable.inc"

static_assert(sizeof(kLineBreakIndex) == (0x10000 >> kLineBreakShift));

template <class Char>
bool InRange(std::basic_string_view<Char> piece, int k) noexcept {
  return k > 0 && static_cast<std::size_t>(k) < piece.size();
}

// The text after index k (of the piece or of the line) that makes a space at k a break.
template <class Char>
bool TextFollows(std::basic_string_view<Char> piece, int k, bool moreOnLine) noexcept {
  return moreOnLine || static_cast<std::size_t>(k) + 1 < piece.size();
}

template <class Char>
int AnsiBreak(std::basic_string_view<Char> piece, int k, bool moreOnLine) noexcept {
  if (!InRange(piece, k)) return -1;
  for (int i = k - 1; i >= 0; --i)
    if (piece[static_cast<std::size_t>(i)] == Char(' ')) return i;
  if (piece[static_cast<std::size_t>(k)] == Char(' ') && TextFollows(piece, k, moreOnLine)) return k;
  return -1;
}

template <class Char>
TLineBreakCut Cut(std::basic_string_view<Char> piece, int b) noexcept {
  if (b < 0 || static_cast<std::size_t>(b) >= piece.size()) return {};
  if (piece[static_cast<std::size_t>(b)] != Char(' ')) return {b + 1, false};
  // A leading space cannot end an empty run: it goes on the line by itself.
  if (b == 0) return {1, false};
  return {b, true};
}

}  // namespace

TLineBreakClass LineBreakClassOf(char16_t c) noexcept {
  const unsigned block = kLineBreakIndex[c >> kLineBreakShift];
  return static_cast<TLineBreakClass>(kLineBreakBlocks[block][c & ((1u << kLineBreakShift) - 1)]);
}

int FindUnicodeLineBreak(std::u16string_view piece, int k, bool moreOnLine) noexcept {
  if (!InRange(piece, k)) return -1;
  const auto at = [&](int i) { return piece[static_cast<std::size_t>(i)]; };
  if (at(k) == u' ' && TextFollows(piece, k, moreOnLine)) return k;

  // later: the next non-space character after the one being looked at, -1 when none (a
  // space at k that nothing follows leaves the characters before it without a partner).
  int later = k;
  while (later < static_cast<int>(piece.size()) && at(later) == u' ') ++later;
  if (later == static_cast<int>(piece.size())) later = -1;

  for (int i = k - 1; i >= 0; --i) {
    if (at(i) == u' ') continue;
    if (later >= 0) {
      const std::uint8_t pair = LineBreakPair(LineBreakClassOf(at(i)), LineBreakClassOf(at(later)));
      if (pair == kBreakDirect || (pair == kBreakIndirect && at(i + 1) == u' ')) {
        while (i + 1 <= k - 1 && at(i + 1) == u' ') ++i;
        return i;
      }
    }
    later = i;
  }
  return -1;
}

int FindAnsiLineBreak(std::string_view piece, int k, bool moreOnLine) noexcept {
  return AnsiBreak(piece, k, moreOnLine);
}

int FindAnsiLineBreak(std::u16string_view piece, int k, bool moreOnLine) noexcept {
  return AnsiBreak(piece, k, moreOnLine);
}

TLineBreakCut CutAtLineBreak(std::u16string_view piece, int b) noexcept { return Cut(piece, b); }

TLineBreakCut CutAtLineBreak(std::string_view piece, int b) noexcept { return Cut(piece, b); }

}  // namespace pagora
