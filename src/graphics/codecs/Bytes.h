// Little- and big-endian reads from byte strings. The callers check the range first
// (Fits); the readers themselves do not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pagora::codec {

[[nodiscard]] inline bool Fits(std::string_view b, std::size_t offset, std::size_t count) noexcept {
  return offset <= b.size() && count <= b.size() - offset;
}
[[nodiscard]] inline std::uint8_t At8(std::string_view b, std::size_t i) noexcept {
  return static_cast<std::uint8_t>(b[i]);
}
[[nodiscard]] inline std::uint16_t Le16(std::string_view b, std::size_t i) noexcept {
  return static_cast<std::uint16_t>(At8(b, i) | (At8(b, i + 1) << 8));
}
[[nodiscard]] inline std::uint32_t Le32(std::string_view b, std::size_t i) noexcept {
  return static_cast<std::uint32_t>(At8(b, i)) | (static_cast<std::uint32_t>(At8(b, i + 1)) << 8) |
         (static_cast<std::uint32_t>(At8(b, i + 2)) << 16) | (static_cast<std::uint32_t>(At8(b, i + 3)) << 24);
}
[[nodiscard]] inline std::int16_t SLe16(std::string_view b, std::size_t i) noexcept {
  return static_cast<std::int16_t>(Le16(b, i));
}
[[nodiscard]] inline std::int32_t SLe32(std::string_view b, std::size_t i) noexcept {
  return static_cast<std::int32_t>(Le32(b, i));
}
[[nodiscard]] inline std::uint32_t Be32(std::string_view b, std::size_t i) noexcept {
  return (static_cast<std::uint32_t>(At8(b, i)) << 24) | (static_cast<std::uint32_t>(At8(b, i + 1)) << 16) |
         (static_cast<std::uint32_t>(At8(b, i + 2)) << 8) | static_cast<std::uint32_t>(At8(b, i + 3));
}

}  // namespace pagora::codec
