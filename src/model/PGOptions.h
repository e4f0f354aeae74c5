// The behaviour switches of a viewer or editor control that its documents consult.
#pragma once

#include <cstdint>

#include "platform/EnumSet.h"

namespace pagora {

enum TPGOption : std::uint8_t {
  pgoAllowSelection,
  pgoSingleClick,
  pgoScrollToEnd,
  pgoClientTextWidth,
  pgoShowCheckpoints,
  pgoShowPageBreaks,
  pgoShowSpecialCharacters,
  pgoTagsArePChars,
  pgoAutoCopyText,
  pgoAutoCopyUnicodeText,
  pgoAutoCopyPGF,
  pgoAutoCopyImage,
  pgoAutoCopyRTF,
  pgoFormatInvalidate,
  pgoDblClickSelectsWord,
  pgoRClickDeselects,
  pgoDisallowDrag,
  pgoShowItemHints,
};
using TPGOptions = TSet<TPGOption, std::uint32_t>;

// A new control's options (stored value 64805).
inline constexpr TPGOptions kDefaultPGOptions = TPGOptions::FromRaw(64805);

}  // namespace pagora
