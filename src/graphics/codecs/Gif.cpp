// GIF through giflib: the first frame, composed onto the logical screen, with the
// transparent colour of its graphic control extension. Screen pixels that the frame
// does not cover are transparent. giflib reports errors by return value, so ordinary
// C++ ownership works here.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "graphics/ImageLimits.h"
#include "graphics/codecs/Bytes.h"
#include "graphics/codecs/Codecs.h"

namespace pagora::codec {

namespace {

// An LZW code is at most 12 bits and stands for at most 4096 pixels, so one byte of
// image data yields at most 2731 pixels.
constexpr std::uint64_t kMaxLzwPixelsPerByte = 2731;

struct TGifLayout {
  int ScreenWidth = 0, ScreenHeight = 0;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  std::uint64_t DataBytes = 0;
};

bool SkipColorTable(std::string_view b, std::size_t& pos, unsigned flags) {
  if (!(flags & 0x80)) return true;
  const std::size_t size = std::size_t{3} << ((flags & 7) + 1);
  if (!Fits(b, pos, size)) return false;
  pos += size;
  return true;
}

// Walks the blocks up to the first image's data without decoding anything.
bool WalkToFirstImage(std::string_view b, TGifLayout& l, std::string& error) {
  if (!Fits(b, 0, 13) || b.substr(0, 3) != "GIF") {
    error = "GIF: not a GIF file";
    return false;
  }
  l.ScreenWidth = Le16(b, 6);
  l.ScreenHeight = Le16(b, 8);
  std::size_t pos = 13;
  if (!SkipColorTable(b, pos, At8(b, 10))) {
    error = "GIF: the colour table is cut short";
    return false;
  }
  while (pos < b.size()) {
    const unsigned kind = At8(b, pos++);
    if (kind == 0x21) {
      if (pos >= b.size()) break;
      ++pos;  // label
      for (;;) {
        if (pos >= b.size()) {
          error = "GIF: an extension is cut short";
          return false;
        }
        const std::size_t n = At8(b, pos++);
        if (n == 0) break;
        if (!Fits(b, pos, n)) {
          error = "GIF: an extension is cut short";
          return false;
        }
        pos += n;
      }
    } else if (kind == 0x2C) {
      if (!Fits(b, pos, 10)) break;
      l.Left = Le16(b, pos);
      l.Top = Le16(b, pos + 2);
      l.Width = Le16(b, pos + 4);
      l.Height = Le16(b, pos + 6);
      const unsigned flags = At8(b, pos + 8);
      pos += 9;
      if (!SkipColorTable(b, pos, flags) || pos >= b.size()) {
        error = "GIF: the image is cut short";
        return false;
      }
      ++pos;  // LZW minimum code size
      // A cut-off image still counts with the data it has.
      while (pos < b.size()) {
        const std::size_t n = At8(b, pos++);
        if (n == 0) break;
        const std::size_t have = std::min(n, b.size() - pos);
        l.DataBytes += have;
        pos += have;
      }
      return true;
    } else if (kind == 0x3B) {
      break;
    } else {
      error = "GIF: unknown block " + std::to_string(kind);
      return false;
    }
  }
  error = "GIF: no image in the file";
  return false;
}

bool ReadLayout(std::string_view bytes, TGifLayout& l, TPictureInfo& info, std::string& error) {
  if (!WalkToFirstImage(bytes, l, error)) return false;
  if (!CheckImageSize(l.Width, l.Height, "GIF", error)) return false;
  const bool screen = l.ScreenWidth > 0 && l.ScreenHeight > 0;
  const int width = screen ? l.ScreenWidth : l.Left + l.Width;
  const int height = screen ? l.ScreenHeight : l.Top + l.Height;
  if (!CheckImageSize(width, height, "GIF", error)) return false;
  const std::uint64_t pixels = static_cast<std::uint64_t>(l.Width) * static_cast<std::uint64_t>(l.Height);
  if (pixels > l.DataBytes * kMaxLzwPixelsPerByte + 4096) {
    error = "GIF: the image data is too short for " + std::to_string(l.Width) + " x " + std::to_string(l.Height) +
            " pixels";
    return false;
  }
  info.Format = TPictureFormat::GIF;
  info.Width = width;
  info.Height = height;
  return true;
}

struct TGifInput {
  std::string_view Bytes;
  std::size_t Pos = 0;
};

int ReadFn(GifFileType* gif, GifByteType* out, int count) {
  auto* in = static_cast<TGifInput*>(gif->UserData);
  const std::size_t n = std::min(static_cast<std::size_t>(std::max(count, 0)), in->Bytes.size() - in->Pos);
  std::memcpy(out, in->Bytes.data() + in->Pos, n);
  in->Pos += n;
  return static_cast<int>(n);
}

struct TGifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

std::string GifError(int code) {
  const char* text = GifErrorString(code);
  return std::string("GIF: ") + (text ? text : "unreadable file");
}

bool DecodeFrame(GifFileType* gif, int transparentIndex, TRasterImage& raster, std::string& error) {
  const GifImageDesc& d = gif->Image;
  if (!CheckImageSize(d.Width, d.Height, "GIF", error)) return false;
  std::uint32_t palette[256];
  std::fill(std::begin(palette), std::end(palette), 0xFF000000u);
  if (const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap) {
    const int count = std::min(map->ColorCount, 256);
    for (int i = 0; i < count; ++i)
      palette[i] = MakeARGB(255, map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
  }
  if (transparentIndex >= 0) palette[transparentIndex] = 0;

  std::vector<GifPixelType> line(static_cast<std::size_t>(d.Width));
  auto place = [&](int row) {
    const int y = d.Top + row;
    if (y < 0 || y >= raster.Height) return;
    std::uint32_t* out = raster.Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(raster.Width);
    for (int x = 0; x < d.Width; ++x) {
      const int sx = d.Left + x;
      if (sx < 0) continue;
      if (sx >= raster.Width) break;
      out[sx] = palette[line[static_cast<std::size_t>(x)]];
    }
  };
  // A cut-off image keeps the lines it has; only one without any line fails.
  int decoded = 0;
  auto next = [&](int row) {
    if (DGifGetLine(gif, line.data(), d.Width) == GIF_ERROR) return false;
    place(row);
    ++decoded;
    return true;
  };
  if (d.Interlace) {
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    bool ok = true;
    for (int pass = 0; pass < 4 && ok; ++pass)
      for (int row = kStart[pass]; row < d.Height && ok; row += kStep[pass]) ok = next(row);
  } else {
    for (int row = 0; row < d.Height && d.Top + row < raster.Height; ++row)
      if (!next(row)) break;
  }
  if (decoded == 0) {
    error = GifError(gif->Error);
    return false;
  }
  return true;
}

}  // namespace

bool ReadGifInfo(std::string_view bytes, TPictureInfo& info, std::string& error) {
  TGifLayout layout;
  return ReadLayout(bytes, layout, info, error);
}

bool DecodeGif(std::string_view bytes, const TPictureInfo& info, TRasterImage& raster, std::string& error) {
  TGifInput input{bytes, 0};
  int code = 0;
  std::unique_ptr<GifFileType, TGifCloser> gif(DGifOpen(&input, ReadFn, &code));
  if (!gif) {
    error = GifError(code);
    return false;
  }
  if (!AllocateRaster(info.Width, info.Height, raster, error)) return false;
  int transparentIndex = -1;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) break;
    if (type == EXTENSION_RECORD_TYPE) {
      int function = 0;
      GifByteType* ext = nullptr;
      if (DGifGetExtension(gif.get(), &function, &ext) == GIF_ERROR) break;
      if (function == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) transparentIndex = (ext[1] & 1) ? ext[4] : -1;
      bool ok = true;
      while (ext && ok) ok = DGifGetExtensionNext(gif.get(), &ext) != GIF_ERROR;
      if (!ok) break;
    } else if (type == IMAGE_DESC_RECORD_TYPE) {
      if (DGifGetImageDesc(gif.get()) == GIF_ERROR) break;
      if (DecodeFrame(gif.get(), transparentIndex, raster, error)) return true;
      raster = TRasterImage{};
      return false;
    } else {
      break;
    }
  }
  error = gif->Error ? GifError(gif->Error) : "GIF: no image in the file";
  raster = TRasterImage{};
  return false;
}

}  // namespace pagora::codec
