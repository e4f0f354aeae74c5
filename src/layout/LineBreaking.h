// Where a piece of text that does not fit breaks, and what the line before the break gets.
#pragma once

#include <string_view>

namespace pagora {

struct TPGBreak {
  bool Found = false;
  int RunLength = 0;           // characters the line gets
  bool SpaceConsumed = false;  // the space at the break belongs to no line
};

// k characters of piece fit (0 < k < piece.size()). moreOnLine: text follows the
// character after them on this line (more of the piece, or a next item continuing it).
// Unicode text breaks by the pair table of line-breaking classes, 8-bit text at spaces.
[[nodiscard]] TPGBreak FindLineBreak(std::u16string_view piece, int k, bool moreOnLine, bool unicode);

}  // namespace pagora
