// What formatting produces: drawing items (one placed piece of an item), hot areas of
// hypertext, and soft page breaks.
#pragma once

#include <cstdint>

#include "model/StyleTypes.h"

namespace pagora {

class TCustomPGFormattedData;

struct TPGDrawLineInfo {
  int JustifyExtra = 0;  // width added in front of the text by justification
  int Left = 0;
  int Top = 0;
  int Width = 0;         // includes JustifyExtra
  int Height = 0;
  int ItemNo = 0;
  int Offset = 0;        // 1-based first character of a text run; 0 for non-text items
  int Length = 0;        // characters of the run; 0 for non-text items and empty text
  int SpacingBelow = 0;  // line spacing below this drawing item's line
  bool StartsLine = false;

  [[nodiscard]] int Right() const noexcept { return Left + Width; }
  [[nodiscard]] int Bottom() const noexcept { return Top + Height; }
  friend bool operator==(const TPGDrawLineInfo&, const TPGDrawLineInfo&) = default;
};

struct TPGJumpInfo {
  const TCustomPGFormattedData* Data = nullptr;  // the container holding the drawing item
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  int JumpIndex = 0;  // hypertext number, 0-based in formatting order
  int DrawItemNo = 0;
  TCursor Cursor = crJump;
};

struct TPGSoftPageBreakInfo {
  int ItemNo = 0;
  int Offset = 0;         // character offset of the break inside a text item
  int ExtraData = -1;     // -1 between lines; else a position inside the item (tables)
};

// The selection in drawing-item coordinates, normalised (start before end). Offsets in a
// text run are 1-based (1 before the first character); in other items 0 is before the
// item and 1 after it.
struct TPGSelectionRange {
  int StartDraw = -1;
  int StartOffset = 0;
  int EndDraw = -1;
  int EndOffset = 0;
  bool Whole = false;  // the whole document is selected (a table cell selected as a whole)
};

enum TPGOwnerFlag : std::uint8_t {
  pgofHypertext = 0,
  pgofTrimSpaceAtWrap = 1,
  pgofPrinting = 2,
  pgofItemDrawRecords = 5,
  pgofExtentFit = 6,
  pgofEditor = 7,
  pgofRoot = 8,
};
using TPGOwnerFlags = TSet<TPGOwnerFlag, std::uint16_t>;
inline constexpr TPGOwnerFlags kViewerOwnerFlags = TPGOwnerFlags::FromRaw(259);

}  // namespace pagora
