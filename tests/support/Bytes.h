// Byte strings written readably in tests: hexadecimal pairs, 'raw text', and "short
// strings" that get their length byte in front. Spaces and line breaks are ignored.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace pagora::test {

inline std::string Bytes(std::string_view text) {
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    throw std::invalid_argument("not a hexadecimal digit in a byte string");
  };
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == ' ' || c == '\n') {
      ++i;
    } else if (c == '"' || c == '\'') {
      const std::size_t end = text.find(c, i + 1);
      if (end == std::string_view::npos) throw std::invalid_argument("unclosed quote in a byte string");
      const std::string_view s = text.substr(i + 1, end - i - 1);
      if (c == '"') out.push_back(static_cast<char>(s.size()));
      out.append(s);
      i = end + 1;
    } else {
      if (i + 1 >= text.size()) throw std::invalid_argument("odd hexadecimal digit in a byte string");
      out.push_back(static_cast<char>(digit(c) * 16 + digit(text[i + 1])));
      i += 2;
    }
  }
  return out;
}

// The bytes as spaced hexadecimal, for failure messages.
inline std::string HexDump(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (!out.empty()) out.push_back(' ');
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 15]);
  }
  return out;
}

}  // namespace pagora::test
