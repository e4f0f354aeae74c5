// Font character sets (the charset byte that styles and interchange formats carry) and
// the code pages and languages they stand for.
#pragma once

#include <cstdint>

#include "platform/CodePages.h"

namespace pagora {

using TFontCharset = std::uint8_t;

inline constexpr TFontCharset ANSI_CHARSET = 0;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;
inline constexpr TFontCharset SYMBOL_CHARSET = 2;
inline constexpr TFontCharset MAC_CHARSET = 77;
inline constexpr TFontCharset SHIFTJIS_CHARSET = 128;
inline constexpr TFontCharset HANGEUL_CHARSET = 129;
inline constexpr TFontCharset JOHAB_CHARSET = 130;
inline constexpr TFontCharset GB2312_CHARSET = 134;
inline constexpr TFontCharset CHINESEBIG5_CHARSET = 136;
inline constexpr TFontCharset GREEK_CHARSET = 161;
inline constexpr TFontCharset TURKISH_CHARSET = 162;
inline constexpr TFontCharset VIETNAMESE_CHARSET = 163;
inline constexpr TFontCharset HEBREW_CHARSET = 177;
inline constexpr TFontCharset ARABIC_CHARSET = 178;
inline constexpr TFontCharset BALTIC_CHARSET = 186;
inline constexpr TFontCharset RUSSIAN_CHARSET = 204;
inline constexpr TFontCharset THAI_CHARSET = 222;
inline constexpr TFontCharset EASTEUROPE_CHARSET = 238;
inline constexpr TFontCharset OEM_CHARSET = 255;

// The code page of 8-bit text in a font of this charset; 0 (the ANSI code page) for the
// default, symbol and unknown charsets.
[[nodiscard]] TPGCodePage CharsetToCodePage(TFontCharset charset) noexcept;

// The language identifier that interchange formats write for a charset; 1024 when
// there is none, 0 for charsets that name no single language.
[[nodiscard]] int CharsetToLanguage(TFontCharset charset) noexcept;

}  // namespace pagora
