// PNG through libpng. The header reader walks the chunks itself (no decompression); the
// decoder lets libpng expand every colour type and depth to 8-bit BGRA written straight
// into the raster, so no second image-sized buffer exists.
//
// libpng reports errors by longjmp. The function that calls setjmp (RunGuarded) and
// every function a longjmp can leave hold no object with a destructor; the raster is
// allocated by the caller before and outlives the jump.
#include <png.h>

#include <bit>
#include <cstring>

#include "graphics/ImageLimits.h"
#include "graphics/codecs/Bytes.h"
#include "graphics/codecs/Codecs.h"

namespace pagora::codec {

namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Deflate never packs more than 1032 bytes into one (a 258-byte match in two bits), so
// an image needs at least that share of its raw size in IDAT data.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

bool ValidDepth(unsigned colorType, unsigned depth) {
  switch (colorType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6: return depth == 8 || depth == 16;
    default: return false;
  }
}

unsigned Channels(unsigned colorType) {
  switch (colorType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
  }
}

struct TPngJob {
  const unsigned char* Data = nullptr;
  std::size_t Size = 0;
  std::size_t Pos = 0;
  std::uint32_t* Out = nullptr;
  png_uint_32 Width = 0;
  png_uint_32 Height = 0;
  char Message[160] = {};
};

void ReadFn(png_structp png, png_bytep out, png_size_t count) {
  auto* job = static_cast<TPngJob*>(png_get_io_ptr(png));
  if (count > job->Size - job->Pos) png_error(png, "the file is cut short");
  std::memcpy(out, job->Data + job->Pos, count);
  job->Pos += count;
}

void ErrorFn(png_structp png, png_const_charp message) {
  auto* job = static_cast<TPngJob*>(png_get_error_ptr(png));
  std::strncpy(job->Message, message ? message : "error", sizeof job->Message - 1);
  png_longjmp(png, 1);
}

void WarningFn(png_structp, png_const_charp) {}

// Only the chunks that make up the pixels are read; text, profiles and the rest are
// skipped unparsed (compressed text chunks would otherwise be inflated).
constexpr png_byte kIgnoredChunks[] = {
    'b', 'K', 'G', 'D', '\0', 'c', 'H', 'R', 'M', '\0', 'e', 'X', 'I', 'f', '\0', 'g', 'A', 'M', 'A', '\0',
    'h', 'I', 'S', 'T', '\0', 'i', 'C', 'C', 'P', '\0', 'i', 'T', 'X', 't', '\0', 'o', 'F', 'F', 's', '\0',
    'p', 'C', 'A', 'L', '\0', 'p', 'H', 'Y', 's', '\0', 's', 'B', 'I', 'T', '\0', 's', 'C', 'A', 'L', '\0',
    's', 'P', 'L', 'T', '\0', 's', 'R', 'G', 'B', '\0', 't', 'E', 'X', 't', '\0', 't', 'I', 'M', 'E', '\0',
    'z', 'T', 'X', 't', '\0'};

void DecodeBody(png_structp png, png_infop info, TPngJob* job) {
  png_set_read_fn(png, job, ReadFn);
  png_set_user_limits(png, static_cast<png_uint_32>(kMaxImageSide), static_cast<png_uint_32>(kMaxImageSide));
  png_set_chunk_malloc_max(png, 8u << 20);
  png_set_chunk_cache_max(png, 128);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks,
                              static_cast<int>(sizeof kIgnoredChunks / 5));
#ifdef PAGORA_FUZZ_IGNORE_CHECKSUMS
  // Lets the fuzzer past the checksums into the decoder; never in a real build.
  png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#ifdef PNG_IGNORE_ADLER32
  png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
#endif
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int depth = 0, colorType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colorType, &interlace, nullptr, nullptr);
  if (width != job->Width || height != job->Height) png_error(png, "the size differs from the header's");

  png_set_expand(png);  // palette to RGB, gray below 8 bits to 8, tRNS to alpha
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  if constexpr (std::endian::native == std::endian::little) {
    png_set_bgr(png);  // B, G, R, A in memory is 0xAARRGGBB in a little-endian word
  } else {
    png_set_swap_alpha(png);  // A, R, G, B in memory is 0xAARRGGBB in a big-endian word
  }
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) png_error(png, "unexpected row layout");
  for (int pass = 0; pass < passes; ++pass) {
    for (png_uint_32 y = 0; y < height; ++y)
      png_read_row(png, reinterpret_cast<png_bytep>(job->Out + static_cast<std::size_t>(y) * width), nullptr);
  }
}

