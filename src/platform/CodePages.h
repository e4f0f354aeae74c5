// Conversion between 8-bit text in a code page and UTF-16, through iconv.
// Code page 0 is the system's ANSI code page (1252 unless configured), 1 the OEM
// code page (437) and 2 the Macintosh code page (10000).
#pragma once

#include <string>
#include <string_view>

namespace pagora {

using TPGCodePage = int;

inline constexpr TPGCodePage CP_ACP = 0;
inline constexpr TPGCodePage CP_OEMCP = 1;
inline constexpr TPGCodePage CP_MACCP = 2;
inline constexpr TPGCodePage CP_UTF8 = 65001;

void SetSystemAnsiCodePage(TPGCodePage codePage) noexcept;
[[nodiscard]] TPGCodePage SystemAnsiCodePage() noexcept;

// The real code page behind 0, 1, 2 and 3 (the thread's ANSI code page); others unchanged.
[[nodiscard]] TPGCodePage ResolveCodePage(TPGCodePage codePage) noexcept;

// True when text in this code page can be converted here.
[[nodiscard]] bool IsCodePageAvailable(TPGCodePage codePage);

// 8-bit to UTF-16. An unavailable code page falls back to the ANSI code page; a byte the
// code page does not define becomes the character of the same number (so it survives a
// round trip), an invalid multi-byte sequence "?".
[[nodiscard]] std::u16string CodePageToUTF16(TPGCodePage codePage, std::string_view bytes);

// UTF-16 to 8-bit. A base character followed by combining marks is first composed where
// the code page holds the composed character; marks that still do not fit are dropped;
// any other character the code page lacks becomes "?" (one per character). lossy, when
// given, tells whether anything was replaced or dropped.
[[nodiscard]] std::string UTF16ToCodePage(TPGCodePage codePage, std::u16string_view text,
                                          bool* lossy = nullptr);

// Canonical composition of a base character and one combining mark, or 0.
[[nodiscard]] char16_t ComposeCharacters(char16_t base, char16_t mark) noexcept;
[[nodiscard]] bool IsNonSpacingMark(char16_t c) noexcept;

}  // namespace pagora
