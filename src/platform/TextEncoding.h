// Unicode transformations at the edges (UTF-8 files and the window system), UTF-16
// text kept in byte strings, and the detection of a text file's encoding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pagora {

// UTF-8 to UTF-16; every ill-formed sequence becomes U+FFFD.
[[nodiscard]] std::u16string UTF8ToUTF16(std::string_view utf8);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
[[nodiscard]] std::string UTF16ToUTF8(std::u16string_view utf16);
[[nodiscard]] bool IsValidUTF8(std::string_view bytes) noexcept;

// UTF-16 text stored as little-endian bytes, two per code unit (how documents keep it).
// An odd trailing byte is ignored by the reader.
[[nodiscard]] std::u16string U16FromBytes(std::string_view bytes);
[[nodiscard]] std::string BytesFromU16(std::u16string_view text);
[[nodiscard]] inline std::size_t U16Length(std::string_view bytes) noexcept { return bytes.size() / 2; }
[[nodiscard]] char16_t U16At(std::string_view bytes, std::size_t index) noexcept;

enum class TTextEncoding { EightBit, UTF8, UTF16LE, UTF16BE };

struct TDetectedEncoding {
  TTextEncoding Encoding = TTextEncoding::EightBit;
  std::size_t BomLength = 0;  // bytes of the byte-order mark at the start, 0 when none
};

// A UTF-16 mark in either byte order, a UTF-8 mark, or valid UTF-8 holding non-ASCII
// bytes; anything else is 8-bit text.
[[nodiscard]] TDetectedEncoding DetectTextEncoding(std::string_view bytes) noexcept;

}  // namespace pagora
