#include "TestImages.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

namespace pagora::testimg {

void Put16(std::string& s, std::uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

// ---- BMP ----

std::string MakeBmp(const BmpParts& parts) {
  std::string dib;
  if (parts.HeaderSize == 12) {
    Put32(dib, 12);
    Put16(dib, static_cast<std::uint32_t>(parts.Width));
    Put16(dib, static_cast<std::uint32_t>(parts.Height));
    Put16(dib, 1);
    Put16(dib, static_cast<std::uint32_t>(parts.BitCount));
  } else {
    Put32(dib, parts.HeaderSize);
    Put32(dib, static_cast<std::uint32_t>(parts.Width));
    Put32(dib, static_cast<std::uint32_t>(parts.Height));
    Put16(dib, 1);
    Put16(dib, static_cast<std::uint32_t>(parts.BitCount));
    Put32(dib, parts.Compression);
    Put32(dib, static_cast<std::uint32_t>(parts.Bits.size()));
    Put32(dib, 2835);
    Put32(dib, 2835);
    Put32(dib, parts.ClrUsed);
    Put32(dib, 0);
    if (parts.HeaderSize > 40) {
      for (std::size_t i = 0; i < 4 && dib.size() < parts.HeaderSize; ++i) Put32(dib, i < parts.Masks.size() ? parts.Masks[i] : 0);
      dib.resize(parts.HeaderSize, '\0');
    } else {
      for (const std::uint32_t m : parts.Masks) Put32(dib, m);
    }
  }
  for (const std::uint32_t c : parts.Palette) {
    dib.push_back(static_cast<char>(c & 0xFF));
    dib.push_back(static_cast<char>((c >> 8) & 0xFF));
    dib.push_back(static_cast<char>((c >> 16) & 0xFF));
    if (parts.HeaderSize != 12) dib.push_back('\0');
  }
  const std::size_t bitsAt = dib.size();
  dib += parts.Bits;
  if (!parts.FileHeader) return dib;
  std::string file = "BM";
  Put32(file, static_cast<std::uint32_t>(14 + dib.size()));
  Put32(file, 0);
  Put32(file, static_cast<std::uint32_t>(14 + bitsAt));
  return file + dib;
}

std::string PackDibRows(int width, int rows, int bitCount, const std::function<std::uint32_t(int, int)>& value) {
  std::string out;
  for (int r = 0; r < rows; ++r) {
    std::string row;
    if (bitCount < 8) {
      unsigned acc = 0;
      int used = 0;
      for (int x = 0; x < width; ++x) {
        acc = (acc << bitCount) | (value(x, r) & ((1u << bitCount) - 1));
        used += bitCount;
        if (used == 8) {
          row.push_back(static_cast<char>(acc));
          acc = 0;
          used = 0;
        }
      }
      if (used) row.push_back(static_cast<char>(acc << (8 - used)));
    } else {
      for (int x = 0; x < width; ++x) {
        const std::uint32_t v = value(x, r);
        for (int b = 0; b < bitCount / 8; ++b) row.push_back(static_cast<char>((v >> (8 * b)) & 0xFF));
      }
    }
    row.resize((row.size() + 3) / 4 * 4, '\0');
    out += row;
  }
  return out;
}

// ---- ICO ----

std::string MakeIconDib(int width, int height, int bitCount, const std::vector<std::uint32_t>& palette,
                        const std::function<std::uint32_t(int, int)>& value, const std::function<bool(int, int)>& mask) {
  BmpParts s;
  s.Width = width;
  s.Height = 2 * height;
  s.BitCount = bitCount;
  s.Palette = palette;
  s.FileHeader = false;
  s.Bits = PackDibRows(width, height, bitCount, [&](int x, int r) { return value(x, height - 1 - r); });
  s.Bits += PackDibRows(width, height, 1, [&](int x, int r) { return mask(x, height - 1 - r) ? 1u : 0u; });
  return MakeBmp(s);
}

std::string MakeIco(const std::vector<IcoImage>& images) {
  std::string s;
  Put16(s, 0);
  Put16(s, 1);
  Put16(s, static_cast<std::uint32_t>(images.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (const IcoImage& im : images) {
    s.push_back(static_cast<char>(im.DirWidth & 0xFF));
    s.push_back(static_cast<char>(im.DirHeight & 0xFF));
    s.push_back(0);
    s.push_back(0);
    Put16(s, 1);
    Put16(s, static_cast<std::uint32_t>(im.DirBitCount));
    Put32(s, static_cast<std::uint32_t>(im.Data.size()));
    Put32(s, offset);
    offset += static_cast<std::uint32_t>(im.Data.size());
  }
  for (const IcoImage& im : images) s += im.Data;
  return s;
}

// ---- EMF / WMF ----

std::string EmfRecord(std::uint32_t type, const std::string& params) {
  std::string padded = params;
  padded.resize((padded.size() + 3) / 4 * 4, '\0');
  std::string s;
  Put32(s, type);
  Put32(s, static_cast<std::uint32_t>(8 + padded.size()));
  return s + padded;
}

std::string MakeEmf(EmfFrame f, const std::vector<std::string>& records) {
  std::string body;
  for (const std::string& r : records) body += r;
  std::string eof;
  Put32(eof, 0);
  Put32(eof, 16);
  Put32(eof, 20);
  body += EmfRecord(14, eof);
  std::string h;
  Put32(h, 1);
  Put32(h, 88);
  auto px = [](int v) { return static_cast<std::uint32_t>(v * 96 / 2540); };
  Put32(h, px(f.Left));
  Put32(h, px(f.Top));
  Put32(h, px(f.Right));
  Put32(h, px(f.Bottom));
  Put32(h, static_cast<std::uint32_t>(f.Left));
  Put32(h, static_cast<std::uint32_t>(f.Top));
  Put32(h, static_cast<std::uint32_t>(f.Right));
  Put32(h, static_cast<std::uint32_t>(f.Bottom));
  Put32(h, 0x464D4520);
  Put32(h, 0x10000);
  Put32(h, static_cast<std::uint32_t>(88 + body.size()));
  Put32(h, static_cast<std::uint32_t>(records.size() + 2));
  Put16(h, 1);
  Put16(h, 0);
  Put32(h, 0);
  Put32(h, 0);
  Put32(h, 0);
  Put32(h, 1920);
  Put32(h, 1080);
  Put32(h, 508);
  Put32(h, 286);
  return h + body;
}

std::string EmfStretchDibits(const std::string& bmi, const std::string& bits, int width, int height) {
  std::string p;
  Put32(p, 0);
  Put32(p, 0);
  Put32(p, static_cast<std::uint32_t>(width - 1));
  Put32(p, static_cast<std::uint32_t>(height - 1));
  for (int i = 0; i < 4; ++i) Put32(p, 0);  // xDest, yDest, xSrc, ySrc
  Put32(p, static_cast<std::uint32_t>(width));
  Put32(p, static_cast<std::uint32_t>(height));
  Put32(p, 80);
  Put32(p, static_cast<std::uint32_t>(bmi.size()));
  Put32(p, static_cast<std::uint32_t>(80 + bmi.size()));
  Put32(p, static_cast<std::uint32_t>(bits.size()));
  Put32(p, 0);           // DIB_RGB_COLORS
  Put32(p, 0x00CC0020);  // SRCCOPY
  Put32(p, static_cast<std::uint32_t>(width));
  Put32(p, static_cast<std::uint32_t>(height));
  return EmfRecord(81, p + bmi + bits);
}

std::string WmfRecord(std::uint16_t function, const std::string& params) {
  std::string padded = params;
  if (padded.size() % 2) padded.push_back('\0');
  std::string s;
  Put32(s, static_cast<std::uint32_t>((6 + padded.size()) / 2));
  Put16(s, function);
  return s + padded;
}

std::string MakeWmf(const std::vector<std::string>& records, bool placeable, int bboxWidth, int bboxHeight, int inch) {
  std::string body;
  std::size_t largest = 3;
  for (const std::string& r : records) {
    body += r;
    largest = std::max(largest, r.size() / 2);
  }
  body += WmfRecord(0, "");
  std::string h;
  Put16(h, 1);
  Put16(h, 9);
  Put16(h, 0x300);
  Put32(h, static_cast<std::uint32_t>((18 + body.size()) / 2));
  Put16(h, 0);
  Put32(h, static_cast<std::uint32_t>(largest));
  Put16(h, 0);
  if (!placeable) return h + body;
  std::string p;
  Put32(p, 0x9AC6CDD7);
  Put16(p, 0);
  Put16(p, 0);
  Put16(p, 0);
  Put16(p, static_cast<std::uint32_t>(bboxWidth));
  Put16(p, static_cast<std::uint32_t>(bboxHeight));
  Put16(p, static_cast<std::uint32_t>(inch));
  Put32(p, 0);
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i < 20; i += 2)
    sum ^= static_cast<std::uint16_t>(static_cast<unsigned char>(p[i]) | (static_cast<unsigned char>(p[i + 1]) << 8));
  Put16(p, sum);
  return p + h + body;
}

std::string WmfStretchDib(const std::string& dib, int width, int height) {
  std::string p;
  Put32(p, 0x00CC0020);
  Put16(p, 0);  // DIB_RGB_COLORS
  for (const int v : {height, width, 0, 0, height, width, 0, 0}) Put16(p, static_cast<std::uint32_t>(v));
  return WmfRecord(0x0F43, p + dib);
}

std::string WmfDibStretchBlt(const std::string& dib, int width, int height) {
  std::string p;
  Put32(p, 0x00CC0020);
  for (const int v : {height, width, 0, 0, height, width, 0, 0}) Put16(p, static_cast<std::uint32_t>(v));
  return WmfRecord(0x0B41, p + dib);
}

// ---- PNG ----
// libpng and libjpeg report errors by longjmp: the guarded functions below hold no
// object with a destructor; the output string belongs to the caller.

namespace {

void PngWrite(png_structp png, png_bytep data, png_size_t n) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), n);
}
void PngFlush(png_structp) {}

bool WritePngGuarded(png_structp png, png_infop info, const PngParts* parts, const png_color* palette, int paletteCount,
                     std::string* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, PngWrite, PngFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(parts->Width), static_cast<png_uint_32>(parts->Height), parts->BitDepth,
               parts->ColorType, parts->Interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (paletteCount > 0) png_set_PLTE(png, info, palette, paletteCount);
  png_color_16 trns{};
  if (!parts->PaletteAlpha.empty()) {
    png_set_tRNS(png, info, parts->PaletteAlpha.data(), static_cast<int>(parts->PaletteAlpha.size()), nullptr);
  } else if (parts->TrnsGray >= 0) {
    trns.gray = static_cast<png_uint_16>(parts->TrnsGray);
    png_set_tRNS(png, info, nullptr, 0, &trns);
  } else if (parts->TrnsRgb.size() == 3) {
    trns.red = static_cast<png_uint_16>(parts->TrnsRgb[0]);
    trns.green = static_cast<png_uint_16>(parts->TrnsRgb[1]);
    trns.blue = static_cast<png_uint_16>(parts->TrnsRgb[2]);
    png_set_tRNS(png, info, nullptr, 0, &trns);
  }
  png_write_info(png, info);
  const int passes = png_set_interlace_handling(png);
  for (int pass = 0; pass < passes; ++pass)
    for (int y = 0; y < parts->Height; ++y)
      png_write_row(png, reinterpret_cast<png_const_bytep>(parts->Rows[static_cast<std::size_t>(y)].data()));
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

std::string EncodePng(const PngParts& parts) {
  std::vector<png_color> palette;
  for (const std::uint32_t c : parts.Palette)
    palette.push_back({static_cast<png_byte>((c >> 16) & 0xFF), static_cast<png_byte>((c >> 8) & 0xFF),
                       static_cast<png_byte>(c & 0xFF)});
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  const bool ok = WritePngGuarded(png, info, &parts, palette.data(), static_cast<int>(palette.size()), &out);
  png_destroy_write_struct(&png, &info);
  if (!ok) throw std::runtime_error("EncodePng failed");
  return out;
}

std::string PackPngSamples(const std::vector<int>& samples, int depth) {
  std::string row;
  if (depth == 16) {
    for (const int v : samples) {
      row.push_back(static_cast<char>((v >> 8) & 0xFF));
      row.push_back(static_cast<char>(v & 0xFF));
    }
    return row;
  }
  if (depth == 8) {
    for (const int v : samples) row.push_back(static_cast<char>(v));
    return row;
  }
  unsigned acc = 0;
  int used = 0;
  for (const int v : samples) {
    acc = (acc << depth) | (static_cast<unsigned>(v) & ((1u << depth) - 1));
    used += depth;
    if (used == 8) {
      row.push_back(static_cast<char>(acc));
      acc = 0;
      used = 0;
    }
  }
  if (used) row.push_back(static_cast<char>(acc << (8 - used)));
  return row;
}

// ---- JPEG ----

namespace {

struct JpegErrors {
  jpeg_error_mgr Pub;
  std::jmp_buf Jump;
};

void JpegErrorExit(j_common_ptr c) { std::longjmp(reinterpret_cast<JpegErrors*>(c->err)->Jump, 1); }

bool WriteJpegGuarded(jpeg_compress_struct* c, JpegErrors* errors, const JpegParts* parts, unsigned char** buffer,
                      unsigned long* size) {
  if (setjmp(errors->Jump)) return false;
  jpeg_create_compress(c);
  jpeg_mem_dest(c, buffer, size);
  c->image_width = static_cast<JDIMENSION>(parts->Width);
  c->image_height = static_cast<JDIMENSION>(parts->Height);
  c->input_components = parts->Components;
  c->in_color_space = parts->Components == 1 ? JCS_GRAYSCALE : parts->Components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(c);
  jpeg_set_quality(c, parts->Quality, TRUE);
  if (parts->Progressive) jpeg_simple_progression(c);
  if (parts->Arithmetic) c->arith_code = TRUE;
  jpeg_start_compress(c, TRUE);
  const std::size_t stride = static_cast<std::size_t>(parts->Width) * static_cast<std::size_t>(parts->Components);
  while (c->next_scanline < c->image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(parts->Samples.data() + c->next_scanline * stride);
    jpeg_write_scanlines(c, &row, 1);
  }
  jpeg_finish_compress(c);
  return true;
}

}  // namespace

std::string EncodeJpeg(const JpegParts& parts) {
  jpeg_compress_struct c{};
  JpegErrors errors{};
  c.err = jpeg_std_error(&errors.Pub);
  errors.Pub.error_exit = JpegErrorExit;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool ok = WriteJpegGuarded(&c, &errors, &parts, &buffer, &size);
  jpeg_destroy_compress(&c);
  std::string out = ok && buffer ? std::string(reinterpret_cast<const char*>(buffer), size) : std::string();
  std::free(buffer);
  if (!ok) throw std::runtime_error("EncodeJpeg failed");
  return out;
}

// ---- GIF ----

namespace {

int GifWrite(GifFileType* gif, const GifByteType* data, int n) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(n));
  return n;
}

ColorMapObject* MakeMap(const std::vector<std::uint32_t>& colors) {
  if (colors.empty()) return nullptr;
  std::vector<GifColorType> entries;
  for (const std::uint32_t c : colors)
    entries.push_back({static_cast<GifByteType>((c >> 16) & 0xFF), static_cast<GifByteType>((c >> 8) & 0xFF),
                       static_cast<GifByteType>(c & 0xFF)});
  return GifMakeMapObject(static_cast<int>(entries.size()), entries.data());
}

}  // namespace

