// The enumerations and sets that styles are made of, with their stored values.
#pragma once

#include <cstdint>

#include "platform/EnumSet.h"

namespace pagora {

inline constexpr int kDefaultTextStyleOfPara = 2147483647;  // "the paragraph's default text style"

enum TPGBiDiMode : std::uint8_t { pgbdUnspecified, pgbdLeftToRight, pgbdRightToLeft };

enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle, std::uint8_t>;

enum TPGFontStyle : std::uint8_t { pgfsOverline, pgfsAllCaps };
using TPGFontStyles = TSet<TPGFontStyle, std::uint8_t>;

enum TPGProtectOption : std::uint8_t {
  pgprStyleProtect,
  pgprModifyProtect,
  pgprDeleteProtect,
  pgprConcateProtect,
  pgprPGFInsertProtect,
  pgprDoNotAutoSwitch,
  pgprParaStartProtect,
  pgprSticking,
  pgprStickToTop,
  pgprStickToBottom,
};
using TPGProtectOptions = TSet<TPGProtectOption, std::uint16_t>;

enum TPGTextOption : std::uint8_t { pgteoHTMLCode, pgteoRTFCode };
using TPGTextOptions = TSet<TPGTextOption, std::uint8_t>;

enum TPGLineSpacingType : std::uint8_t { pglsPercent, pglsSpaceBetween };

enum TPGAlignment : std::uint8_t { pgaLeft, pgaRight, pgaCenter, pgaJustify };

enum TPGParaOption : std::uint8_t {
  pgpaoNoWrap,
  pgpaoReadOnly,
  pgpaoStyleProtect,
  pgpaoDoNotWantReturns,
  pgpaoKeepLinesTogether,
  pgpaoKeepWithNext,
};
using TPGParaOptions = TSet<TPGParaOption, std::uint8_t>;

enum TPGBorderStyle : std::uint8_t { pgbNone, pgbSingle, pgbDouble, pgbTriple, pgbThickInside, pgbThickOutside };

enum TPGSelectionMode : std::uint8_t { pgsmChar, pgsmWord, pgsmParagraph };
enum TPGSelectionStyle : std::uint8_t { pgssItems, pgssLines };

enum TPGTextDrawState : std::uint8_t {
  pgtsSelected,
  pgtsHover,
  pgtsItemStart,
  pgtsItemEnd,
  pgtsDrawItemStart,
  pgtsDrawItemEnd,
  pgtsControlFocused,
  pgtsSpecialCharacters,
};
using TPGTextDrawStates = TSet<TPGTextDrawState, std::uint8_t>;

enum TPGColorMode : std::uint8_t { pgcmColor, pgcmPrinterColor, pgcmGrayScale, pgcmBlackAndWhite, pgcmBlackOnWhite };

enum TPGPageBreakType : std::uint8_t { pgpbSoftPageBreak, pgpbPageBreak };

enum TPGTextStyleProperty : std::uint8_t {
  tspFontName, tspSize, tspCharset, tspUnicode, tspBold, tspItalic, tspUnderline, tspStrikeOut,
  tspOverline, tspAllCaps, tspVShift, tspColor, tspBackColor, tspJump, tspHoverBackColor,
  tspHoverColor, tspJumpCursor, tspNextStyleNo, tspProtection, tspCharScale, tspBaseStyleNo,
  tspBiDiMode, tspCharSpacing, tspHTMLCode, tspRTFCode,
};
using TPGTextStyleProperties = TSet<TPGTextStyleProperty, std::uint32_t>;
inline constexpr TPGTextStyleProperties kAllTextStyleProperties = TPGTextStyleProperties::FromRaw(0x1FFFFFF);

enum TPGParaStyleProperty : std::uint8_t {
  pspFirstIndent, pspLeftIndent, pspRightIndent, pspSpaceBefore, pspSpaceAfter, pspAlignment,
  pspNextParaNo, pspDefStyleNo, pspLineSpacing, pspLineSpacingType, pspBackgroundColor,
  pspBackgroundOffsetLeft, pspBackgroundOffsetTop, pspBackgroundOffsetRight,
  pspBackgroundOffsetBottom, pspBorderColor, pspBorderStyle, pspBorderWidth,
  pspBorderInternalWidth, pspBorderOffsetLeft, pspBorderOffsetTop, pspBorderOffsetRight,
  pspBorderOffsetBottom, pspBorderVisibleLeft, pspBorderVisibleTop, pspBorderVisibleRight,
  pspBorderVisibleBottom, pspNoWrap, pspReadOnly, pspStyleProtect, pspDoNotWantReturns,
  pspKeepLinesTogether, pspKeepWithNext, pspBiDiMode,
};
using TPGParaStyleProperties = TSet<TPGParaStyleProperty, std::uint64_t>;
inline constexpr TPGParaStyleProperties kAllParaStyleProperties =
    TPGParaStyleProperties::FromRaw((std::uint64_t{1} << 34) - 1);

// How MergeStyleCollection brings a collection into another.
enum class TPGMergeMode : std::uint8_t { Merge, Closest, Append };

using TCursor = std::int16_t;
inline constexpr TCursor crJump = 101;
inline constexpr TCursor crFlipArrow = 106;

}  // namespace pagora
