// Line-breaking classes of UTF-16 code units, the pair table over them, and the search for
// the place where a piece of text that does not fit on the line may break.
#pragma once

#include <cstdint>
#include <string_view>

namespace pagora {

// The order is the pair table's. Space is U+0020 only: it has no row or column, the
// search handles it.
enum class TLineBreakClass : std::uint8_t {
  OP, CL, QU, GL, NS, EX, SY, IS, PR, PO, NU, AL, ID, IN, HY, BA, BB, B2, ZW, CM, Space
};

inline constexpr int kLineBreakClassCount = 20;  // the classes with a row, Space excluded

[[nodiscard]] TLineBreakClass LineBreakClassOf(char16_t c) noexcept;

// Entries of the pair table.
inline constexpr std::uint8_t kBreakDirect = 0;      // a break may follow the earlier character
inline constexpr std::uint8_t kBreakIndirect = 1;    // only when a space follows it
inline constexpr std::uint8_t kBreakProhibited = 2;  // never

// kLineBreakPairs[class before][class after], the next non-space character being "after".
// clang-format off
inline constexpr std::uint8_t kLineBreakPairs[kLineBreakClassCount][kLineBreakClassCount] = {
  //        OP CL QU GL NS EX SY IS PR PO NU AL ID IN HY BA BB B2 ZW CM
  /* OP */ { 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1 },
  /* CL */ { 0, 2, 1, 1, 2, 2, 2, 2, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 2, 1 },
  /* QU */ { 2, 2, 1, 1, 1, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 1 },
  /* GL */ { 1, 2, 1, 1, 1, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 1 },
  /* NS */ { 0, 2, 1, 1, 1, 2, 2, 2, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 2, 1 },
  /* EX */ { 0, 2, 1, 1, 1, 2, 2, 2, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 2, 1 },
  /* SY */ { 0, 2, 1, 1, 1, 2, 2, 2, 0, 0, 1, 0, 0, 0, 1, 1, 0, 0, 2, 1 },
  /* IS */ { 0, 2, 1, 1, 1, 2, 2, 2, 0, 0, 1, 0, 0, 0, 1, 1, 0, 0, 2, 1 },
  /* PR */ { 1, 2, 1, 1, 1, 2, 2, 2, 0, 0, 1, 1, 1, 0, 1, 1, 0, 0, 2, 1 },
  /* PO */ { 0, 2, 1, 1, 1, 2, 2, 2, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 2, 1 },
  /* NU */ { 0, 2, 1, 1, 1, 2, 2, 2, 0, 1, 1, 1, 0, 1, 1, 1, 0, 0, 2, 1 },
  /* AL */ { 0, 2, 1, 1, 1, 2, 2, 2, 0, 0, 1, 1, 0, 1, 1, 1, 0, 0, 2, 1 },
  /* ID */ { 0, 2, 1, 1, 1, 2, 2, 2, 0, 1, 0, 0, 0, 1, 1, 1, 0, 0, 2, 1 },
  /* IN */ { 0, 2, 1, 1, 1, 2, 2, 2, 0, 0, 0, 0, 0, 1, 1, 1, 0, 0, 2, 1 },
  /* HY */ { 0, 2, 1, 1, 1, 2, 2, 2, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 2, 1 },
  /* BA */ { 0, 2, 1, 1, 1, 2, 2, 2, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 2, 1 },
  /* BB */ { 1, 2, 1, 1, 1, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 1 },
  /* B2 */ { 0, 2, 1, 1, 1, 2, 2, 2, 0, 0, 0, 0, 0, 0, 1, 1, 0, 2, 2, 1 },
  /* ZW */ { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1 },
  /* CM */ { 0, 2, 1, 1, 1, 2, 2, 2, 0, 0, 1, 1, 0, 1, 1, 1, 0, 0, 2, 1 },
};
// clang-format on

[[nodiscard]] constexpr std::uint8_t LineBreakPair(TLineBreakClass before, TLineBreakClass after) noexcept {
  return kLineBreakPairs[static_cast<int>(before)][static_cast<int>(after)];
}

// Both searches are called when only the first k characters of a piece fit on the line
// (0 < k < piece.size(); any other k gives -1). moreOnLine: text follows the piece on this
// line (the next item continues it); the characters of the piece after index k count as
// such text without it.
//
// The result b is the index in the piece of the break character, or -1 when the piece
// cannot break. The break character is either
//  - a space (piece[b] == ' '): the line ends before it; when spaces precede the break,
//    b is the last of them, so the line keeps all the others; or
//  - not a space (Unicode text only): the line ends with it, b is the last character of
//    the run.
// b is at most k, and b = k only for a space.
// CutAtLineBreak turns b into what the line gets.

// Unicode text: the pair table over the classes of the characters.
[[nodiscard]] int FindUnicodeLineBreak(std::u16string_view piece, int k, bool moreOnLine) noexcept;

// 8-bit text, and any text broken at spaces only: the last space among the first k
// characters, or else the space right after them when more text follows it.
[[nodiscard]] int FindAnsiLineBreak(std::string_view piece, int k, bool moreOnLine) noexcept;
[[nodiscard]] int FindAnsiLineBreak(std::u16string_view piece, int k, bool moreOnLine) noexcept;

struct TLineBreakCut {
  int RunLength = 0;           // characters from the piece's start that go on this line
  bool SpaceConsumed = false;  // the space after them belongs to no line
};

// What a break at b (a result of the searches, 0 <= b < piece.size()) leaves on the line:
// a space break gives the b characters before the space and consumes the space, except that
// a space at the piece's start is a run on its own and nothing is consumed; any other break
// gives b + 1 characters. An out-of-range b gives an empty run.
[[nodiscard]] TLineBreakCut CutAtLineBreak(std::u16string_view piece, int b) noexcept;
[[nodiscard]] TLineBreakCut CutAtLineBreak(std::string_view piece, int b) noexcept;

}  // namespace pagora