std::string EncodeGif(const GifParts& parts) {
  std::string out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, GifWrite, &error);
  if (!gif) throw std::runtime_error("EGifOpen failed");
  EGifSetGifVersion(gif, true);
  ColorMapObject* global = MakeMap(parts.Palette);
  bool ok = EGifPutScreenDesc(gif, parts.ScreenWidth, parts.ScreenHeight, 8, 0, global) == GIF_OK;
  for (const GifFrame& f : parts.Frames) {
    if (!ok) break;
    if (f.TransparentIndex >= 0) {
      const GifByteType gce[4] = {1, 0, 0, static_cast<GifByteType>(f.TransparentIndex)};
      ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, gce) == GIF_OK;
    }
    ColorMapObject* local = MakeMap(f.LocalPalette);
    ok = ok && EGifPutImageDesc(gif, f.Left, f.Top, f.Width, f.Height, f.Interlace, local) == GIF_OK;
    std::vector<int> order;
    if (f.Interlace) {
      const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < f.Height; y += step[pass]) order.push_back(y);
    } else {
      for (int y = 0; y < f.Height; ++y) order.push_back(y);
    }
    for (const int y : order) {
      if (!ok) break;
      std::vector<GifPixelType> line(f.Indexes.begin() + static_cast<std::ptrdiff_t>(y) * f.Width,
                                     f.Indexes.begin() + static_cast<std::ptrdiff_t>(y + 1) * f.Width);
      ok = EGifPutLine(gif, line.data(), f.Width) == GIF_OK;
    }
    if (local) GifFreeMapObject(local);
  }
  if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
  if (global) GifFreeMapObject(global);
  if (!ok) throw std::runtime_error("EncodeGif failed");
  return out;
}

}  // namespace pagora::testimg
