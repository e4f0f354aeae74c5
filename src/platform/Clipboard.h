// The system clipboard as the core writes and reads it: several formats of one piece of
// content at once, between Open and Close.
#pragma once

#include <cstdint>
#include <string>

#include "platform/RasterImage.h"

namespace pagora {

enum class TClipFormat : std::uint8_t {
  PGF,          // "Pagora Format": a 32-bit little-endian length, then PGF
  RTF,          // "Rich Text Format"
  HTML,         // "HTML Format"
  Text,         // 8-bit text in the system code page
  UnicodeText,  // UTF-16LE ending in a 16-bit zero
  Bitmap,
};

class IClipboard {
public:
  virtual ~IClipboard() = default;

  // False when the clipboard cannot be had; nothing is changed then.
  virtual bool Open() = 0;
  // Empties the clipboard and makes the caller its owner (between Open and Close).
  virtual void Clear() = 0;
  virtual void SetData(TClipFormat format, std::string bytes) = 0;
  virtual void SetImage(const TRasterImage& image) = 0;
  // Publishes what was set since Open.
  virtual void Close() = 0;

  [[nodiscard]] virtual bool HasFormat(TClipFormat format) const = 0;
  // The bytes of a format; empty when it is not there.
  [[nodiscard]] virtual std::string GetData(TClipFormat format) const = 0;
};

}  // namespace pagora
