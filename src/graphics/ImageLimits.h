// Bounds on what a picture from outside may make us allocate. Every reader checks a
// picture's dimensions against them before it allocates anything for the pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pagora {

// At most 32768 pixels per side and 2^28 pixels in all: a decoded raster of at most
// 1 GiB, which still holds a 200-megapixel photograph.
inline constexpr std::int64_t kMaxImageSide = 32768;
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 28;

// Beyond the first 2^20 pixels, a picture may claim at most 32768 pixels per byte of its
// file. No compression that our formats use packs more (deflate reaches 8256 one-bit
// pixels per byte, LZW 2731, JPEG's Huffman coding 512), but a few formats can claim
// pixels they never fill: a GIF screen around a tiny frame, a run-length BMP that ends
// at once. This bound keeps a small file from costing a gigabyte.
inline constexpr std::int64_t kFreePixels = std::int64_t{1} << 20;
inline constexpr std::int64_t kMaxPixelsPerFileByte = 32768;

// A metafile that we cannot draw shows a placeholder; a placeholder larger than this is
// made at a reduced scale (the painter stretches it), so that a tiny hostile file that
// claims a huge frame does not cost a gigabyte.
inline constexpr std::int64_t kMaxPlaceholderPixels = std::int64_t{1} << 22;

// Working memory libjpeg may use besides the raster (progressive files keep all their
// coefficients); beyond it the decode fails instead of growing.
inline constexpr long kMaxJpegWorkingBytes = 512L << 20;
// Progressive JPEG files have about ten scans; thousands of them only cost time.
inline constexpr int kMaxJpegScans = 100;

// True when width x height is a picture we are willing to decode; otherwise false with
// the reason in error, prefixed by what (the format's name).
[[nodiscard]] bool CheckImageSize(std::int64_t width, std::int64_t height, const char* what, std::string& error);
// True when a file of fileBytes may decode to width x height pixels (see above).
[[nodiscard]] bool CheckPixelBudget(std::int64_t width, std::int64_t height, std::size_t fileBytes, const char* what,
                                    std::string& error);

}  // namespace pagora
