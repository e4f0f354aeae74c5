#include "platform/TextEncoding.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace pagora {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Length of the well-formed UTF-8 sequence at p (1 to 4), or 0 when it is ill-formed;
// the code point goes to cp. Follows the table of well-formed byte sequences.
std::size_t DecodeUTF8(const unsigned char* p, std::size_t avail, char32_t& cp) noexcept {
  const unsigned char b0 = p[0];
  if (b0 < 0x80) { cp = b0; return 1; }
  std::size_t len;
  unsigned char lo = 0x80, hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) { len = 2; cp = b0 & 0x1F; }
  else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3; cp = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;  // no surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4; cp = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (avail < len) return 0;
  for (std::size_t i = 1; i < len; ++i) {
    const unsigned char b = p[i];
    if (b < lo || b > hi) return 0;
    lo = 0x80; hi = 0xBF;
    cp = (cp << 6) | (b & 0x3F);
  }
  return len;
}

// How many bytes an ill-formed sequence at p swallows: the lead byte and the
// continuation bytes that could still have belonged to it (so "one U+FFFD per
// maximal subpart", as the Unicode standard recommends).
std::size_t IllFormedLength(const unsigned char* p, std::size_t avail) noexcept {
  const unsigned char b0 = p[0];
  std::size_t expect = 0;
  unsigned char lo = 0x80, hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) expect = 2;
  else if (b0 >= 0xE0 && b0 <= 0xEF) { expect = 3; if (b0 == 0xE0) lo = 0xA0; if (b0 == 0xED) hi = 0x9F; }
  else if (b0 >= 0xF0 && b0 <= 0xF4) { expect = 4; if (b0 == 0xF0) lo = 0x90; if (b0 == 0xF4) hi = 0x8F; }
  else return 1;
  std::size_t n = 1;
  while (n < expect && n < avail && p[n] >= lo && p[n] <= hi) { ++n; lo = 0x80; hi = 0xBF; }
  return n;
}

void AppendUTF16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

}  // namespace

std::u16string UTF8ToUTF16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  std::size_t i = 0;
  const std::size_t n = utf8.size();
  while (i < n) {
    // ASCII runs are the common case in every script's files (markup, digits, spaces).
    while (i < n && p[i] < 0x80) out.push_back(static_cast<char16_t>(p[i++]));
    if (i >= n) break;
    char32_t cp;
    const std::size_t len = DecodeUTF8(p + i, n - i, cp);
    if (len == 0) {
      out.push_back(static_cast<char16_t>(kReplacement));
      i += IllFormedLength(p + i, n - i);
    } else {
      AppendUTF16(out, cp);
      i += len;
    }
  }
  return out;
}

std::string UTF16ToUTF8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  const std::size_t n = utf16.size();
  for (std::size_t i = 0; i < n; ++i) {
    char32_t cp = utf16[i];
    if (cp < 0x80) { out.push_back(static_cast<char>(cp)); continue; }
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

bool IsValidUTF8(std::string_view bytes) noexcept {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80) { ++i; continue; }
    char32_t cp;
    const std::size_t len = DecodeUTF8(p + i, n - i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::u16string U16FromBytes(std::string_view bytes) {
  std::u16string out(bytes.size() / 2, u'\0');
  if (out.empty()) return out;  // an empty view may have no data pointer at all
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out.data(), bytes.data(), out.size() * 2);
  } else {
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = U16At(bytes, i);
  }
  return out;
}

std::string BytesFromU16(std::u16string_view text) {
  std::string out(text.size() * 2, '\0');
  if (out.empty()) return out;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out.data(), text.data(), out.size());
  } else {
    for (std::size_t i = 0; i < text.size(); ++i) {
      out[2 * i] = static_cast<char>(text[i] & 0xFF);
      out[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
  }
  return out;
}

char16_t U16At(std::string_view bytes, std::size_t index) noexcept {
  const auto lo = static_cast<unsigned char>(bytes[2 * index]);
  const auto hi = static_cast<unsigned char>(bytes[2 * index + 1]);
  return static_cast<char16_t>(lo | (hi << 8));
}

TDetectedEncoding DetectTextEncoding(std::string_view bytes) noexcept {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  if (bytes.size() >= 2 && p[0] == 0xFF && p[1] == 0xFE) return {TTextEncoding::UTF16LE, 2};
  if (bytes.size() >= 2 && p[0] == 0xFE && p[1] == 0xFF) return {TTextEncoding::UTF16BE, 2};
  if (bytes.size() >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) return {TTextEncoding::UTF8, 3};
  bool nonAscii = false;
  for (std::size_t i = 0; i < bytes.size() && !nonAscii; ++i) nonAscii = p[i] >= 0x80;
  if (nonAscii && IsValidUTF8(bytes)) return {TTextEncoding::UTF8, 0};
  return {TTextEncoding::EightBit, 0};
}

}  // namespace pagora
