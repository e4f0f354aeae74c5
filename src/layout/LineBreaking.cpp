#include "layout/LineBreaking.h"

#include "layout/LineBreak.h"

namespace pagora {

TPGBreak FindLineBreak(std::u16string_view piece, int k, bool moreOnLine, bool unicode) {
  int b = -1;
  // A space right after what fits ends the line there, in 8-bit text as in Unicode text:
  // looking for an earlier space would move a word that fits to the next line.
  const bool more = moreOnLine || k + 1 < static_cast<int>(piece.size());
  if (k > 0 && k < static_cast<int>(piece.size()) && piece[static_cast<std::size_t>(k)] == u' ' && more) b = k;
  else b = unicode ? FindUnicodeLineBreak(piece, k, moreOnLine) : FindAnsiLineBreak(piece, k, moreOnLine);
  if (b < 0) return {};
  const TLineBreakCut cut = CutAtLineBreak(piece, b);
  if (cut.RunLength <= 0) return {};
  return {true, cut.RunLength, cut.SpaceConsumed};
}

}  // namespace pagora
