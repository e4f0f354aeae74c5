// The common body of the picture fuzz targets: load the bytes as the given class, check
// what loading promises, then decode the pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "graphics/Pictures.h"

namespace pagora::fuzz {

[[noreturn]] inline void Broken(const char* what) {
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

template <class T>
int FuzzPicture(const std::uint8_t* data, std::size_t size, TPictureFormat wanted, TPictureFormat also = TPictureFormat::None) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // Each target stays on its own reader; the others have targets of their own.
  const TPictureFormat format = SniffPictureFormat(bytes);
  if (format != wanted && format != also) return -1;
  T g;
  if (!g.LoadFromBytes(bytes)) {
    if (!g.Empty() || !g.SaveToBytes().empty() || g.LastError().empty()) Broken("a failed load left something behind");
    return 0;
  }
  if (g.SaveToBytes() != bytes) Broken("the bytes changed");
  if (g.PixelsDecoded()) Broken("loading decoded");
  const TRasterImage& r = g.Pixels();
  if (!r.Empty()) {
    if (!g.IsMetafile() && (r.Width != g.Width() || r.Height != g.Height())) Broken("raster and header disagree");
  } else if (g.LastError().empty()) {
    Broken("an empty raster without a reason");
  }
  const auto copy = g.Clone();
  if (copy->SaveToBytes() != bytes || copy->Width() != g.Width() || copy->Height() != g.Height()) Broken("clone differs");
  return 0;
}

}  // namespace pagora::fuzz
