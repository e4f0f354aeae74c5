// A decoded picture: what a graphic's pixels look like once its bytes are decoded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pagora {

// Each pixel is one 32-bit value 0xAARRGGBB with straight (not premultiplied) alpha,
// the layout that 32-bit ARGB surfaces of window systems use, so a painter can wrap
// the vector without converting. Rows run from the top down, Width pixels each, with
// no padding between them.
struct TRasterImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;

  [[nodiscard]] bool Empty() const noexcept {
    return Width <= 0 || Height <= 0 ||
           Pixels.size() != static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height);
  }
  // The caller keeps x and y inside the image.
  [[nodiscard]] std::uint32_t At(int x, int y) const noexcept {
    return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)];
  }
};

[[nodiscard]] constexpr std::uint32_t MakeARGB(unsigned a, unsigned r, unsigned g, unsigned b) noexcept {
  return ((a & 0xFFu) << 24) | ((r & 0xFFu) << 16) | ((g & 0xFFu) << 8) | (b & 0xFFu);
}
[[nodiscard]] constexpr unsigned AlphaOf(std::uint32_t p) noexcept { return p >> 24; }
[[nodiscard]] constexpr unsigned RedOf(std::uint32_t p) noexcept { return (p >> 16) & 0xFFu; }
[[nodiscard]] constexpr unsigned GreenOf(std::uint32_t p) noexcept { return (p >> 8) & 0xFFu; }
[[nodiscard]] constexpr unsigned BlueOf(std::uint32_t p) noexcept { return p & 0xFFu; }

}  // namespace pagora
