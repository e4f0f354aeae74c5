#include "platform/TextCase.h"

#include <locale.h>
#include <wctype.h>

#include "platform/TextEncoding.h"

namespace pagora {

namespace {

// A locale with the full Unicode case tables, whatever locale the process runs in.
locale_t UnicodeLocale() noexcept {
  static const locale_t loc = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (!l) l = newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
    return l;
  }();
  return loc;
}

char16_t MapChar(char16_t c, bool upper) noexcept {
  if (c < 0x80) {
    if (upper && c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
    if (!upper && c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
    return c;
  }
  if (c >= 0xD800 && c <= 0xDFFF) return c;
  const wint_t m = upper ? towupper_l(c, UnicodeLocale()) : towlower_l(c, UnicodeLocale());
  return m <= 0xFFFF ? static_cast<char16_t>(m) : c;
}

}  // namespace

char16_t UpperChar(char16_t c) noexcept { return MapChar(c, true); }
char16_t LowerChar(char16_t c) noexcept { return MapChar(c, false); }

int CompareTextNoCase(std::u16string_view a, std::u16string_view b) noexcept {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = LowerChar(a[i]);
    const char16_t y = LowerChar(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameTextNoCase(std::string_view a, std::string_view b) {
  bool ascii = true;
  for (char c : a) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  for (char c : b) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (LowerChar(static_cast<char16_t>(a[i])) != LowerChar(static_cast<char16_t>(b[i]))) return false;
    return true;
  }
  return CompareTextNoCase(UTF8ToUTF16(a), UTF8ToUTF16(b)) == 0;
}

}  // namespace pagora
