// Text in a symbol-charset font holds the 8-bit code points of the classic Symbol font.
// Qt draws Unicode, so such text is mapped to the characters those code points show.
#pragma once

#include <string_view>

namespace pagora {

// The Unicode character that Symbol-font code point c shows. Codes 0x20..0xFF, and the
// same codes in the 0xF020..0xF0FF range where symbol fonts also carry them, map through
// the Symbol encoding (undefined slots become a space); every other value is returned
// unchanged.
[[nodiscard]] char16_t SymbolToUnicode(char16_t c) noexcept;

// True when a font of this name and charset draws Symbol-font code points.
[[nodiscard]] bool IsSymbolFont(std::string_view name, unsigned charset) noexcept;

}  // namespace pagora