bool RunGuarded(png_structp png, png_infop info, TPngJob* job) {
  if (setjmp(png_jmpbuf(png))) return false;
  DecodeBody(png, info, job);
  return true;
}

}  // namespace

bool ReadPngInfo(std::string_view bytes, TPictureInfo& info, std::string& error) {
  if (!Fits(bytes, 0, 8) || std::memcmp(bytes.data(), kSignature, 8) != 0) {
    error = "PNG: not a PNG file";
    return false;
  }
  std::size_t pos = 8;
  std::uint64_t idat = 0;
  bool first = true, sawPalette = false;
  std::uint32_t width = 0, height = 0;
  unsigned depth = 0, colorType = 0;
  while (Fits(bytes, pos, 8)) {
    const std::uint32_t length = Be32(bytes, pos);
    const std::string_view type = bytes.substr(pos + 4, 4);
    if (length > 0x7FFFFFFFu || !Fits(bytes, pos + 8, length)) {
      if (type == "IDAT" && !first) idat += bytes.size() - pos - 8;  // a cut-off last chunk still counts
      break;
    }
    if (first) {
      if (type != "IHDR" || length != 13) {
        error = "PNG: the IHDR chunk does not come first";
        return false;
      }
      width = Be32(bytes, pos + 8);
      height = Be32(bytes, pos + 12);
      depth = At8(bytes, pos + 16);
      colorType = At8(bytes, pos + 17);
      if (!ValidDepth(colorType, depth) || At8(bytes, pos + 18) != 0 || At8(bytes, pos + 19) != 0 ||
          At8(bytes, pos + 20) > 1) {
        error = "PNG: invalid image header";
        return false;
      }
      if (!CheckImageSize(width, height, "PNG", error)) return false;
      first = false;
    } else if (type == "IDAT") {
      idat += length;
    } else if (type == "PLTE") {
      sawPalette = true;
    } else if (type == "IEND") {
      break;
    }
    pos += 12 + static_cast<std::size_t>(length);
  }
  if (first) {
    error = "PNG: the image header is missing";
    return false;
  }
  if (colorType == 3 && !sawPalette) {
    error = "PNG: the palette is missing";
    return false;
  }
  const std::uint64_t raw = static_cast<std::uint64_t>(height) *
                            ((static_cast<std::uint64_t>(width) * Channels(colorType) * depth + 7) / 8);
  if (idat == 0 || idat * kMaxDeflateRatio < raw) {
    error = "PNG: the image data is missing or too short for " + std::to_string(width) + " x " + std::to_string(height) +
            " pixels";
    return false;
  }
  info.Format = TPictureFormat::PNG;
  info.Width = static_cast<int>(width);
  info.Height = static_cast<int>(height);
  return true;
}

bool DecodePng(std::string_view bytes, const TPictureInfo& info, TRasterImage& raster, std::string& error) {
  if (!AllocateRaster(info.Width, info.Height, raster, error)) return false;
  TPngJob job;
  job.Data = reinterpret_cast<const unsigned char*>(bytes.data());
  job.Size = bytes.size();
  job.Out = raster.Pixels.data();
  job.Width = static_cast<png_uint_32>(info.Width);
  job.Height = static_cast<png_uint_32>(info.Height);
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, ErrorFn, WarningFn);
  if (!png) {
    error = "PNG: out of memory";
    return false;
  }
  png_infop pngInfo = png_create_info_struct(png);
  const bool ok = pngInfo && RunGuarded(png, pngInfo, &job);
  png_destroy_read_struct(&png, pngInfo ? &pngInfo : nullptr, nullptr);
  if (!ok) {
    error = std::string("PNG: ") + (job.Message[0] ? job.Message : "out of memory");
    raster = TRasterImage{};
    return false;
  }
  return true;
}

}  // namespace pagora::codec
